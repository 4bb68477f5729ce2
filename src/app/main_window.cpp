#include "app/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>

#include "app/app_info.h"
#include "app/app_windows.h"
#include "app/listup_dialog.h"
#include "app/pictures.h"
#include "app/small_windows.h"
#include "draw/startup_picture.h"
#include "display/click_label.h"
#include "display/image_view.h"
#include "record/number_text.h"
#include "display/radio_group.h"
#include "display/string_grid.h"
#include "app/prompts.h"

#ifndef WAVORA_SOURCE_DIR
#define WAVORA_SOURCE_DIR ""
#endif

namespace wavora {

namespace {

constexpr int kImageWidth = 433;
constexpr int kImageHeight = 417;

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

}  // namespace

TForm1::TForm1(const std::string& executablePath, QWidget* parent)
    : QMainWindow(parent), executablePath_(executablePath) {
    setObjectName("TForm1");
    setWindowTitle(Q(kMainWindowCaption));
    OpenDocument = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };
    BuildMenus();
    BuildControls();
    ConnectCommands();
    resize(916, 691);
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r = s->availableGeometry();
        move(r.center() - QPoint(916 / 2, 691 / 2));
    }
    FormCreate();
}

TForm1::~TForm1() = default;

Canvas& TForm1::Picture() {
    return Image1->Picture();
}

AppWindows& TForm1::Windows() const {
    return *windows_;
}
TAmpScale& TForm1::AmpScale() const {
    return *windows_->AmpScale;
}

