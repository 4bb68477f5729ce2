#pragma once
// TForm1, the main window: the picture Image1, the value grid StringGrid1, every command button,
// check box, radio group and menu of the program, and the session state the other windows use.

#include <QMainWindow>
#include <array>
#include <functional>
#include <string>

#include "app/session_state.h"
#include "display/amp_scale_dialog.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

namespace wavora {

class ClickLabel;
class ImageView;
class RadioGroup;
class StringGrid;
struct AppWindows;

class TForm1 : public QMainWindow, public AmpScaleHost {
    Q_OBJECT
  public:
    // `executablePath` names the program file whose date the start-up text and the version box show.
    explicit TForm1(const std::string& executablePath, QWidget* parent = nullptr);
    ~TForm1() override;

    // The other windows, known once they are all created.
    void SetWindows(AppWindows* windows) { windows_ = windows; }

    SessionState& State() { return state_; }
    const WaveRecord& Record() const { return state_.Record; }
    Canvas& Picture();

    // ---- controls (named as the window's layout names them) ----
    ImageView* Image1 = nullptr;
    ClickLabel* Image2 = nullptr;
    StringGrid* StringGrid1 = nullptr;
    QPushButton *BtnFile = nullptr, *BtnList = nullptr, *BtnExit = nullptr, *BtnStart = nullptr,
                *BtnStop = nullptr, *BtnZero = nullptr, *BtnPrev = nullptr, *BtnNext = nullptr,
                *BtnRun = nullptr, *BtnBack = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLineEdit* EdPosition = nullptr;
    RadioGroup *RadioGroup1 = nullptr, *RGPoints = nullptr, *RGHanning = nullptr, *RGAmp = nullptr;
    std::array<QCheckBox*, kMaxChannels> CBCh{};  // CBCh1 … CBCh8
    QCheckBox *CBMEM = nullptr, *CBMEMmin = nullptr, *CBDCCut = nullptr, *CheckBox1 = nullptr,
              *CBFFTSave = nullptr, *CBSkip = nullptr, *CB2D = nullptr, *CBLowCut = nullptr;
    QToolButton *SBFilter = nullptr, *SpeedButton1 = nullptr, *SBFileSave = nullptr, *SBFormat = nullptr,
                *SBRunSpec = nullptr, *SBCorr = nullptr, *SBHistogram = nullptr, *SBPeaks = nullptr;
    ClickLabel *ImgFilter = nullptr, *ImgInteg = nullptr, *ImgClip = nullptr;
    QGroupBox *GBSpect = nullptr, *GBChannel = nullptr, *GBFFT = nullptr, *GBScroll = nullptr;
    // Read-outs: FILE, CHANNEL(s), DATA, SAMPLING, TITLE, DATE/TIME, FFT/MEM DT, FFT/MEM T, Position
    // (hidden), DURATION, INTERVAL, FORMAT, TIME UNIT.
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label11 = nullptr,
           *Label12 = nullptr, *Label16 = nullptr, *Label20 = nullptr, *Label21 = nullptr, *Label24 = nullptr,
           *Label25 = nullptr, *Label28 = nullptr, *Label30 = nullptr;
    // Headings of the value grid.
    QLabel *Data = nullptr, *Data0 = nullptr, *Data1 = nullptr, *Data2 = nullptr, *Data3 = nullptr,
           *Data4 = nullptr;
    QTimer *Timer1 = nullptr, *Timer2 = nullptr, *Timer3 = nullptr;

    // ---- menus ----
    QMenu *File1 = nullptr, *FormatType1 = nullptr, *WriteDataFile1 = nullptr, *SamplingRateUnit1 = nullptr,
          *Filter1 = nullptr, *Wave1 = nullptr, *TimeScale1 = nullptr, *Clipping1 = nullptr,
          *Integrate1 = nullptr, *Spectrum1 = nullptr, *Skip1 = nullptr, *SpectralRatio1 = nullptr,
          *Edit1 = nullptr, *Help1 = nullptr;
    QAction *Open1 = nullptr, *CSVDef = nullptr, *CSVGPL = nullptr, *CSVArb = nullptr, *SPC51 = nullptr,
            *SPC35 = nullptr, *Saveas1 = nullptr, *AnalizedData1 = nullptr, *AllData1 = nullptr,
            *second = nullptr, *milisecond = nullptr, *microsecond = nullptr, *nanosecond = nullptr,
            *Exit1 = nullptr;
    QAction *None2 = nullptr, *Default1 = nullptr, *Arbitrary1 = nullptr;
    QAction *N11 = nullptr, *N21 = nullptr, *N41 = nullptr, *N82 = nullptr, *AmpScale1 = nullptr,
            *Color1 = nullptr, *Title1 = nullptr, *Filename1 = nullptr, *ChannelComment1 = nullptr,
            *Scaling1 = nullptr, *PCNT100 = nullptr, *PCNT75 = nullptr, *PCNT50 = nullptr, *PCNT25 = nullptr,
            *IntegOff = nullptr, *IntegOn = nullptr;
    QAction *ZeroAverage1 = nullptr, *SubAxis1 = nullptr, *BroadLine1 = nullptr, *RightSideComment1 = nullptr,
            *Statistics1 = nullptr, *Nnone = nullptr, *Nquoto = nullptr, *Nhalf = nullptr, *Nfull = nullptr,
            *NotAvailable = nullptr, *AtoB = nullptr, *BtoA = nullptr, *AbsFourier = nullptr,
            *Format1 = nullptr, *Running1 = nullptr, *SpectralPeaks1 = nullptr;
    QAction *Copy1 = nullptr, *FileComment1 = nullptr, *FConvert = nullptr, *DataComment1 = nullptr;
    QAction *Howto1 = nullptr, *Readmehtm1 = nullptr, *Version2 = nullptr;

