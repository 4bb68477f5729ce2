#include "app/app_windows.h"

#include <QWidget>

#include "app/bandpass_dialog.h"
#include "app/comment_dialog.h"
#include "app/csv_import_dialog.h"
#include "app/listup_dialog.h"
#include "app/main_window.h"
#include "app/session.h"
#include "app/small_windows.h"
#include "display/amp_scale_dialog.h"
#include "display/param1_dialog.h"
#include "display/statistics_window.h"
#include "running/peaks_help_window.h"
#include "running/peaks_window.h"
#include "running/running_dialog.h"
#include "running/twod_plot.h"

namespace wavora {

AppWindows::AppWindows() = default;

AppWindows::~AppWindows() {
    // The secondary windows are children of the main window and go with it; the session outlives
    // them all.
    Form1.reset();
    Context.reset();
}

void AppWindows::HideSecondary() {
    for (QWidget* w : std::initializer_list<QWidget*>{Listup, AboutBox, Howto, Running, Process, BandPass,
                                                      Statistics, Comment, Param1, FileConvert, Peaks, PkHelp,
                                                      AmpScale, TWODPlot, CSVArbitrary})
        if (w) w->hide();
}

std::unique_ptr<AppWindows> CreateAppWindows(Prompts& prompts, const std::string& executablePath) {
    auto w = std::make_unique<AppWindows>();
    w->Context = std::make_unique<Session>(prompts);
    Session& session = *w->Context;
    w->Form1 = std::make_unique<TForm1>(session, executablePath);
    TForm1* main = w->Form1.get();
    w->Listup = new TListup(session, *main, main);
    w->AboutBox = new TAboutBox(session.State.ProgramDate, main);
    w->Howto = new THowto(main);
    w->Running = new TRunning(session, *main, main);
    w->Process = new TProcess(main);
    w->BandPass = new TBandPass(session, *main, main);
    w->Statistics = new TStatistics(session, main);
    w->Comment = new TComment(session, *main, main);
    w->Param1 = new TParam1(session, *main, main);
    w->FileConvert = new PendingWindow("TFileConvert", "File Conversion", main);
    w->Peaks = new TPeaks(session, *main, main);
    w->PkHelp = new TPkHelp(session, *main, main);
    w->AmpScale = new TAmpScale(session, *main, main);
    w->TWODPlot = new TTWODPlot(session, *main, main);
    w->CSVArbitrary = new TCSVArbitrary(session, *main, main);
    main->SetWindows(w.get());
    return w;
}

}  // namespace wavora
