#pragma once
// The friendly names of the help viewer's and the web browser control's versions, from the
// tables that help support staff have always read them from.

#include "help/FileVersion.h"

namespace tablor {

// The viewer's version as a release name ("1.33", "> 1.33", "< 1.0"); empty without a version.
QString HelpControlFriendlyName(const FileVersion& viewer);
// The browser control's version (adjusted) as a release name; empty without a version.
QString BrowserFriendlyName(const FileVersion& browser);

// Browser files of the 4.70 era keep their build number in the release place: 4.70.0.1158 is
// the browser 4.70.1158.0. Other versions are returned unchanged.
FileVersion AdjustBrowserVersion(const FileVersion& fileVersion);

} // namespace tablor
