#pragma once
// Prompts for the tests: answers come from a script, and every question is kept.

#include <deque>
#include <string>
#include <vector>

#include "app/prompts.h"

namespace wavora::test {

struct AskedMessage {
    std::string Text, Caption;
    MessageIcon Icon;
    PromptButtons Buttons;
};

class ScriptedPrompts : public Prompts {
  public:
    ScriptedPrompts() { SetPrompts(this); }
    ~ScriptedPrompts() override { SetPrompts(nullptr); }

    // Answers, taken in order; with none left a message gets Ok (Yes for Yes/No) and a dialog is cancelled.
    std::deque<PromptAnswer> Answers;
    std::deque<FileDialogAnswer> Files;

    std::vector<AskedMessage> Messages;
    std::vector<FileDialogRequest> OpenRequests, SaveRequests;

    void AnswerFile(const std::string& path, int filterIndex = 1) {
        Files.push_back({true, path, filterIndex});
    }
    void CancelFile() { Files.push_back({false, "", 1}); }
    std::string LastText() const { return Messages.empty() ? std::string() : Messages.back().Text; }

    PromptAnswer Message(const std::string& text, const std::string& caption, MessageIcon icon,
                         PromptButtons buttons) override;
    FileDialogAnswer OpenFile(const FileDialogRequest& request) override;
    FileDialogAnswer SaveFile(const FileDialogRequest& request) override;
};

}  // namespace wavora::test
