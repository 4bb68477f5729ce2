// The statistics window: the "Statistics" menu toggle, closing the window itself, and the values
// of the channel a run analysed last.

#include <string>
#include <vector>

#include "display/statistics_window.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

using StatisticsWindow = WindowTest;

TEST_F(StatisticsWindow, MenuItemShowsAndClosesTheWindow) {
    QAction* item = form.Ui().Statistics1;
    TStatistics& window = *windows->Statistics;
    ASSERT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(form.State().Analysis.StatisticsWindowOpen);

    int options = 0;
    QObject::connect(&windows->Context->Signals, &SessionSignals::optionsChanged, [&] { ++options; });
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(form.State().Analysis.StatisticsWindowOpen);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(options, 1);

    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(form.State().Analysis.StatisticsWindowOpen);
    EXPECT_FALSE(window.isVisible());

    // Closed with its own title-bar button, the window is still fed and the item stays checked;
    // the next click on the item clears it, the one after shows the window again.
    item->trigger();
    window.close();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(form.State().Analysis.StatisticsWindowOpen);
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(window.isVisible());
    item->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(prompts.Messages.empty());
}

// The number a value label starts with.
double LeadingNumber(const QLabel* l) {
    return std::stod(l->text().toStdString());
}

TEST_F(StatisticsWindow, ShowsTheChannelTheRunAnalysedLast) {
    TStatistics& window = *windows->Statistics;
    const std::vector<QLabel*> values = {window.Label1, window.Label11, window.Label15, window.Label7,
                                         window.Label8, window.Label9,  window.Label10};
    for (QLabel* l : values) EXPECT_TRUE(l->text().isEmpty()) << l->objectName().toStdString();

    // Two channels of 100 Hz sines, amplitude 1 in Gal and 2 in mkine.
    Open(dir.Write("two.csv", test::StandardCsvFile({"East", "North"}, 100, "s", {"Gal", "mkine"},
                                                    test::SineRows(2, 8000))));
    form.Ui().Statistics1->trigger();
    form.CBChClick(1, true);
    form.RadioGroup1Click(1);  // step 2
    form.MovePosition(1000);
    form.BtnRunClick();
    EXPECT_EQ(Text(window.Label1), "1000");
    EXPECT_EQ(Text(window.Label11), "1024");
    EXPECT_EQ(Text(window.Label15), "20.48 s");
    // The second channel's values, each in its unit.
    for (QLabel* l : {window.Label7, window.Label8, window.Label9})
        EXPECT_NE(l->text().toStdString().find(" mkine"), std::string::npos) << Text(l);
    EXPECT_TRUE(window.Label10->text().endsWith(" mkine^2")) << Text(window.Label10);
    EXPECT_NEAR(LeadingNumber(window.Label8), 2.0, 0.01);
    EXPECT_NEAR(LeadingNumber(window.Label9), -2.0, 0.01);
    EXPECT_NEAR(LeadingNumber(window.Label10), 2.0, 0.02);  // the mean square of a sine: A²/2
    // Where the extremes are: the position plus the index among every second sample.
    const int maxAt = std::stoi(Text(window.Label8).substr(Text(window.Label8).rfind(' ') + 1));
    EXPECT_GE(maxAt, 1000);
    EXPECT_LT(maxAt, 1000 + 25);  // within the first period of 25 analysed values

    // Unchecked, the runs leave the window's values as they were.
    const std::string before = Text(window.Label1);
    form.Ui().Statistics1->trigger();
    form.BtnRunClick();
    EXPECT_NE(form.State().Position, 1000);
    EXPECT_EQ(Text(window.Label1), before);
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

}  // namespace
}  // namespace wavora::uitest
