#pragma once
// Writers of result files: the analysed-data file (the processed samples in physical units, laid
// out as a standard CSV data file), the filter line that result files share, and a file writer
// that never leaves a half-written file under the user's name.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "record/filter_state.h"
#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

// The filter line of result files, without its line end: "FILTER,Unfiltered", or
// "FILTER,BANDPASS,%.2f%s-%.2f%s" with 1.0 and samplingRate × 0.5 × 0.75 (Default) or the
// arbitrary corners (Arbitrary), each followed by the frequency unit text.
std::string FilterLine(const FilterState& filter, int32_t samplingRate, const char* frequencyText);

// A text (name, unit, title, file name) as one field of a comma-separated file that the program's
// readers read back as the same text: control characters (CR and LF among them) and commas, which
// would end the line or the field, become blanks; a character that code page 932 cannot hold
// becomes "?", as the file will hold it; blanks and tabs at either end are dropped, as the readers
// drop them; and the text is cut to `width` bytes in code page 932, as the standard CSV reader cuts
// names and units, without splitting a character.
std::string CsvTextField(std::string_view utf8, size_t width = std::string::npos);

// A number as the result files write it: beyond the float range it is held at the largest float of
// its sign, and a value that is not a number is written as 0, so that no file holds "inf" or "nan".
double FileNumber(double value);

// When a result file cannot be written under `path` because the path names no file (it is empty,
// or ends in a folder: "out/", ".", ".."), the message to show; nothing otherwise. The save
// dialogs and wavora-batch ask before they add a default extension, which would otherwise make a
// hidden ".csv" file of an empty name.
std::optional<Failure> EmptyFileNameFailure(const std::string& path);

// The path with "." and the extension (given without its dot) appended when its file name has
// no extension; otherwise the path as it is.
std::string AppendExtensionIfMissing(const std::string& path, const std::string& extension);

// Writes the analysed-data file: names, "rate,unit", the filter line, display units, then one line
// per sample of every channel, "%10.3e" of sample × ScaleFactor, joined by commas; code page 932,
// lines ending CR LF. Names and units are written as CsvTextField makes them, so that the file reads
// back as a standard CSV data file with the same channels, names, units and samples; a channel
// without a name is written as "CH1", "CH2", ... (a record of one unnamed channel would otherwise
// leave line 1 empty, which no reader takes for a channel). allData writes every sample; otherwise
// displayPosition .. displayPosition + points − 1, stopping at the last sample. The caller has already asked
// about an existing file. Failures: "File open error" ("FILE OPEN ERROR") when the file cannot be created,
// "File write error" ("FILE WRITE ERROR") when writing fails; in both cases no file is left behind and an
// existing file of that name is kept as it was.
Outcome WriteAnalysedData(const std::string& path, const WaveRecord& record, const FilterState& filter,
                          int displayPosition, int points, bool allData);

// "%10.3e" of a value, the same text snprintf gives, appended to `out`.
void AppendScientific10_3(std::string& out, double value);

// Writes a file through a temporary file in the same folder, renamed over the target only once
// everything has been written; until then, and after any failure, the target is untouched.
class SafeFileWriter {
  public:
    explicit SafeFileWriter(std::string path);
    ~SafeFileWriter();  // removes the temporary file unless committed
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // False when the temporary file could not be created.
    bool Opened() const { return file_ != nullptr; }
    // Appends bytes; a failure is remembered and reported by Commit.
    void Write(const std::string& bytes);
    enum class Result { Done, WriteFailed, RenameFailed };
    // Flushes and closes the temporary file and renames it over the target; a replaced file keeps
    // its permissions. On a write or rename failure the temporary file is removed and the target
    // is left as it was.
    Result Commit();
    // Commit with the writers' messages: `cannotCreate` when the file could not be created or put
    // in place, "File write error" ("FILE WRITE ERROR") when writing failed.
    static Failure OpenFailure();  // "File open error" ("FILE OPEN ERROR")
    Outcome Finish(const Failure& cannotCreate = OpenFailure());
    static Failure WriteFailure();

  private:
    std::string path_, temporary_;
    std::FILE* file_ = nullptr;
    bool failed_ = false, committed_ = false;
};

}  // namespace wavora
