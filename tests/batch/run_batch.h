#pragma once
// Runs the real wavora-batch program for the batch tests, with its exit status, output and errors;
// BatchCommand gives its command line for tests that run it inside a shell line (test::RunShell).

#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/test_files.h"

namespace wavora::test {

// The command line of wavora-batch with these arguments, each quoted for the shell.
inline std::string BatchCommand(const std::vector<std::string>& args) {
    std::string command = Quote(WAVORA_BATCH_EXE);
    for (const auto& a : args) command += " " + Quote(a);
    return command;
}

inline Ran RunBatch(const TempDir& dir, const std::vector<std::string>& args) {
    return RunProgram(WAVORA_BATCH_EXE, dir, args);
}

}  // namespace wavora::test
