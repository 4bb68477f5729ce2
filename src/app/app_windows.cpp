#include "app/app_windows.h"

#include "app/listup_dialog.h"
#include "app/main_window.h"
#include "app/small_windows.h"
#include "display/amp_scale_dialog.h"

namespace wavora {

namespace {
AppWindows* g_windows = nullptr;
}

AppWindows::AppWindows() = default;

AppWindows::~AppWindows() {
    if (g_windows == this) g_windows = nullptr;
    // The secondary windows are children of the main window and go with it.
    Form1.reset();
}

std::unique_ptr<AppWindows> CreateAppWindows(const std::string& executablePath) {
    auto w = std::make_unique<AppWindows>();
    w->Form1 = std::make_unique<TForm1>(executablePath);
    TForm1* main = w->Form1.get();
    w->Listup = new TListup(*main, main);
    w->AboutBox = new TAboutBox(main->State().ProgramDate, main);
    w->Howto = new THowto(main);
    w->Running = new PendingWindow("TRunning", "Running Spectrum", main);
    w->Process = new TProcess(main);
    w->BandPass = new PendingWindow("TBandPass", "Bandpass Filter", main);
    w->Statistics = new PendingWindow("TStatistics", "Statistics", main);
    w->Comment = new PendingWindow("TComment", "File Comment", main);
    w->Param1 = new PendingWindow("TParam1", "Spectrum Format Parameters", main);
    w->FileConvert = new PendingWindow("TFileConvert", "File Conversion", main);
    w->Peaks = new PendingWindow("TPeaks", "Spectral Peaks", main);
    w->PkHelp = new PendingWindow("TPkHelp", "Help for Peaks", main);
    w->AmpScale = new TAmpScale(*main, main->Record(), main->State().Wave, main);
    w->TWODPlot = new PendingWindow("TTWODPlot", "2D Spectrum Plot", main);
    w->CSVArbitrary = new PendingWindow("TCSVArbitrary", "Arbitrary CSV File Data", main);
    main->SetWindows(w.get());
    g_windows = w.get();
    return w;
}

AppWindows& TheWindows() {
    return *g_windows;
}

}  // namespace wavora
