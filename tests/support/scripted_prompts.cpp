#include "support/scripted_prompts.h"

namespace wavora::test {

PromptAnswer ScriptedPrompts::Message(const std::string& text, const std::string& caption, MessageIcon icon,
                                      PromptButtons buttons) {
    Messages.push_back({text, caption, icon, buttons});
    if (!Answers.empty()) {
        PromptAnswer a = Answers.front();
        Answers.pop_front();
        return a;
    }
    return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
}

FileDialogAnswer ScriptedPrompts::OpenFile(const FileDialogRequest& request) {
    OpenRequests.push_back(request);
    if (Files.empty()) return {};
    FileDialogAnswer a = Files.front();
    Files.pop_front();
    return a;
}

FileDialogAnswer ScriptedPrompts::SaveFile(const FileDialogRequest& request) {
    SaveRequests.push_back(request);
    if (Files.empty()) return {};
    FileDialogAnswer a = Files.front();
    Files.pop_front();
    return a;
}

}  // namespace wavora::test
