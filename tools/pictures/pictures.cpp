// wavora-pictures FOLDER: drives the real windows through a short session (start-up, a record
// opened, the amplitude dialog, spectra, the peaks window after an automatic skipping analysis,
// the correlation, a listing, the small windows, a run with its statistics and format dialog, the
// band-pass dialog, the comment editor, the CSV import, the running spectrum and the 2-D map, the
// chart control) and writes what each window shows as a PNG file into FOLDER. Every message the
// session causes is printed, and answered with OK.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QSlider>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_windows.h"
#include "app/bandpass_dialog.h"
#include "app/comment_dialog.h"
#include "app/csv_import_dialog.h"
#include "app/listup_dialog.h"
#include "app/main_window.h"
#include "app/small_windows.h"
#include "display/amp_scale_dialog.h"
#include "display/param1_dialog.h"
#include "display/statistics_window.h"
#include "display/up_down.h"
#include "graph/my_graph.h"
#include "running/peaks_help_window.h"
#include "running/peaks_window.h"
#include "running/running_activity.h"
#include "running/running_dialog.h"
#include "running/twod_plot.h"

#ifndef WAVORA_EXAMPLES_DIR
#define WAVORA_EXAMPLES_DIR "examples"
#endif

namespace {

using namespace wavora;

// Answers every message with OK (Yes) and every file dialog with the next name queued.
class PrintingPrompts : public Prompts {
  public:
    std::vector<std::string> Files;

    PromptAnswer Message(const std::string& text, const std::string& caption, MessageIcon,
                         PromptButtons buttons) override {
        std::printf("message: %s / %s\n", text.c_str(), caption.c_str());
        return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }
    FileDialogAnswer OpenFile(const FileDialogRequest&) override { return Next(); }
    FileDialogAnswer SaveFile(const FileDialogRequest&) override { return Next(); }

  private:
    FileDialogAnswer Next() {
        if (Files.empty()) return {};
        FileDialogAnswer a{true, Files.front(), 1};
        Files.erase(Files.begin());
        return a;
    }
};

class Folder {
  public:
    explicit Folder(std::string path) : path_(std::move(path)) {
        QDir().mkpath(QString::fromStdString(path_));
    }
    void Save(QWidget& w, const char* name) {
        const std::string file = path_ + "/" + name;
        // Labels whose text grew are laid out again first (no event loop runs here; the timers
        // stay untouched).
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        if (!w.grab().save(QString::fromStdString(file)))
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
        else
            std::printf("%s\n", file.c_str());
    }
    void Save(TMyGraph& g, const char* name) {
        const std::string file = path_ + "/" + name;
        Outcome out = g.Save_PNG(file);
        if (!out.Ok())
            std::fprintf(stderr, "%s\n", out.Error->Text.c_str());
        else
            std::printf("%s\n", file.c_str());
    }

