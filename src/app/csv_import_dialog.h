#pragma once
// TCSVArbitrary, "Arbitrary CSV File Data" (modal): a file of any comma-separated layout shown as
// a grid, with the fields that say which line holds the channel names, the memo and the units,
// which lines and columns hold the data, and the sampling rate and its unit. OK checks the whole
// selection, every data cell included, before anything changes; it may save the selection as a
// standard CSV data file; the main window then processes the imported record like any load.

#include <QDialog>
#include <QElapsedTimer>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "formats/csv_import.h"
#include "record/progress.h"
#include "record/wave_record.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace wavora {

class MainCommands;
class StringGrid;
class UpDown;
struct Session;

// What OK accepted: the imported record, not yet processed, and the selection it came from.
struct CsvImportResult {
    WaveRecord Record;
    CsvImportSelection Selection;
};

class TCSVArbitrary : public QDialog {
    Q_OBJECT
  public:
    TCSVArbitrary(Session& session, MainCommands& commands, QWidget* parent = nullptr);
    ~TCSVArbitrary() override;

    QLineEdit* EdPoint;  // "SiteName Line"
    UpDown* UpDown1;
    QLineEdit* EdMemo;  // "Memo Line"
    UpDown* UpDown2;
    QLineEdit* EdUnit;  // "Unit Line"
    UpDown* UpDown3;
    QLineEdit* EdLine1;  // "Data Line From"
    UpDown* UpDown4;
    QLineEdit* EdLine2;  // "to"
    QLineEdit* EdCol1;   // "Data Column from"
    UpDown* UpDown6;
    QLineEdit* EdCol2;  // "to"
    UpDown* UpDown5;
    QLineEdit* EdSamp;        // "Sampling Rate"
    QComboBox* ComboBox1;     // "unit": s, ms, μs, ns
    StringGrid* StringGrid1;  // the file: line numbers down the side, column numbers on top
    QLabel* Label9;           // the file's path
    QPushButton* Button2;     // "OK"
    QPushButton* Button3;     // "Cancel"
    QPushButton* Button1;     // "Save(削除不可)", hidden: the save of OK's "Yes"

    // The preview of the file-open pass: the file is indexed (a failure is shown and nothing
    // more happens), shown in the grid with the start values in the fields, and the dialog waits.
    // Returns what OK accepted; nothing after Cancel or the close box.
    std::optional<CsvImportResult> Preview(const std::string& path);

    // OK: the fields are read and checked, every selected cell is imported into a scratch record,
    // the save as a standard CSV file is offered, and the dialog closes with the record. A
    // refusal names the field, or the line and column of the cell, and the dialog stays open.
    void Button2Click();
    void Button3Click();
    // The save as a standard CSV data file of the selection OK accepted.
    void Button1Click();
    // An up-down moved to `position`: the grid's current row (UpDown1 … UpDown4) or column
    // (UpDown5, UpDown6) goes there.
    void UpDownClick(UpDown* upDown, int position);

    // The selection the fields name, as OK read it last.
    const CsvImportSelection& Selection() const { return selection_; }

  private:
    CsvImportFields ReadFields() const;
    void ShowFields(const CsvImportFields& fields);
    void FocusField(CsvImportField field);
    // The processing notice for a step that takes long; a short one shows nothing.
    Progress StepProgress();
    void EndStep();
    // The grid lets go of the preview and the file.
    void Release();

    Session& session_;
    MainCommands& commands_;
    std::unique_ptr<CsvLineIndex> index_;
    std::unique_ptr<CsvPreview> preview_;
    CsvImportSelection selection_;
    std::optional<CsvImportResult> result_;
    QElapsedTimer step_;
    bool noticeShown_ = false;
};

}  // namespace wavora
