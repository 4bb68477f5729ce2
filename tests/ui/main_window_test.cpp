// Start-up state, the lock of the analysis controls, exit, help, and the guard around commands.

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <functional>
#include <regex>
#include <map>
#include <vector>
#include <stdexcept>

#include "app/listup_dialog.h"
#include "app/small_windows.h"
#include "draw/startup_picture.h"
#include "display/image_view.h"
#include "display/radio_group.h"
#include "display/string_grid.h"
#include "support/recording_canvas.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

using MainWindow = WindowTest;

std::string ExecutableDate() {
    QDate d = QFileInfo(QCoreApplication::applicationFilePath()).lastModified().date();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%02d/%02d", d.year(), d.month(), d.day());
    return buf;
}

TEST_F(MainWindow, StartsWithItsWindowsCaptionsAndDefaults) {
    EXPECT_EQ(QCoreApplication::applicationName().toStdString(), "WAVORA 4.8");
    EXPECT_EQ(form.windowTitle().toStdString(), " SPECTRAL ANALYZER WAVORA Ver4.8");
    EXPECT_EQ(form.width(), 916);
    EXPECT_EQ(form.height(), 691);
    EXPECT_EQ(form.Ui().Image1->width(), 433);
    EXPECT_EQ(form.Ui().Image1->height(), 417);

    // Every window exists from the start, with its caption.
    EXPECT_EQ(windows->Listup->windowTitle().toStdString(), " Listup Data");
    EXPECT_EQ(windows->AboutBox->windowTitle().toStdString(), "バージョン情報");
    EXPECT_EQ(windows->Howto->windowTitle().toStdString(), "Howto");
    EXPECT_EQ(windows->Running->objectName().toStdString(), "TRunning");
    EXPECT_EQ(windows->Running->windowTitle().toStdString(), "Running Spectrum");
    EXPECT_EQ(windows->Process->windowTitle().toStdString(), "  Processing now. Wait a moment, please.");
    EXPECT_EQ(windows->BandPass->windowTitle().toStdString(), "Bandpass Filter");
    EXPECT_EQ(windows->AmpScale->windowTitle().toStdString(), "Wave Format / Magnification");
    EXPECT_EQ(windows->TWODPlot->windowTitle().toStdString(), "2D Spectrum Plot");
    EXPECT_EQ(windows->CSVArbitrary->windowTitle().toStdString(), "Arbitrary CSV File Data");

    // The version box and the start-up date come from the program file.
    EXPECT_EQ(form.State().ProgramDate, ExecutableDate());
    EXPECT_EQ(windows->AboutBox->DateLabel->text().toStdString(), ExecutableDate());
    EXPECT_EQ(windows->AboutBox->Version->text().toStdString(), "Ver 4.8");

    // Read-outs empty, the format read-out set.
    for (QLabel* l : {form.Ui().Label1, form.Ui().Label2, form.Ui().Label3, form.Ui().Label4,
                      form.Ui().Label11, form.Ui().Label12, form.Ui().Label16, form.Ui().Label20,
                      form.Ui().Label21, form.Ui().Label24, form.Ui().Label25})
        EXPECT_TRUE(l->text().isEmpty()) << l->objectName().toStdString();
    EXPECT_EQ(Text(form.Ui().Label28), "CSV(Default)");
    EXPECT_TRUE(form.Ui().Label21->isHidden());
    EXPECT_EQ(form.State().Record.FilePath, "sample.dbl");
    EXPECT_EQ(form.State().Wave.DisplayKind, 0);

    // The start-up text is on the picture: dark pixels where the lines are, white elsewhere.
    QImage picture = form.Ui().Image1->Image();
    auto inkIn = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (qGray(picture.pixel(x, y)) < 128) return true;
        return false;
    };
    EXPECT_TRUE(inkIn(50, 140, 200, 160));
    EXPECT_TRUE(inkIn(220, 360, 400, 380));
    EXPECT_FALSE(inkIn(0, 0, 433, 100));
}

