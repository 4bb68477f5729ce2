#include "batch/text_output.h"

#include "formats/data_writers.h"
#include "record/text_codec.h"

namespace wavora::batch {

Outcome WriteResultText(const std::string& path, const std::string& utf8) {
    SafeFileWriter writer(path);
    writer.Write(EncodeFileText(utf8));
    return writer.Finish();
}

}  // namespace wavora::batch
