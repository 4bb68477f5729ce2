#pragma once
// TStatistics, "Statistics": where the segment the last run analysed starts, its length and
// duration, and the mean, extremes and mean square of the channel analysed last. The run writes
// the values into the session while the window is wanted (Spectrum - Statistics); the window shows
// them and keeps them until the next run.

#include <QDialog>

class QLabel;

namespace wavora {

struct Session;

class TStatistics : public QDialog {
    Q_OBJECT
  public:
    explicit TStatistics(Session& session, QWidget* parent = nullptr);

    QLabel* Label12;  // "Statistics of Analyzed Data"
    QLabel* Label13;  // "Position"
    QLabel* Label1;   // the segment's first sample
    QLabel* Label6;   // "Data"
    QLabel* Label11;  // points
    QLabel* Label14;  // "Duration"
    QLabel* Label15;  // points × analysis interval, with the time unit
    QLabel* Label2;   // "Mean"
    QLabel* Label7;
    QLabel* Label3;  // "Max"
    QLabel* Label8;  // value, unit and where
    QLabel* Label4;  // "Min"
    QLabel* Label9;
    QLabel* Label5;  // "Mean Square"
    QLabel* Label10;

    // Shows the statistics the last run left in the session.
    void SyncFromState();

  private:
    Session& session_;
};

}  // namespace wavora
