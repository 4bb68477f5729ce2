#pragma once
// Real message boxes and file dialogs.

#include "app/prompts.h"

namespace wavora {

class QtPrompts : public Prompts {
  public:
    PromptAnswer Message(const std::string& text, const std::string& caption, MessageIcon icon,
                         PromptButtons buttons) override;
    FileDialogAnswer OpenFile(const FileDialogRequest& request) override;
    FileDialogAnswer SaveFile(const FileDialogRequest& request) override;
};

// "A (*.csv)|*.csv|B (*.*)|*.*" to Qt's ";;"-separated filter list.
std::vector<std::string> QtFilterList(const std::string& programFilter);

}  // namespace wavora
