#pragma once
// The sixteen windows of the program, created once at start-up in a fixed order and kept until
// exit, with the session they are all made with. A window that shows another window, or runs a
// command of one, reaches it here; none writes another's widgets.

#include <memory>
#include <string>

namespace wavora {

class Prompts;
class PendingWindow;
class TAboutBox;
class TAmpScale;
class TBandPass;
class TCSVArbitrary;
class TComment;
class TForm1;
class THowto;
class TListup;
class TParam1;
class TPeaks;
class TPkHelp;
class TProcess;
class TRunning;
class TStatistics;
class TTWODPlot;
struct Session;

struct AppWindows {
    std::unique_ptr<Session> Context;  // made first, released last
    std::unique_ptr<TForm1> Form1;     // owns the others
    TListup* Listup = nullptr;
    TAboutBox* AboutBox = nullptr;
    THowto* Howto = nullptr;
    TRunning* Running = nullptr;
    TProcess* Process = nullptr;
    TBandPass* BandPass = nullptr;
    TStatistics* Statistics = nullptr;
    TComment* Comment = nullptr;
    TParam1* Param1 = nullptr;
    PendingWindow* FileConvert = nullptr;
    TPeaks* Peaks = nullptr;
    TPkHelp* PkHelp = nullptr;
    TAmpScale* AmpScale = nullptr;
    TTWODPlot* TWODPlot = nullptr;
    TCSVArbitrary* CSVArbitrary = nullptr;

    AppWindows();
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    // Hides every secondary window, in the order they were made (the main window is closing).
    void HideSecondary();
};

// Creates the session and the windows in their order; every window asks through `prompts`, and
// the main window takes the date of `executablePath`.
std::unique_ptr<AppWindows> CreateAppWindows(Prompts& prompts, const std::string& executablePath);

}  // namespace wavora
