#pragma once
// TPeaks, "Spectral Peaks" (kept on top): the peaks of the last spectrum in a table, the averages
// of the largest peaks, and the histogram of peak frequencies that grows with every spectrum run
// while the window is open; the Value and Order listings of the classes, Clear, and the automatic
// skipping analysis's Run/Stop button; menus for the classes, the peaks per spectrum, the
// histogram's scale and the analysis's time interval. Everything it shows is the session's
// SpectralPeaks; the window only displays it.

#include <QDialog>
#include <span>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace wavora {

class MainCommands;
class StringGrid;
class TMyGraph;
struct Session;
struct SessionState;
struct SpectrumCurve;

class TPeaks : public QDialog {
    Q_OBJECT
  public:
    TPeaks(Session& session, MainCommands& commands, QWidget* parent = nullptr);

    QLabel* Label2;  // the record's name
    QLabel* Label3;  // the channel, "%d CH"
    QLabel* Label7;  // "Average Max Peak Spectra"
    QLabel* Label4;  // spectra counted
    QLabel* Label5;  // mean frequency of the largest peaks
    QLabel* Label6;  // mean value of the largest peaks
    QLabel* Label8;  // "20 Divisons    5 Top Peaks"
    StringGrid* StringGrid1;
    TMyGraph* MyGraph1;
    QPushButton* Button3;  // "Value(&V)"
    QPushButton* Button4;  // "Order(&O)"
    QPushButton* Button5;  // "Run/Stop(&R)"
    QPushButton* Button2;  // "Clear(&K)"
    QPushButton* Button1;  // "Close(&C)"

    QMenuBar* MainMenu1;
    QMenu *Frequency1, *Division1, *Tops1, *ScaleUnit1, *TimeInterval1, *Help1;
    QAction *N103, *N202, *N251, *N501;           // Division 10, 20, 25, 50
    QAction *N11, *N31, *N52, *N102;              // Tops 1, 3, 5, 10
    QAction *N51, *N101, *N201;                   // Scale Unit 5, 10, 25
    QAction *N100ms, *N200ms, *N500ms, *N1000ms;  // Time Interval
    QAction *Clear1, *HelpforPeaks1;

    // Close: the window goes and runs no longer gather peaks.
    void Button1Click();
    void Button2Click();  // Clear
    void Button3Click();  // Value: the class listing; Order becomes available
    void Button4Click();  // Order: the class listing by count
    void Button5Click();  // the automatic skipping analysis: start or stop
    void Clear1Click();
    void DivisionClick(int division);  // clears
    void TopsClick(int tops);          // from the next spectrum on
    void ScaleUnitClick(int count);    // the histogram is drawn again at once
    void TimeIntervalClick(int ms);
    void HelpforPeaks1Click();

    // Shows the session's peaks (table, labels, histogram), the menus' marks and which buttons
    // work now.
    void SyncFromState();

    // Closing the window by its frame (or Escape) is Close.
    void reject() override;

  private:
    void ShowPeaks();
    void SyncMenus();
    void SyncButtons();
    void Clear();

    Session& session_;
    MainCommands& commands_;
    bool orderAvailable_ = false;  // Value was listed since the automatic skipping analysis last ran
};

// The peaks hook of a spectrum run, after it has drawn its curves: while the peaks window is open
// and both axes of the spectrum graph are linear, the peaks of every curve, in the order drawn,
// each from its own values. Returns whether anything was gathered.
bool GatherRunPeaks(SessionState& state, std::span<const SpectrumCurve> curves);

}  // namespace wavora
