#include "analysis/load_pipeline.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "formats/data_readers.h"
#include "record/text_codec.h"

namespace wavora {

namespace {

int UsedChannels(const WaveRecord& record) {
    return std::clamp<int>(record.ChannelCount, 0, kMaxChannels);
}

// Divisor of the wave display for an SPC-51 channel: 1 up to 64, doubling above each power of
// two from 64 to 8192, at most 256.
int16_t Spc51DisplayDivisor(int32_t rawPeak) {
    int16_t divisor = 1;
    for (int32_t limit = 64; limit <= 8192 && rawPeak > limit; limit *= 2)
        divisor = static_cast<int16_t>(divisor * 2);
    return divisor;
}

bool CanOpenForReading(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

// The import of the accepted selection from an indexed file.
Outcome ImportSelection(const CsvLineIndex& index, const LoadOptions& options, WaveRecord& record,
                        const Progress& progress) {
    if (!options.Import)
        return Outcome::Fail(Failure::Captioned(
            "No lines and columns have been chosen for the import of this file.", kImportCaption));
    return ImportCsv(index, *options.Import, record, progress);
}

Outcome ReadWithFormat(const std::string& path, const LoadOptions& options, WaveRecord& record,
                       const Progress& progress) {
    const FormatType format = options.Format;
    if (IsBinaryFormat(format)) {
        record.Time = TimeUnit::Seconds;
        if (!EqualsNoCase(ExtensionOf(path), "dbl"))
            return Outcome::Fail(Failure::Notice("  Not SPC51/35 Data File!  "));
        if (!CanOpenForReading(path))
            return Outcome::Fail(Failure::Captioned("read file not exist  ", "File Error"));
        return format == FormatType::Spc35 ? ReadSpc35(path, record, progress)
                                           : ReadSpc51(path, record, progress);
    }
    switch (format) {
        case FormatType::CsvDefault:
            record.Format = FormatType::CsvDefault;
            return ReadStandardCsv(path, record, progress);
        case FormatType::CsvGpl:
            record.Format = FormatType::CsvGpl;
            return ReadDspCsv(path, record, progress);
        case FormatType::CsvArbitrary: {
            record.Format = FormatType::CsvArbitrary;
            CsvLineIndex index;
            Outcome indexed = options.Import ? CsvLineIndex::Build(path, index, progress) : Outcome{};
            if (!indexed.Ok()) return indexed;
            return ImportSelection(index, options, record, progress);
        }
        default:
            return Outcome::Fail(Failure::Notice("  Not Text (CSV) Data File!  "));
    }
}

// The processing after the reader: a failed or cancelled read ends the pass; warnings of the
// reader and of the processing come back together.
LoadResult ProcessAfterRead(LoadResult result, WaveRecord& record, const LoadOptions& options,
                            FilterState& filter, const Progress& progress) {
    if (!result.Result.Ok()) {
        result.Cancelled = IsCancelled(result.Result);
        return result;
    }
    // Every later step divides by the rate; a file that gives none is not a record.
    if (record.SamplingRate <= 0) {
        result.Result.Error = Failure::Captioned("File Format miss match!!        ", "File Error");
        return result;
    }
    LoadResult processed = ProcessRecord(record, options, filter, progress);
    result.Filtered = processed.Filtered;
    result.Cancelled = processed.Cancelled;
    for (Failure& w : processed.Result.Warnings) result.Result.Warnings.push_back(std::move(w));
    return result;
}

}  // namespace

LoadResult LoadRecord(const std::string& path, const LoadOptions& options, FilterState& filter,
                      WaveRecord& record, const Progress& progress) {
    LoadResult result;
    record.Format = FormatType::Transient;
    record.FilePath = path;
    record.FileName = FileNameOf(path);
    result.Result = ReadWithFormat(path, options, record, progress);
    return ProcessAfterRead(std::move(result), record, options, filter, progress);
}

LoadResult LoadImport(const CsvLineIndex& index, const LoadOptions& options, FilterState& filter,
                      WaveRecord& record, const Progress& progress) {
    LoadResult result;
    result.Result = ImportSelection(index, options, record, progress);
    return ProcessAfterRead(std::move(result), record, options, filter, progress);
}

LoadResult ProcessRecord(WaveRecord& record, const LoadOptions& options, FilterState& filter,
                         const Progress& progress) {
    LoadResult result;
    const int channels = UsedChannels(record);

    record.SamplingInterval = 1.0f / static_cast<float>(record.SamplingRate);
    record.Comment = DecodeFileText(
        TrimRight(record.Header.RawText(DblHeader::kCommentOffset, DblHeader::kCommentLength)));
    if (record.Format == FormatType::Spc51) {
        record.Title = DecodeFileText(
            TrimRight(record.Header.RawText(DblHeader::kTitleOffset, DblHeader::kTitleLength)));
        record.DateText =
            DecodeFileText(record.Header.RawText(DblHeader::kDateOffset, DblHeader::kDateLength));
    }

    for (int k = 0; k < channels; ++k) {
        ChannelInfo& ch = record.Channels[k];
        ch.DisplayDivisor =
            record.Format == FormatType::Spc51 ? Spc51DisplayDivisor(ch.RawPeak) : int16_t{1024};
    }

    if (options.DcCut) RemoveRecordMean(record);

    if (options.IntegrationOn) {
        filter.Active = true;
        for (int k = 0; k < channels; ++k) IntegrateChannel(record, k);
    }

    const int step = options.Step >= 1 ? options.Step : 1;
    for (int k = 0; k < channels; ++k) record.Channels[k].BaseScaleFactor = record.Channels[k].ScaleFactor;

    UpdateCorners(filter, record.SamplingRate, step);
    if (filter.Mode != FilterMode::Unfiltered && filter.Active) {
        const float lower = filter.EffectiveLower, upper = filter.EffectiveUpper;
        if (!IsValidBand(lower, upper)) {
            // No filter is designed from corners that are not a band: the samples stay as read.
            result.Result.Warnings.push_back(IllegalCornerFailure());
        } else {
            static const std::string kFiltering = "Bandpass Filtering now";
            if (!Report(progress, kFiltering, 0.0)) {
                result.Cancelled = true;
                return result;
            }
            std::vector<float> h(kFilterCoefficients);
            if (lower == 0.0f) {
                DesignLowPass(kFilterCoefficients, h.data(), upper, upper * 1.5f, record.SamplingInterval);
            } else {
                DesignBandPass(kFilterCoefficients, h.data(), lower * 0.5f, lower, upper, upper * 1.5f,
                               record.SamplingInterval);
            }
            for (int k = 0; k < channels; ++k) {
                ChannelInfo& ch = record.Channels[k];
                const int64_t count =
                    std::min<int64_t>(record.SampleCount, static_cast<int64_t>(ch.Samples.size()));
                int gain = FilterChannel(kFilterCoefficients, h.data(), ch.Samples.data(), count);
                ch.ScaleFactor = ch.BaseScaleFactor * static_cast<float>(gain);
                if (!Report(progress, kFiltering, static_cast<double>(k + 1) / channels)) {
                    result.Cancelled = true;
                    return result;
                }
            }
            result.Filtered = true;
        }
    }

    UpdatePeakValues(record);
    if (options.ClipOn) {
        for (int k = 0; k < channels; ++k) ClipChannel(record, k, options.ClipFraction);
        UpdatePeakValues(record);
    }
    return result;
}

}  // namespace wavora