    // ---- start-up and the shell ----
    void FormCreate();
    void DisableAnalysisControls();
    void EnableAnalysisControls();
    void ExitCommand();
    void ShowVersion();
    void ShowHowto();
    void OpenManualPage();
    // Where Help looks for the manual page; the opener can be replaced (the tests do).
    std::string ManualPagePath() const;
    std::function<bool(const std::string& path)> OpenDocument;

    // ---- file open ----
    // The open dialog's filter list.
    static const char* const kOpenFilter;
    void BtnFileClick();
    void FormatTypeClick(FormatType type);  // CSVDef … SPC35
    FormatType CheckedFormat() const;
    void SetTimeUnit(TimeUnit unit);  // the time-unit setters
    void CBLowCutClick();
    void None2Click();
    void Default1Click();
    void Arbitrary1Click();
    void IntegOnClick();
    void IntegOffClick();
    void ClippingClick(QAction* item);  // PCNT100 … PCNT25

    // ---- waveform display and scrolling ----
    void DrawWave() override;
    void BtnStartClick();
    void BtnStopClick();
    void Timer1Timer();
    void TrackBar1Change();
    void EdPositionChange();
    void BtnZeroClick();
    void BtnNextClick();
    void BtnPrevClick();
    void RadioGroup1Click();
    void TimeScaleClick(int item);  // N11, N21, N41, N82
    void AmpScale1Click();
    void Color1Click();
    void Title1Click();
    void Filename1Click();
    void ChannelComment1Click();
    void Scaling1Click();
    void Image1MouseUp(Qt::MouseButton button, int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseDown(Qt::MouseButton button, int x, int y);
    // Analysis size from "Points" (÷ 32 with "min").
    int Points() const;
    void WriteDataFile(bool allData);

    // ---- listing ----
    void BtnListClick();
    // Lists the page at the position; `showDialog` shows the continuation dialog afterwards.
    void ListPage(bool showDialog);

    // ---- picture export ----
    void SBFileSaveClick();
    void SpeedButton1Click();
    void Copy1Click() { SpeedButton1Click(); }

    // ---- spectrum settings held by the main window ----
    void SkipClick(QAction* item);   // Nnone … Nfull
    void RatioClick(QAction* item);  // NotAvailable, AtoB, BtoA
    void CBMEMminClick();
    void BtnBackClick();
    void DataComment1Click();
    void AbsFourierClick();
    void SpectrumOptionClick(QAction* item);  // ZeroAverage1, SubAxis1, BroadLine1, RightSideComment1

    // ---- commands of the analysis windows (filled in as those windows arrive) ----
    void BtnRunClick();
    void RGPointsClick();
    void RGHanningClick();
    void RGAmpClick();
    void CB2DClick();
    void SBFilterClick();
    void SBFormatClick();
    void SBRunSpecClick();
    void SBCorrClick();
    void SBHistogramClick();
    void SBPeaksClick();
    void Statistics1Click();
    void Running1Click();
    void FileComment1Click();
    void FConvertClick();
    void AnalizedData1Click();
    void AllData1Click();
    void Saveas1Click();
    void Timer2Timer();
    void Timer3Timer();

    // ---- AmpScaleHost ----
    void TimeScaleFromDialog(int item) override;
    void SetTitleOption(bool on) override;
    void SetFilenameOption(bool on) override;
    void ToggleChannelComment() override { ChannelComment1Click(); }
    void ToggleColor() override { Color1Click(); }
    void ToggleScaling() override { Scaling1Click(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void BuildMenus();
    void ConnectCommands();
    // Runs a command, showing anything it throws in a message box; the program goes on.
    void Guarded(const std::function<void()>& command);
    // Connects a signal to a command of this window, guarded.
    template <typename Sender, typename Signal>
    void Bind(Sender* sender, Signal signal, std::function<void()> command) {
        connect(sender, signal, this, [this, command] { Guarded(command); });
    }

    // The processing settings a command changes before it re-runs the pass; put back when the pass
    // does not produce a new record.
    struct ProcessingSnapshot;
    ProcessingSnapshot TakeProcessingSnapshot() const;
    void RestoreProcessingSnapshot(const ProcessingSnapshot& s);
    // Runs the pass after a processing command; returns whether a new record was adopted.
    bool RunPassAfterSettingChange(const ProcessingSnapshot& before);
    void AdoptLoadedRecord(bool reprocess, bool filtered);
    void ShowProcessing(const std::string& what);
    // Tells the user that a command belongs to a part of the program still to come.
    void NotAvailableYet(const char* what);
    void HideProcessing();
    void SetIntegrationIndicator(bool on);
    void SetFilterMode(FilterMode mode);
    WaveFilterNote FilterNote() const;
    AppWindows& Windows() const;
    TAmpScale& AmpScale() const;

    SessionState state_;
    AppWindows* windows_ = nullptr;
    std::string executablePath_;
    bool timeScaleFromDialog_ = false;
    bool timerTick_ = false;
    bool loading_ = false;
    bool passCompleted_ = false;
    int lastDay_ = 0;
};

}  // namespace wavora
