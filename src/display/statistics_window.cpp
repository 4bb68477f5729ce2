#include "display/statistics_window.h"

#include <QGridLayout>
#include <QLabel>

#include "app/session.h"

namespace wavora {

TStatistics::TStatistics(Session& session, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), session_(session) {
    setObjectName("TStatistics");
    setWindowTitle("Statistics");

    auto make = [this](const char* name, const char* caption) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(name);
        return l;
    };
    Label12 = make("Label12", "Statistics of Analyzed Data");
    QFont title = Label12->font();
    title.setBold(true);
    Label12->setFont(title);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(6);
    grid->addWidget(Label12, 0, 0, 1, 2);
    struct Row {
        QLabel*& Caption;
        const char* CaptionName;
        const char* CaptionText;
        QLabel*& Value;
        const char* ValueName;
    };
    const Row rows[] = {
        {Label13, "Label13", "Position", Label1, "Label1"},    {Label6, "Label6", "Data", Label11, "Label11"},
        {Label14, "Label14", "Duration", Label15, "Label15"},  {Label2, "Label2", "Mean", Label7, "Label7"},
        {Label3, "Label3", "Max", Label8, "Label8"},           {Label4, "Label4", "Min", Label9, "Label9"},
        {Label5, "Label5", "Mean Square", Label10, "Label10"},
    };
    int r = 1;
    for (const Row& row : rows) {
        row.Caption = make(row.CaptionName, row.CaptionText);
        // The values start empty; they can be selected and copied.
        row.Value = make(row.ValueName, "");
        row.Value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        row.Value->setMinimumWidth(190);
        grid->addWidget(row.Caption, r, 0);
        grid->addWidget(row.Value, r, 1);
        ++r;
    }
    grid->setRowStretch(r, 1);

    connect(&session.Signals, &SessionSignals::spectrumChanged, this, [this] { SyncFromState(); });
    SyncFromState();
}

void TStatistics::SyncFromState() {
    const StatisticsLabels& s = session_.State.Statistics;
    const std::pair<QLabel*, const std::string*> values[] = {
        {Label1, &s.Position}, {Label11, &s.Data}, {Label15, &s.Duration},   {Label7, &s.Mean},
        {Label8, &s.Max},      {Label9, &s.Min},   {Label10, &s.MeanSquare},
    };
    for (const auto& [label, text] : values) label->setText(QString::fromStdString(*text));
}

}  // namespace wavora