TEST_F(MainWindow, BeforeAnyFileOnlyFileExitMenusAndCopyRespond) {
    EXPECT_TRUE(form.Ui().BtnFile->isEnabled());
    EXPECT_TRUE(form.Ui().BtnExit->isEnabled());
    EXPECT_TRUE(form.Ui().SpeedButton1->isEnabled());
    EXPECT_TRUE(form.Ui().Open1->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{
             form.Ui().BtnList,     form.Ui().BtnStart, form.Ui().BtnStop,     form.Ui().BtnRun,
             form.Ui().BtnBack,     form.Ui().BtnPrev,  form.Ui().BtnNext,     form.Ui().TrackBar1,
             form.Ui().EdPosition,  form.Ui().BtnZero,  form.Ui().RadioGroup1, form.Ui().SBFileSave,
             form.Ui().SBFilter,    form.Ui().SBFormat, form.Ui().SBRunSpec,   form.Ui().SBCorr,
             form.Ui().SBHistogram, form.Ui().SBPeaks,  form.Ui().CB2D,        form.Ui().CBMEM})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QMenu* m : {form.Ui().Filter1, form.Ui().Wave1, form.Ui().Spectrum1, form.Ui().Edit1})
        EXPECT_FALSE(m->menuAction()->isEnabled()) << m->objectName().toStdString();
    EXPECT_FALSE(form.Ui().Copy1->isEnabled());
    EXPECT_EQ(form.Ui().TrackBar1->maximum(), 10000);
    EXPECT_EQ(Text(form.Ui().EdPosition), "0");
    EXPECT_TRUE(form.Ui().ImgFilter->isHidden());
    EXPECT_TRUE(form.Ui().ImgInteg->isHidden());
    EXPECT_TRUE(form.Ui().ImgClip->isHidden());

    // Defaults of the choices.
    EXPECT_TRUE(form.Ui().CSVDef->isChecked());
    EXPECT_TRUE(form.Ui().None2->isChecked());
    EXPECT_TRUE(form.Ui().N11->isChecked());
    EXPECT_TRUE(form.Ui().PCNT100->isChecked());
    EXPECT_TRUE(form.Ui().IntegOff->isChecked());
    EXPECT_TRUE(form.Ui().Nfull->isChecked());
    EXPECT_TRUE(form.Ui().NotAvailable->isChecked());
    EXPECT_TRUE(form.Ui().DataComment1->isChecked());
    EXPECT_TRUE(form.Ui().second->isChecked());
    EXPECT_FALSE(form.Ui().SamplingRateUnit1->menuAction()->isVisible());
    EXPECT_FALSE(form.Ui().Saveas1->isVisible());
    for (QAction* a : {form.Ui().Color1, form.Ui().Title1, form.Ui().Filename1, form.Ui().ChannelComment1,
                       form.Ui().Scaling1})
        EXPECT_TRUE(a->isChecked());
    EXPECT_EQ(form.Ui().RGPoints->ItemIndex(), 1);
    EXPECT_EQ(form.Ui().RGHanning->ItemIndex(), 0);
    EXPECT_EQ(form.Ui().RGAmp->ItemIndex(), 0);
    EXPECT_EQ(form.Ui().RadioGroup1->ItemIndex(), 0);
    EXPECT_TRUE(form.Ui().CBCh[0]->isChecked());
    for (int k = 1; k < 8; ++k) EXPECT_FALSE(form.Ui().CBCh[k]->isChecked());
    EXPECT_TRUE(form.Ui().CBSkip->isChecked());
    EXPECT_EQ(form.Ui().SBFileSave->toolTip().toStdString(), "グラフをPNGファイルで保存");
    EXPECT_EQ(form.Ui().SpeedButton1->toolTip().toStdString(), "グラフコピー");
    EXPECT_EQ(form.Ui().Image1->toolTip().toStdString(), "右ｸﾘｯｸ:波形書式");
    EXPECT_EQ(form.Scroll().Timer1->interval(), 1);
}