void TForm1::BuildMenus() {
    QMenuBar* bar = menuBar();
    // The menu titles carry no mnemonics: Alt+F, Alt+E and Alt+S belong to the File, Exit and Start
    // buttons.

    File1 = bar->addMenu("File");
    File1->setObjectName("File1");
    Open1 = MakeItem(File1, "Open1", "Open(&O)");
    FormatType1 = File1->addMenu("Format Type");
    FormatType1->setObjectName("FormatType1");
    CSVDef = MakeItem(FormatType1, "CSVDef", "CSV(Default)", true, true);
    CSVGPL = MakeItem(FormatType1, "CSVGPL", "CSV(GPL)", true);
    CSVArb = MakeItem(FormatType1, "CSVArb", "CSV(Arbitrary)", true);
    SPC51 = MakeItem(FormatType1, "SPC51", "SPC-51", true);
    SPC35 = MakeItem(FormatType1, "SPC35", "SPC-35", true);
    Saveas1 = MakeItem(File1, "Saveas1", "Save as ....(&A)");
    Saveas1->setVisible(false);
    Saveas1->setEnabled(false);
    WriteDataFile1 = File1->addMenu(Q("Write Data File (&D)"));
    WriteDataFile1->setObjectName("WriteDataFile1");
    WriteDataFile1->menuAction()->setEnabled(false);
    AnalizedData1 = MakeItem(WriteDataFile1, "AnalizedData1", "Analized Data");
    AnalizedData1->setEnabled(false);
    AllData1 = MakeItem(WriteDataFile1, "AllData1", "All Data");
    SamplingRateUnit1 = File1->addMenu(Q("Sampling Rate Unit(削除できない)"));
    SamplingRateUnit1->setObjectName("SamplingRateUnit1");
    SamplingRateUnit1->menuAction()->setVisible(false);
    second = MakeItem(SamplingRateUnit1, "second", "s (second)", true, true);
    milisecond = MakeItem(SamplingRateUnit1, "milisecond", "ms (mili second)", true);
    microsecond = MakeItem(SamplingRateUnit1, "microsecond", "μs (micro second)", true);
    nanosecond = MakeItem(SamplingRateUnit1, "nanosecond", " ns (nano second)", true);
    File1->addSeparator();
    Exit1 = MakeItem(File1, "Exit1", "Exit(&E)");

    Filter1 = bar->addMenu("Filter");
    Filter1->setObjectName("Filter1");
    Filter1->menuAction()->setEnabled(false);
    None2 = MakeItem(Filter1, "None2", "Unfiltered", true, true);
    Default1 = MakeItem(Filter1, "Default1", "Default", true);
    Arbitrary1 = MakeItem(Filter1, "Arbitrary1", "Arbitrary", true);

    Wave1 = bar->addMenu("Wave");
    Wave1->setObjectName("Wave1");
    Wave1->menuAction()->setEnabled(false);
    TimeScale1 = Wave1->addMenu("Time Scale");
    TimeScale1->setObjectName("TimeScale1");
    N11 = MakeItem(TimeScale1, "N11", "×1", true, true);
    N21 = MakeItem(TimeScale1, "N21", "×2", true);
    N41 = MakeItem(TimeScale1, "N41", "×4", true);
    N82 = MakeItem(TimeScale1, "N82", "×8", true);
    // "Amp Scale" carries a check mark like its neighbours; choosing it only shows the dialog.
    AmpScale1 = MakeItem(Wave1, "AmpScale1", "Amp Scale", true, true);
    Color1 = MakeItem(Wave1, "Color1", "Color", true, true);
    Title1 = MakeItem(Wave1, "Title1", "Title", true, true);
    Filename1 = MakeItem(Wave1, "Filename1", "Filename", true, true);
    ChannelComment1 = MakeItem(Wave1, "ChannelComment1", "Channel Comment", true, true);
    Scaling1 = MakeItem(Wave1, "Scaling1", "Scaling Factor", true, true);
    Wave1->addSeparator();
    Clipping1 = Wave1->addMenu("Clipping");
    Clipping1->setObjectName("Clipping1");
    PCNT100 = MakeItem(Clipping1, "PCNT100", "100%", true, true);
    PCNT75 = MakeItem(Clipping1, "PCNT75", "95%", true);
    PCNT50 = MakeItem(Clipping1, "PCNT50", "90%", true);
    PCNT25 = MakeItem(Clipping1, "PCNT25", "80%", true);
    Integrate1 = Wave1->addMenu("Integrate");
    Integrate1->setObjectName("Integrate1");
    IntegOff = MakeItem(Integrate1, "IntegOff", "Off", true, true);
    IntegOn = MakeItem(Integrate1, "IntegOn", "On", true);

    Spectrum1 = bar->addMenu("Spectrum");
    Spectrum1->setObjectName("Spectrum1");
    Spectrum1->menuAction()->setEnabled(false);
    ZeroAverage1 = MakeItem(Spectrum1, "ZeroAverage1", "Zero Average", true, true);
    SubAxis1 = MakeItem(Spectrum1, "SubAxis1", "SubAxis", true, true);
    BroadLine1 = MakeItem(Spectrum1, "BroadLine1", "Broad Line", true, false);
    RightSideComment1 = MakeItem(Spectrum1, "RightSideComment1", "Right Side Comment", true, true);
    for (QAction* a : {ZeroAverage1, SubAxis1, BroadLine1, RightSideComment1}) a->setEnabled(false);
    Format1 = MakeItem(Spectrum1, "Format1", "Format");
    Format1->setEnabled(false);
    Spectrum1->addSeparator();
    Statistics1 = MakeItem(Spectrum1, "Statistics1", "Statistics");
    Running1 = MakeItem(Spectrum1, "Running1", "Running");
    Running1->setEnabled(false);
    SpectralPeaks1 = MakeItem(Spectrum1, "SpectralPeaks1", "Spectral Peaks");
    SpectralPeaks1->setEnabled(false);
    Spectrum1->addSeparator();
    Skip1 = Spectrum1->addMenu("Skip");
    Skip1->setObjectName("Skip1");
    Nnone = MakeItem(Skip1, "Nnone", "0", true);
    Nquoto = MakeItem(Skip1, "Nquoto", "1/4", true);
    Nhalf = MakeItem(Skip1, "Nhalf", "1/2", true);
    Nfull = MakeItem(Skip1, "Nfull", "1", true, true);
    SpectralRatio1 = Spectrum1->addMenu("Spectral Ratio");
    SpectralRatio1->setObjectName("SpectralRatio1");
    NotAvailable = MakeItem(SpectralRatio1, "NotAvailable", "Not Available", true, true);
    AtoB = MakeItem(SpectralRatio1, "AtoB", "A to B (A/B)", true);
    BtoA = MakeItem(SpectralRatio1, "BtoA", "B to A (B/A)", true);
    AbsFourier = MakeItem(Spectrum1, "AbsFourier", "Abs Fourier Coeff", true);

    Edit1 = bar->addMenu("Edit");
    Edit1->setObjectName("Edit1");
    Edit1->menuAction()->setEnabled(false);
    Copy1 = MakeItem(Edit1, "Copy1", "Copy");
    Copy1->setEnabled(false);
    FileComment1 = MakeItem(Edit1, "FileComment1", "File Comment");
    FileComment1->setEnabled(false);
    FConvert = MakeItem(Edit1, "FConvert", "File Conversion");
    FConvert->setEnabled(false);
    DataComment1 = MakeItem(Edit1, "DataComment1", "Data Comment", true, true);

    Help1 = bar->addMenu("Help");
    Help1->setObjectName("Help1");
    Howto1 = MakeItem(Help1, "Howto1", "How to");
    Readmehtm1 = MakeItem(Help1, "Readmehtm1", "Readme.htm");
    Version2 = MakeItem(Help1, "Version2", "Version");
}

