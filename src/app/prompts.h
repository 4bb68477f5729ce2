#pragma once
// Every message box and file dialog of the program goes through this interface: QtPrompts shows
// real dialogs, the tests answer from a script and keep what was asked. Each window is given the
// prompts it uses when it is made.

#include <string>
#include <vector>

#include "record/failure.h"

namespace wavora {

enum class PromptButtons { Ok, OkCancel, YesNo };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct FileDialogRequest {
    std::string Title;
    std::string Filter;   // "Text (*.csv)|*.csv|All (*.*)|*.*", the program's own filter strings
    int FilterIndex = 1;  // 1-based, as the program's dialogs count
    std::string DefaultExtension;
    std::string InitialPath;
};

struct FileDialogAnswer {
    bool Accepted = false;
    std::string Path;
    int FilterIndex = 1;  // the filter the user left selected
};

class Prompts {
  public:
    virtual ~Prompts() = default;
    virtual PromptAnswer Message(const std::string& text, const std::string& caption, MessageIcon icon,
                                 PromptButtons buttons) = 0;
    virtual FileDialogAnswer OpenFile(const FileDialogRequest& request) = 0;
    virtual FileDialogAnswer SaveFile(const FileDialogRequest& request) = 0;

    // A failure value shown with OK.
    void Show(const Failure& f) { Message(f.Text, f.Caption, f.Icon, PromptButtons::Ok); }
};

}  // namespace wavora
