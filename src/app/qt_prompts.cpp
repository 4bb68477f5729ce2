#include "app/qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace wavora {

namespace {

QString ToQt(const std::string& s) {
    return QString::fromStdString(s);
}

FileDialogAnswer RunDialog(QWidget* owner, const FileDialogRequest& request, bool save) {
    std::vector<std::string> filters = QtFilterList(request.Filter);
    QStringList list;
    for (auto& f : filters) list << ToQt(f);
    // An initial path that names a file opens its folder with the file chosen.
    const QFileInfo initial(ToQt(request.InitialPath));
    const bool namesFile = !request.InitialPath.empty() && initial.isFile();
    QFileDialog dialog(owner, ToQt(request.Title),
                       namesFile ? initial.absolutePath() : ToQt(request.InitialPath));
    if (namesFile) dialog.selectFile(initial.fileName());
    dialog.setNameFilters(list);
    if (request.FilterIndex >= 1 && request.FilterIndex <= list.size())
        dialog.selectNameFilter(list[request.FilterIndex - 1]);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The program asks about overwriting in its own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    FileDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return answer;
    answer.Accepted = true;
    answer.Path = dialog.selectedFiles().front().toStdString();
    answer.FilterIndex = static_cast<int>(list.indexOf(dialog.selectedNameFilter())) + 1;
    if (answer.FilterIndex < 1) answer.FilterIndex = 1;
    return answer;
}

}  // namespace

std::vector<std::string> QtFilterList(const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::vector<std::string> out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        for (auto& c : patterns)
            if (c == ';') c = ' ';
        // Qt reads the patterns from the parentheses; the program's descriptions already carry them.
        out.push_back(parts[i].find('(') != std::string::npos ? parts[i] : parts[i] + " (" + patterns + ")");
    }
    return out;
}

QWidget* QtPrompts::Owner() const {
    QWidget* active = QApplication::activeWindow();
    return active ? active : owner_;
}

PromptAnswer QtPrompts::Message(const std::string& text, const std::string& caption, MessageIcon icon,
                                PromptButtons buttons) {
    QMessageBox box(Owner());
    box.setWindowTitle(ToQt(caption));
    box.setText(ToQt(text));
    switch (icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case PromptButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case PromptButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case PromptButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return PromptAnswer::Ok;
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Cancel;
    }
}

FileDialogAnswer QtPrompts::OpenFile(const FileDialogRequest& request) {
    return RunDialog(Owner(), request, false);
}
FileDialogAnswer QtPrompts::SaveFile(const FileDialogRequest& request) {
    return RunDialog(Owner(), request, true);
}

}  // namespace wavora
