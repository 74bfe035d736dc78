#pragma once
// The program's name and version as every window, box, print job and the terminal show it.
// Qt-free.

namespace tablor {

inline constexpr char ProgramName[] = "Tablor 1.0";

} // namespace tablor
