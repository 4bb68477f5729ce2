#pragma once
// The import of any CSV file ("CSV(Arbitrary)"): the user marks which line holds the channel names,
// which the units and which the memo, and which lines and columns hold the data, and types the
// sampling rate and its unit.
//
// CsvLineIndex reads the file once and keeps only where each line starts, so that a 100 MB file
// previews at once; CsvPreview gives the preview grid its texts, splitting only the lines it is
// asked for. ImportCsv checks the whole selection, every data cell included, before it changes
// the record; SaveAsStandardCsv writes the selection as a standard CSV data file.
//
// How the import treats what is out of the ordinary:
// - Lines of any length are read whole; a CR before the line feed is dropped; a UTF-8 byte-order
//   mark before line 1 is skipped.
// - A data cell must hold one number in the syntax the standard CSV reader reads (optional sign,
//   digits, optional fraction, optional exponent; blanks around it allowed), so that a saved file
//   reads back the same. An empty cell, a missing cell, text, or a value beyond ±1e30
//   (kLargestPhysicalValue, where spectra would overflow) is refused, naming its line and column.
// - At most 8 columns are taken: columns `FromColumn` .. `FromColumn` + 7.
// - A column of zeros gives samples 0 and the scale factor of a column whose maximum is 1, as the
//   standard CSV reader does; so does a column too small for a normal scale factor (below about
//   3.8e-34).
// - A blank name cell (or a names line shorter than the selection) names the channel "CH%d".
// - The imported record has the file's modification date, an empty title and comment, and the
//   chosen time unit's text as its rate unit word.
// - The start values take the last line that holds more than blanks as the last data line, so that
//   an empty line at the end of a file does not spoil the first OK.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "record/failure.h"
#include "record/progress.h"
#include "record/time_unit.h"
#include "record/wave_record.h"

namespace wavora {

// Caption of the import's own refusals (the dialog's caption).
inline constexpr const char* kImportCaption = "Arbitrary CSV File Data";

// ---- The file's lines

class CsvLineIndex {
  public:
    CsvLineIndex();
    ~CsvLineIndex();
    CsvLineIndex(CsvLineIndex&&) noexcept;
    CsvLineIndex& operator=(CsvLineIndex&&) noexcept;
    CsvLineIndex(const CsvLineIndex&) = delete;
    CsvLineIndex& operator=(const CsvLineIndex&) = delete;

    // Reads `path` once and notes where every line starts and how many cells the widest line has.
    // The file stays open for the lines asked for later. Failures: "read file not exist  "
    // ("File Error") when the file cannot be opened or read or is not a plain file; the memory
    // failure; a cancel through `progress` (CancelledFailure). On failure `index` is left empty.
    static Outcome Build(const std::string& path, CsvLineIndex& index, const Progress& progress = {});
    // The same with the plain byte-at-a-time scan instead of the vector one, for the tests.
    static Outcome BuildWithPlainScan(const std::string& path, CsvLineIndex& index);

    const std::string& Path() const;
    // Lines of the file; a last line without a line feed counts, an empty file has none.
    int64_t LineCount() const;
    // Cells of the widest line (its commas + 1); 0 for an empty file.
    int64_t WidestCellCount() const;
    // The last line that holds more than blanks and tabs; 0 when there is none.
    int64_t LastContentLine() const;
    // Bytes of line `line` (from 1) as they stand in the file, without the line end and, for line 1,
    // without a UTF-8 byte-order mark. Empty for a line outside the file or when it cannot be read.
    std::string LineText(int64_t line) const;
    // The line split at every comma (SplitCells); nothing is trimmed.
    std::vector<std::string> Cells(int64_t line) const;

    // Byte offset of the start of `line` (from 1); LineCount() + 1 gives the end of the text.
    int64_t LineStart(int64_t line) const;
    // Bytes the index holds (the line starts); the file's text is never held.
    size_t MemoryBytes() const;
    // Whether the file is still the one indexed: same size and modification time.
    bool Unchanged() const;
    // Whether `path` names the indexed file itself (also through another name or a link).
    bool IsSameFile(const std::string& path) const;

  private:
    struct Data;
    static Outcome BuildIndex(const std::string& path, CsvLineIndex& index, const Progress& progress,
                              bool plainScan);
    std::unique_ptr<Data> data_;
};

// ---- The preview grid

// The texts of the preview grid: row 0 holds the column numbers, column 0 the line numbers, and
// row r, column c cell c of line r. Lines are split when asked for; the last few split lines are
// kept, so painting a screen of the grid splits each of its lines once.
class CsvPreview {
  public:
    static constexpr int64_t kMinDataColumns = 20;

    // The index must stay where it is while the preview is used.
    explicit CsvPreview(const CsvLineIndex& index);
    ~CsvPreview();

    // Lines + 1 (the heading row).
    int64_t RowCount() const;
    // As many columns as the widest line, at least 20, + 1 (the line-number column).
    int64_t ColumnCount() const;
    // "%4d" of the column number ("   1"); "" for column 0.
    static std::string ColumnHeading(int64_t column);
    // "  %5d" of the line number ("      1").
    static std::string LineHeading(int64_t row);
    // The text of grid cell (row, column), decoded to UTF-8: headings in row 0 and column 0, else
    // cell `column` of line `row`, "" past the line's cells.
    std::string CellText(int64_t row, int64_t column) const;

