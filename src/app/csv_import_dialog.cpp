#include "app/csv_import_dialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "app/main_commands.h"
#include "app/session.h"
#include "display/string_grid.h"
#include "display/up_down.h"
#include "formats/data_readers.h"
#include "formats/data_writers.h"

namespace wavora {

namespace {

// A long step shows the processing notice only once it has taken this long, so that a small file
// does not flash it.
constexpr qint64 kNoticeDelayMs = 300;

int ToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, 0, INT_MAX));
}

QString Utf8(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

TCSVArbitrary::TCSVArbitrary(Session& session, MainCommands& commands, QWidget* parent)
    : QDialog(parent), session_(session), commands_(commands) {
    setObjectName("TCSVArbitrary");
    setWindowTitle("Arbitrary CSV File Data");
    setModal(true);
    resize(800, 580);

    auto edit = [this](const char* name, int width) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setFixedWidth(width);
        return e;
    };
    auto upDown = [this](QLineEdit* field, const char* name) {
        auto* u = new UpDown(field, this);
        u->setObjectName(name);
        connect(u, &UpDown::Clicked, this, [this, u](int position) { UpDownClick(u, position); });
        return u;
    };
    EdPoint = edit("EdPoint", 60);
    UpDown1 = upDown(EdPoint, "UpDown1");
    EdMemo = edit("EdMemo", 60);
    UpDown2 = upDown(EdMemo, "UpDown2");
    EdUnit = edit("EdUnit", 60);
    UpDown3 = upDown(EdUnit, "UpDown3");
    EdLine1 = edit("EdLine1", 80);
    UpDown4 = upDown(EdLine1, "UpDown4");
    EdLine2 = edit("EdLine2", 80);
    EdCol1 = edit("EdCol1", 60);
    UpDown6 = upDown(EdCol1, "UpDown6");
    EdCol2 = edit("EdCol2", 60);
    UpDown5 = upDown(EdCol2, "UpDown5");
    EdSamp = edit("EdSamp", 80);
    EdSamp->setText("100");
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({"s", "ms", QString::fromUtf8("μs"), "ns"});
    ComboBox1->setCurrentIndex(0);

    StringGrid1 = new StringGrid(this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    // Wide enough for a number such as "-2.819e+00" whole.
    StringGrid1->horizontalHeader()->setDefaultSectionSize(92);
    StringGrid1->SetFixedRows(1);
    StringGrid1->SetFixedCols(1);
    StringGrid1->ShowListing(1 + static_cast<int>(CsvPreview::kMinDataColumns), 1, [](int col, int row) {
        return row == 0 ? CsvPreview::ColumnHeading(col) : std::string();
    });

    auto* nameCaption = new QLabel("DataFilename:", this);
    nameCaption->setObjectName("Label8");
    Label9 = new QLabel(this);
    Label9->setObjectName("Label9");
    Label9->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Button2 = new QPushButton("OK", this);
    Button2->setObjectName("Button2");
    Button3 = new QPushButton("Cancel", this);
    Button3->setObjectName("Button3");
    Button1 = new QPushButton(QString::fromUtf8("Save(削除不可)"), this);
    Button1->setObjectName("Button1");
    Button1->setVisible(false);
    Button2->setDefault(true);
    Button2->setAutoDefault(true);
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });

    // The fields above the grid, each with its caption and, where it has one, its up-down.
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(4);
    auto withUpDown = [this](QLineEdit* e, UpDown* u) {
        auto* box = new QHBoxLayout;
        box->setSpacing(1);
        box->addWidget(e);
        if (u) box->addWidget(u);
        box->addStretch(1);
        return box;
    };
    auto caption = [this](const char* text) { return new QLabel(text, this); };
    fields->addWidget(caption("SiteName Line"), 0, 0);
    fields->addLayout(withUpDown(EdPoint, UpDown1), 0, 1);
    fields->addWidget(caption("Memo Line"), 0, 2);
    fields->addLayout(withUpDown(EdMemo, UpDown2), 0, 3);
    fields->addWidget(caption("Unit Line"), 0, 4);
    fields->addLayout(withUpDown(EdUnit, UpDown3), 0, 5);
    fields->addWidget(caption("Data Line From"), 1, 0);
    fields->addLayout(withUpDown(EdLine1, UpDown4), 1, 1);
    fields->addWidget(caption("to"), 1, 2);
    fields->addLayout(withUpDown(EdLine2, nullptr), 1, 3);
    fields->addWidget(caption("Sampling Rate"), 1, 4);
    fields->addLayout(withUpDown(EdSamp, nullptr), 1, 5);
    fields->addWidget(caption("Data Column from"), 2, 0);
    fields->addLayout(withUpDown(EdCol1, UpDown6), 2, 1);
    fields->addWidget(caption("to"), 2, 2);
    fields->addLayout(withUpDown(EdCol2, UpDown5), 2, 3);
    fields->addWidget(caption("unit"), 2, 4);
    auto* unitBox = new QHBoxLayout;
    unitBox->addWidget(ComboBox1);
    unitBox->addStretch(1);
    fields->addLayout(unitBox, 2, 5);
    fields->setColumnStretch(6, 1);

    auto* name = new QHBoxLayout;
    name->addWidget(nameCaption);
    name->addWidget(Label9, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addStretch(1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);

    auto* main = new QVBoxLayout(this);
    main->addLayout(name);
    main->addLayout(fields);
    main->addWidget(StringGrid1, 1);
    main->addLayout(buttons);

    ShowFields(FieldsOf(CsvImportSelection{}));
}

