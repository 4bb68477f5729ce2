// Saving the main window's picture as a PNG file and copying it to the clipboard.

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include "app/main_window.h"
#include "display/image_view.h"
#include "display/number_text.h"
#include "graph/png_writer.h"
#include "graph/prompts.h"

namespace wavora {

void TForm1::SBFileSaveClick() {
    FileDialogRequest request;
    request.Filter = "PNGﾌｧｲﾙ(*.png)|*.png|すべて(*.*)|*.*";
    request.FilterIndex = 1;
    FileDialogAnswer answer = ThePrompts().SaveFile(request);
    if (!answer.Accepted || answer.Path.empty()) return;
    std::string path = answer.Path;
    if (ExtensionOf(path).empty()) path += ".png";

    if (QFileInfo::exists(QString::fromStdString(path))) {
        const std::string question =
            StrPrintf("%s already exists.\nDo you want to replace it?", FileNameOf(path).c_str());
        if (ThePrompts().Message(question, "Save Picture", MessageIcon::Question, PromptButtons::YesNo) !=
            PromptAnswer::Yes)
            return;
    }

    Outcome written = WritePng(path, Image1->Image());
    if (!written.Ok()) ThePrompts().Show(*written.Error);
}

void TForm1::SpeedButton1Click() {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(Image1->Image());
}

}  // namespace wavora