TEST_F(MainWindow, CommandCaptionsAndStatesOfTheLayout) {
    auto caption = [](const QAbstractButton* b) { return b->text().toStdString(); };
    EXPECT_EQ(caption(form.Ui().BtnFile), "File (&F)");
    EXPECT_EQ(caption(form.Ui().BtnList), "List(&L)");
    EXPECT_EQ(caption(form.Ui().BtnExit), "Exit (&E)");
    EXPECT_EQ(caption(form.Ui().BtnStart), "Start(&S)");
    EXPECT_EQ(caption(form.Ui().BtnStop), "Stop(&P)");
    EXPECT_EQ(caption(form.Ui().BtnZero), "0");
    EXPECT_EQ(caption(form.Ui().BtnPrev), "←");
    EXPECT_EQ(caption(form.Ui().BtnNext), "→");
    EXPECT_EQ(caption(form.Ui().BtnRun), "Run (&R)");
    EXPECT_EQ(caption(form.Ui().BtnBack), "Back(&B)");
    EXPECT_EQ(caption(form.Ui().CBDCCut), "DC Cut");
    EXPECT_EQ(caption(form.Ui().CheckBox1), "Abs F Coeff");
    EXPECT_EQ(caption(form.Ui().CBFFTSave), "File Save");
    EXPECT_EQ(caption(form.Ui().CBSkip), "Skip");
    EXPECT_EQ(caption(form.Ui().CB2D), "2D");
    EXPECT_EQ(caption(form.Ui().CBLowCut), "Filter");
    for (int k = 0; k < 8; ++k) EXPECT_EQ(caption(form.Ui().CBCh[k]), std::to_string(k + 1));
    EXPECT_EQ(form.Ui().CBCh[0]->objectName().toStdString(), "CBCh1");
    EXPECT_EQ(form.Ui().CBCh[7]->objectName().toStdString(), "CBCh8");
    auto hint = [](const QWidget* w) { return w->toolTip().toStdString(); };
    EXPECT_EQ(hint(form.Ui().CBDCCut), "直流成分除去");
    EXPECT_EQ(hint(form.Ui().CBMEM), "MEM スペクトラム");
    EXPECT_EQ(hint(form.Ui().CBMEMmin), "ﾃﾞｰﾀｻｲｽﾞ縮小");
    EXPECT_EQ(hint(form.Ui().CBFFTSave), "スペクトル解析結果をCSVファイルで保存");
    EXPECT_EQ(hint(form.Ui().CBLowCut), "フィルタ処理On/Off");
    EXPECT_EQ(hint(form.Ui().BtnRun), "スペクトラム表示");
    EXPECT_EQ(hint(form.Ui().BtnBack), "Skip前のデータに戻る");
    EXPECT_EQ(hint(form.Ui().SBFilter), "波形フィルタ処理");
    EXPECT_EQ(hint(form.Ui().SBFormat), "スペクトラム書式設定");
    EXPECT_EQ(hint(form.Ui().SBCorr), "相関関数・開始/停止");
    EXPECT_EQ(hint(form.Ui().ImgFilter), "フィルタ処理をしない");
    EXPECT_EQ(form.Ui().GBScroll->title().toStdString(), "Wave Scroll");
    EXPECT_EQ(form.Ui().CBLowCut->parentWidget(), form.Ui().GBScroll);
    EXPECT_EQ(form.Ui().GBSpect->title().toStdString(), "Spectrum");
    EXPECT_EQ(form.Ui().GBChannel->title().toStdString(), "Channel");
    EXPECT_EQ(form.Ui().GBFFT->title().toStdString(), "FFT/MEM");
    const std::vector<std::string> smooth = {" 0", " 1", " 2", " 5", "10"},
                                   points = {" 512", "1024", "2048", "4096", "8192"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.Ui().RGHanning->ItemText(i).toStdString(), smooth[i]);
        EXPECT_EQ(form.Ui().RGPoints->ItemText(i).toStdString(), points[i]);
    }
    EXPECT_EQ(form.Ui().RGAmp->ItemText(0).toStdString(), "Amp");
    EXPECT_EQ(form.Ui().RGAmp->ItemText(1).toStdString(), "Power");
    EXPECT_EQ(form.Ui().RadioGroup1->ItemText(3).toStdString(), "10");
    EXPECT_EQ(form.Correlation().Timer2->interval(), 100);
    EXPECT_EQ(form.AutoSkip().Timer3->interval(), 200);

    // Check boxes that start off, and the ones that work before a file is loaded.
    for (QCheckBox* b : {form.Ui().CBMEM, form.Ui().CBMEMmin, form.Ui().CBDCCut, form.Ui().CheckBox1,
                         form.Ui().CBFFTSave, form.Ui().CB2D, form.Ui().CBLowCut})
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    for (QWidget* w :
         std::initializer_list<QWidget*>{form.Ui().CBMEMmin, form.Ui().CBDCCut, form.Ui().CheckBox1,
                                         form.Ui().CBFFTSave, form.Ui().CBSkip, form.Ui().CBLowCut})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();

    // Menu items: captions, marks and what waits for a record or a spectrum.
    auto text = [](const QAction* a) { return a->text().toStdString(); };
    const std::vector<std::pair<QMenu*, std::string>> titles = {{form.Ui().File1, "File"},
                                                                {form.Ui().FormatType1, "Format Type"},
                                                                {form.Ui().Filter1, "Filter"},
                                                                {form.Ui().Wave1, "Wave"},
                                                                {form.Ui().TimeScale1, "Time Scale"},
                                                                {form.Ui().Clipping1, "Clipping"},
                                                                {form.Ui().Integrate1, "Integrate"},
                                                                {form.Ui().Spectrum1, "Spectrum"},
                                                                {form.Ui().Skip1, "Skip"},
                                                                {form.Ui().SpectralRatio1, "Spectral Ratio"},
                                                                {form.Ui().Edit1, "Edit"},
                                                                {form.Ui().Help1, "Help"}};
    for (const auto& [menu, title] : titles) EXPECT_EQ(menu->title().toStdString(), title);
    EXPECT_EQ(text(form.Ui().Open1), "Open(&O)");
    EXPECT_EQ(text(form.Ui().Exit1), "Exit(&E)");
    EXPECT_EQ(text(form.Ui().Saveas1), "Save as ....(&A)");
    EXPECT_EQ(text(form.Ui().CSVDef), "CSV(Default)");
    EXPECT_EQ(text(form.Ui().SPC35), "SPC-35");
    EXPECT_EQ(text(form.Ui().AnalizedData1), "Analized Data");
    EXPECT_EQ(text(form.Ui().AllData1), "All Data");
    EXPECT_EQ(form.Ui().WriteDataFile1->title().toStdString(), "Write Data File (&D)");
    EXPECT_FALSE(form.Ui().WriteDataFile1->menuAction()->isEnabled());
    EXPECT_FALSE(form.Ui().AnalizedData1->isEnabled());
    EXPECT_FALSE(form.Ui().Saveas1->isEnabled());
    EXPECT_EQ(text(form.Ui().None2), "Unfiltered");
    EXPECT_EQ(text(form.Ui().PCNT75), "95%");
    EXPECT_EQ(text(form.Ui().PCNT50), "90%");
    EXPECT_EQ(text(form.Ui().PCNT25), "80%");
    EXPECT_EQ(text(form.Ui().N82), "×8");
    EXPECT_EQ(text(form.Ui().AmpScale1), "Amp Scale");
    for (QAction* a : {form.Ui().AmpScale1, form.Ui().Color1, form.Ui().Title1, form.Ui().Filename1,
                       form.Ui().ChannelComment1, form.Ui().Scaling1, form.Ui().ZeroAverage1,
                       form.Ui().SubAxis1, form.Ui().RightSideComment1})
        EXPECT_TRUE(a->isChecked()) << a->objectName().toStdString();
    EXPECT_FALSE(form.Ui().BroadLine1->isChecked());
    for (QAction* a : {form.Ui().ZeroAverage1, form.Ui().SubAxis1, form.Ui().BroadLine1,
                       form.Ui().RightSideComment1, form.Ui().Format1, form.Ui().Running1,
                       form.Ui().SpectralPeaks1, form.Ui().FileComment1, form.Ui().FConvert})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_EQ(text(form.Ui().Statistics1), "Statistics");
    EXPECT_EQ(text(form.Ui().Running1), "Running");
    EXPECT_EQ(text(form.Ui().SpectralPeaks1), "Spectral Peaks");
    EXPECT_EQ(text(form.Ui().Nquoto), "1/4");
    EXPECT_EQ(text(form.Ui().BtoA), "B to A (B/A)");
    EXPECT_EQ(text(form.Ui().AbsFourier), "Abs Fourier Coeff");
    EXPECT_FALSE(form.Ui().AbsFourier->isChecked());
    EXPECT_EQ(text(form.Ui().FConvert), "File Conversion");
    EXPECT_EQ(text(form.Ui().DataComment1), "Data Comment");
    EXPECT_EQ(text(form.Ui().Howto1), "How to");
    EXPECT_EQ(text(form.Ui().Readmehtm1), "Readme.htm");
    EXPECT_EQ(text(form.Ui().Version2), "Version");
    EXPECT_EQ(form.State().Analysis.SkipDivisor, 1);
    EXPECT_EQ(form.State().Analysis.RatioMode, 0);
    EXPECT_EQ(form.State().Peaks.PeakDivision(), 20);
    EXPECT_EQ(form.State().Peaks.PeakTops(), 5);
    EXPECT_EQ(form.State().Wave.WaveWidth, 400);

    // "Amp Scale" keeps its mark and shows its dialog without blocking.
    form.Ui().AmpScale1->trigger();
    EXPECT_TRUE(form.Ui().AmpScale1->isChecked());
    EXPECT_TRUE(windows->AmpScale->isVisible());
    EXPECT_FALSE(windows->AmpScale->isModal());

    // "Data Comment" only turns its own mark over.
    form.Ui().DataComment1->trigger();
    EXPECT_FALSE(form.Ui().DataComment1->isChecked());
    form.Ui().DataComment1->trigger();
    EXPECT_TRUE(form.Ui().DataComment1->isChecked());
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(MainWindow, AnalysisControlsLockAndUnlockTogether) {
    form.DisableAnalysisControls();
    for (QWidget* w : std::initializer_list<QWidget*>{
             form.Ui().BtnFile, form.Ui().BtnList, form.Ui().BtnExit, form.Ui().CBLowCut, form.Ui().BtnStart,
             form.Ui().BtnStop, form.Ui().BtnRun, form.Ui().BtnBack, form.Ui().RGAmp, form.Ui().RGPoints,
             form.Ui().RGHanning, form.Ui().GBSpect, form.Ui().GBChannel, form.Ui().GBFFT,
             form.Ui().SBHistogram, form.Ui().SBPeaks, form.Ui().SBRunSpec, form.Ui().SBCorr})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    // Controls outside the group keep their state.
    EXPECT_TRUE(form.Ui().SpeedButton1->isEnabled());
    EXPECT_TRUE(form.Ui().Exit1->isEnabled());
    form.EnableAnalysisControls();
    for (QWidget* w : std::initializer_list<QWidget*>{
             form.Ui().BtnFile, form.Ui().BtnList, form.Ui().BtnExit, form.Ui().CBLowCut, form.Ui().BtnStart,
             form.Ui().BtnStop, form.Ui().BtnRun, form.Ui().BtnBack, form.Ui().RGAmp, form.Ui().RGPoints,
             form.Ui().RGHanning, form.Ui().GBSpect, form.Ui().GBChannel, form.Ui().GBFFT,
             form.Ui().SBHistogram, form.Ui().SBPeaks, form.Ui().SBRunSpec, form.Ui().SBCorr})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    // Controls the layout or a load switch on are not part of the group.
    EXPECT_FALSE(form.Ui().SBFilter->isEnabled());
    EXPECT_FALSE(form.Ui().TrackBar1->isEnabled());

    // With the period axis the spectrum-based activities stay off; correlation does not need it.
    form.State().Spectrum.Options.PeriodAxis = true;
    form.DisableAnalysisControls();
    form.EnableAnalysisControls();
    EXPECT_FALSE(form.Ui().SBRunSpec->isEnabled());
    EXPECT_FALSE(form.Ui().SBPeaks->isEnabled());
    EXPECT_FALSE(form.Ui().SBHistogram->isEnabled());
    EXPECT_TRUE(form.Ui().SBCorr->isEnabled());
}