TCSVArbitrary::~TCSVArbitrary() = default;

std::optional<CsvImportResult> TCSVArbitrary::Preview(const std::string& path) {
    result_.reset();
    auto index = std::make_unique<CsvLineIndex>();
    const Outcome built = CsvLineIndex::Build(path, *index, StepProgress());
    EndStep();
    if (!built.Ok()) {
        if (!IsCancelled(built)) session_.Prompt.Show(*built.Error);  // a cancel needs no message
        return std::nullopt;
    }
    index_ = std::move(index);
    preview_ = std::make_unique<CsvPreview>(*index_);

    Label9->setText(Utf8(path));
    // The grid asks for the cells it paints; no text of the file is kept.
    const CsvPreview* preview = preview_.get();
    StringGrid1->ShowListing(ToInt(preview->ColumnCount()), ToInt(preview->RowCount()),
                             [preview](int col, int row) { return preview->CellText(row, col); });
    const int lines = std::max(ToInt(index_->LineCount()), 1);
    const int columns = std::max(ToInt(preview->ColumnCount() - 1), 1);
    for (UpDown* u : {UpDown1, UpDown2, UpDown3, UpDown4}) u->Max = lines;
    for (UpDown* u : {UpDown5, UpDown6}) u->Max = columns;
    ShowFields(FieldsOf(StartSelection(*index_)));
    StringGrid1->SetCurrentCell(1, 1);
    EdLine1->setFocus();

    exec();

    Release();
    std::optional<CsvImportResult> accepted = std::move(result_);
    result_.reset();
    return accepted;
}

void TCSVArbitrary::Release() {
    StringGrid1->ShowListing(1 + static_cast<int>(CsvPreview::kMinDataColumns), 1, [](int col, int row) {
        return row == 0 ? CsvPreview::ColumnHeading(col) : std::string();
    });
    preview_.reset();
    index_.reset();
}

CsvImportFields TCSVArbitrary::ReadFields() const {
    CsvImportFields f;
    auto text = [](const QLineEdit* e) { return e->text().toStdString(); };
    f.NamesLine = text(EdPoint);
    f.MemoLine = text(EdMemo);
    f.UnitLine = text(EdUnit);
    f.FromLine = text(EdLine1);
    f.ToLine = text(EdLine2);
    f.FromColumn = text(EdCol1);
    f.ToColumn = text(EdCol2);
    f.SamplingRate = text(EdSamp);
    f.UnitIndex = ComboBox1->currentIndex();
    return f;
}

void TCSVArbitrary::ShowFields(const CsvImportFields& f) {
    EdPoint->setText(Utf8(f.NamesLine));
    EdMemo->setText(Utf8(f.MemoLine));
    EdUnit->setText(Utf8(f.UnitLine));
    EdLine1->setText(Utf8(f.FromLine));
    EdLine2->setText(Utf8(f.ToLine));
    EdCol1->setText(Utf8(f.FromColumn));
    EdCol2->setText(Utf8(f.ToColumn));
    EdSamp->setText(Utf8(f.SamplingRate));
    ComboBox1->setCurrentIndex(std::clamp(f.UnitIndex, 0, 3));
}

