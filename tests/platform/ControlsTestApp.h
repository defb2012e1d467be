// The one QApplication the widget tests of the toolbar, grid and button panel controls need;
// made on first use when the test program has none yet.
#pragma once

class QApplication;

namespace testsupport {

// The application object, made headless on first use.
QApplication& ControlsApp();

} // namespace testsupport