TEST_F(MainWindow, ExitAsksAndCancelKeepsTheProgram) {
    form.show();
    prompts.Answers.push_back(PromptAnswer::Cancel);
    form.ExitCommand();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "Spectral Analyzer WAVORA terminates?     ");
    EXPECT_EQ(prompts.Messages[0].Caption, "Spectral Analyzer WAVORA");
    EXPECT_EQ(prompts.Messages[0].Buttons, PromptButtons::OkCancel);
    EXPECT_EQ(prompts.Messages[0].Icon, MessageIcon::Question);
    EXPECT_TRUE(form.isVisible());

    // The menu item asks even while the button is locked; OK ends the program.
    form.DisableAnalysisControls();
    prompts.AnswerMessage(PromptAnswer::Ok);
    form.Ui().Exit1->trigger();
    EXPECT_EQ(prompts.Messages.size(), 2u);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindow, ManualPageFailureShowsItsBox) {
    form.OpenDocument = [](const std::string&) { return false; };
    prompts.AnswerMessage();
    form.Ui().Readmehtm1->trigger();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "インターネットエクスプローラの起動に失敗しました　　　　");
    EXPECT_EQ(prompts.Messages[0].Caption, "readme.htm呼び出しエラー");
    EXPECT_EQ(prompts.Messages[0].Icon, MessageIcon::Warning);

    // The manual is found in the source tree and opened there.
    std::string opened;
    form.OpenDocument = [&](const std::string& path) {
        opened = path;
        return true;
    };
    form.Ui().Readmehtm1->trigger();
    EXPECT_EQ(prompts.Messages.size(), 1u);
    EXPECT_NE(opened.find("manual.html"), std::string::npos);
    EXPECT_TRUE(test::Exists(opened));
}

