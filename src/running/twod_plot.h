#pragma once
// TTWODPlot, "2D Spectrum Plot": the two-dimensional spectrum, a time × frequency colour map with
// its colour bar on the chart MyGraph1. A running spectrum with "2D" checked draws one row per
// step; the fields set the frequency limits, the time span, the grids and the colour scale; the
// mouse held on the finished map reads (f, t) off a cross-hair. The map's settings and state are
// the session's SpectrumMap.

#include <QDialog>
#include <string>

#include "analysis/spectrum_map.h"
#include "draw/spectrum_map_display.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace wavora {

class MainCommands;
class TMyGraph;
struct Session;

class TTWODPlot : public QDialog {
    Q_OBJECT
  public:
    TTWODPlot(Session& session, MainCommands& commands, QWidget* parent = nullptr);

    // The save dialog's filter list.
    static const char* const kSaveFilter;

    TMyGraph* MyGraph1;      // the map, 433 × 417
    QLineEdit* Edit1;        // "Upper Limit"
    QLineEdit* Edit5;        // "Lower Limit"
    QLabel* UpperUnitLabel;  // the frequency unit beside "Upper Limit"
    QLabel* LowerUnitLabel;  // the frequency unit beside "Lower Limit"
    QSpinBox* UpDown1;       // frequency "Grid" (the field Edit2 with its up-down), 1 … 10
    QLineEdit* Edit3;        // "Elapsed Time" "Max"
    QLabel* TimeUnitLabel;   // the time unit beside it
    QSpinBox* UpDown2;       // time "Grid" (Edit4), 1 … 10
    QCheckBox* CBAuto;       // "Auto": the colour maximum from the first spectrum of a run
    QLineEdit* Edit8;        // "Color Scale" "Max"
    QSpinBox* UpDown3;       // colour-bar divisions (Edit7), 1 … 5
    QLabel* Label10;         // the cross-hair read-out "( f, t )=( … )"
    QLabel* Label17;         // rows drawn
    QLabel* Label18;         // "/"
    QLabel* Label19;         // rows expected
    QLabel* Label20;         // hidden: the time span of the run
    QPushButton* Button3;    // "Set"
    QPushButton* Button5;    // "Run"
    QPushButton* Button6;    // "Stop"
    QPushButton* Button7;    // "０": the main window's position to 0
    QPushButton* Button2;    // "Copy"
    QPushButton* Button4;    // "Save"
    QPushButton* Button1;    // "Close"

    // Set: the axes from the fields (the first time from the spectrum format dialog), the frame
    // and the colour bar. Nothing while a map is being drawn.
    void Button3Click();
    void Button5Click();  // the running spectrum's Run; Copy and Save are offered
    void Button6Click();  // the running spectrum's Stop
    void Button7Click();
    void Button2Click();  // the chart to the clipboard
    // Save: the chart as a PNG file (".png" added to a name without extension; an existing file
    // is replaced only when the user says so).
    void Button4Click();
    void Button1Click();

    // The fields, with the new text or position. A text that is empty or no number changes
    // nothing (the field keeps its last number); the limits, the time span and the grids run Set.
    void Edit1Change(const std::string& text);
    void Edit5Change(const std::string& text);
    void Edit3Change(const std::string& text);
    void Edit8Change(const std::string& text);
    void CBAutoClick(bool on);
    void UpDown1Click(int position);
    void UpDown2Click(int position);
    void UpDown3Click(int position);

    // The cross-hair, in chart pixels: only while no map is being drawn and inside the axes.
    void MyGraph1MouseDown(Qt::MouseButton button, int x, int y);
    void MyGraph1MouseMove(int x, int y);
    void MyGraph1MouseUp(Qt::MouseButton button, int x, int y);
    const MapCrossHair& CrossHair() const { return crossHair_; }

    // The running spectrum's part (through the main window): a run has started (PrepareMapRun),
    // its first step starts the map (StartMap), every step draws a row (DrawMapRow).
    void PrepareMapRun();
    void StartMap(const MapStartPlan& plan);
    void DrawMapRow(const MapRowPlan& row);

    // Shows the session's map settings, the rows and the activity.
    void SyncFromState();

  private:
    // The spectrum format dialog applied its axes: its frequency limits become this window's.
    void FormatApplied();
    // A new record: the old map goes, and the next Set or map takes the spectrum graph's axis.
    void RecordChanged();
    // The limits the map took from the spectrum format dialog, shown as that dialog writes them.
    void ShowLimitsTaken();
    // The cross-hair is dropped (a new frame is drawn): pen back to copy mode and black.
    void DropCrossHair();

    Session& session_;
    MainCommands& commands_;
    MapCrossHair crossHair_;
};

}  // namespace wavora
