// Saving the main window's picture as a PNG file or to the clipboard, and writing the data file.

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include "app/main_window.h"
#include "record/text_format.h"
#include "display/image_view.h"
#include "record/number_text.h"
#include "formats/data_writers.h"
#include "draw/png_writer.h"
#include "app/prompts.h"

namespace wavora {

void TForm1::SBFileSaveClick() {
    FileDialogRequest request;
    request.Filter = "PNGﾌｧｲﾙ(*.png)|*.png|すべて(*.*)|*.*";
    request.FilterIndex = 1;
    FileDialogAnswer answer = prompts_.SaveFile(request);
    if (!answer.Accepted || answer.Path.empty()) return;
    std::string path = answer.Path;
    if (ExtensionOf(path).empty()) path += ".png";

    if (QFileInfo::exists(QString::fromStdString(path))) {
        const std::string question =
            StrPrintf("%s already exists.\nDo you want to replace it?", FileNameOf(path).c_str());
        if (prompts_.Message(question, "Save Picture", MessageIcon::Question, PromptButtons::YesNo) !=
            PromptAnswer::Yes)
            return;
    }

    Outcome written = WritePng(path, ui_.Image1->Image());
    if (!written.Ok()) prompts_.Show(*written.Error);
}

// "Write Data File": the processed samples of every channel in physical units, as a standard CSV
// data file that can be opened again. "Analized Data" writes the analysed range from the display
// position, "All Data" the whole record.
void TForm1::WriteDataFile(bool allData) {
    if (!state_.DataLoaded) return;
    FileDialogRequest request;  // SaveDialog5
    request.Filter = "解析ﾃﾞｰﾀ CSV 出力ﾌｧｲﾙ (*.csv)|*.csv|All  (*.*)|*.*";
    request.FilterIndex = 1;
    request.DefaultExtension = "csv";
    FileDialogAnswer answer = prompts_.SaveFile(request);
    if (!answer.Accepted || answer.Path.empty()) return;
    std::string path = answer.Path;
    if (ExtensionOf(path).empty() && answer.FilterIndex == 1) path += ".csv";

    if (QFileInfo::exists(QString::fromStdString(path))) {
        const std::string question = StrPrintf("Same file %s is already exists. Overwrite?", path.c_str());
        if (prompts_.Message(question, "File Name Error", MessageIcon::Question, PromptButtons::OkCancel) !=
            PromptAnswer::Ok)
            return;
    }
    Outcome written = WriteAnalysedData(path, state_.Record, state_.Filter, state_.Wave.DisplayPosition,
                                        state_.Points(), allData);
    if (!written.Ok()) prompts_.Show(*written.Error);
}

void TForm1::AnalizedData1Click() {
    WriteDataFile(false);
}
void TForm1::AllData1Click() {
    WriteDataFile(true);
}

void TForm1::SpeedButton1Click() {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(ui_.Image1->Image());
}

}  // namespace wavora