TEST_F(MainWindow, AnExceptionInACommandIsShownAndTheProgramGoesOn) {
    form.OpenDocument = [](const std::string&) -> bool { throw std::runtime_error("browser exploded"); };
    prompts.AnswerMessage();
    form.Ui().Readmehtm1->trigger();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "browser exploded");
    EXPECT_EQ(prompts.Messages[0].Caption, "WAVORA 4.8");
    // The window still answers commands.
    OpenCsv(300);
    EXPECT_EQ(Text(form.Ui().Label3), "300");
}

TEST_F(MainWindow, HowtoIsShownWithoutBlockingAndHasUsageNotes) {
    form.Ui().Howto1->trigger();
    EXPECT_TRUE(windows->Howto->isVisible());
    EXPECT_FALSE(windows->Howto->isModal());
    EXPECT_NE(windows->Howto->Memo1->toPlainText().indexOf("Opening a record"), -1);
    windows->Howto->Button1->click();
    EXPECT_FALSE(windows->Howto->isVisible());
}

// Every menu command the how-to names ("Wave - Integrate - On") is a menu item of one of the
// program's windows, under the same captions, so the notes never send a user to a missing item.
TEST_F(MainWindow, EveryMenuCommandTheHowtoNamesExists) {
    // The captions under each menu path, mnemonics left out.
    std::map<std::string, std::vector<std::string>> items;
    auto plain = [](QString caption) {
        caption.remove(QRegularExpression("\\(&.\\)")).remove('&');
        return caption.trimmed().toStdString();
    };
    std::function<void(QMenu*, const std::string&)> collect = [&](QMenu* menu, const std::string& path) {
        for (QAction* a : menu->actions()) {
            if (a->isSeparator()) continue;
            items[path].push_back(plain(a->text()));
            if (a->menu()) collect(a->menu(), path + " - " + plain(a->text()));
        }
    };
    for (QWidget* top : QApplication::topLevelWidgets())
        for (QMenuBar* bar : top->findChildren<QMenuBar*>())
            for (QAction* a : bar->actions())
                if (a->menu()) collect(a->menu(), plain(a->text()));

    const std::string text = HowtoText();
    const std::regex named("\\b(File|Filter|Wave|Spectrum|Edit|Help|Frequency) - ([A-Z])");
    int checked = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), named); it != std::sregex_iterator();
         ++it) {
        std::string path = (*it)[1];
        size_t at = static_cast<size_t>(it->position(2));
        // The path goes on with the longest caption of its menu that the text names, as long as
        // " - " follows.
        for (;;) {
            std::string found;
            for (const std::string& item : items[path])
                if (item.size() > found.size() && text.compare(at, item.size(), item) == 0) found = item;
            if (found.empty()) {
                ADD_FAILURE() << path << " has no item \"" << text.substr(at, 24) << "...\"";
                break;
            }
            path += " - " + found;
            at += found.size();
            if (text.compare(at, 3, " - ") != 0) break;
            at += 3;
        }
        ++checked;
    }
    EXPECT_GE(checked, 25);
}

