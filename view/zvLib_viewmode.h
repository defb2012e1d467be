// zvLib, view modes: the main window shows the circuit as the design canvas ("DESIGN"), the
// piece editor ("EDITOR") or the report ("REPORT"). The switch shows or hides the canvas and
// its companions, embeds the piece editor ("EDITOR") or the report window ("REPORT") in the
// page container (unloading it when the mode changes again) and marks the current mode on the view-mode bar.
#pragma once

#include <string>

namespace zvLib {

// The current view mode; empty until the first switch.
extern std::string CurViewMode;

// Switches the main window to a view mode (compared exactly, with case).
void SetViewMode(const std::string& mode);
// The current view mode.
std::string ViewMode();

}  // namespace zvLib
