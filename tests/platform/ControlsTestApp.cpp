// Makes the QApplication of the control tests before any test runs, unless the test program
// has made one already.
#include "ControlsTestApp.h"

#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>

namespace testsupport {

namespace {

// The application made here; it goes before the program's static objects do.
QApplication* ownApp = nullptr;

} // namespace

QApplication& ControlsApp()
{
    if (QCoreApplication::instance() == nullptr) {
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
        static int argc = 1;
        static char name[] = "zorv-tests";
        static char* argv[] = {name, nullptr};
        ownApp = new QApplication(argc, argv);
    }
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        std::abort(); // another test made a QGuiApplication: widgets cannot be made
    }
    return *app;
}

namespace {

class cControlsAppEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { ControlsApp(); }
    void TearDown() override
    {
        delete ownApp;
        ownApp = nullptr;
    }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new cControlsAppEnvironment);

} // namespace

} // namespace testsupport