  private:
    struct Cache;
    const CsvLineIndex& index_;
    std::unique_ptr<Cache> cache_;
};

// ---- The selection

// What the dialog's fields select, as numbers. Lines and columns count from 1.
struct CsvImportSelection {
    int64_t NamesLine = 1;              // EdPoint, "SiteName Line"
    int64_t MemoLine = 3;               // EdMemo, "Memo Line" (only saved)
    int64_t UnitLine = 4;               // EdUnit, "Unit Line"
    int64_t FromLine = 5;               // EdLine1, "Data Line From"
    int64_t ToLine = 5;                 // EdLine2, "to"
    int64_t FromColumn = 1;             // EdCol1, "Data Column from"
    int64_t ToColumn = 1;               // EdCol2, "to"
    int64_t SamplingRate = 100;         // EdSamp, "Sampling Rate"
    TimeUnit Unit = TimeUnit::Seconds;  // ComboBox1, "unit"

    // Columns FromColumn .. ToColumn, at most 8.
    int Channels() const;
    int64_t Samples() const { return ToLine - FromLine + 1; }
    bool operator==(const CsvImportSelection&) const = default;
};

// The dialog's start values for a file: names line 1, memo line 3, unit line 4, data from line 5
// to the last line, columns 1 to the last line's cell count, rate 100, seconds.
CsvImportSelection StartSelection(const CsvLineIndex& index);

// The dialog's fields as typed, and its unit choice (ComboBox1 items "s", "ms", "μs", "ns").
struct CsvImportFields {
    std::string NamesLine, MemoLine, UnitLine, FromLine, ToLine, FromColumn, ToColumn, SamplingRate;
    int UnitIndex = 0;
};

// Which field a refusal is about, so that the dialog can put the cursor there.
enum class CsvImportField {
    None,
    NamesLine,
    MemoLine,
    UnitLine,
    FromLine,
    ToLine,
    FromColumn,
    ToColumn,
    SamplingRate,
    Unit,
};

// The texts the dialog starts with for a selection.
CsvImportFields FieldsOf(const CsvImportSelection& selection);

// The fields as numbers: each must be a whole number ("'x' is not a valid integer value", under
// the application title). `badField` names the field refused.
Outcome ParseImportFields(const CsvImportFields& fields, CsvImportSelection& selection,
                          CsvImportField* badField = nullptr);

// Checks the selection against the file: every line inside the file, data lines and columns not
// reversed, the used columns inside the widest line, a sampling rate above 0 within 32 bits.
// Refusals come under kImportCaption and name the field.
Outcome CheckImportSelection(const CsvLineIndex& index, const CsvImportSelection& selection,
                             CsvImportField* badField = nullptr);

// ---- The import

// Imports the selection into `record` (the dialog's OK): checks the selection and every selected
// data cell first; a refusal names the line and column and leaves `record` as it was. On success
// the record holds the new channels, samples and units, FormatType CsvArbitrary, the index's file
// as FilePath, and the time unit of the selection; it is not yet processed (ProcessRecord).
// Samples are value × 32000 / M truncated toward zero, M the column's largest magnitude, and
// ScaleFactor is M × 3.125e-5, as in the standard CSV reader.
Outcome ImportCsv(const CsvLineIndex& index, const CsvImportSelection& selection, WaveRecord& record,
                  const Progress& progress = {});

// ---- The save as a standard CSV data file

// The name the save dialog proposes: the file name up to its first ".", then "_std.", then the
// rest ("data.csv" gives "data_std.csv", "run1.txt" "run1_std.txt"); a name without "." gets
// "_std.csv".
std::string StandardCsvName(const std::string& fileName);

// The question asked before an existing file is replaced: "Same file %s is already exists.
// Overwrite?" under "File Name Error" (OK / Cancel).
std::string OverwriteQuestionText(const std::string& name);
inline constexpr const char* kOverwriteQuestionCaption = "File Name Error";
// The question of the dialog's OK: "Save File as Standard CSV file for WAVORA?     " ("Save File",
// Yes / No).
inline constexpr const char* kSaveQuestionText = "Save File as Standard CSV file for WAVORA?     ";
inline constexpr const char* kSaveQuestionCaption = "Save File";

// Writes the selection as a standard CSV data file: line 1 the names (a blank name as "CH%d"),
// line 2 "rate,unit word", line 3 the memo line's cells, line 4 the units, then the data lines;
// only the selected columns, cells as they stand in the file; code page 932 ("μs" as 0x83 0xCA
// "s"), lines ending CR LF. Call it after ImportCsv accepted the selection; the caller has asked
// about an existing target. Failures: the file being imported as the target ("File Name Error");
// "File open error" ("FILE OPEN ERROR"); "File write error" ("FILE WRITE ERROR"). A failed save
// leaves no file behind and an existing target as it was.
Outcome SaveAsStandardCsv(const CsvLineIndex& index, const CsvImportSelection& selection,
                          const std::string& target, const Progress& progress = {});

}  // namespace wavora
