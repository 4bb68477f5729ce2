#pragma once
// The sixteen windows of the program, created once at start-up in a fixed order and kept until
// exit. Every window reaches the others through this one set.

#include <memory>
#include <string>

class QDialog;

namespace wavora {

class TForm1;
class TListup;
class TAboutBox;
class THowto;
class TProcess;
class TAmpScale;

struct AppWindows {
    std::unique_ptr<TForm1> Form1;  // owns the others
    TListup* Listup = nullptr;
    TAboutBox* AboutBox = nullptr;
    THowto* Howto = nullptr;
    QDialog* Running = nullptr;
    TProcess* Process = nullptr;
    QDialog* BandPass = nullptr;
    QDialog* Statistics = nullptr;
    QDialog* Comment = nullptr;
    QDialog* Param1 = nullptr;
    QDialog* FileConvert = nullptr;
    QDialog* Peaks = nullptr;
    QDialog* PkHelp = nullptr;
    TAmpScale* AmpScale = nullptr;
    QDialog* TWODPlot = nullptr;
    QDialog* CSVArbitrary = nullptr;

    AppWindows();
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;
};

// Creates the windows in their order; the main window takes the date of `executablePath`.
std::unique_ptr<AppWindows> CreateAppWindows(const std::string& executablePath);

// The windows of the running program (valid from creation to exit).
AppWindows& TheWindows();

}  // namespace wavora
