#pragma once
// What every reader must do with any file, checked the same way by the fuzz targets (tests/fuzz)
// and by the replay of the regression inputs (tests/regress): a failure carries a message and
// leaves the record it was handed as it was; a record keeps its invariants, goes through the load
// processing, writes an analysed-data file that reads back with the same channels, names, units and
// samples, and gives a spectrum result file; no file written holds "inf" or "nan". Core only (no
// GoogleTest), so that the fuzz targets can use it.

#include <string>
#include <string_view>
#include <vector>

#include "record/failure.h"
#include "record/progress.h"
#include "record/wave_record.h"

namespace wavora::test {

using ReaderFunction = Outcome (*)(const std::string& path, WaveRecord& record, const Progress& progress);

struct ReaderEntry {
    std::string Name;       // as in support/reader_list.h, also the folder of its regression inputs
    std::string Extension;  // of the file the reader is given
    ReaderFunction Read = nullptr;
    FormatType Format = FormatType::CsvDefault;
    std::string BatchFormat;  // wavora-batch --format, "" when the batch tool has no such format
};

// The arbitrary CSV import as a reader: the file indexed and imported with the dialog's start values.
Outcome ReadImportedCsv(const std::string& path, WaveRecord& record, const Progress& progress);

// The readers of support/reader_list.h, in its order.
const std::vector<ReaderEntry>& Readers();
const ReaderEntry* FindReader(std::string_view name);

// A record as the window holds it before a load: a title, a comment, header bytes and names in all
// eight slots, so that whatever of it leaks into a new record or survives a failed read shows.
WaveRecord PreviousRecord();

// "" when a record that `format`'s reader handed back keeps the invariants, else what is wrong.
std::string CheckReadRecord(const WaveRecord& record, FormatType format);
// "" when two records are the same in every field and sample, else the first difference.
std::string CompareRecords(const WaveRecord& a, const WaveRecord& b);

struct ReplayResult {
    Outcome Result;       // what the reader said
    std::string Problem;  // "" when everything held
};

// Reads `path` with the reader into PreviousRecord() and checks everything above. A small record
// also goes through the processing chosen by `variant` (DC Cut, integration, clipping, filter in its
// low bits), the analysed-data file and a spectrum run (FFT amplitude or power, or MEM, with the
// ratio when there are two channels), whose files are written in `scratchFolder`.
ReplayResult ReplayFile(const ReaderEntry& reader, const std::string& path, unsigned variant,
                        const std::string& scratchFolder);

// Lines of a written file from `first` (0-based) on that hold "inf" or "nan" in any case; "" when
// none does (names in the header lines may hold those letters).
std::string NonNumbersIn(const std::string& text, size_t first);

}  // namespace wavora::test
