#pragma once
// A failure or warning carried back from a core routine to whoever shows it: the window shows it
// in a message box, the batch tool prints it. The texts are the program's own, trailing blanks included.

#include <optional>
#include <string>
#include <vector>

namespace wavora {

// The title of the application, the caption of plain notices.
inline constexpr const char* kApplicationTitle = "WAVORA 4.8";

enum class MessageIcon { None, Information, Warning, Question };

struct Failure {
    std::string Text;
    std::string Caption = kApplicationTitle;  // plain notices carry the application title
    MessageIcon Icon = MessageIcon::None;

    static Failure Notice(std::string text) {
        return {std::move(text), kApplicationTitle, MessageIcon::None};
    }
    static Failure Captioned(std::string text, std::string caption) {
        return {std::move(text), std::move(caption), MessageIcon::Warning};
    }
    bool operator==(const Failure&) const = default;
};

// Outcome of a step that either succeeds (possibly with warnings) or stops with one failure.
struct Outcome {
    std::optional<Failure> Error;
    std::vector<Failure> Warnings;

    bool Ok() const { return !Error.has_value(); }
    static Outcome Fail(Failure f) { return Outcome{std::move(f), {}}; }
};

// The memory failure every reader reports when sample arrays cannot be had.
inline Failure MemoryFailure() {
    return Failure::Captioned("Data Memory Allocate Error", "Memory Error");
}

}  // namespace wavora