void TCSVArbitrary::FocusField(CsvImportField field) {
    QWidget* w = nullptr;
    switch (field) {
        case CsvImportField::NamesLine:
            w = EdPoint;
            break;
        case CsvImportField::MemoLine:
            w = EdMemo;
            break;
        case CsvImportField::UnitLine:
            w = EdUnit;
            break;
        case CsvImportField::FromLine:
            w = EdLine1;
            break;
        case CsvImportField::ToLine:
            w = EdLine2;
            break;
        case CsvImportField::FromColumn:
            w = EdCol1;
            break;
        case CsvImportField::ToColumn:
            w = EdCol2;
            break;
        case CsvImportField::SamplingRate:
            w = EdSamp;
            break;
        case CsvImportField::Unit:
            w = ComboBox1;
            break;
        case CsvImportField::None:
            return;
    }
    w->setFocus();
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
}

Progress TCSVArbitrary::StepProgress() {
    step_.start();
    noticeShown_ = false;
    // A step that takes long shows how far it is and can be cancelled.
    return [this](const std::string& what, double fraction) {
        if (!noticeShown_ && step_.elapsed() < kNoticeDelayMs) return true;
        noticeShown_ = true;
        return commands_.ShowProgress(what, fraction);
    };
}

void TCSVArbitrary::EndStep() {
    if (noticeShown_) commands_.HideProcessing();
    noticeShown_ = false;
}

void TCSVArbitrary::UpDownClick(UpDown* upDown, int position) {
    const bool column = upDown == UpDown5 || upDown == UpDown6;
    const int row = StringGrid1->Row() > 0 ? StringGrid1->Row() : 1;
    const int col = StringGrid1->Col() > 0 ? StringGrid1->Col() : 1;
    if (column)
        StringGrid1->SetCurrentCell(position, row);
    else
        StringGrid1->SetCurrentCell(col, position);
}

void TCSVArbitrary::Button2Click() {
    if (!index_) return;
    Prompts& prompts = session_.Prompt;
    CsvImportSelection selection;
    CsvImportField bad = CsvImportField::None;
    Outcome checked = ParseImportFields(ReadFields(), selection, &bad);
    if (checked.Ok()) checked = CheckImportSelection(*index_, selection, &bad);
    if (!checked.Ok()) {
        prompts.Show(*checked.Error);
        FocusField(bad);
        return;
    }

    // Every selected cell goes into a scratch record first: a cell that is not a number stops
    // the import before anything is saved or changed.
    WaveRecord scratch = HeaderCopy(session_.State.Record);
    const Outcome imported = ImportCsv(*index_, selection, scratch, StepProgress());
    EndStep();
    if (!imported.Ok()) {
        if (!IsCancelled(imported)) prompts.Show(*imported.Error);
        return;
    }
    for (const Failure& warning : imported.Warnings) prompts.Show(warning);
    selection_ = selection;

    if (prompts.Message(kSaveQuestionText, kSaveQuestionCaption, MessageIcon::Question,
                        PromptButtons::YesNo) == PromptAnswer::Yes)
        Button1Click();

    result_ = CsvImportResult{std::move(scratch), selection};
    accept();
}

void TCSVArbitrary::Button3Click() {
    result_.reset();
    reject();
}

void TCSVArbitrary::Button1Click() {
    if (!index_) return;
    Prompts& prompts = session_.Prompt;
    FileDialogRequest request;  // SaveDialog1
    request.Title = "Save as Standard CSV File";
    request.Filter = "CSV File(*.csv)|*.csv|All (*.*)|*.*";
    request.FilterIndex = 1;
    request.DefaultExtension = "csv";
    const QFileInfo source(Utf8(index_->Path()));
    request.InitialPath =
        (source.absolutePath() + "/" + Utf8(StandardCsvName(source.fileName().toStdString()))).toStdString();
    const FileDialogAnswer answer = prompts.SaveFile(request);
    if (!answer.Accepted || answer.Path.empty()) return;
    const std::string target =
        answer.FilterIndex == 1 ? AppendExtensionIfMissing(answer.Path, "csv") : answer.Path;

    // The file being imported is never written over; the save says so without asking first.
    if (!index_->IsSameFile(target) && QFileInfo::exists(Utf8(target)) &&
        prompts.Message(OverwriteQuestionText(target), kOverwriteQuestionCaption, MessageIcon::Question,
                        PromptButtons::OkCancel) != PromptAnswer::Ok)
        return;
    const Outcome saved = SaveAsStandardCsv(*index_, selection_, target, StepProgress());
    EndStep();
    if (!saved.Ok() && !IsCancelled(saved)) prompts.Show(*saved.Error);
}

}  // namespace wavora
