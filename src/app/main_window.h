#pragma once
// TForm1, the main window: the picture Image1, the value grid StringGrid1 and every command
// button, check box, radio group and menu of the program. Its widgets (MainWindowControls) are
// views of the session state: a handler takes the new value, writes the state, emits the change,
// and SyncFromState shows it. The other windows reach the window through MainCommands.

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "app/main_commands.h"
#include "app/main_window_controls.h"
#include "app/session.h"

class QAction;

namespace wavora {

class AutoSkipController;
class Canvas;
class CorrelationController;
class GridListing;
class ScrollActivity;
struct AppWindows;
struct AutoSkipEvent;
struct CorrelationEvent;

// How a spectrum run ended, for the activities that run it on a timer.
struct RunReport {
    bool Completed = false;  // every channel analysed and drawn, the skip applied
    bool EndOfData = false;  // the automatic skipping analysis reached the end of the data
    // The message the run stopped with: shown by the run, unless its caller asked to show it itself.
    std::optional<Failure> Error;
};

class TForm1 : public QMainWindow, public MainCommands {
    Q_OBJECT
  public:
    // `executablePath` names the program file whose date the start-up text and the version box show.
    TForm1(Session& session, const std::string& executablePath, QWidget* parent = nullptr);
    ~TForm1() override;

    // The other windows, known once they are all created.
    void SetWindows(AppWindows* windows) { windows_ = windows; }

    SessionState& State() { return session_.State; }
    const WaveRecord& Record() const { return session_.State.Record; }
    const MainWindowControls& Ui() const { return ui_; }
    ScrollActivity& Scroll() { return *scroll_; }
    AutoSkipController& AutoSkip() { return *autoSkip_; }
    CorrelationController& Correlation() { return *correlation_; }
    Canvas& Picture();

    // Shows the state in the window's own controls: choices, checks, read-outs, position.
    void SyncFromState();

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

    // ---- file open and processing ----
    // The open dialog's filter list.
    static const char* const kOpenFilter;
    void BtnFileClick();
    void FormatTypeClick(FormatType type);  // CSVDef … SPC35
    void CBLowCutClick(bool on);
    void CBDCCutClick(bool on);
    bool None2Click() override;
    bool Default1Click() override;
    void Arbitrary1Click();
    void IntegOnClick();
    void IntegOffClick();
    void ClippingClick(int item);  // PCNT100, PCNT75, PCNT50, PCNT25
    bool ReprocessRecord() override;
    // The processing notice (TProcess) over a long step, and its end.
    void ShowProcessing(const std::string& what) override;
    void HideProcessing() override;
    bool ShowProgress(const std::string& what, double fraction) override;
    // A read or filter that has taken this long shows how far it is and can be cancelled.
    int ProgressDelayMs = 400;

