#include "batch/command.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "formats/data_writers.h"

namespace wavora::batch {

void PrintFailure(const Failure& failure) {
    std::string line = "wavora-batch: ";
    if (failure.Caption != kApplicationTitle && !failure.Caption.empty()) line += failure.Caption + ": ";
    line += failure.Text;
    std::fprintf(stderr, "%s\n", line.c_str());
}

int ReportFailure(const Failure& failure) {
    PrintFailure(failure);
    return kExitDataError;
}

void PrintWarnings(const std::vector<Failure>& warnings) {
    for (const Failure& w : warnings) std::fprintf(stderr, "wavora-batch: warning: %s\n", w.Text.c_str());
}

std::optional<Failure> RefuseExisting(const std::string& path, bool force) {
    std::error_code ec;
    if (force || !std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return std::nullopt;
    return Failure::Captioned(path + " already exists; use --force to overwrite it", "File Name Error");
}

std::optional<Failure> PrepareOutputs(std::initializer_list<OutputFile> files, bool force) {
    for (const OutputFile& file : files) {
        file.Path.clear();
        if (file.Given.empty() && !file.Required) continue;
        if (auto refused = EmptyFileNameFailure(file.Given)) return refused;
        file.Path = AppendExtensionIfMissing(file.Given, file.Extension);
        if (auto refused = RefuseExisting(file.Path, force)) return refused;
    }
    return std::nullopt;
}

void AddForceOption(CLI::App& command, bool& force) {
    command.add_flag("--force", force, "Overwrite an existing output file");
}

ProgressLine::ProgressLine() : terminal_(isatty(fileno(stderr)) != 0) {}

Progress ProgressLine::Callback() {
    return [this](const std::string& what, double fraction) {
        Update(what, fraction);
        return true;
    };
}

bool ProgressLine::Update(const std::string& what, double fraction) {
    if (!terminal_) return true;
    auto now = std::chrono::steady_clock::now();
    if (what != what_) {
        if (shown_) Finish();
        what_ = what;
        started_ = now;
        lastPercent_ = -1;
    }
    if (!shown_ && now - started_ < std::chrono::milliseconds(200)) return true;
    int percent = static_cast<int>(fraction * 100.0);
    percent = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    if (percent == lastPercent_) return true;
    lastPercent_ = percent;
    shown_ = true;
    std::fprintf(stderr, "\r%s %3d%%", what_.c_str(), percent);
    std::fflush(stderr);
    return true;
}

void ProgressLine::Finish() {
    if (shown_) std::fprintf(stderr, "\n");
    shown_ = false;
    what_.clear();
}

}  // namespace wavora::batch
