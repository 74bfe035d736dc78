#pragma once
// Where a window first appears.

class QWidget;

namespace tablor {

// Centres the window (its frame) on its screen's available area; a window larger than the area
// keeps its top-left corner inside it.
void centreOnScreen(QWidget* window);

} // namespace tablor