    // ---- waveform display and scrolling ----
    void DrawWave() override;
    void RedrawPicture() override;
    void MovePosition(int position) override;
    void BtnStartClick();
    void BtnStopClick();
    void TrackBar1Change(int position);
    void EdPositionChange(const std::string& text);
    void BtnZeroClick() override;
    void BtnNextClick();
    void BtnPrevClick();
    void RadioGroup1Click(int item);  // "Step"
    void TimeScaleClick(int item) override;
    void AmpScale1Click();
    void Color1Click(bool on) override;
    void Title1Click(bool on) override;
    void Filename1Click(bool on) override;
    void ChannelComment1Click(bool on) override;
    void Scaling1Click(bool on) override;
    void Image1MouseUp(Qt::MouseButton button, int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseDown(Qt::MouseButton button, int x, int y);
    void WriteDataFile(bool allData);

    // ---- listing ----
    void BtnListClick() override;
    // Lists the page at the position; `showDialog` shows the continuation dialog afterwards.
    void ListPage(bool showDialog);

    // ---- picture export ----
    void SBFileSaveClick();
    void SpeedButton1Click();
    void Copy1Click() { SpeedButton1Click(); }

    // ---- analysis settings ----
    void CBChClick(int channel, bool on);  // CBCh1 … CBCh8 (0-based channel)
    void RGPointsClick(int item);
    void RGHanningClick(int item);
    void RGAmpClick(int item);
    void CBMEMClick(bool on);
    void CBMEMminClick(bool on);
    void CheckBox1Click(bool on);  // "Abs F Coeff"
    void AbsFourierClick(bool on);
    void CBFFTSaveClick(bool on);
    void CBSkipClick(bool on);
    void SkipClick(int divisor);  // Nnone 0, Nquoto 4, Nhalf 2, Nfull 1
    void RatioClick(int mode);    // NotAvailable 0, AtoB 1, BtoA 2
    void BtnBackClick();
    void DataComment1Click(bool on);
    void ZeroAverage1Click(bool on);
    void SubAxis1Click(bool on);
    void BroadLine1Click(bool on);
    void RightSideComment1Click(bool on);

    // ---- commands of the analysis windows (filled in as those windows arrive) ----
    void BtnRunClick() override;
    // The run itself; BtnRunClick and the timed activities call it. With `showMessages` off the
    // run shows no message of its own and leaves it in the report: the automatic skipping analysis
    // first stops its timer, then shows it.
    RunReport RunSpectrum(bool showMessages = true);
    void PeriodAxisChanged() override;
    void CB2DClick(bool on);
    void SBFilterClick();
    void SBFormatClick();
    void SBRunSpecClick();
    void SBCorrClick();
    void SBHistogramClick();
    void SBPeaksClick() override;
    void ShowPeaksHelp() override;
    void Statistics1Click(bool on);
    void Running1Click();
    void FileComment1Click();
    void FConvertClick();
    void AnalizedData1Click();
    void AllData1Click();
    void Saveas1Click();
    void Timer2Timer();
    void Timer3Timer();

    // ---- the running spectrum and the 2-D map (TRunning, TTWODPlot) ----
    std::optional<Failure> RunningStep() override;
    void RunningStarted() override;
    std::optional<Failure> RunningStopped(const RunningStop& stop) override;
    void RunningRefused(bool disableStartControls) override;
    void RunningClosed() override;
    void RunningRunClick() override;
    void RunningStopClick() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void ConnectCommands();
    // Runs a command, showing anything it throws in a message box; the program goes on.
    void Guarded(const std::function<void()>& command);
    // Connects a signal to a command of this window, guarded; the command takes the signal's
    // arguments.
    template <typename Sender, typename Signal, typename Command>
    void Bind(Sender* sender, Signal signal, Command command) {
        connect(sender, signal, this, [this, command](auto... args) {
            Guarded([&] {
                if constexpr (std::is_invocable_v<Command, decltype(args)...>)
                    command(args...);
                else
                    command();
            });
        });
    }

    // The processing choices a command changes before it re-runs the pass; put back when the
    // pass does not produce a new record.
    struct ProcessingSnapshot {
        FilterState Filter;
        LoadOptions Load;
        bool FilterIndicator = false;
    };
    ProcessingSnapshot TakeProcessingSnapshot() const;
    // The file-open pass; `offerOpenFile` names the open record in the file dialog (the processing
    // commands that read the file again through the dialog).
    void RunFilePass(bool offerOpenFile);
    // Runs the pass after a processing command; returns whether a new record was adopted. A pass
    // that ends without one puts the choices back.
    bool RunPassAfterSettingChange(const ProcessingSnapshot& before);
    // Reads the file of a CSV(Arbitrary) pass through the import dialog and processes the
    // record it accepts; returns whether a record was adopted.
    bool RunImportPass(const std::string& path);
    // The progress of a read or filter pass: the notice, then the bar and Cancel.
    Progress PassProgress();
    // Takes a processed scratch record as the open record, or shows why not.
    bool AdoptPassResult(LoadResult result, WaveRecord& scratch, const FilterState& filter, bool reprocess);
    void AdoptLoadedRecord(bool reprocess, bool filtered);
    // The value grid and its headings show one channel's listing.
    void ShowListing(const GridListing& listing);
    // "File Save" after a run: the save dialog, the overwrite question and the writer.
    void SaveSpectrumResult();
    // Another timed activity holds the analysis controls: says so and returns true.
    bool RefuseWhileBusy(Activity wanted);
    // What the automatic skipping analysis and the correlation analysis tell the window after a
    // start, a tick, a run or a stop.
    void PresentAutoSkip(const AutoSkipEvent& event);
    void PresentCorrelation(const CorrelationEvent& event);
    // Ends the automatic skipping, the correlation analysis and the running spectrum without a
    // word (a new record, the window closing).
    void EndTimedAnalyses();
    // SBHistogram and the menu item SpectralPeaks1 are offered together.
    void EnableHistogram(bool on);
    // The running spectrum's part of a run, for channel k that the run has just analysed: the step
    // of the waterfall, the single plot or the map row is drawn (instead of the run's picture), and
    // the run stops when the step says so. Returns the single plot's drawing failure.
    std::optional<Failure> DrawRunningStep(int k);
    // The running spectrum in progress ends without listing or drawing anything.
    void EndRunningSpectrum();
    // Processing and display choices changed: every window shows them.
    void OptionsChanged();
    WaveFilterNote FilterNote() const;
    AppWindows& Windows() const;

    Session& session_;
    SessionState& state_;
    Prompts& prompts_;
    MainWindowControls ui_;
    std::unique_ptr<ScrollActivity> scroll_;
    std::unique_ptr<AutoSkipController> autoSkip_;
    std::unique_ptr<CorrelationController> correlation_;
    AppWindows* windows_ = nullptr;
    std::string executablePath_;
    bool passCompleted_ = false;
};

}  // namespace wavora
