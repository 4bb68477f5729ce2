#pragma once
// Runs a program of the project (wavora-batch) with arguments, its output and errors caught in
// files of a test folder.

#include <string>
#include <vector>

#include "support/test_files.h"

namespace wavora::test {

struct Ran {
    int Status = -1;  // the exit status, or -1 when the program did not exit normally
    std::string Out, Err;
};

Ran RunProgram(const std::string& program, const TempDir& dir, const std::vector<std::string>& args);

}  // namespace wavora::test
