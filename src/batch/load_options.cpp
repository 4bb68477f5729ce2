#include "batch/load_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include "batch/command.h"

namespace wavora::batch {

namespace {

// A whole text as a finite number.
bool ParseNumber(const std::string& text, float& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtof(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

// "LOWER:UPPER" into its two numbers.
bool ParseCorners(const std::string& text, float& lower, float& upper) {
    auto colon = text.find(':');
    if (colon == std::string::npos) return false;
    return ParseNumber(text.substr(0, colon), lower) && ParseNumber(text.substr(colon + 1), upper);
}

std::string FilterCheck(const std::string& text) {
    float lower, upper;
    if (EqualsNoCase(text, "none") || EqualsNoCase(text, "default") || ParseCorners(text, lower, upper))
        return {};
    return "expected none, default or LOWER:UPPER (two numbers), not \"" + text + "\"";
}

}  // namespace

void AddLoadOptions(CLI::App& command, BatchLoadOptions& options, bool withFormat) {
    if (withFormat)
        command
            .add_option("--format", options.Format,
                        "Data file format: auto (from the file), default (CSV(Default)), gpl (CSV(GPL)), "
                        "spc51, spc35")
            ->check(CLI::IsMember({"auto", "default", "gpl", "spc51", "spc35"}, CLI::ignore_case))
            ->capture_default_str()
            ->group("Load options");
    command.add_flag("--dc-cut", options.DcCut, "Remove each channel's record mean (DC Cut)")
        ->group("Load options");
    command.add_flag("--integrate", options.Integrate, "Integrate every channel (forces the filter active)")
        ->group("Load options");
    command
        .add_option(
            "--filter", options.Filter,
            "Band-pass filter: none, default, or LOWER:UPPER in the record's frequency unit (LOWER 0 is a "
            "low-pass)")
        ->check(CLI::Validator(FilterCheck, "none|default|LOWER:UPPER", "filter"))
        ->capture_default_str()
        ->group("Load options");
    command.add_option("--clip", options.Clip, "Clipping at this percentage of each channel's peak")
        ->check(CLI::IsMember({100, 95, 90, 80}))
        ->capture_default_str()
        ->group("Load options");
    command.add_option("--step", options.Step, "Decimation step; enters the default filter's upper corner")
        ->check(CLI::IsMember({1, 2, 5, 10}))
        ->capture_default_str()
        ->group("Load options");
}

FormatType DetectFormat(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (EqualsNoCase(ExtensionOf(path), "dbl")) {
        char tag[13] = {};
        in.read(tag, sizeof tag);
        bool spc51 =
            in.gcount() == sizeof tag && EqualsNoCase(std::string_view(tag, sizeof tag), "A-TLADX VER4.");
        return spc51 || !in.is_open() ? FormatType::Spc51 : FormatType::Spc35;
    }
    char head[6] = {};
    in.read(head, sizeof head);
    bool dspcsv = in.gcount() == sizeof head && EqualsNoCase(std::string_view(head, sizeof head), "DSPCSV");
    return dspcsv ? FormatType::CsvGpl : FormatType::CsvDefault;
}

Outcome ToLoadOptions(const BatchLoadOptions& options, const std::string& path, LoadOptions& load,
                      FilterState& filter) {
    load = LoadOptions{};
    filter = FilterState{};
    const std::string& f = options.Format;
    if (EqualsNoCase(f, "default")) {
        load.Format = FormatType::CsvDefault;
    } else if (EqualsNoCase(f, "gpl")) {
        load.Format = FormatType::CsvGpl;
    } else if (EqualsNoCase(f, "spc51")) {
        load.Format = FormatType::Spc51;
    } else if (EqualsNoCase(f, "spc35")) {
        load.Format = FormatType::Spc35;
    } else {
        load.Format = DetectFormat(path);
    }
    load.DcCut = options.DcCut;
    load.IntegrationOn = options.Integrate;
    load.ClipOn = options.Clip != 100;
    load.ClipFraction = options.Clip == 95   ? 0.95f
                        : options.Clip == 90 ? 0.90f
                        : options.Clip == 80 ? 0.80f
                                             : 1.0f;
    load.Step = options.Step;

    float lower = 0.0f, upper = 0.0f;
    if (EqualsNoCase(options.Filter, "none")) {
        filter.Mode = FilterMode::Unfiltered;
        filter.Active = false;
    } else if (EqualsNoCase(options.Filter, "default")) {
        filter.Mode = FilterMode::Default;
        filter.Active = true;
    } else if (ParseCorners(options.Filter, lower, upper)) {
        if (!IsValidBand(lower, upper)) return Outcome::Fail(IllegalCornerFailure());
        filter.Mode = FilterMode::Arbitrary;
        filter.Active = true;
        filter.ArbitraryLower = lower;
        filter.ArbitraryUpper = upper;
    } else {
        throw UsageError("--filter: " + FilterCheck(options.Filter));
    }
    return {};
}

int LoadForCommand(const std::string& path, const BatchLoadOptions& options, LoadedRecord& loaded) {
    Outcome prepared = ToLoadOptions(options, path, loaded.Options, loaded.Filter);
    if (!prepared.Ok()) return ReportFailure(*prepared.Error);
    ProgressLine line;
    LoadResult result = LoadRecord(path, loaded.Options, loaded.Filter, loaded.Record, line.Callback());
    line.Finish();
    PrintWarnings(result.Result.Warnings);
    if (!result.Result.Ok()) return ReportFailure(*result.Result.Error);
    loaded.Filtered = result.Filtered;
    return kExitOk;
}

}  // namespace wavora::batch
