#pragma once
// wavora-batch: command line parsing and the commands.

namespace wavora::batch {

// Runs the tool; returns the exit status (0 success, 1 data error, 2 usage error).
int Run(int argc, char** argv);

}  // namespace wavora::batch
