#include "batch/batch_app.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <new>

#include "batch/command.h"

namespace wavora::batch {

#define WAVORA_BATCH_COMMAND(Name) void Register##Name##Command(CLI::App& app, int& exitStatus);
#include "batch/command_list.h"
#undef WAVORA_BATCH_COMMAND

int Run(int argc, char** argv) {
    CLI::App app{"wavora-batch: WAVORA's analyses on data files, without a window"};
    app.name("wavora-batch");
    app.require_subcommand(1);
    app.footer(
        "Exit status: 0 success, 1 a data error (the program's message on standard error), 2 a usage error.");
    int exitStatus = kExitOk;
#define WAVORA_BATCH_COMMAND(Name) Register##Name##Command(app, exitStatus);
#include "batch/command_list.h"
#undef WAVORA_BATCH_COMMAND
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    } catch (const std::bad_alloc&) {
        return ReportFailure(MemoryFailure());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wavora-batch: %s\n", e.what());
        return kExitDataError;
    }
    return exitStatus;
}

}  // namespace wavora::batch
