// Start-up state, the lock of the analysis controls, exit, help, and the guard around commands.

#include <QDateTime>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
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
    EXPECT_EQ(form.Image1->width(), 433);
    EXPECT_EQ(form.Image1->height(), 417);

    // Every window exists from the start, with its caption.
    EXPECT_EQ(windows->Listup->windowTitle().toStdString(), " Listup Data");
    EXPECT_EQ(windows->AboutBox->windowTitle().toStdString(), "バージョン情報");
    EXPECT_EQ(windows->Howto->windowTitle().toStdString(), "Howto");
    EXPECT_EQ(windows->Running->objectName().toStdString(), "TRunning");
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
    for (QLabel* l : {form.Label1, form.Label2, form.Label3, form.Label4, form.Label11, form.Label12,
                      form.Label16, form.Label20, form.Label21, form.Label24, form.Label25})
        EXPECT_TRUE(l->text().isEmpty()) << l->objectName().toStdString();
    EXPECT_EQ(Text(form.Label28), "CSV(Default)");
    EXPECT_TRUE(form.Label21->isHidden());
    EXPECT_EQ(form.State().Record.FilePath, "sample.dbl");
    EXPECT_EQ(form.State().Wave.DisplayKind, 0);

    // The start-up text is on the picture: dark pixels where the lines are, white elsewhere.
    QImage picture = form.Image1->Image();
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
    EXPECT_TRUE(form.BtnFile->isEnabled());
    EXPECT_TRUE(form.BtnExit->isEnabled());
    EXPECT_TRUE(form.SpeedButton1->isEnabled());
    EXPECT_TRUE(form.Open1->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{
             form.BtnList,     form.BtnStart,    form.BtnStop,   form.BtnRun,     form.BtnBack,
             form.BtnPrev,     form.BtnNext,     form.TrackBar1, form.EdPosition, form.BtnZero,
             form.RadioGroup1, form.SBFileSave,  form.SBFilter,  form.SBFormat,   form.SBRunSpec,
             form.SBCorr,      form.SBHistogram, form.SBPeaks,   form.CB2D,       form.CBMEM})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QMenu* m : {form.Filter1, form.Wave1, form.Spectrum1, form.Edit1})
        EXPECT_FALSE(m->menuAction()->isEnabled()) << m->objectName().toStdString();
    EXPECT_FALSE(form.Copy1->isEnabled());
    EXPECT_EQ(form.TrackBar1->maximum(), 10000);
    EXPECT_EQ(Text(form.EdPosition), "0");
    EXPECT_TRUE(form.ImgFilter->isHidden());
    EXPECT_TRUE(form.ImgInteg->isHidden());
    EXPECT_TRUE(form.ImgClip->isHidden());

    // Defaults of the choices.
    EXPECT_TRUE(form.CSVDef->isChecked());
    EXPECT_TRUE(form.None2->isChecked());
    EXPECT_TRUE(form.N11->isChecked());
    EXPECT_TRUE(form.PCNT100->isChecked());
    EXPECT_TRUE(form.IntegOff->isChecked());
    EXPECT_TRUE(form.Nfull->isChecked());
    EXPECT_TRUE(form.NotAvailable->isChecked());
    EXPECT_TRUE(form.DataComment1->isChecked());
    EXPECT_TRUE(form.second->isChecked());
    EXPECT_FALSE(form.SamplingRateUnit1->menuAction()->isVisible());
    EXPECT_FALSE(form.Saveas1->isVisible());
    for (QAction* a : {form.Color1, form.Title1, form.Filename1, form.ChannelComment1, form.Scaling1})
        EXPECT_TRUE(a->isChecked());
    EXPECT_EQ(form.RGPoints->ItemIndex(), 1);
    EXPECT_EQ(form.RGHanning->ItemIndex(), 0);
    EXPECT_EQ(form.RGAmp->ItemIndex(), 0);
    EXPECT_EQ(form.RadioGroup1->ItemIndex(), 0);
    EXPECT_TRUE(form.CBCh[0]->isChecked());
    for (int k = 1; k < 8; ++k) EXPECT_FALSE(form.CBCh[k]->isChecked());
    EXPECT_TRUE(form.CBSkip->isChecked());
    EXPECT_EQ(form.SBFileSave->toolTip().toStdString(), "グラフをPNGファイルで保存");
    EXPECT_EQ(form.SpeedButton1->toolTip().toStdString(), "グラフコピー");
    EXPECT_EQ(form.Image1->toolTip().toStdString(), "右ｸﾘｯｸ:波形書式");
    EXPECT_EQ(form.Timer1->interval(), 1);
}

