#pragma once
// What every wavora-batch command shares: the exit statuses, the program's failures and warnings
// on standard error, the progress line of long reads and filters, and the rule that an existing
// output file is never overwritten without --force.
//
// A command lives in its own <name>_command.cpp and defines
//     void Register<Name>Command(CLI::App& app, int& exitStatus);
// which adds its subcommand to `app` and, in the subcommand's callback, does the work and sets
// `exitStatus`. One line in batch/command_list.h registers it.

#include <CLI/CLI.hpp>

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "record/failure.h"
#include "record/progress.h"

namespace wavora::batch {

inline constexpr int kExitOk = 0;
inline constexpr int kExitDataError = 1;  // the file or the data: the program's own message is printed
inline constexpr int kExitUsage = 2;      // the command line

// Arguments that CLI11 accepts but the command cannot use; ends the tool with the usage status.
class UsageError : public CLI::ValidationError {
  public:
    explicit UsageError(const std::string& message) : CLI::ValidationError(message) {}
};

// "wavora-batch: File Error: read file not exist  " (plain notices without the application title).
void PrintFailure(const Failure& failure);
// Prints the failure and returns kExitDataError.
int ReportFailure(const Failure& failure);
// "wavora-batch: warning:   Data Number incorrect !  "; the command goes on.
void PrintWarnings(const std::vector<Failure>& warnings);

// An existing `path` is refused unless `force`; the refusal names the path and the option.
std::optional<Failure> RefuseExisting(const std::string& path, bool force);

// One output file of a command: the name as given, the extension a name without one gets, and
// where the finished path goes. An optional file left out (an empty name) gets an empty path.
struct OutputFile {
    const std::string& Given;
    const char* Extension;
    std::string& Path;
    bool Required = true;
};
// Prepares a command's output files before the load, so that a long analysis is not run for
// nothing: a required name that is empty, or any name that ends in a folder ("out/"), is refused
// (it would become a hidden file of the extension alone); an existing file is refused unless
// `force`. Each writer checks its file again just before writing.
std::optional<Failure> PrepareOutputs(std::initializer_list<OutputFile> files, bool force);
// Adds --force ("overwrite an existing output file") to a command.
void AddForceOption(CLI::App& command, bool& force);

// The line on standard error that follows a long read or filter ("Bandpass Filtering now  42%").
// It is drawn only on a terminal, and only once the activity has run for a moment.
class ProgressLine {
  public:
    ProgressLine();
    ~ProgressLine() { Finish(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // The callback for the core routines; it never cancels.
    Progress Callback();
    // Ends the line (before anything else is printed).
    void Finish();

  private:
    bool Update(const std::string& what, double fraction);

    bool terminal_ = false;
    bool shown_ = false;
    std::string what_;
    int lastPercent_ = -1;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace wavora::batch
