// The Qt application every platform test needs (fonts, palette, widgets), created once before
// the first test; without a display the tests run on the offscreen platform.
#include "ControlsTestApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace testsupport {

namespace {

std::unique_ptr<QApplication> app;

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ControlsApp(); }
    void TearDown() override { app.reset(); }
};

// Registered before main runs; GoogleTest owns and deletes it.
[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

QApplication& ControlsApp()
{
    if (!app) {
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
        static int argc = 1;
        static char name[] = "test_platform";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    return *app;
}

}  // namespace testsupport
