// The one QApplication of the platform tests (widgets need it), made before the first test.
#pragma once

#include <QApplication>

namespace testsupport {

// The test program's QApplication.
QApplication& ControlsApp();

}  // namespace testsupport