TEST_F(MainWindow, VersionBoxIsModalAndAClickOnItsPicturesClosesIt) {
    for (ClickLabel* source : {form.Ui().Image2, windows->AboutBox->Image1}) {
        bool shownModal = false;
        QTimer::singleShot(0, [&] {
            shownModal = windows->AboutBox->isVisible() && windows->AboutBox->isModal();
            emit windows->AboutBox->ProgramIcon->Clicked();
        });
        if (source == form.Ui().Image2)
            emit form.Ui().Image2->Clicked();
        else
            form.Ui().Version2->trigger();
        EXPECT_TRUE(shownModal);
        EXPECT_FALSE(windows->AboutBox->isVisible());
    }
    QTimer::singleShot(0, [&] { emit windows->AboutBox->Image1->Clicked(); });
    form.ShowVersion();
    EXPECT_FALSE(windows->AboutBox->isVisible());
    EXPECT_EQ(windows->AboutBox->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
}

TEST(PictureButton, PaintsItsPictureAndSinksWhilePressed) {
    TTkBtn button;
    EXPECT_EQ(button.size(), QSize(75, 25));
    QPixmap red(2, 2);
    red.fill(Qt::red);
    button.SetPicture(red);
    button.SetCaption("Go");
    QImage shot = button.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(6, 4)), QColor(Qt::red));  // stretched over the whole control
    EXPECT_EQ(QColor(shot.pixel(70, 20)), QColor(Qt::red));

    int clicks = 0;
    QObject::connect(&button, &TTkBtn::Clicked, [&] { ++clicks; });
    auto mouse = [&](QEvent::Type type, Qt::MouseButton b) {
        QMouseEvent e(type, QPointF(10, 10), QPointF(10, 10), b,
                      type == QEvent::MouseButtonPress ? b : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&button, &e);
    };
    mouse(QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(button.BevelOuter(), TTkBtn::Bevel::Raised);
    mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(button.BevelOuter(), TTkBtn::Bevel::Lowered);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(button.BevelOuter(), TTkBtn::Bevel::Raised);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace wavora::uitest