TEST_F(MainWindow, CommandCaptionsAndStatesOfTheLayout) {
    auto caption = [](const QAbstractButton* b) { return b->text().toStdString(); };
    EXPECT_EQ(caption(form.BtnFile), "File (&F)");
    EXPECT_EQ(caption(form.BtnList), "List(&L)");
    EXPECT_EQ(caption(form.BtnExit), "Exit (&E)");
    EXPECT_EQ(caption(form.BtnStart), "Start(&S)");
    EXPECT_EQ(caption(form.BtnStop), "Stop(&P)");
    EXPECT_EQ(caption(form.BtnZero), "0");
    EXPECT_EQ(caption(form.BtnPrev), "←");
    EXPECT_EQ(caption(form.BtnNext), "→");
    EXPECT_EQ(caption(form.BtnRun), "Run (&R)");
    EXPECT_EQ(caption(form.BtnBack), "Back(&B)");
    EXPECT_EQ(caption(form.CBDCCut), "DC Cut");
    EXPECT_EQ(caption(form.CheckBox1), "Abs F Coeff");
    EXPECT_EQ(caption(form.CBFFTSave), "File Save");
    EXPECT_EQ(caption(form.CBSkip), "Skip");
    EXPECT_EQ(caption(form.CB2D), "2D");
    EXPECT_EQ(caption(form.CBLowCut), "Filter");
    for (int k = 0; k < 8; ++k) EXPECT_EQ(caption(form.CBCh[k]), std::to_string(k + 1));
    EXPECT_EQ(form.CBCh[0]->objectName().toStdString(), "CBCh1");
    EXPECT_EQ(form.CBCh[7]->objectName().toStdString(), "CBCh8");
    auto hint = [](const QWidget* w) { return w->toolTip().toStdString(); };
    EXPECT_EQ(hint(form.CBDCCut), "直流成分除去");
    EXPECT_EQ(hint(form.CBMEM), "MEM スペクトラム");
    EXPECT_EQ(hint(form.CBMEMmin), "ﾃﾞｰﾀｻｲｽﾞ縮小");
    EXPECT_EQ(hint(form.CBFFTSave), "スペクトル解析結果をCSVファイルで保存");
    EXPECT_EQ(hint(form.CBLowCut), "フィルタ処理On/Off");
    EXPECT_EQ(hint(form.BtnRun), "スペクトラム表示");
    EXPECT_EQ(hint(form.BtnBack), "Skip前のデータに戻る");
    EXPECT_EQ(hint(form.SBFilter), "波形フィルタ処理");
    EXPECT_EQ(hint(form.SBFormat), "スペクトラム書式設定");
    EXPECT_EQ(hint(form.SBCorr), "相関関数・開始/停止");
    EXPECT_EQ(hint(form.ImgFilter), "フィルタ処理をしない");
    EXPECT_EQ(form.GBScroll->title().toStdString(), "Wave Scroll");
    EXPECT_EQ(form.CBLowCut->parentWidget(), form.GBScroll);
    EXPECT_EQ(form.GBSpect->title().toStdString(), "Spectrum");
    EXPECT_EQ(form.GBChannel->title().toStdString(), "Channel");
    EXPECT_EQ(form.GBFFT->title().toStdString(), "FFT/MEM");
    const std::vector<std::string> smooth = {" 0", " 1", " 2", " 5", "10"},
                                   points = {" 512", "1024", "2048", "4096", "8192"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.RGHanning->ItemText(i).toStdString(), smooth[i]);
        EXPECT_EQ(form.RGPoints->ItemText(i).toStdString(), points[i]);
    }
    EXPECT_EQ(form.RGAmp->ItemText(0).toStdString(), "Amp");
    EXPECT_EQ(form.RGAmp->ItemText(1).toStdString(), "Power");
    EXPECT_EQ(form.RadioGroup1->ItemText(3).toStdString(), "10");
    EXPECT_EQ(form.Timer2->interval(), 100);
    EXPECT_EQ(form.Timer3->interval(), 200);

    // Check boxes that start off, and the ones that work before a file is loaded.
    for (QCheckBox* b :
         {form.CBMEM, form.CBMEMmin, form.CBDCCut, form.CheckBox1, form.CBFFTSave, form.CB2D, form.CBLowCut})
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    for (QWidget* w : std::initializer_list<QWidget*>{form.CBMEMmin, form.CBDCCut, form.CheckBox1,
                                                      form.CBFFTSave, form.CBSkip, form.CBLowCut})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();

    // Menu items: captions, marks and what waits for a record or a spectrum.
    auto text = [](const QAction* a) { return a->text().toStdString(); };
    const std::vector<std::pair<QMenu*, std::string>> titles = {{form.File1, "File"},
                                                                {form.FormatType1, "Format Type"},
                                                                {form.Filter1, "Filter"},
                                                                {form.Wave1, "Wave"},
                                                                {form.TimeScale1, "Time Scale"},
                                                                {form.Clipping1, "Clipping"},
                                                                {form.Integrate1, "Integrate"},
                                                                {form.Spectrum1, "Spectrum"},
                                                                {form.Skip1, "Skip"},
                                                                {form.SpectralRatio1, "Spectral Ratio"},
                                                                {form.Edit1, "Edit"},
                                                                {form.Help1, "Help"}};
    for (const auto& [menu, title] : titles) EXPECT_EQ(menu->title().toStdString(), title);
    EXPECT_EQ(text(form.Open1), "Open(&O)");
    EXPECT_EQ(text(form.Exit1), "Exit(&E)");
    EXPECT_EQ(text(form.Saveas1), "Save as ....(&A)");
    EXPECT_EQ(text(form.CSVDef), "CSV(Default)");
    EXPECT_EQ(text(form.SPC35), "SPC-35");
    EXPECT_EQ(text(form.AnalizedData1), "Analized Data");
    EXPECT_EQ(text(form.AllData1), "All Data");
    EXPECT_EQ(form.WriteDataFile1->title().toStdString(), "Write Data File (&D)");
    EXPECT_FALSE(form.WriteDataFile1->menuAction()->isEnabled());
    EXPECT_FALSE(form.AnalizedData1->isEnabled());
    EXPECT_FALSE(form.Saveas1->isEnabled());
    EXPECT_EQ(text(form.None2), "Unfiltered");
    EXPECT_EQ(text(form.PCNT75), "95%");
    EXPECT_EQ(text(form.PCNT50), "90%");
    EXPECT_EQ(text(form.PCNT25), "80%");
    EXPECT_EQ(text(form.N82), "×8");
    EXPECT_EQ(text(form.AmpScale1), "Amp Scale");
    for (QAction* a : {form.AmpScale1, form.Color1, form.Title1, form.Filename1, form.ChannelComment1,
                       form.Scaling1, form.ZeroAverage1, form.SubAxis1, form.RightSideComment1})
        EXPECT_TRUE(a->isChecked()) << a->objectName().toStdString();
    EXPECT_FALSE(form.BroadLine1->isChecked());
    for (QAction* a : {form.ZeroAverage1, form.SubAxis1, form.BroadLine1, form.RightSideComment1,
                       form.Format1, form.Running1, form.SpectralPeaks1, form.FileComment1, form.FConvert})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_EQ(text(form.Statistics1), "Statistics");
    EXPECT_EQ(text(form.Running1), "Running");
    EXPECT_EQ(text(form.SpectralPeaks1), "Spectral Peaks");
    EXPECT_EQ(text(form.Nquoto), "1/4");
    EXPECT_EQ(text(form.BtoA), "B to A (B/A)");
    EXPECT_EQ(text(form.AbsFourier), "Abs Fourier Coeff");
    EXPECT_FALSE(form.AbsFourier->isChecked());
    EXPECT_EQ(text(form.FConvert), "File Conversion");
    EXPECT_EQ(text(form.DataComment1), "Data Comment");
    EXPECT_EQ(text(form.Howto1), "How to");
    EXPECT_EQ(text(form.Readmehtm1), "Readme.htm");
    EXPECT_EQ(text(form.Version2), "Version");
    EXPECT_EQ(form.State().SkipDivisor, 1);
    EXPECT_EQ(form.State().RatioMode, 0);
    EXPECT_EQ(form.State().PeakDivision, 20);
    EXPECT_EQ(form.State().PeakTops, 5);
    EXPECT_EQ(form.State().Wave.WaveWidth, 400);

    // "Amp Scale" keeps its mark and shows its dialog without blocking.
    form.AmpScale1->trigger();
    EXPECT_TRUE(form.AmpScale1->isChecked());
    EXPECT_TRUE(windows->AmpScale->isVisible());
    EXPECT_FALSE(windows->AmpScale->isModal());

    // "Data Comment" only turns its own mark over.
    form.DataComment1->trigger();
    EXPECT_FALSE(form.DataComment1->isChecked());
    form.DataComment1->trigger();
    EXPECT_TRUE(form.DataComment1->isChecked());
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(MainWindow, AnalysisControlsLockAndUnlockTogether) {
    form.DisableAnalysisControls();
    for (QWidget* w : std::initializer_list<QWidget*>{
             form.BtnFile, form.BtnList, form.BtnExit, form.CBLowCut, form.BtnStart, form.BtnStop,
             form.BtnRun, form.BtnBack, form.RGAmp, form.RGPoints, form.RGHanning, form.GBSpect,
             form.GBChannel, form.GBFFT, form.SBHistogram, form.SBPeaks, form.SBRunSpec, form.SBCorr})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    // Controls outside the group keep their state.
    EXPECT_TRUE(form.SpeedButton1->isEnabled());
    EXPECT_TRUE(form.Exit1->isEnabled());
    form.EnableAnalysisControls();
    for (QWidget* w : std::initializer_list<QWidget*>{
             form.BtnFile, form.BtnList, form.BtnExit, form.CBLowCut, form.BtnStart, form.BtnStop,
             form.BtnRun, form.BtnBack, form.RGAmp, form.RGPoints, form.RGHanning, form.GBSpect,
             form.GBChannel, form.GBFFT, form.SBHistogram, form.SBPeaks, form.SBRunSpec, form.SBCorr})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    // Controls the layout or a load switch on are not part of the group.
    EXPECT_FALSE(form.SBFilter->isEnabled());
    EXPECT_FALSE(form.TrackBar1->isEnabled());

    // With the period axis the spectrum-based activities stay off; correlation does not need it.
    form.State().Activity.PeriodAxis = true;
    form.DisableAnalysisControls();
    form.EnableAnalysisControls();
    EXPECT_FALSE(form.SBRunSpec->isEnabled());
    EXPECT_FALSE(form.SBPeaks->isEnabled());
    EXPECT_FALSE(form.SBHistogram->isEnabled());
    EXPECT_TRUE(form.SBCorr->isEnabled());
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
    form.Exit1->trigger();
    EXPECT_EQ(prompts.Messages.size(), 2u);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindow, ManualPageFailureShowsItsBox) {
    form.OpenDocument = [](const std::string&) { return false; };
    form.Readmehtm1->trigger();
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
    form.Readmehtm1->trigger();
    EXPECT_EQ(prompts.Messages.size(), 1u);
    EXPECT_NE(opened.find("manual.html"), std::string::npos);
    EXPECT_TRUE(test::Exists(opened));
}

