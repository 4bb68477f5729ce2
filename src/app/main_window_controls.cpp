#include "app/main_window_controls.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/pictures.h"
#include "display/click_label.h"
#include "display/image_view.h"
#include "display/radio_group.h"
#include "display/string_grid.h"
#include "draw/wave_display.h"

namespace wavora {

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(Q(caption), parent);
    b->setObjectName(name);
    return b;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const char* caption, bool checked = false) {
    auto* b = new QCheckBox(Q(caption), parent);
    b->setObjectName(name);
    b->setChecked(checked);
    return b;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QIcon& icon, const char* hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(icon);
    b->setIconSize(QSize(24, 24));
    b->setFixedSize(32, 32);
    b->setAutoRaise(false);
    b->setToolTip(Q(hint));
    return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text = "") {
    auto* l = new QLabel(Q(text), parent);
    l->setObjectName(name);
    return l;
}

QAction* MakeItem(QMenu* menu, const char* name, const char* caption, bool checkable = false,
                  bool checked = false) {
    QAction* a = menu->addAction(Q(caption));
    a->setObjectName(name);
    a->setCheckable(checkable);
    a->setChecked(checked);
    return a;
}

QString ColorName(Color c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF).name();
}

// Three quarters of the way to white.
QString FadedColorName(Color c) {
    auto fade = [](uint32_t v) { return static_cast<int>(v + (255 - v) * 3 / 4); };
    return QColor(fade(c & 0xFF), fade((c >> 8) & 0xFF), fade((c >> 16) & 0xFF)).name();
}