void TForm1::BuildControls() {
    auto* central = new QWidget(this);
    central->setObjectName("Panel");
    setCentralWidget(central);

    // ---- command row: file buttons, speed buttons, indicators, title picture ----
    BtnFile = MakeButton(central, "BtnFile", "File (&F)");
    BtnList = MakeButton(central, "BtnList", "List(&L)");
    BtnExit = MakeButton(central, "BtnExit", "Exit (&E)");
    BtnList->setEnabled(false);
    for (QPushButton* b : {BtnFile, BtnList, BtnExit}) b->setFixedHeight(32);
    BtnFile->setToolTip(Q("データファイルを開く"));
    BtnList->setToolTip(Q("データ値をリスト表示"));
    BtnExit->setToolTip(Q("終了"));

    SpeedButton1 = MakeSpeedButton(central, "SpeedButton1", pictures::CopyIcon(), "グラフコピー");
    SBFileSave = MakeSpeedButton(central, "SBFileSave", pictures::SaveIcon(), "グラフをPNGファイルで保存");
    SBFilter = MakeSpeedButton(central, "SBFilter", pictures::FilterIcon(), "波形フィルタ処理");
    SBFormat = MakeSpeedButton(central, "SBFormat", pictures::FormatIcon(), "スペクトラム書式設定");
    SBRunSpec =
        MakeSpeedButton(central, "SBRunSpec", pictures::RunningIcon(), "ランニングスペクトル開始/停止");
    SBCorr = MakeSpeedButton(central, "SBCorr", pictures::CorrIcon(), "相関関数・開始/停止");
    SBHistogram = MakeSpeedButton(central, "SBHistogram", pictures::HistogramIcon(), "スペクトルピーク表示");
    SBPeaks = MakeSpeedButton(central, "SBPeaks", pictures::PeaksIcon(), "自動スキップ解析開始/停止");
    for (QToolButton* b : {SBFileSave, SBFilter, SBFormat, SBRunSpec, SBCorr, SBHistogram, SBPeaks})
        b->setEnabled(false);

    ImgFilter = new ClickLabel(central);
    ImgFilter->setObjectName("ImgFilter");
    ImgFilter->setPixmap(pictures::FilterIndicator());
    ImgFilter->setToolTip(Q("フィルタ処理をしない"));
    ImgInteg = new ClickLabel(central);
    ImgInteg->setObjectName("ImgInteg");
    ImgInteg->setPixmap(pictures::IntegIndicator());
    ImgInteg->setToolTip(Q("積分処理をしない"));
    ImgClip = new ClickLabel(central);
    ImgClip->setObjectName("ImgClip");
    ImgClip->setPixmap(pictures::ClipIndicator());
    ImgClip->setToolTip(Q("クリッピングをしない"));
    for (ClickLabel* l : {ImgFilter, ImgInteg, ImgClip}) {
        l->setVisible(false);
        l->setCursor(Qt::PointingHandCursor);
    }

    Image2 = new ClickLabel(central);
    Image2->setObjectName("Image2");
    Image2->setPixmap(pictures::TitlePicture(170, 34));
    Image2->setToolTip(Q("バージョン情報"));
    Image2->setCursor(Qt::PointingHandCursor);

    auto separator = [central] {
        auto* f = new QFrame(central);
        f->setFrameShape(QFrame::VLine);
        f->setFrameShadow(QFrame::Sunken);
        return f;
    };
    auto* commandRow = new QHBoxLayout;
    commandRow->setSpacing(4);
    commandRow->addWidget(BtnFile);
    commandRow->addWidget(BtnList);
    commandRow->addWidget(BtnExit);
    commandRow->addWidget(separator());
    commandRow->addWidget(SpeedButton1);
    commandRow->addWidget(SBFileSave);
    commandRow->addWidget(separator());
    commandRow->addWidget(SBFilter);
    commandRow->addWidget(SBFormat);
    commandRow->addWidget(SBRunSpec);
    commandRow->addWidget(SBCorr);
    commandRow->addWidget(SBHistogram);
    commandRow->addWidget(SBPeaks);
    commandRow->addSpacing(8);
    commandRow->addWidget(ImgFilter);
    commandRow->addWidget(ImgInteg);
    commandRow->addWidget(ImgClip);
    commandRow->addStretch(1);
    commandRow->addWidget(Image2);

    // ---- the picture ----
    Image1 = new ImageView(kImageWidth, kImageHeight, central);
    Image1->setObjectName("Image1");
    Image1->setToolTip(Q("右ｸﾘｯｸ:波形書式"));
    auto* imageFrame = new QFrame(central);
    imageFrame->setFrameShape(QFrame::StyledPanel);
    imageFrame->setFrameShadow(QFrame::Sunken);
    auto* imageLayout = new QVBoxLayout(imageFrame);
    imageLayout->setContentsMargins(1, 1, 1, 1);
    imageLayout->addWidget(Image1);

    // ---- wave scroll ----
    GBScroll = new QGroupBox("Wave Scroll", central);
    GBScroll->setObjectName("GBScroll");
    TrackBar1 = new QSlider(Qt::Horizontal, GBScroll);
    TrackBar1->setObjectName("TrackBar1");
    TrackBar1->setRange(0, 10000);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setTickInterval(500);
    TrackBar1->setEnabled(false);
    TrackBar1->setToolTip(Q("Position"));
    EdPosition = new QLineEdit("0", GBScroll);
    EdPosition->setObjectName("EdPosition");
    EdPosition->setFixedWidth(80);
    EdPosition->setEnabled(false);
    BtnZero = MakeButton(GBScroll, "BtnZero", "0");
    BtnZero->setFixedWidth(28);
    BtnZero->setEnabled(false);
    BtnStart = MakeButton(GBScroll, "BtnStart", "Start(&S)");
    BtnStop = MakeButton(GBScroll, "BtnStop", "Stop(&P)");
    BtnStart->setEnabled(false);
    BtnStop->setEnabled(false);
    CBLowCut = MakeCheck(GBScroll, "CBLowCut", "Filter");
    CBLowCut->setToolTip(Q("フィルタ処理On/Off"));
    RadioGroup1 = new RadioGroup("Step", {"1", "2", "5", "10"}, 4, GBScroll);
    RadioGroup1->setObjectName("RadioGroup1");
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->setEnabled(false);
    Label21 = MakeLabel(GBScroll, "Label21");
    Label21->setVisible(false);
    auto* scrollLayout = new QGridLayout(GBScroll);
    scrollLayout->setContentsMargins(6, 4, 6, 4);
    scrollLayout->setVerticalSpacing(3);
    scrollLayout->addWidget(TrackBar1, 0, 0, 1, 7);
    scrollLayout->addWidget(new QLabel("Position", GBScroll), 1, 0);
    scrollLayout->addWidget(EdPosition, 1, 1);
    scrollLayout->addWidget(BtnZero, 1, 2);
    scrollLayout->addWidget(BtnStart, 1, 3);
    scrollLayout->addWidget(BtnStop, 1, 4);
    scrollLayout->addWidget(CBLowCut, 1, 5);
    scrollLayout->addWidget(RadioGroup1, 2, 0, 1, 7);
    scrollLayout->setColumnStretch(6, 1);

    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(imageFrame, 0, Qt::AlignLeft);
    left->addWidget(GBScroll);
    left->addStretch(1);

    // ---- read-outs ----
    auto* info = new QFrame(central);
    info->setObjectName("InfoPanel");
    info->setFrameShape(QFrame::StyledPanel);
    auto* infoLayout = new QGridLayout(info);
    infoLayout->setContentsMargins(6, 3, 6, 3);
    infoLayout->setHorizontalSpacing(6);
    infoLayout->setVerticalSpacing(1);
    Label1 = MakeLabel(info, "Label1");
    Label2 = MakeLabel(info, "Label2");
    Label3 = MakeLabel(info, "Label3");
    Label4 = MakeLabel(info, "Label4");
    Label11 = MakeLabel(info, "Label11");
    Label12 = MakeLabel(info, "Label12");
    Label16 = MakeLabel(info, "Label16");
    Label20 = MakeLabel(info, "Label20");
    Label24 = MakeLabel(info, "Label24");
    Label25 = MakeLabel(info, "Label25");
    Label28 = MakeLabel(info, "Label28");
    Label30 = MakeLabel(info, "Label30", "s");
    struct ReadOut {
        const char* Caption;
        QLabel* Value;
        int Row, Column;
    };
    const ReadOut readOuts[] = {
        {"FILE", Label1, 0, 0},       {"CHANNEL(s)", Label2, 1, 0},  {"DATA", Label3, 2, 0},
        {"SAMPLING", Label4, 3, 0},   {"DURATION", Label24, 4, 0},   {"INTERVAL", Label25, 5, 0},
        {"TITLE", Label11, 0, 1},     {"DATE/TIME", Label12, 1, 1},  {"FORMAT", Label28, 2, 1},
        {"TIME UNIT", Label30, 3, 1}, {"FFT/MEM DT", Label16, 4, 1}, {"FFT/MEM T", Label20, 5, 1},
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
    GBSpect = new QGroupBox("Spectrum", central);
    GBSpect->setObjectName("GBSpect");
    BtnRun = MakeButton(GBSpect, "BtnRun", "Run (&R)");
    BtnRun->setToolTip(Q("スペクトラム表示"));
    BtnRun->setMinimumHeight(30);
    BtnBack = MakeButton(GBSpect, "BtnBack", "Back(&B)");
    BtnBack->setToolTip(Q("Skip前のデータに戻る"));
    BtnPrev = MakeButton(GBSpect, "BtnPrev", "←");
    BtnNext = MakeButton(GBSpect, "BtnNext", "→");
    for (QPushButton* b : {BtnRun, BtnBack, BtnPrev, BtnNext}) b->setEnabled(false);
    for (QPushButton* b : {BtnRun, BtnBack}) b->setMinimumWidth(84);
    for (QPushButton* b : {BtnPrev, BtnNext}) {
        b->setMinimumWidth(0);
        b->setFixedWidth(42);
    }
    CBSkip = MakeCheck(GBSpect, "CBSkip", "Skip", true);
    CB2D = MakeCheck(GBSpect, "CB2D", "2D");
    CB2D->setEnabled(false);
    auto* spectLayout = new QGridLayout(GBSpect);
    spectLayout->setContentsMargins(6, 4, 6, 4);
    spectLayout->setSpacing(3);
    spectLayout->addWidget(BtnRun, 0, 0, 1, 2);
    spectLayout->addWidget(BtnBack, 1, 0, 1, 2);
    spectLayout->addWidget(BtnPrev, 2, 0);
    spectLayout->addWidget(BtnNext, 2, 1);
    spectLayout->addWidget(CBSkip, 3, 0);
    spectLayout->addWidget(CB2D, 3, 1);

    RGPoints = new RadioGroup("Points", {" 512", "1024", "2048", "4096", "8192"}, 1, central);
    RGPoints->setObjectName("RGPoints");
    RGPoints->SetItemIndex(1);
    RGHanning = new RadioGroup("Smooth", {" 0", " 1", " 2", " 5", "10"}, 1, central);
    RGHanning->setObjectName("RGHanning");
    RGHanning->SetItemIndex(0);
    RGAmp = new RadioGroup("Type", {"Amp", "Power"}, 2, central);
    RGAmp->setObjectName("RGAmp");
    RGAmp->SetItemIndex(0);

    GBFFT = new QGroupBox("FFT/MEM", central);
    GBFFT->setObjectName("GBFFT");
    CBMEM = MakeCheck(GBFFT, "CBMEM", "MEM");
    CBMEM->setToolTip(Q("MEM スペクトラム"));
    CBMEM->setEnabled(false);
    CBMEMmin = MakeCheck(GBFFT, "CBMEMmin", "min");
    CBMEMmin->setToolTip(Q("ﾃﾞｰﾀｻｲｽﾞ縮小"));
    CheckBox1 = MakeCheck(GBFFT, "CheckBox1", "Abs F Coeff");
    CBDCCut = MakeCheck(GBFFT, "CBDCCut", "DC Cut");
    CBDCCut->setToolTip(Q("直流成分除去"));
    CBFFTSave = MakeCheck(GBFFT, "CBFFTSave", "File Save");
    CBFFTSave->setToolTip(Q("スペクトル解析結果をCSVファイルで保存"));
    auto* fftLayout = new QGridLayout(GBFFT);
    fftLayout->setContentsMargins(6, 4, 6, 4);
    fftLayout->setVerticalSpacing(2);
    fftLayout->setHorizontalSpacing(4);
    fftLayout->addWidget(CBMEM, 0, 0);
    fftLayout->addWidget(CBMEMmin, 0, 1);
    fftLayout->addWidget(CheckBox1, 1, 0, 1, 2);
    fftLayout->addWidget(CBDCCut, 2, 0, 1, 2);
    fftLayout->addWidget(CBFFTSave, 3, 0, 1, 2);

    auto* typeAndFft = new QVBoxLayout;
    typeAndFft->setSpacing(2);
    typeAndFft->addWidget(RGAmp);
    typeAndFft->addWidget(GBFFT);
    auto* controlsRow = new QHBoxLayout;
    controlsRow->setSpacing(4);
    controlsRow->addWidget(GBSpect);
    controlsRow->addWidget(RGPoints);
    controlsRow->addWidget(RGHanning);
    controlsRow->addLayout(typeAndFft);

    GBChannel = new QGroupBox("Channel", central);
    GBChannel->setObjectName("GBChannel");
    auto* channelLayout = new QHBoxLayout(GBChannel);
    channelLayout->setContentsMargins(6, 2, 6, 2);
    const auto colors = DefaultChannelColors();
    for (int k = 0; k < kMaxChannels; ++k) {
        CBCh[k] = MakeCheck(GBChannel, ("CBCh" + std::to_string(k + 1)).c_str(),
                            std::to_string(k + 1).c_str(), k == 0);
        CBCh[k]->setStyleSheet(
            QString("QCheckBox { color: %1; font-weight: bold; }").arg(ColorName(colors[k])));
        channelLayout->addWidget(CBCh[k]);
    }

    // ---- value grid with its headings ----
    Data = MakeLabel(central, "Data", "Data");
    QFont bold = Data->font();
    bold.setBold(true);
    Data->setFont(bold);
    auto* headings = new QHBoxLayout;
    headings->setSpacing(0);
    Data0 = MakeLabel(central, "Data0", "No");
    Data1 = MakeLabel(central, "Data1", "Data1");
    Data2 = MakeLabel(central, "Data2", "Data2");
    Data3 = MakeLabel(central, "Data3", "Data3");
    Data4 = MakeLabel(central, "Data4", "Data4");
    for (QLabel* l : {Data0, Data1, Data2, Data3, Data4}) {
        l->setFixedWidth(76);
        l->setStyleSheet("color: #404040;");
        headings->addWidget(l);
    }
    headings->addStretch(1);
    StringGrid1 = new StringGrid(central);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->SetColCount(5);
    StringGrid1->SetRowCount(5);
    StringGrid1->SetFixedRows(1);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(info);
    right->addLayout(controlsRow);
    right->addWidget(GBChannel);
    right->addWidget(Data);
    right->addLayout(headings);
    right->addWidget(StringGrid1, 1);

    auto* body = new QHBoxLayout;
    body->setSpacing(8);
    body->addLayout(left);
    body->addLayout(right, 1);

    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(6, 4, 6, 6);
    outer->setSpacing(4);
    outer->addLayout(commandRow);
    outer->addLayout(body, 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1);
    Timer2 = new QTimer(this);
    Timer2->setObjectName("Timer2");
    Timer2->setInterval(100);
    Timer3 = new QTimer(this);
    Timer3->setObjectName("Timer3");
    Timer3->setInterval(200);
}

void TForm1::ConnectCommands() {
    Bind(BtnFile, &QPushButton::clicked, [this] { BtnFileClick(); });
    Bind(Open1, &QAction::triggered, [this] { BtnFileClick(); });
    Bind(CSVDef, &QAction::triggered, [this] { FormatTypeClick(FormatType::CsvDefault); });
    Bind(CSVGPL, &QAction::triggered, [this] { FormatTypeClick(FormatType::CsvGpl); });
    Bind(CSVArb, &QAction::triggered, [this] { FormatTypeClick(FormatType::CsvArbitrary); });
    Bind(SPC51, &QAction::triggered, [this] { FormatTypeClick(FormatType::Spc51); });
    Bind(SPC35, &QAction::triggered, [this] { FormatTypeClick(FormatType::Spc35); });
    Bind(BtnList, &QPushButton::clicked, [this] { BtnListClick(); });
    Bind(BtnExit, &QPushButton::clicked, [this] { ExitCommand(); });
    Bind(Exit1, &QAction::triggered, [this] { ExitCommand(); });

    Bind(BtnStart, &QPushButton::clicked, [this] { BtnStartClick(); });
    Bind(BtnStop, &QPushButton::clicked, [this] { BtnStopClick(); });
    Bind(Timer1, &QTimer::timeout, [this] { Timer1Timer(); });
    Bind(Timer2, &QTimer::timeout, [this] { Timer2Timer(); });
    Bind(Timer3, &QTimer::timeout, [this] { Timer3Timer(); });
    Bind(TrackBar1, &QSlider::valueChanged, [this] { TrackBar1Change(); });
    Bind(EdPosition, &QLineEdit::textChanged, [this] { EdPositionChange(); });
    Bind(BtnZero, &QPushButton::clicked, [this] { BtnZeroClick(); });
    Bind(BtnNext, &QPushButton::clicked, [this] { BtnNextClick(); });
    Bind(BtnPrev, &QPushButton::clicked, [this] { BtnPrevClick(); });
    Bind(RadioGroup1, &RadioGroup::Clicked, [this] { RadioGroup1Click(); });
    Bind(N11, &QAction::triggered, [this] { TimeScaleClick(0); });
    Bind(N21, &QAction::triggered, [this] { TimeScaleClick(1); });
    Bind(N41, &QAction::triggered, [this] { TimeScaleClick(2); });
    Bind(N82, &QAction::triggered, [this] { TimeScaleClick(3); });
    Bind(AmpScale1, &QAction::triggered, [this] {
        AmpScale1->setChecked(true);
        AmpScale1Click();
    });
    Bind(Color1, &QAction::triggered, [this] {
        Color1->setChecked(!Color1->isChecked());  // the command does its own toggling
        Color1Click();
    });
    Bind(Title1, &QAction::triggered, [this] {
        Title1->setChecked(!Title1->isChecked());
        Title1Click();
    });
    Bind(Filename1, &QAction::triggered, [this] {
        Filename1->setChecked(!Filename1->isChecked());
        Filename1Click();
    });
    Bind(ChannelComment1, &QAction::triggered, [this] {
        ChannelComment1->setChecked(!ChannelComment1->isChecked());
        ChannelComment1Click();
    });
    Bind(Scaling1, &QAction::triggered, [this] {
        Scaling1->setChecked(!Scaling1->isChecked());
        Scaling1Click();
    });
    connect(Image1, &ImageView::MouseReleased, this,
            [this](Qt::MouseButton b, int x, int y) { Guarded([=, this] { Image1MouseUp(b, x, y); }); });
    connect(Image1, &ImageView::MouseMoved, this,
            [this](int x, int y) { Guarded([=, this] { Image1MouseMove(x, y); }); });
    connect(Image1, &ImageView::MousePressed, this,
            [this](Qt::MouseButton b, int x, int y) { Guarded([=, this] { Image1MouseDown(b, x, y); }); });
    Bind(Image2, &ClickLabel::Clicked, [this] { ShowVersion(); });

    Bind(SBFileSave, &QToolButton::clicked, [this] { SBFileSaveClick(); });
    Bind(SpeedButton1, &QToolButton::clicked, [this] { SpeedButton1Click(); });
    Bind(Copy1, &QAction::triggered, [this] { Copy1Click(); });

    Bind(CBLowCut, &QCheckBox::clicked, [this] { CBLowCutClick(); });
    Bind(ImgFilter, &ClickLabel::Clicked, [this] { None2Click(); });
    Bind(ImgInteg, &ClickLabel::Clicked, [this] { IntegOffClick(); });
    Bind(ImgClip, &ClickLabel::Clicked, [this] { ClippingClick(PCNT100); });
    Bind(None2, &QAction::triggered, [this] { None2Click(); });
    Bind(Default1, &QAction::triggered, [this] { Default1Click(); });
    Bind(Arbitrary1, &QAction::triggered, [this] { Arbitrary1Click(); });
    Bind(IntegOn, &QAction::triggered, [this] { IntegOnClick(); });
    Bind(IntegOff, &QAction::triggered, [this] { IntegOffClick(); });
    for (QAction* a : {PCNT100, PCNT75, PCNT50, PCNT25})
        Bind(a, &QAction::triggered, [this, a] { ClippingClick(a); });

    for (QAction* a : {Nnone, Nquoto, Nhalf, Nfull})
        Bind(a, &QAction::triggered, [this, a] { SkipClick(a); });
    for (QAction* a : {NotAvailable, AtoB, BtoA}) Bind(a, &QAction::triggered, [this, a] { RatioClick(a); });
    for (QAction* a : {ZeroAverage1, SubAxis1, BroadLine1, RightSideComment1})
        Bind(a, &QAction::triggered, [this, a] {
            a->setChecked(!a->isChecked());
            SpectrumOptionClick(a);
        });
    Bind(AbsFourier, &QAction::triggered, [this] { AbsFourierClick(); });
    Bind(CheckBox1, &QCheckBox::clicked, [this] {
        AbsFourier->setChecked(CheckBox1->isChecked());
        state_.Spectrum.AbsCoeffMode = CheckBox1->isChecked();
    });
    Bind(DataComment1, &QAction::triggered, [this] {
        DataComment1->setChecked(!DataComment1->isChecked());
        DataComment1Click();
    });
    Bind(CBMEMmin, &QCheckBox::clicked, [this] { CBMEMminClick(); });
    Bind(BtnBack, &QPushButton::clicked, [this] { BtnBackClick(); });

    Bind(BtnRun, &QPushButton::clicked, [this] { BtnRunClick(); });
    Bind(RGPoints, &RadioGroup::Clicked, [this] { RGPointsClick(); });
    Bind(RGHanning, &RadioGroup::Clicked, [this] { RGHanningClick(); });
    Bind(RGAmp, &RadioGroup::Clicked, [this] { RGAmpClick(); });
    Bind(CB2D, &QCheckBox::clicked, [this] { CB2DClick(); });
    Bind(SBFilter, &QToolButton::clicked, [this] { SBFilterClick(); });
    Bind(SBFormat, &QToolButton::clicked, [this] { SBFormatClick(); });
    Bind(Format1, &QAction::triggered, [this] { SBFormatClick(); });
    Bind(SBRunSpec, &QToolButton::clicked, [this] { SBRunSpecClick(); });
    Bind(SBCorr, &QToolButton::clicked, [this] { SBCorrClick(); });
    Bind(SBHistogram, &QToolButton::clicked, [this] { SBHistogramClick(); });
    Bind(SpectralPeaks1, &QAction::triggered, [this] { SBHistogramClick(); });
    Bind(SBPeaks, &QToolButton::clicked, [this] { SBPeaksClick(); });
    Bind(Statistics1, &QAction::triggered, [this] { Statistics1Click(); });
    Bind(Running1, &QAction::triggered, [this] { Running1Click(); });
    Bind(FileComment1, &QAction::triggered, [this] { FileComment1Click(); });
    Bind(FConvert, &QAction::triggered, [this] { FConvertClick(); });
    Bind(AnalizedData1, &QAction::triggered, [this] { AnalizedData1Click(); });
    Bind(AllData1, &QAction::triggered, [this] { AllData1Click(); });
    Bind(Saveas1, &QAction::triggered, [this] { Saveas1Click(); });

    Bind(Howto1, &QAction::triggered, [this] { ShowHowto(); });
    Bind(Readmehtm1, &QAction::triggered, [this] { OpenManualPage(); });
    Bind(Version2, &QAction::triggered, [this] { ShowVersion(); });
}

void TForm1::FormCreate() {
    // The date of the program file itself, as the file system has it.
    QDate date = QFileInfo(QString::fromStdString(executablePath_)).lastModified().date();
    if (!date.isValid()) date = QDate::currentDate();
    const std::string ymd = StrPrintf("%d/%02d/%02d", date.year(), date.month(), date.day());

    for (QLabel* l :
         {Label1, Label2, Label3, Label4, Label11, Label12, Label16, Label20, Label21, Label24, Label25})
        l->clear();
    Label28->setText("CSV(Default)");
    state_.Wave.WaveWidth = 400;

    DrawStartupText(Picture(), date.year(), date.month(), date.day());

    state_.ProgramDate = ymd;
    state_.Record.FilePath = state_.DefaultFileName;
    state_.Wave.DisplayKind = kShowStartup;
    BtnBack->setEnabled(false);
    // Seconds and hertz until a record says otherwise; the read-outs stay empty.
    second->setChecked(true);
    state_.Record.Time = TimeUnit::Seconds;
    state_.BandPass.UnitText = "Hz";
    Label30->setText("s");
}

void TForm1::DisableAnalysisControls() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             BtnFile, BtnList, BtnExit, CBLowCut, BtnStart, BtnStop, BtnRun, BtnBack, RGAmp, RGPoints,
             RGHanning, GBSpect, GBChannel, GBFFT, SBHistogram, SBPeaks, SBRunSpec, SBCorr})
        w->setEnabled(false);
}

