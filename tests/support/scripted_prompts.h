#pragma once
// Prompts for the tests, strict: every message box and file dialog must have its answer scripted
// before it comes, and every scripted answer must be used. A prompt nobody scripted, or an answer
// left over when the prompts go, fails the test, so no window test passes over a message unseen.

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
    ScriptedPrompts() = default;
    ~ScriptedPrompts() override;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    // Answers for the coming messages and file dialogs, taken in order.
    std::deque<PromptAnswer> Answers;
    std::deque<FileDialogAnswer> Files;

    // What was asked, in order.
    std::vector<AskedMessage> Messages;
    std::vector<FileDialogRequest> OpenRequests, SaveRequests;

    // The next `count` messages are answered with `answer`.
    void AnswerMessages(int count, PromptAnswer answer = PromptAnswer::Ok) {
        for (int i = 0; i < count; ++i) Answers.push_back(answer);
    }
    void AnswerMessage(PromptAnswer answer = PromptAnswer::Ok) { Answers.push_back(answer); }
    void AnswerFile(const std::string& path, int filterIndex = 1) {
        Files.push_back({true, path, filterIndex});
    }
    void CancelFile() { Files.push_back({false, "", 1}); }
    std::string LastText() const { return Messages.empty() ? std::string() : Messages.back().Text; }

    PromptAnswer Message(const std::string& text, const std::string& caption, MessageIcon icon,
                         PromptButtons buttons) override;
    FileDialogAnswer OpenFile(const FileDialogRequest& request) override;
    FileDialogAnswer SaveFile(const FileDialogRequest& request) override;

  private:
    FileDialogAnswer NextFile(const char* kind, const FileDialogRequest& request);
};

}  // namespace wavora::test
