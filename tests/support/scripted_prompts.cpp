#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

namespace wavora::test {

ScriptedPrompts::~ScriptedPrompts() {
    if (!Answers.empty()) ADD_FAILURE() << Answers.size() << " scripted message answer(s) were never used";
    if (!Files.empty()) ADD_FAILURE() << Files.size() << " scripted file dialog answer(s) were never used";
}

PromptAnswer ScriptedPrompts::Message(const std::string& text, const std::string& caption, MessageIcon icon,
                                      PromptButtons buttons) {
    Messages.push_back({text, caption, icon, buttons});
    if (Answers.empty()) {
        ADD_FAILURE() << "A message nobody scripted: \"" << text << "\" / \"" << caption << "\"";
        return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Cancel;
    }
    PromptAnswer a = Answers.front();
    Answers.pop_front();
    return a;
}

FileDialogAnswer ScriptedPrompts::NextFile(const char* kind, const FileDialogRequest& request) {
    if (Files.empty()) {
        ADD_FAILURE() << "A " << kind << " dialog nobody scripted (filter \"" << request.Filter << "\")";
        return {};
    }
    FileDialogAnswer a = Files.front();
    Files.pop_front();
    return a;
}

FileDialogAnswer ScriptedPrompts::OpenFile(const FileDialogRequest& request) {
    OpenRequests.push_back(request);
    return NextFile("file open", request);
}

FileDialogAnswer ScriptedPrompts::SaveFile(const FileDialogRequest& request) {
    SaveRequests.push_back(request);
    return NextFile("file save", request);
}

}  // namespace wavora::test
