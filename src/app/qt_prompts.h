#pragma once
// Real message boxes and file dialogs.

#include "app/prompts.h"

class QWidget;

namespace wavora {

class QtPrompts : public Prompts {
  public:
    // The window boxes and dialogs open over when no window of the program is active (a box from a
    // timer, or a window system without focus): the main window.
    void SetOwner(QWidget* owner) { owner_ = owner; }

    PromptAnswer Message(const std::string& text, const std::string& caption, MessageIcon icon,
                         PromptButtons buttons) override;
    FileDialogAnswer OpenFile(const FileDialogRequest& request) override;
    FileDialogAnswer SaveFile(const FileDialogRequest& request) override;

  private:
    QWidget* Owner() const;
    QWidget* owner_ = nullptr;
};

// "A (*.csv)|*.csv|B (*.*)|*.*" to Qt's ";;"-separated filter list.
std::vector<std::string> QtFilterList(const std::string& programFilter);

}  // namespace wavora
