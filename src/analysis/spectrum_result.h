#pragma once
// The spectrum result file: a header describing the analysis, then one line per frequency bin with
// the real and imaginary parts and the spectrum of every analysed channel (or the MEM spectrum),
// and the spectral ratio when one was chosen. Comma-separated, CR LF line ends, code page 932.

#include <string>

#include "record/filter_state.h"
#include "analysis/spectrum_run.h"
#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

// The filter list of the save dialog; filter 1 adds ".csv" and filter 2 ".txt" to a name typed
// without an extension.
inline constexpr const char* kSpectrumResultFilter =
    "解析結果CSV file (*.csv)|*.csv|解析結果Text File (*.txt)|*.txt|All (*.*)|*.*";

// The chosen name with the dialog's default extension when it has none.
std::string SpectrumResultFileName(const std::string& chosen, int filterIndex);

// The question asked before an existing file is replaced (OK replaces, Cancel writes nothing).
Failure OverwriteQuestion(const std::string& path);

// The whole file as it is written (UTF-8, "\r\n" line ends), from the run that just ended.
// displayPosition is the waveform display's first sample (the run's position). The file name, title
// and channel names are written as CsvTextField makes them (no comma or line break), and a value
// beyond the float range as FileNumber holds it, so the file never holds "inf" or "nan".
std::string SpectrumResultText(const WaveRecord& record, const FilterState& filter, int displayPosition,
                               const SpectrumResult& result);

// Writes the file in code page 932. It is written under a temporary name in the same folder and
// renamed over `path` when complete, so a failure never leaves a broken file under the user's
// name and never spoils an existing one; a replaced file keeps its permissions. Failures:
// "Save file open error" ("FILE OPEN ERROR") when the file cannot be created, "File write error"
// ("FILE WRITE ERROR") when writing fails.
Outcome WriteSpectrumResult(const std::string& path, const WaveRecord& record, const FilterState& filter,
                            int displayPosition, const SpectrumResult& result);

}  // namespace wavora
