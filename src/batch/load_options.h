#pragma once
// The load options every wavora-batch command takes, as the window's menus set them:
//   --format auto|default|gpl|spc51|spc35, --dc-cut, --integrate, --filter none|default|LOWER:UPPER,
//   --clip 100|95|90|80, --step 1|2|5|10
// and the load of FILE with them.

#include <CLI/CLI.hpp>

#include <string>

#include "analysis/filter.h"
#include "analysis/load_pipeline.h"
#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora::batch {

struct BatchLoadOptions {
    std::string Format = "auto";
    bool DcCut = false;
    bool Integrate = false;
    std::string Filter = "none";
    int Clip = 100;
    int Step = 1;
};

// Adds the options to a command (malformed values are usage errors); `withFormat` false leaves
// out --format (for a command that reads one format only).
void AddLoadOptions(CLI::App& command, BatchLoadOptions& options, bool withFormat = true);

// "auto": a .dbl file is SPC-51 when its tag matches, else SPC-35; a text file is CSV(GPL) when
// line 1 starts with "DSPCSV" in any case, else CSV(Default).
FormatType DetectFormat(const std::string& path);

// The options as the pass takes them. Corners that are not a band (LOWER below 0 or not below
// UPPER) give "Illegal Corner Frequency".
Outcome ToLoadOptions(const BatchLoadOptions& options, const std::string& path, LoadOptions& load,
                      FilterState& filter);

// The record read from `path` and processed as the window would, with what the pass decided.
struct LoadedRecord {
    WaveRecord Record;
    FilterState Filter;
    LoadOptions Options;
    bool Filtered = false;
};

// Loads and processes `path`. Warnings are printed and the load goes on; a failure is printed and
// its exit status (kExitDataError) returned. A progress line follows a long read or filter.
int LoadForCommand(const std::string& path, const BatchLoadOptions& options, LoadedRecord& loaded);

}  // namespace wavora::batch
