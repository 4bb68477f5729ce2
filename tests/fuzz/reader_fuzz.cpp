// The libFuzzer target of one data-file reader (WAVORA_FUZZ_READER names it, one target per line
// of support/reader_list.h): each input becomes a file the reader reads, and support/reader_check.h
// checks what comes back, as the replay of the regression inputs does. A broken promise aborts, so
// that libFuzzer keeps the input; a sanitizer report does the same.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "record/wave_record.h"
#include "support/reader_check.h"

namespace {

const wavora::test::ReaderEntry* reader = nullptr;
std::string folder;  // private to this process: the input file and what the checks write

void RemoveFolder() {
    std::error_code ec;
    if (!folder.empty()) std::filesystem::remove_all(folder, ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    reader = wavora::test::FindReader(WAVORA_FUZZ_READER);
    if (!reader) {
        std::fprintf(stderr, "no reader named %s in support/reader_list.h\n", WAVORA_FUZZ_READER);
        std::abort();
    }
    // A header may claim billions of samples; above this the reader reports its memory failure, as
    // it does on a machine without that memory, instead of running into libFuzzer's memory limit.
    wavora::SetSampleMemoryLimit(int64_t(1) << 20);
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/wavora-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    folder = pattern;
    std::atexit(RemoveFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = folder + "/input." + reader->Extension;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    // The processing options and the spectrum kind come from the last byte, so that mutations
    // reach all of them.
    const unsigned variant = size ? data[size - 1] : 0u;
    wavora::test::ReplayResult r = wavora::test::ReplayFile(*reader, path, variant, folder);
    if (!r.Problem.empty()) {
        std::fprintf(stderr, "fuzz_%s: %s (variant %u)\n", WAVORA_FUZZ_READER, r.Problem.c_str(), variant);
        std::abort();
    }
    return 0;
}
