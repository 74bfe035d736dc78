#pragma once
// The font our windows are designed for, and how text rows follow it.

#include <QFont>

class QFontMetrics;

namespace tablor {

// An 8-point sans-serif whose widths are those the windows were drawn with: Liberation Sans
// (metric-compatible with the usual Windows sans-serif), else the desktop's sans-serif.
QFont interfaceFont();

// The height of a row of one-line text drawn in `metrics`' font (grid rows, list lines, the
// status bar): the designed height, grown by what a line of the font is taller than the
// designed font's, so that accents above and descenders below stay whole.
int textRowHeight(const QFontMetrics& metrics, int designed);

} // namespace tablor
