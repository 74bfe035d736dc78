#pragma once
// The pictures compiled into the program (resources.qrc): the toolbar pictures
// ":/toolbar/00.svg" to ":/toolbar/14.svg", the record card's buttons ":/card/<name>.svg", the
// program's icon ":/icons/tablor.svg" (and .png) and the about banner ":/about/banner.svg".

namespace tablor {

// Makes the pictures available; call it before the first use (any number of times). A static
// library's resources are otherwise dropped by the linker.
void initResources();

} // namespace tablor
