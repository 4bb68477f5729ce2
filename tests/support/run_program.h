#pragma once
// Runs a program of the project (wavora-batch) with arguments, or inside a shell command line, its
// exit status, output and errors caught in files of a test folder.

#include <string>
#include <vector>

#include "support/test_files.h"

namespace wavora::test {

struct Ran {
    int Status = -1;  // the exit status, or -1 when the program did not exit normally
    std::string Out, Err;
};

// `s` quoted for the shell.
std::string Quote(const std::string& s);

// Runs a shell command line (a memory limit, another working folder) with no input and its output
// and errors kept in files of `dir`.
Ran RunShell(const TempDir& dir, const std::string& commandLine);

// Runs `program` with these arguments, each quoted for the shell.
Ran RunProgram(const std::string& program, const TempDir& dir, const std::vector<std::string>& args);

}  // namespace wavora::test
