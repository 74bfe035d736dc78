#pragma once
// The help viewer's calling convention, shared by the viewer module (which exports HtmlHelpA
// and HtmlHelpW) and the program that loads it. HtmlHelpA takes the file name in the file
// system's 8-bit encoding, HtmlHelpW as wide characters. Both must be called on the thread of
// the running QApplication; they return at once.

#include <cstdint>

// Opens a viewer window on a help file at its default topic, or brings back the window already
// showing that file. "file.chm::/page.html" opens that page instead. Returns the window.
constexpr unsigned HH_DISPLAY_TOPIC = 0x0000;
// Closes every viewer window of the process; the owner, file and data are ignored. Returns null.
constexpr unsigned HH_CLOSE_ALL = 0x0012;

using HtmlHelpAFunc = void* (*)(void* owner, const char* file, unsigned command,
                                std::uintptr_t data);
using HtmlHelpWFunc = void* (*)(void* owner, const wchar_t* file, unsigned command,
                                std::uintptr_t data);
