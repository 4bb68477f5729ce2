#include "batch/text_output.h"

#include "formats/data_writers.h"
#include "record/text_codec.h"

namespace wavora::batch {

Outcome WriteResultText(const std::string& path, const std::string& utf8) {
    const Failure cannotCreate = Failure::Captioned("File open error", "FILE OPEN ERROR");
    SafeFileWriter writer(path);
    if (!writer.Opened()) return Outcome::Fail(cannotCreate);
    writer.Write(EncodeFileText(utf8));
    switch (writer.Commit()) {
        case SafeFileWriter::Result::Done:
            return Outcome{};
        case SafeFileWriter::Result::RenameFailed:
            return Outcome::Fail(cannotCreate);
        case SafeFileWriter::Result::WriteFailed:
            break;
    }
    return Outcome::Fail(Failure::Captioned("File write error", "FILE WRITE ERROR"));
}

}  // namespace wavora::batch
