#pragma once
// Runs the real wavora-batch program for the batch tests, also inside a shell command line (a
// memory limit, another working folder), with its exit status, output and errors.

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/test_files.h"

namespace wavora::test {

inline std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The command line of wavora-batch with these arguments, each quoted for the shell.
inline std::string BatchCommand(const std::vector<std::string>& args) {
    std::string command = Quote(WAVORA_BATCH_EXE);
    for (const auto& a : args) command += " " + Quote(a);
    return command;
}

// Runs a shell command line with its output kept in files of `dir`.
inline Ran RunShell(const TempDir& dir, const std::string& commandLine) {
    const std::string out = dir.File(".stdout"), err = dir.File(".stderr");
    const std::string command = commandLine + " > " + Quote(out) + " 2> " + Quote(err) + " < /dev/null";
    const int rc = std::system(command.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ReadAll(out), ReadAll(err)};
}

inline Ran RunBatch(const TempDir& dir, const std::vector<std::string>& args) {
    return RunProgram(WAVORA_BATCH_EXE, dir, args);
}

}  // namespace wavora::test
