#pragma once
// The file-open processing without the window: read the file with the reader of its format, then
// the fixed chain (sampling interval, comment, display divisor, DC Cut, integration, base scale,
// filter, peak values, clipping, peak values). Every pass starts again from the file.

#include <optional>
#include <string>

#include "analysis/filter.h"
#include "formats/csv_import.h"
#include "record/failure.h"
#include "record/progress.h"
#include "record/wave_record.h"

namespace wavora {

struct LoadOptions {
    FormatType Format = FormatType::CsvDefault;  // CsvDefault, CsvGpl, CsvArbitrary, Spc51 or Spc35
    bool DcCut = false;
    bool IntegrationOn = false;
    bool ClipOn = false;
    float ClipFraction = 1.0f;
    int Step = 1;  // the decimation step selected when the pass runs (1, 2, 5, 10)
    // CSV(Arbitrary): the lines and columns the user accepted in the import dialog. A pass over
    // an imported record (a filter command) imports the same selection again, without the dialog.
    std::optional<CsvImportSelection> Import = std::nullopt;
};

struct LoadResult {
    Outcome Result;          // the reader's failure, or success with warnings
    bool Filtered = false;   // the filter ran in this pass
    bool Cancelled = false;  // the progress callback asked to stop
};

// Reads `path` into `record` and processes it. On failure `record` holds what the reader left
// (the caller decides whether to keep it). Binary formats need the extension "dbl" and set
// seconds. CSV(Arbitrary) indexes the file and imports options.Import (a pass without a
// selection is refused); the import dialog, which already has the index, calls LoadImport.
// `filter` carries the mode and arbitrary corners in and the effective corners of this pass
// out; integration forces filter.Active on.
LoadResult LoadRecord(const std::string& path, const LoadOptions& options, FilterState& filter,
                      WaveRecord& record, const Progress& progress = {});

// The import of options.Import from a file already indexed (the dialog's OK, wavora-batch
// import), then the processing: the same record LoadRecord makes of the file.
LoadResult LoadImport(const CsvLineIndex& index, const LoadOptions& options, FilterState& filter,
                      WaveRecord& record, const Progress& progress = {});

// The chain after a successful read, on its own: sampling interval, comment (and for SPC-51 the
// title and date), display divisors, DC Cut, integration, base scale, filter, peak values,
// clipping. The filter reports "Bandpass Filtering now" through `progress`. Corners that are not
// a band (IsValidBand) are never filtered with: the samples stay unfiltered and
// IllegalCornerFailure() comes back as a warning. Cancelled is set when the callback asked to
// stop (the record is then half processed and should be dropped).
LoadResult ProcessRecord(WaveRecord& record, const LoadOptions& options, FilterState& filter,
                         const Progress& progress = {});

}  // namespace wavora