  private:
    std::string path_;
};

void MainWindowPictures(Folder& out, PrintingPrompts& prompts) {
    auto windows = CreateAppWindows(prompts, QCoreApplication::applicationFilePath().toStdString());
    TForm1& form = *windows->Form1;
    form.show();
    out.Save(form, "startup.png");

    prompts.Files.push_back(std::string(WAVORA_EXAMPLES_DIR) + "/floors.csv");
    form.BtnFileClick();
    form.MovePosition(120);
    out.Save(form, "loaded.png");

    TAmpScale& amp = *windows->AmpScale;
    amp.show();
    amp.Edits[1]->setText("0.5");
    amp.Button3Click();
    form.TimeScaleClick(1);
    out.Save(amp, "ampscale.png");
    out.Save(form, "magnified.png");

    // Two channels analysed: the spectra on one frame, the listing of the second.
    form.CBChClick(1, true);
    form.BtnRunClick();
    out.Save(form, "spectrum.png");
    form.RGAmpClick(1);
    out.Save(form, "spectrum_power.png");
    form.RGAmpClick(0);
    form.Image1MouseMove(200, 200);
    out.Save(form, "spectrum_readout.png");

    // The spectral peaks window after an automatic skipping analysis over the whole record (two
    // channels, 4 runs), its Order listing shown; then its help.
    TPeaks& peaks = *windows->Peaks;
    form.SBHistogramClick();
    form.MovePosition(0);
    form.SBPeaksClick();
    for (int tick = 0; tick < 100 && form.State().AutoSkip.Active(); ++tick) form.Timer3Timer();
    out.Save(peaks, "peaks.png");
    out.Save(*peaks.MyGraph1, "peaks_histogram.png");
    peaks.Button3Click();
    out.Save(peaks, "peaks_value.png");
    peaks.HelpforPeaks1Click();
    out.Save(*windows->PkHelp, "peaks_help.png");
    windows->PkHelp->hide();
    peaks.Button1Click();

    // The correlation: channel 1 alone for a few steps, stopped after a spectrum run gave the
    // analysis interval; then channels 1 and 2 across at time scale ×2.
    form.CBChClick(1, false);
    form.MovePosition(200);
    form.SBCorrClick();
    out.Save(form, "correlation_running.png");
    for (int tick = 0; tick < 5; ++tick) form.Timer2Timer();
    form.SBCorrClick();
    out.Save(form, "correlation.png");
    form.CBChClick(1, true);
    form.TimeScaleClick(1);
    form.SBCorrClick();
    form.SBCorrClick();
    out.Save(form, "correlation_cross.png");
    form.TimeScaleClick(0);

    form.BtnListClick();
    out.Save(*windows->Listup, "listup.png");
    out.Save(form, "listing.png");
    out.Save(*windows->AboutBox, "about.png");
    out.Save(*windows->Howto, "howto.png");
    windows->Process->ShowNow("Bandpass Filtering now");
    windows->Process->adjustSize();
    out.Save(*windows->Process, "process.png");
    windows->Process->close();
    // A long read, with how far it is and Cancel.
    windows->Process->ShowProgress("Reading data file", 0.42);
    out.Save(*windows->Process, "process_reading.png");
    windows->Process->close();

    // The two channels analysed again from the start with the statistics window open, then the
    // format dialog showing the axes that run drew.
    form.MovePosition(0);
    form.Statistics1Click(true);
    form.BtnRunClick();
    out.Save(*windows->Statistics, "statistics.png");
    form.SBFormatClick();
    out.Save(*windows->Param1, "param1.png");
    windows->Param1->CancelBtnClick();
    form.Statistics1Click(false);

    prompts.Files.push_back(std::string(WAVORA_EXAMPLES_DIR) + "/bridge.dbl");
    form.FormatTypeClick(FormatType::Spc51);
    form.Default1Click();
    out.Save(form, "spc51_filtered.png");

    // The band-pass dialog as the speed button opens it, then after Execute with a typed band.
    TBandPass& band = *windows->BandPass;
    form.SBFilterClick();
    band.adjustSize();
    out.Save(band, "bandpass.png");
    band.Edit1->setText("2");
    emit band.Edit1->textEdited(band.Edit1->text());
    band.Edit2->setText("20");
    emit band.Edit2->textEdited(band.Edit2->text());
    band.Button1Click();
    out.Save(band, "bandpass_executed.png");
    out.Save(form, "bandpass_filtered.png");
    band.Button2Click();

    // The comment editor on the SPC-51 record.
    TComment& comment = *windows->Comment;
    form.FileComment1Click();
    comment.adjustSize();
    out.Save(comment, "comment.png");
    comment.CancelBtnClick();

    // The import dialog on a CSV file with four header lines: the data from column 2, accepted
    // without a save (no file is chosen).
    TCSVArbitrary& import = *windows->CSVArbitrary;
    QTimer::singleShot(0, &import, [&] {
        import.EdCol1->setText("2");
        import.UpDown6->Click(true);
        import.UpDown4->Click(true);
        import.UpDown4->Click(false);
        out.Save(import, "csv_import.png");
        import.Button2Click();
    });
    prompts.Files.push_back(std::string(WAVORA_EXAMPLES_DIR) + "/floors.csv");
    form.FormatTypeClick(FormatType::CsvArbitrary);
    out.Save(form, "csv_imported.png");
}

// Steps the running spectrum's timer by hand until it stops.
void StepRunning(TRunning& dialog) {
    for (int i = 0; i < 5000 && dialog.Activity().TimerRunning(); ++i) dialog.Timer1Timer();
}

void RunningPictures(Folder& out, PrintingPrompts& prompts) {
    auto windows = CreateAppWindows(prompts, QCoreApplication::applicationFilePath().toStdString());
    TForm1& form = *windows->Form1;
    form.show();
    prompts.Files.push_back(std::string(WAVORA_EXAMPLES_DIR) + "/floors.csv");
    form.BtnFileClick();
    // The spectrum graph's axes come from a run at the start of the record.
    form.BtnRunClick();
    form.MovePosition(0);

    // The waterfall with hidden lines: Skip 20, until its 51 curves.
    TRunning& dialog = *windows->Running;
    dialog.RGSkipClick(1);
    form.SBRunSpecClick();
    for (int i = 0; i < 20; ++i) dialog.Timer1Timer();
    out.Save(dialog, "running_dialog.png");
    StepRunning(dialog);
    out.Save(form, "running_waterfall.png");

    // Without hidden lines, in ×2 time scale.
    form.MovePosition(0);
    dialog.CBHiddenClick(false);
    form.TimeScaleClick(1);
    dialog.BtnRunRunClick();
    StepRunning(dialog);
    out.Save(form, "running_waterfall_lines.png");
    form.TimeScaleClick(0);
    dialog.CBHiddenClick(true);

    // A single plot of four spectra and their purple average, listed in the grid.
    form.MovePosition(0);
    dialog.CBMultiClick(false);
    dialog.EdMaxChange("3");
    dialog.BtnRunRunClick();
    StepRunning(dialog);
    out.Save(form, "running_average.png");

    // The 2-D map: 0 … 30 Hz, 40 s in rows of 0.5 s (Skip 50 typed).
    TTWODPlot& plot = *windows->TWODPlot;
    form.MovePosition(0);
    form.CB2DClick(true);
    plot.Button3Click();
    plot.Edit1Change("30");
    plot.Edit3Change("40");
    dialog.RGSkipTypeClick(1);
    dialog.Edit2Change("50");
    plot.Button5Click();
    StepRunning(dialog);
    out.Save(plot, "twod_plot.png");
    out.Save(*plot.MyGraph1, "twod_map.png");
    plot.MyGraph1MouseDown(Qt::LeftButton, 150, 200);
    out.Save(plot, "twod_crosshair.png");
    plot.MyGraph1MouseUp(Qt::LeftButton, 150, 200);
    out.Save(form, "twod_single.png");
}

void ChartPictures(Folder& out, PrintingPrompts& prompts) {
    std::vector<float> x, y;
    for (int i = 0; i <= 40; ++i) x.push_back(i * 0.5f), y.push_back(20 + 15 * std::sin(i * 0.3f));

    TMyGraph linear(prompts);
    linear.GraphCanvas().SetFont("ＭＳゴシック", 9);
    linear.TitleX = "Time [s]";
    linear.TitleY = "振幅 [Gal]";
    linear.DrawWaku();
    linear.GraphCanvas().SetPenColor(kBlue);
    linear.DrawGraph(x, y);
    linear.GraphCanvas().SetPenColor(kRed);
    linear.GraphCanvas().SetBrushColor(kYellow);
    for (int type = 0; type <= 5; ++type) {
        std::vector<float> mx = {2.0f + 3 * type}, my = {5.0f};
        linear.PlotGraph(mx, my, type, 4);
    }
    linear.GraphCanvas().SetPenColor(kGreen);
    linear.SkipGraph(x, y, 2, 2, 4);
    out.Save(linear, "chart_linear.png");

    TMyGraph log(prompts);
    log.LinearX = false;
    log.LinearY = false;
    log.SValueX = 0.01f;
    log.VValueX = 10;
    log.SValueY = 0.1f;
    log.VValueY = 10;
    log.TitleX = "Frequency [Hz]";
    log.TitleY = "Amplitude";
    log.DrawWaku();
    std::vector<float> fx, fy;
    for (int i = 1; i <= 200; ++i) fx.push_back(i * 0.5f), fy.push_back(100.0f / (1 + i * 0.1f));
    log.GraphCanvas().SetPenColor(kRed);
    log.DrawGraph(fx, fy);
    out.Save(log, "chart_logarithmic.png");

    TMyGraph n(prompts);
    n.SValueY = -1.0000001f;
    n.VValueY = 0.5f;
    n.VValueX = 2.5f;
    n.TitleX = "DrawWakuN";
    n.DrawWakuN();
    out.Save(n, "chart_drawwakun.png");

    TMyGraph right(prompts);
    right.resize(340, 300);
    right.LeftScale = false;
    right.SubAxis = false;
    right.TitleY = "Count";
    right.DrawWaku();
    right.GraphCanvas().SetPenColor(kNavy);
    right.GraphCanvas().SetPenWidth(2);
    right.DrawGraph(x, y);
    out.Save(right, "chart_rightscale.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wavora-pictures FOLDER\n");
        return 2;
    }
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName("WAVORA 4.8");
    PrintingPrompts prompts;
    Folder out(argv[1]);
    MainWindowPictures(out, prompts);
    RunningPictures(out, prompts);
    ChartPictures(out, prompts);
    return 0;
}
