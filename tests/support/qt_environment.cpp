// One Qt application object for a whole test program, made before its first test and deleted after
// its last, on the offscreen platform: a QApplication named as the program's windows are where the
// tests use widgets (WAVORA_TEST_WIDGETS), a QGuiApplication otherwise (fonts and images only).

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

#ifdef WAVORA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#include "record/failure.h"

namespace {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char* argv[] = {program_invocation_short_name, nullptr};
        app_ = new TestApplication(argc, argv);
#ifdef WAVORA_TEST_WIDGETS
        TestApplication::setApplicationName(wavora::kApplicationTitle);
#endif
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

  private:
    TestApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const g_qt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