void BuildMenus(QMainWindow& window, MainWindowControls& ui) {
    QMenuBar* bar = window.menuBar();
    // The menu titles carry no mnemonics: Alt+F, Alt+E and Alt+S belong to the File, Exit and Start
    // buttons.

    ui.File1 = bar->addMenu("File");
    ui.File1->setObjectName("File1");
    ui.Open1 = MakeItem(ui.File1, "Open1", "Open(&O)");
    ui.FormatType1 = ui.File1->addMenu("Format Type");
    ui.FormatType1->setObjectName("FormatType1");
    ui.CSVDef = MakeItem(ui.FormatType1, "CSVDef", "CSV(Default)", true, true);
    ui.CSVGPL = MakeItem(ui.FormatType1, "CSVGPL", "CSV(GPL)", true);
    ui.CSVArb = MakeItem(ui.FormatType1, "CSVArb", "CSV(Arbitrary)", true);
    ui.SPC51 = MakeItem(ui.FormatType1, "SPC51", "SPC-51", true);
    ui.SPC35 = MakeItem(ui.FormatType1, "SPC35", "SPC-35", true);
    ui.Saveas1 = MakeItem(ui.File1, "Saveas1", "Save as ....(&A)");
    ui.Saveas1->setVisible(false);
    ui.Saveas1->setEnabled(false);
    ui.WriteDataFile1 = ui.File1->addMenu(Q("Write Data File (&D)"));
    ui.WriteDataFile1->setObjectName("WriteDataFile1");
    ui.WriteDataFile1->menuAction()->setEnabled(false);
    ui.AnalizedData1 = MakeItem(ui.WriteDataFile1, "AnalizedData1", "Analized Data");
    ui.AnalizedData1->setEnabled(false);
    ui.AllData1 = MakeItem(ui.WriteDataFile1, "AllData1", "All Data");
    ui.SamplingRateUnit1 = ui.File1->addMenu(Q("Sampling Rate Unit(削除できない)"));
    ui.SamplingRateUnit1->setObjectName("SamplingRateUnit1");
    ui.SamplingRateUnit1->menuAction()->setVisible(false);
    ui.second = MakeItem(ui.SamplingRateUnit1, "second", "s (second)", true, true);
    ui.milisecond = MakeItem(ui.SamplingRateUnit1, "milisecond", "ms (mili second)", true);
    ui.microsecond = MakeItem(ui.SamplingRateUnit1, "microsecond", "μs (micro second)", true);
    ui.nanosecond = MakeItem(ui.SamplingRateUnit1, "nanosecond", " ns (nano second)", true);
    ui.File1->addSeparator();
    ui.Exit1 = MakeItem(ui.File1, "Exit1", "Exit(&E)");

    ui.Filter1 = bar->addMenu("Filter");
    ui.Filter1->setObjectName("Filter1");
    ui.Filter1->menuAction()->setEnabled(false);
    ui.None2 = MakeItem(ui.Filter1, "None2", "Unfiltered", true, true);
    ui.Default1 = MakeItem(ui.Filter1, "Default1", "Default", true);
    ui.Arbitrary1 = MakeItem(ui.Filter1, "Arbitrary1", "Arbitrary", true);

    ui.Wave1 = bar->addMenu("Wave");
    ui.Wave1->setObjectName("Wave1");
    ui.Wave1->menuAction()->setEnabled(false);
    ui.TimeScale1 = ui.Wave1->addMenu("Time Scale");
    ui.TimeScale1->setObjectName("TimeScale1");
    ui.N11 = MakeItem(ui.TimeScale1, "N11", "×1", true, true);
    ui.N21 = MakeItem(ui.TimeScale1, "N21", "×2", true);
    ui.N41 = MakeItem(ui.TimeScale1, "N41", "×4", true);
    ui.N82 = MakeItem(ui.TimeScale1, "N82", "×8", true);
    // "Amp Scale" carries a check mark like its neighbours; choosing it only shows the dialog.
    ui.AmpScale1 = MakeItem(ui.Wave1, "AmpScale1", "Amp Scale", true, true);
    ui.Color1 = MakeItem(ui.Wave1, "Color1", "Color", true, true);
    ui.Title1 = MakeItem(ui.Wave1, "Title1", "Title", true, true);
    ui.Filename1 = MakeItem(ui.Wave1, "Filename1", "Filename", true, true);
    ui.ChannelComment1 = MakeItem(ui.Wave1, "ChannelComment1", "Channel Comment", true, true);
    ui.Scaling1 = MakeItem(ui.Wave1, "Scaling1", "Scaling Factor", true, true);
    ui.Wave1->addSeparator();
    ui.Clipping1 = ui.Wave1->addMenu("Clipping");
    ui.Clipping1->setObjectName("Clipping1");
    ui.PCNT100 = MakeItem(ui.Clipping1, "PCNT100", "100%", true, true);
    ui.PCNT75 = MakeItem(ui.Clipping1, "PCNT75", "95%", true);
    ui.PCNT50 = MakeItem(ui.Clipping1, "PCNT50", "90%", true);
    ui.PCNT25 = MakeItem(ui.Clipping1, "PCNT25", "80%", true);
    ui.Integrate1 = ui.Wave1->addMenu("Integrate");
    ui.Integrate1->setObjectName("Integrate1");
    ui.IntegOff = MakeItem(ui.Integrate1, "IntegOff", "Off", true, true);
    ui.IntegOn = MakeItem(ui.Integrate1, "IntegOn", "On", true);

    ui.Spectrum1 = bar->addMenu("Spectrum");
    ui.Spectrum1->setObjectName("Spectrum1");
    ui.Spectrum1->menuAction()->setEnabled(false);
    ui.ZeroAverage1 = MakeItem(ui.Spectrum1, "ZeroAverage1", "Zero Average", true, true);
    ui.SubAxis1 = MakeItem(ui.Spectrum1, "SubAxis1", "SubAxis", true, true);
    ui.BroadLine1 = MakeItem(ui.Spectrum1, "BroadLine1", "Broad Line", true, false);
    ui.RightSideComment1 = MakeItem(ui.Spectrum1, "RightSideComment1", "Right Side Comment", true, true);
    for (QAction* a : {ui.ZeroAverage1, ui.SubAxis1, ui.BroadLine1, ui.RightSideComment1})
        a->setEnabled(false);
    ui.Format1 = MakeItem(ui.Spectrum1, "Format1", "Format");
    ui.Format1->setEnabled(false);
    ui.Spectrum1->addSeparator();
    ui.Statistics1 = MakeItem(ui.Spectrum1, "Statistics1", "Statistics", true);
    ui.Running1 = MakeItem(ui.Spectrum1, "Running1", "Running");
    ui.Running1->setEnabled(false);
    ui.SpectralPeaks1 = MakeItem(ui.Spectrum1, "SpectralPeaks1", "Spectral Peaks");
    ui.SpectralPeaks1->setEnabled(false);
    ui.Spectrum1->addSeparator();
    ui.Skip1 = ui.Spectrum1->addMenu("Skip");
    ui.Skip1->setObjectName("Skip1");
    ui.Nnone = MakeItem(ui.Skip1, "Nnone", "0", true);
    ui.Nquoto = MakeItem(ui.Skip1, "Nquoto", "1/4", true);
    ui.Nhalf = MakeItem(ui.Skip1, "Nhalf", "1/2", true);
    ui.Nfull = MakeItem(ui.Skip1, "Nfull", "1", true, true);
    ui.SpectralRatio1 = ui.Spectrum1->addMenu("Spectral Ratio");
    ui.SpectralRatio1->setObjectName("SpectralRatio1");
    ui.NotAvailable = MakeItem(ui.SpectralRatio1, "NotAvailable", "Not Available", true, true);
    ui.AtoB = MakeItem(ui.SpectralRatio1, "AtoB", "A to B (A/B)", true);
    ui.BtoA = MakeItem(ui.SpectralRatio1, "BtoA", "B to A (B/A)", true);
    ui.AbsFourier = MakeItem(ui.Spectrum1, "AbsFourier", "Abs Fourier Coeff", true);

    ui.Edit1 = bar->addMenu("Edit");
    ui.Edit1->setObjectName("Edit1");
    ui.Edit1->menuAction()->setEnabled(false);
    ui.Copy1 = MakeItem(ui.Edit1, "Copy1", "Copy");
    ui.Copy1->setEnabled(false);
    ui.FileComment1 = MakeItem(ui.Edit1, "FileComment1", "File Comment");
    ui.FileComment1->setEnabled(false);
    ui.FConvert = MakeItem(ui.Edit1, "FConvert", "File Conversion");
    ui.FConvert->setEnabled(false);
    ui.DataComment1 = MakeItem(ui.Edit1, "DataComment1", "Data Comment", true, true);

    ui.Help1 = bar->addMenu("Help");
    ui.Help1->setObjectName("Help1");
    ui.Howto1 = MakeItem(ui.Help1, "Howto1", "How to");
    ui.Readmehtm1 = MakeItem(ui.Help1, "Readmehtm1", "Readme.htm");
    ui.Version2 = MakeItem(ui.Help1, "Version2", "Version");
}