void TForm1::EnableAnalysisControls() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{BtnFile, BtnList, BtnExit, CBLowCut, BtnStart, BtnStop, BtnRun,
                                         BtnBack, RGAmp, RGPoints, RGHanning, GBSpect, GBChannel, GBFFT})
        w->setEnabled(true);
    const bool frequencyAxis = !state_.Activity.PeriodAxis;
    SBRunSpec->setEnabled(frequencyAxis);
    SBPeaks->setEnabled(frequencyAxis);
    SBHistogram->setEnabled(frequencyAxis);
    SBCorr->setEnabled(true);
}

void TForm1::ExitCommand() {
    if (ThePrompts().Message("Spectral Analyzer WAVORA terminates?     ", "Spectral Analyzer WAVORA",
                             MessageIcon::Question, PromptButtons::OkCancel) != PromptAnswer::Ok)
        return;
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    Timer2->stop();
    Timer3->stop();
    // The secondary windows end with the main window.
    if (windows_) {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 windows_->Listup, windows_->AboutBox, windows_->Howto, windows_->Running, windows_->Process,
                 windows_->BandPass, windows_->Statistics, windows_->Comment, windows_->Param1,
                 windows_->FileConvert, windows_->Peaks, windows_->PkHelp, windows_->AmpScale,
                 windows_->TWODPlot, windows_->CSVArbitrary})
            if (w) w->hide();
    }
    event->accept();
}