TEST_F(MainWindow, AnExceptionInACommandIsShownAndTheProgramGoesOn) {
    form.OpenDocument = [](const std::string&) -> bool { throw std::runtime_error("browser exploded"); };
    form.Readmehtm1->trigger();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "browser exploded");
    EXPECT_EQ(prompts.Messages[0].Caption, "WAVORA 4.8");
    // The window still answers commands.
    OpenCsv(300);
    EXPECT_EQ(Text(form.Label3), "300");
}

TEST_F(MainWindow, HowtoIsShownWithoutBlockingAndHasUsageNotes) {
    form.Howto1->trigger();
    EXPECT_TRUE(windows->Howto->isVisible());
    EXPECT_FALSE(windows->Howto->isModal());
    EXPECT_NE(windows->Howto->Memo1->toPlainText().indexOf("Opening a record"), -1);
    windows->Howto->Button1->click();
    EXPECT_FALSE(windows->Howto->isVisible());
}

TEST_F(MainWindow, VersionBoxIsModalAndAClickOnItsPicturesClosesIt) {
    for (ClickLabel* source : {form.Image2, windows->AboutBox->Image1}) {
        bool shownModal = false;
        QTimer::singleShot(0, [&] {
            shownModal = windows->AboutBox->isVisible() && windows->AboutBox->isModal();
            emit windows->AboutBox->ProgramIcon->Clicked();
        });
        if (source == form.Image2)
            emit form.Image2->Clicked();
        else
            form.Version2->trigger();
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
