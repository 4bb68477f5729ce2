#pragma once
// The program's windows for one test, with scripted prompts and a folder for the test's files.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "app/app_windows.h"
#include "app/auto_skip_controller.h"
#include "app/bandpass_dialog.h"
#include "app/comment_dialog.h"
#include "app/correlation_controller.h"
#include "app/csv_import_dialog.h"
#include "app/main_window.h"
#include "app/scroll_activity.h"
#include "app/small_windows.h"
#include "display/amp_scale_dialog.h"
#include "display/click_label.h"
#include "running/running_dialog.h"
#include "running/twod_plot.h"
#include "support/record_files.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

namespace wavora::uitest {

inline std::string Text(const QLabel* l) {
    return l->text().toStdString();
}
inline std::string Text(const QLineEdit* e) {
    return e->text().toStdString();
}

class WindowTest : public ::testing::Test {
  protected:
    test::ScriptedPrompts prompts;
    test::TempDir dir;
    std::unique_ptr<AppWindows> windows =
        CreateAppWindows(prompts, QCoreApplication::applicationFilePath().toStdString());
    TForm1& form = *windows->Form1;

    // Opens a file through the File button with the dialog answered.
    void Open(const std::string& path) {
        prompts.AnswerFile(path);
        form.BtnFileClick();
    }
    // A three-channel 100 Hz standard CSV record of `samples` rows, opened.
    std::string OpenCsv(int samples = 2500, const std::string& name = "deck.csv", int channels = 3) {
        std::vector<std::string> names, units;
        for (int k = 0; k < channels; ++k) {
            names.push_back("Pier" + std::to_string(k + 1));
            units.push_back("Gal");
        }
        std::string path =
            dir.Write(name, test::StandardCsvFile(names, 100, "s", units, test::SineRows(channels, samples)));
        Open(path);
        return path;
    }
};

}  // namespace wavora::uitest