void TForm1::ShowVersion() {
    Windows().AboutBox->exec();
}

void TForm1::ShowHowto() {
    Windows().Howto->show();
    Windows().Howto->raise();
}

std::string TForm1::ManualPagePath() const {
    const QString appDir = QFileInfo(QString::fromStdString(executablePath_)).absolutePath();
    const QStringList candidates = {
        appDir + "/manual.html",
        appDir + "/docs/manual.html",
        appDir + "/../share/doc/wavora/manual.html",
        QString::fromUtf8(WAVORA_SOURCE_DIR) + "/docs/manual.html",
    };
    for (const QString& c : candidates)
        if (!c.startsWith("/docs") && QFileInfo(c).isFile())
            return QDir::cleanPath(QFileInfo(c).absoluteFilePath()).toStdString();
    return {};
}

void TForm1::OpenManualPage() {
    const std::string path = ManualPagePath();
    if (path.empty() || !OpenDocument || !OpenDocument(path))
        ThePrompts().Message("インターネットエクスプローラの起動に失敗しました　　　　",
                             "readme.htm呼び出しエラー", MessageIcon::Warning, PromptButtons::Ok);
}

void TForm1::Guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        loading_ = false;
        HideProcessing();
        ThePrompts().Message(e.what(), kApplicationTitle, MessageIcon::Warning, PromptButtons::Ok);
    } catch (...) {
        loading_ = false;
        HideProcessing();
        ThePrompts().Message("An unexpected error stopped the command.", kApplicationTitle,
                             MessageIcon::Warning, PromptButtons::Ok);
    }
}

void TForm1::ShowProcessing(const std::string& what) {
    if (!windows_ || !windows_->Process) return;
    // The notice is painted when its text changes and then at most a few times a second.
    static QElapsedTimer sincePaint;
    TProcess& p = *windows_->Process;
    if (p.isVisible() && p.Label2->text() == QString::fromStdString(what) && sincePaint.isValid() &&
        sincePaint.elapsed() < 200)
        return;
    p.ShowNow(what);
    sincePaint.restart();
}

void TForm1::HideProcessing() {
    if (windows_ && windows_->Process && windows_->Process->isVisible()) windows_->Process->close();
}

}  // namespace wavora
