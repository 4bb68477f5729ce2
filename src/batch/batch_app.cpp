#include "batch/batch_app.h"

#include <CLI/CLI.hpp>

namespace wavora::batch {

int Run(int argc, char** argv) {
    CLI::App app{"wavora-batch: WAVORA's analyses on data files, without a window"};
    app.require_subcommand(1);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }
    return 0;
}

}  // namespace wavora::batch