void BuildPanel(QMainWindow& window, MainWindowControls& ui) {
    auto* central = new QWidget(&window);
    central->setObjectName("Panel");
    window.setCentralWidget(central);

    // ---- command row: file buttons, speed buttons, indicators, title picture ----
    ui.BtnFile = MakeButton(central, "BtnFile", "File (&F)");
    ui.BtnList = MakeButton(central, "BtnList", "List(&L)");
    ui.BtnExit = MakeButton(central, "BtnExit", "Exit (&E)");
    ui.BtnList->setEnabled(false);
    for (QPushButton* b : {ui.BtnFile, ui.BtnList, ui.BtnExit}) b->setFixedHeight(32);
    ui.BtnFile->setToolTip(Q("データファイルを開く"));
    ui.BtnList->setToolTip(Q("データ値をリスト表示"));
    ui.BtnExit->setToolTip(Q("終了"));

    ui.SpeedButton1 = MakeSpeedButton(central, "SpeedButton1", pictures::CopyIcon(), "グラフコピー");
    ui.SBFileSave = MakeSpeedButton(central, "SBFileSave", pictures::SaveIcon(), "グラフをPNGファイルで保存");
    ui.SBFilter = MakeSpeedButton(central, "SBFilter", pictures::FilterIcon(), "波形フィルタ処理");
    ui.SBFormat = MakeSpeedButton(central, "SBFormat", pictures::FormatIcon(), "スペクトラム書式設定");
    ui.SBRunSpec =
        MakeSpeedButton(central, "SBRunSpec", pictures::RunningIcon(), "ランニングスペクトル開始/停止");
    ui.SBCorr = MakeSpeedButton(central, "SBCorr", pictures::CorrIcon(), "相関関数・開始/停止");
    ui.SBHistogram =
        MakeSpeedButton(central, "SBHistogram", pictures::HistogramIcon(), "スペクトルピーク表示");
    ui.SBPeaks = MakeSpeedButton(central, "SBPeaks", pictures::PeaksIcon(), "自動スキップ解析開始/停止");
    for (QToolButton* b :
         {ui.SBFileSave, ui.SBFilter, ui.SBFormat, ui.SBRunSpec, ui.SBCorr, ui.SBHistogram, ui.SBPeaks})
        b->setEnabled(false);

    ui.ImgFilter = new ClickLabel(central);
    ui.ImgFilter->setObjectName("ImgFilter");
    ui.ImgFilter->setPixmap(pictures::FilterIndicator());
    ui.ImgFilter->setToolTip(Q("フィルタ処理をしない"));
    ui.ImgInteg = new ClickLabel(central);
    ui.ImgInteg->setObjectName("ImgInteg");
    ui.ImgInteg->setPixmap(pictures::IntegIndicator());
    ui.ImgInteg->setToolTip(Q("積分処理をしない"));
    ui.ImgClip = new ClickLabel(central);
    ui.ImgClip->setObjectName("ImgClip");
    ui.ImgClip->setPixmap(pictures::ClipIndicator());
    ui.ImgClip->setToolTip(Q("クリッピングをしない"));
    for (ClickLabel* l : {ui.ImgFilter, ui.ImgInteg, ui.ImgClip}) {
        l->setVisible(false);
        l->setCursor(Qt::PointingHandCursor);
    }

    ui.Image2 = new ClickLabel(central);
    ui.Image2->setObjectName("Image2");
    ui.Image2->setPixmap(pictures::TitlePicture(170, 34));
    ui.Image2->setToolTip(Q("バージョン情報"));
    ui.Image2->setCursor(Qt::PointingHandCursor);

    auto separator = [central] {
        auto* f = new QFrame(central);
        f->setFrameShape(QFrame::VLine);
        f->setFrameShadow(QFrame::Sunken);
        return f;
    };
    auto* commandRow = new QHBoxLayout;
    commandRow->setSpacing(4);
    commandRow->addWidget(ui.BtnFile);
    commandRow->addWidget(ui.BtnList);
    commandRow->addWidget(ui.BtnExit);
    commandRow->addWidget(separator());
    commandRow->addWidget(ui.SpeedButton1);
    commandRow->addWidget(ui.SBFileSave);
    commandRow->addWidget(separator());
    commandRow->addWidget(ui.SBFilter);
    commandRow->addWidget(ui.SBFormat);
    commandRow->addWidget(ui.SBRunSpec);
    commandRow->addWidget(ui.SBCorr);
    commandRow->addWidget(ui.SBHistogram);
    commandRow->addWidget(ui.SBPeaks);
    commandRow->addSpacing(8);
    commandRow->addWidget(ui.ImgFilter);
    commandRow->addWidget(ui.ImgInteg);
    commandRow->addWidget(ui.ImgClip);
    commandRow->addStretch(1);
    commandRow->addWidget(ui.Image2);

    // ---- the picture ----
    ui.Image1 = new ImageView(kImageWidth, kImageHeight, central);
    ui.Image1->setObjectName("Image1");
    ui.Image1->setToolTip(Q("右ｸﾘｯｸ:波形書式"));
    auto* imageFrame = new QFrame(central);
    imageFrame->setFrameShape(QFrame::StyledPanel);
    imageFrame->setFrameShadow(QFrame::Sunken);
    auto* imageLayout = new QVBoxLayout(imageFrame);
    imageLayout->setContentsMargins(1, 1, 1, 1);
    imageLayout->addWidget(ui.Image1);

    // ---- wave scroll ----
    ui.GBScroll = new QGroupBox("Wave Scroll", central);
    ui.GBScroll->setObjectName("GBScroll");
    ui.TrackBar1 = new QSlider(Qt::Horizontal, ui.GBScroll);
    ui.TrackBar1->setObjectName("TrackBar1");
    ui.TrackBar1->setRange(0, 10000);
    ui.TrackBar1->setTickPosition(QSlider::TicksBelow);
    ui.TrackBar1->setTickInterval(500);
    ui.TrackBar1->setEnabled(false);
    ui.TrackBar1->setToolTip(Q("Position"));
    ui.EdPosition = new QLineEdit("0", ui.GBScroll);
    ui.EdPosition->setObjectName("EdPosition");
    ui.EdPosition->setFixedWidth(80);
    ui.EdPosition->setEnabled(false);
    ui.BtnZero = MakeButton(ui.GBScroll, "BtnZero", "0");
    ui.BtnZero->setFixedWidth(28);
    ui.BtnZero->setEnabled(false);
    ui.BtnStart = MakeButton(ui.GBScroll, "BtnStart", "Start(&S)");
    ui.BtnStop = MakeButton(ui.GBScroll, "BtnStop", "Stop(&P)");
    ui.BtnStart->setEnabled(false);
    ui.BtnStop->setEnabled(false);
    ui.CBLowCut = MakeCheck(ui.GBScroll, "CBLowCut", "Filter");
    ui.CBLowCut->setToolTip(Q("フィルタ処理On/Off"));
    ui.RadioGroup1 = new RadioGroup("Step", {"1", "2", "5", "10"}, 4, ui.GBScroll);
    ui.RadioGroup1->setObjectName("RadioGroup1");
    ui.RadioGroup1->SetItemIndex(0);
    ui.RadioGroup1->setEnabled(false);
    ui.Label21 = MakeLabel(ui.GBScroll, "Label21");
    ui.Label21->setVisible(false);
    auto* scrollLayout = new QGridLayout(ui.GBScroll);
    scrollLayout->setContentsMargins(6, 4, 6, 4);
    scrollLayout->setVerticalSpacing(3);
    scrollLayout->addWidget(ui.TrackBar1, 0, 0, 1, 7);
    scrollLayout->addWidget(new QLabel("Position", ui.GBScroll), 1, 0);
    scrollLayout->addWidget(ui.EdPosition, 1, 1);
    scrollLayout->addWidget(ui.BtnZero, 1, 2);
    scrollLayout->addWidget(ui.BtnStart, 1, 3);
    scrollLayout->addWidget(ui.BtnStop, 1, 4);
    scrollLayout->addWidget(ui.CBLowCut, 1, 5);
    scrollLayout->addWidget(ui.RadioGroup1, 2, 0, 1, 7);
    scrollLayout->setColumnStretch(6, 1);

    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(imageFrame, 0, Qt::AlignLeft);
    left->addWidget(ui.GBScroll);
    left->addStretch(1);

    // ---- read-outs ----
    auto* info = new QFrame(central);
    info->setObjectName("InfoPanel");
    info->setFrameShape(QFrame::StyledPanel);
    auto* infoLayout = new QGridLayout(info);
    infoLayout->setContentsMargins(6, 3, 6, 3);
    infoLayout->setHorizontalSpacing(6);
    infoLayout->setVerticalSpacing(1);
    ui.Label1 = MakeLabel(info, "Label1");
    ui.Label2 = MakeLabel(info, "Label2");
    ui.Label3 = MakeLabel(info, "Label3");
    ui.Label4 = MakeLabel(info, "Label4");
    ui.Label11 = MakeLabel(info, "Label11");
    ui.Label12 = MakeLabel(info, "Label12");
    ui.Label16 = MakeLabel(info, "Label16");
    ui.Label20 = MakeLabel(info, "Label20");
    ui.Label24 = MakeLabel(info, "Label24");
    ui.Label25 = MakeLabel(info, "Label25");
    ui.Label28 = MakeLabel(info, "Label28");
    ui.Label30 = MakeLabel(info, "Label30", "s");
    struct ReadOut {
        const char* Caption;
        QLabel* Value;
        int Row, Column;
    };
    const ReadOut readOuts[] = {
        {"FILE", ui.Label1, 0, 0},       {"CHANNEL(s)", ui.Label2, 1, 0},  {"DATA", ui.Label3, 2, 0},
        {"SAMPLING", ui.Label4, 3, 0},   {"DURATION", ui.Label24, 4, 0},   {"INTERVAL", ui.Label25, 5, 0},
        {"TITLE", ui.Label11, 0, 1},     {"DATE/TIME", ui.Label12, 1, 1},  {"FORMAT", ui.Label28, 2, 1},
        {"TIME UNIT", ui.Label30, 3, 1}, {"FFT/MEM DT", ui.Label16, 4, 1}, {"FFT/MEM T", ui.Label20, 5, 1},
    };
    for (const ReadOut& r : readOuts) {
        auto* caption = new QLabel(Q(r.Caption), info);
        caption->setStyleSheet("color: #204080; font-weight: bold;");
        r.Value->setMinimumWidth(120);
        r.Value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        infoLayout->addWidget(caption, r.Row, r.Column * 2);
        infoLayout->addWidget(r.Value, r.Row, r.Column * 2 + 1);
    }
    infoLayout->setColumnStretch(1, 1);
    infoLayout->setColumnStretch(3, 1);

    // ---- spectrum commands ----
    ui.GBSpect = new QGroupBox("Spectrum", central);
    ui.GBSpect->setObjectName("GBSpect");
    ui.BtnRun = MakeButton(ui.GBSpect, "BtnRun", "Run (&R)");
    ui.BtnRun->setToolTip(Q("スペクトラム表示"));
    ui.BtnRun->setMinimumHeight(30);
    ui.BtnBack = MakeButton(ui.GBSpect, "BtnBack", "Back(&B)");
    ui.BtnBack->setToolTip(Q("Skip前のデータに戻る"));
    ui.BtnPrev = MakeButton(ui.GBSpect, "BtnPrev", "←");
    ui.BtnNext = MakeButton(ui.GBSpect, "BtnNext", "→");
    for (QPushButton* b : {ui.BtnRun, ui.BtnBack, ui.BtnPrev, ui.BtnNext}) b->setEnabled(false);
    for (QPushButton* b : {ui.BtnRun, ui.BtnBack}) b->setMinimumWidth(84);
    for (QPushButton* b : {ui.BtnPrev, ui.BtnNext}) {
        b->setMinimumWidth(0);
        b->setFixedWidth(42);
    }
    ui.CBSkip = MakeCheck(ui.GBSpect, "CBSkip", "Skip", true);
    ui.CB2D = MakeCheck(ui.GBSpect, "CB2D", "2D");
    ui.CB2D->setEnabled(false);
    auto* spectLayout = new QGridLayout(ui.GBSpect);
    spectLayout->setContentsMargins(6, 4, 6, 4);
    spectLayout->setSpacing(3);
    spectLayout->addWidget(ui.BtnRun, 0, 0, 1, 2);
    spectLayout->addWidget(ui.BtnBack, 1, 0, 1, 2);
    spectLayout->addWidget(ui.BtnPrev, 2, 0);
    spectLayout->addWidget(ui.BtnNext, 2, 1);
    spectLayout->addWidget(ui.CBSkip, 3, 0);
    spectLayout->addWidget(ui.CB2D, 3, 1);

    ui.RGPoints = new RadioGroup("Points", {" 512", "1024", "2048", "4096", "8192"}, 1, central);
    ui.RGPoints->setObjectName("RGPoints");
    ui.RGPoints->SetItemIndex(1);
    ui.RGHanning = new RadioGroup("Smooth", {" 0", " 1", " 2", " 5", "10"}, 1, central);
    ui.RGHanning->setObjectName("RGHanning");
    ui.RGHanning->SetItemIndex(0);
    ui.RGAmp = new RadioGroup("Type", {"Amp", "Power"}, 2, central);
    ui.RGAmp->setObjectName("RGAmp");
    ui.RGAmp->SetItemIndex(0);

    ui.GBFFT = new QGroupBox("FFT/MEM", central);
    ui.GBFFT->setObjectName("GBFFT");
    ui.CBMEM = MakeCheck(ui.GBFFT, "CBMEM", "MEM");
    ui.CBMEM->setToolTip(Q("MEM スペクトラム"));
    ui.CBMEM->setEnabled(false);
    ui.CBMEMmin = MakeCheck(ui.GBFFT, "CBMEMmin", "min");
    ui.CBMEMmin->setToolTip(Q("ﾃﾞｰﾀｻｲｽﾞ縮小"));
    ui.CheckBox1 = MakeCheck(ui.GBFFT, "CheckBox1", "Abs F Coeff");
    ui.CBDCCut = MakeCheck(ui.GBFFT, "CBDCCut", "DC Cut");
    ui.CBDCCut->setToolTip(Q("直流成分除去"));
    ui.CBFFTSave = MakeCheck(ui.GBFFT, "CBFFTSave", "File Save");
    ui.CBFFTSave->setToolTip(Q("スペクトル解析結果をCSVファイルで保存"));
    auto* fftLayout = new QGridLayout(ui.GBFFT);
    fftLayout->setContentsMargins(6, 4, 6, 4);
    fftLayout->setVerticalSpacing(2);
    fftLayout->setHorizontalSpacing(4);
    fftLayout->addWidget(ui.CBMEM, 0, 0);
    fftLayout->addWidget(ui.CBMEMmin, 0, 1);
    fftLayout->addWidget(ui.CheckBox1, 1, 0, 1, 2);
    fftLayout->addWidget(ui.CBDCCut, 2, 0, 1, 2);
    fftLayout->addWidget(ui.CBFFTSave, 3, 0, 1, 2);

    auto* typeAndFft = new QVBoxLayout;
    typeAndFft->setSpacing(2);
    typeAndFft->addWidget(ui.RGAmp);
    typeAndFft->addWidget(ui.GBFFT);
    auto* controlsRow = new QHBoxLayout;
    controlsRow->setSpacing(4);
    controlsRow->addWidget(ui.GBSpect);
    controlsRow->addWidget(ui.RGPoints);
    controlsRow->addWidget(ui.RGHanning);
    controlsRow->addLayout(typeAndFft);

    ui.GBChannel = new QGroupBox("Channel", central);
    ui.GBChannel->setObjectName("GBChannel");
    auto* channelLayout = new QHBoxLayout(ui.GBChannel);
    channelLayout->setContentsMargins(6, 2, 6, 2);
    const auto colors = DefaultChannelColors();
    for (int k = 0; k < kMaxChannels; ++k) {
        ui.CBCh[k] = MakeCheck(ui.GBChannel, ("CBCh" + std::to_string(k + 1)).c_str(),
                               std::to_string(k + 1).c_str(), k == 0);
        // A box the record has no channel for is shown disabled: its colour faded towards white.
        ui.CBCh[k]->setStyleSheet(QString("QCheckBox { color: %1; font-weight: bold; }"
                                          " QCheckBox:disabled { color: %2; font-weight: normal; }")
                                      .arg(ColorName(colors[k]), FadedColorName(colors[k])));
        channelLayout->addWidget(ui.CBCh[k]);
    }

    // ---- value grid with its headings ----
    ui.Data = MakeLabel(central, "Data", "Data");
    QFont bold = ui.Data->font();
    bold.setBold(true);
    ui.Data->setFont(bold);
    // The column headings above the grid: "No" over the grid's row headings, the others over its
    // columns, following them when the grid scrolls sideways.
    auto* headings = new QHBoxLayout;
    headings->setSpacing(0);
    ui.Data0 = MakeLabel(central, "Data0", "No");
    auto* columnHeadings = new QScrollArea(central);
    columnHeadings->setFrameShape(QFrame::NoFrame);
    columnHeadings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    columnHeadings->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* strip = new QWidget;
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    stripLayout->setSpacing(0);
    ui.Data1 = MakeLabel(strip, "Data1", "Data1");
    ui.Data2 = MakeLabel(strip, "Data2", "Data2");
    ui.Data3 = MakeLabel(strip, "Data3", "Data3");
    ui.Data4 = MakeLabel(strip, "Data4", "Data4");
    for (QLabel* l : {ui.Data0, ui.Data1, ui.Data2, ui.Data3, ui.Data4}) {
        l->setFixedWidth(76);
        l->setStyleSheet("color: #404040;");
    }
    for (QLabel* l : {ui.Data1, ui.Data2, ui.Data3, ui.Data4}) stripLayout->addWidget(l);
    stripLayout->addStretch(1);
    strip->setMinimumWidth(76 * 8);
    columnHeadings->setWidget(strip);
    columnHeadings->setFixedHeight(ui.Data1->sizeHint().height());
    headings->addWidget(ui.Data0);
    headings->addWidget(columnHeadings, 1);
    ui.StringGrid1 = new StringGrid(central);
    ui.StringGrid1->setObjectName("StringGrid1");
    ui.StringGrid1->SetColCount(5);
    ui.StringGrid1->SetRowCount(5);
    ui.StringGrid1->SetFixedRows(1);
    ui.StringGrid1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QObject::connect(ui.StringGrid1->horizontalScrollBar(), &QScrollBar::valueChanged,
                     columnHeadings->horizontalScrollBar(), &QScrollBar::setValue);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(info);
    right->addLayout(controlsRow);
    right->addWidget(ui.GBChannel);
    right->addWidget(ui.Data);
    right->addLayout(headings);
    right->addWidget(ui.StringGrid1, 1);

    auto* body = new QHBoxLayout;
    body->setSpacing(8);
    body->addLayout(left);
    body->addLayout(right, 1);

    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(6, 4, 6, 6);
    outer->setSpacing(4);
    outer->addLayout(commandRow);
    outer->addLayout(body, 1);
}

}  // namespace

void BuildMainWindowControls(QMainWindow& window, MainWindowControls& ui) {
    BuildMenus(window, ui);
    BuildPanel(window, ui);
}

}  // namespace wavora
