#include "app/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <exception>

#include "app/app_info.h"
#include "app/app_windows.h"
#include "app/auto_skip_controller.h"
#include "app/correlation_controller.h"
#include "app/scroll_activity.h"
#include "app/small_windows.h"
#include "display/click_label.h"
#include "display/image_view.h"
#include "display/radio_group.h"
#include "display/string_grid.h"
#include "draw/startup_picture.h"
#include "record/text_format.h"

#ifndef WAVORA_SOURCE_DIR
#define WAVORA_SOURCE_DIR ""
#endif

namespace wavora {

namespace {

constexpr std::array<int, 5> kSmoothChoices = {0, 1, 2, 5, 10};
constexpr std::array<int, 4> kTimeScales = {1, 2, 4, 8};

template <size_t N>
int IndexOf(const std::array<int, N>& choices, int value) {
    for (size_t i = 0; i < N; ++i)
        if (choices[i] == value) return static_cast<int>(i);
    return 0;
}

void Check(QAction* a, bool on) {
    QSignalBlocker block(a);
    a->setChecked(on);
}

void Check(QCheckBox* b, bool on) {
    QSignalBlocker block(b);
    b->setChecked(on);
}

void SetText(QLabel* l, const std::string& utf8) {
    l->setText(QString::fromStdString(utf8));
}

// The first `n` characters of a UTF-8 text.
std::string Utf8Prefix(const std::string& s, size_t n) {
    size_t count = 0, i = 0;
    for (; i < s.size(); ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            if (count == n) break;
            ++count;
        }
    }
    return s.substr(0, i);
}

}  // namespace

TForm1::TForm1(Session& session, const std::string& executablePath, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      state_(session.State),
      prompts_(session.Prompt),
      executablePath_(executablePath) {
    setObjectName("TForm1");
    setWindowTitle(QString::fromUtf8(kMainWindowCaption));
    OpenDocument = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };
    BuildMainWindowControls(*this, ui_);
    scroll_ = std::make_unique<ScrollActivity>(session_, *this, this);
    // Each step of the automatic skipping analysis is a run of this window that shows no message
    // itself: the analysis stops its timer first, then the window shows it.
    autoSkip_ = std::make_unique<AutoSkipController>(
        session_,
        [this] {
            const RunReport run = RunSpectrum(false);
            return AutoSkipRunReport{run.EndOfData, run.Error};
        },
        this);
    correlation_ = std::make_unique<CorrelationController>(session_, this);
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
    return ui_.Image1->Picture();
}

AppWindows& TForm1::Windows() const {
    return *windows_;
}

void TForm1::ConnectCommands() {
    const MainWindowControls& u = ui_;
    Bind(u.BtnFile, &QPushButton::clicked, [this] { BtnFileClick(); });
    Bind(u.Open1, &QAction::triggered, [this] { BtnFileClick(); });
    const std::pair<QAction*, FormatType> formats[] = {{u.CSVDef, FormatType::CsvDefault},
                                                       {u.CSVGPL, FormatType::CsvGpl},
                                                       {u.CSVArb, FormatType::CsvArbitrary},
                                                       {u.SPC51, FormatType::Spc51},
                                                       {u.SPC35, FormatType::Spc35}};
    for (auto [item, type] : formats)
        Bind(item, &QAction::triggered, [this, type = type] { FormatTypeClick(type); });
    Bind(u.BtnList, &QPushButton::clicked, [this] { BtnListClick(); });
    Bind(u.BtnExit, &QPushButton::clicked, [this] { ExitCommand(); });
    Bind(u.Exit1, &QAction::triggered, [this] { ExitCommand(); });

    Bind(u.BtnStart, &QPushButton::clicked, [this] { BtnStartClick(); });
    Bind(u.BtnStop, &QPushButton::clicked, [this] { BtnStopClick(); });
    Bind(correlation_->Timer2, &QTimer::timeout, [this] { Timer2Timer(); });
    Bind(autoSkip_->Timer3, &QTimer::timeout, [this] { Timer3Timer(); });
    Bind(u.TrackBar1, &QSlider::valueChanged, [this](int v) { TrackBar1Change(v); });
    Bind(u.EdPosition, &QLineEdit::textEdited,
         [this](const QString& t) { EdPositionChange(t.toStdString()); });
    Bind(u.BtnZero, &QPushButton::clicked, [this] { BtnZeroClick(); });
    Bind(u.BtnNext, &QPushButton::clicked, [this] { BtnNextClick(); });
    Bind(u.BtnPrev, &QPushButton::clicked, [this] { BtnPrevClick(); });
    Bind(u.RadioGroup1, &RadioGroup::Clicked, [this](int item) { RadioGroup1Click(item); });
    const QAction* scales[] = {u.N11, u.N21, u.N41, u.N82};
    for (int i = 0; i < 4; ++i) Bind(scales[i], &QAction::triggered, [this, i] { TimeScaleClick(i); });
    Bind(u.AmpScale1, &QAction::triggered, [this] { AmpScale1Click(); });
    Bind(u.Color1, &QAction::triggered, [this](bool on) { Color1Click(on); });
    Bind(u.Title1, &QAction::triggered, [this](bool on) { Title1Click(on); });
    Bind(u.Filename1, &QAction::triggered, [this](bool on) { Filename1Click(on); });
    Bind(u.ChannelComment1, &QAction::triggered, [this](bool on) { ChannelComment1Click(on); });
    Bind(u.Scaling1, &QAction::triggered, [this](bool on) { Scaling1Click(on); });
    Bind(u.Image1, &ImageView::MouseReleased,
         [this](Qt::MouseButton b, int x, int y) { Image1MouseUp(b, x, y); });
    Bind(u.Image1, &ImageView::MouseMoved, [this](int x, int y) { Image1MouseMove(x, y); });
    Bind(u.Image1, &ImageView::MousePressed,
         [this](Qt::MouseButton b, int x, int y) { Image1MouseDown(b, x, y); });
    Bind(u.Image2, &ClickLabel::Clicked, [this] { ShowVersion(); });

    Bind(u.SBFileSave, &QToolButton::clicked, [this] { SBFileSaveClick(); });
    Bind(u.SpeedButton1, &QToolButton::clicked, [this] { SpeedButton1Click(); });
    Bind(u.Copy1, &QAction::triggered, [this] { Copy1Click(); });

    Bind(u.CBLowCut, &QCheckBox::clicked, [this](bool on) { CBLowCutClick(on); });
    Bind(u.CBDCCut, &QCheckBox::clicked, [this](bool on) { CBDCCutClick(on); });
    Bind(u.ImgFilter, &ClickLabel::Clicked, [this] { None2Click(); });
    Bind(u.ImgInteg, &ClickLabel::Clicked, [this] { IntegOffClick(); });
    Bind(u.ImgClip, &ClickLabel::Clicked, [this] { ClippingClick(0); });
    Bind(u.None2, &QAction::triggered, [this] { None2Click(); });
    Bind(u.Default1, &QAction::triggered, [this] { Default1Click(); });
    Bind(u.Arbitrary1, &QAction::triggered, [this] { Arbitrary1Click(); });
    Bind(u.IntegOn, &QAction::triggered, [this] { IntegOnClick(); });
    Bind(u.IntegOff, &QAction::triggered, [this] { IntegOffClick(); });
    const QAction* clips[] = {u.PCNT100, u.PCNT75, u.PCNT50, u.PCNT25};
    for (int i = 0; i < 4; ++i) Bind(clips[i], &QAction::triggered, [this, i] { ClippingClick(i); });

    for (int k = 0; k < kMaxChannels; ++k)
        Bind(u.CBCh[k], &QCheckBox::clicked, [this, k](bool on) { CBChClick(k, on); });
    Bind(u.RGPoints, &RadioGroup::Clicked, [this](int item) { RGPointsClick(item); });
    Bind(u.RGHanning, &RadioGroup::Clicked, [this](int item) { RGHanningClick(item); });
    Bind(u.RGAmp, &RadioGroup::Clicked, [this](int item) { RGAmpClick(item); });
    Bind(u.CBMEM, &QCheckBox::clicked, [this](bool on) { CBMEMClick(on); });
    Bind(u.CBMEMmin, &QCheckBox::clicked, [this](bool on) { CBMEMminClick(on); });
    Bind(u.CheckBox1, &QCheckBox::clicked, [this](bool on) { CheckBox1Click(on); });
    Bind(u.CBFFTSave, &QCheckBox::clicked, [this](bool on) { CBFFTSaveClick(on); });
    Bind(u.CBSkip, &QCheckBox::clicked, [this](bool on) { CBSkipClick(on); });
    const std::pair<QAction*, int> skips[] = {{u.Nnone, 0}, {u.Nquoto, 4}, {u.Nhalf, 2}, {u.Nfull, 1}};
    for (auto [item, divisor] : skips)
        Bind(item, &QAction::triggered, [this, divisor = divisor] { SkipClick(divisor); });
    const QAction* ratios[] = {u.NotAvailable, u.AtoB, u.BtoA};
    for (int i = 0; i < 3; ++i) Bind(ratios[i], &QAction::triggered, [this, i] { RatioClick(i); });
    Bind(u.ZeroAverage1, &QAction::triggered, [this](bool on) { ZeroAverage1Click(on); });
    Bind(u.SubAxis1, &QAction::triggered, [this](bool on) { SubAxis1Click(on); });
    Bind(u.BroadLine1, &QAction::triggered, [this](bool on) { BroadLine1Click(on); });
    Bind(u.RightSideComment1, &QAction::triggered, [this](bool on) { RightSideComment1Click(on); });
    Bind(u.AbsFourier, &QAction::triggered, [this](bool on) { AbsFourierClick(on); });
    Bind(u.DataComment1, &QAction::triggered, [this](bool on) { DataComment1Click(on); });
    Bind(u.BtnBack, &QPushButton::clicked, [this] { BtnBackClick(); });

    Bind(u.BtnRun, &QPushButton::clicked, [this] { BtnRunClick(); });
    Bind(u.CB2D, &QCheckBox::clicked, [this](bool on) { CB2DClick(on); });
    Bind(u.SBFilter, &QToolButton::clicked, [this] { SBFilterClick(); });
    Bind(u.SBFormat, &QToolButton::clicked, [this] { SBFormatClick(); });
    Bind(u.Format1, &QAction::triggered, [this] { SBFormatClick(); });
    Bind(u.SBRunSpec, &QToolButton::clicked, [this] { SBRunSpecClick(); });
    Bind(u.SBCorr, &QToolButton::clicked, [this] { SBCorrClick(); });
    Bind(u.SBHistogram, &QToolButton::clicked, [this] { SBHistogramClick(); });
    Bind(u.SpectralPeaks1, &QAction::triggered, [this] { SBHistogramClick(); });
    Bind(u.SBPeaks, &QToolButton::clicked, [this] { SBPeaksClick(); });
    Bind(u.Statistics1, &QAction::triggered, [this](bool on) { Statistics1Click(on); });
    Bind(u.Running1, &QAction::triggered, [this] { Running1Click(); });
    Bind(u.FileComment1, &QAction::triggered, [this] { FileComment1Click(); });
    Bind(u.FConvert, &QAction::triggered, [this] { FConvertClick(); });
    Bind(u.AnalizedData1, &QAction::triggered, [this] { AnalizedData1Click(); });
    Bind(u.AllData1, &QAction::triggered, [this] { AllData1Click(); });
    Bind(u.Saveas1, &QAction::triggered, [this] { Saveas1Click(); });

    Bind(u.Howto1, &QAction::triggered, [this] { ShowHowto(); });
    Bind(u.Readmehtm1, &QAction::triggered, [this] { OpenManualPage(); });
    Bind(u.Version2, &QAction::triggered, [this] { ShowVersion(); });

    // What other windows change, this window shows.
    connect(&session_.Signals, &SessionSignals::optionsChanged, this, [this] { SyncFromState(); });
    connect(&session_.Signals, &SessionSignals::positionChanged, this, [this] { SyncFromState(); });
    connect(&session_.Signals, &SessionSignals::recordChanged, this, [this] { SyncFromState(); });
    connect(&session_.Signals, &SessionSignals::recordTextsChanged, this, [this] { SyncFromState(); });
}

void TForm1::FormCreate() {
    // The date of the program file itself, as the file system has it.
    QDate date = QFileInfo(QString::fromStdString(executablePath_)).lastModified().date();
    if (!date.isValid()) date = QDate::currentDate();

    for (QLabel* l : {ui_.Label1, ui_.Label2, ui_.Label3, ui_.Label4, ui_.Label11, ui_.Label12, ui_.Label16,
                      ui_.Label20, ui_.Label21, ui_.Label24, ui_.Label25})
        l->clear();
    state_.Wave.WaveWidth = 400;

    DrawStartupText(Picture(), date.year(), date.month(), date.day());

    state_.ProgramDate = StrPrintf("%d/%02d/%02d", date.year(), date.month(), date.day());
    state_.Record.FilePath = state_.DefaultFileName;
    state_.Wave.DisplayKind = kShowStartup;
    ui_.BtnBack->setEnabled(false);
    // Seconds and hertz until a record says otherwise; the read-outs stay empty.
    state_.Record.Time = TimeUnit::Seconds;
    SyncFromState();
}

void TForm1::SyncFromState() {
    const MainWindowControls& u = ui_;
    const SessionState& s = state_;
    const WaveRecord& r = s.Record;

    // File and processing choices.
    const std::pair<QAction*, FormatType> formats[] = {{u.CSVDef, FormatType::CsvDefault},
                                                       {u.CSVGPL, FormatType::CsvGpl},
                                                       {u.CSVArb, FormatType::CsvArbitrary},
                                                       {u.SPC51, FormatType::Spc51},
                                                       {u.SPC35, FormatType::Spc35}};
    for (auto [item, type] : formats) Check(item, s.Load.Format == type);
    u.Label28->setText(FormatCaption(s.Load.Format));
    Check(u.None2, s.Filter.Mode == FilterMode::Unfiltered);
    Check(u.Default1, s.Filter.Mode == FilterMode::Default);
    Check(u.Arbitrary1, s.Filter.Mode == FilterMode::Arbitrary);
    Check(u.CBLowCut, s.Filter.Active);
    u.ImgFilter->setVisible(s.FilterIndicator);
    Check(u.IntegOn, s.Load.IntegrationOn);
    Check(u.IntegOff, !s.Load.IntegrationOn);
    u.ImgInteg->setVisible(s.Load.IntegrationOn);
    const float clip = s.Load.ClipOn ? s.Load.ClipFraction : 1.0f;
    Check(u.PCNT100, clip == 1.0f);
    Check(u.PCNT75, clip == 0.95f);
    Check(u.PCNT50, clip == 0.90f);
    Check(u.PCNT25, clip == 0.80f);
    u.ImgClip->setVisible(s.Load.ClipOn);
    Check(u.CBDCCut, s.Load.DcCut);

    // The time unit and the record's read-outs.
    QAction* units[] = {u.second, u.milisecond, u.microsecond, u.nanosecond};
    for (int i = 0; i < 4; ++i) Check(units[i], i == static_cast<int>(r.Time));
    u.Label30->setText(QString::fromUtf8(r.TimeText()));
    if (s.DataLoaded) {
        SetText(u.Label1, r.FileName);
        u.Label2->setText(QString::number(r.ChannelCount));
        u.Label3->setText(QString::number(r.SampleCount));
        SetText(u.Label4, StrPrintf("%d/%s", r.SamplingRate, r.TimeText()));
        SetText(u.Label24, StrPrintf("%.2f (%s)", static_cast<double>(r.SampleCount * r.SamplingInterval),
                                     r.TimeText()));
        SetText(u.Label25, StrPrintf("%.4f (%s)", static_cast<double>(r.SamplingInterval), r.TimeText()));
        SetText(u.Label11, r.Title);
        SetText(u.Label12, Utf8Prefix(r.DateText, 19));
        u.Label21->setText(QString::number(s.Position));
    }
    SetText(u.Label16, s.RunIntervalText);
    SetText(u.Label20, s.RunDurationText);

    // Waveform display.
    u.RadioGroup1->SetItemIndex(IndexOf(kStepChoices, s.Analysis.Step));
    u.RadioGroup1->setTitle(
        s.DataLoaded
            ? QString::fromStdString(StrPrintf(
                  "Step %.4f [%s]", s.Step() * static_cast<double>(r.SamplingInterval), r.TimeText()))
            : QString("Step"));
    const QAction* scales[] = {u.N11, u.N21, u.N41, u.N82};
    for (int i = 0; i < 4; ++i) Check(const_cast<QAction*>(scales[i]), kTimeScales[i] == s.Wave.TimeScale);
    Check(u.Color1, s.ColorLines);
    Check(u.Title1, s.Wave.ShowTitle);
    Check(u.Filename1, s.Wave.ShowFileName);
    Check(u.ChannelComment1, s.Wave.ShowChannelComment);
    Check(u.Scaling1, s.Wave.ShowScaling);

    // Analysis settings.
    const AnalysisSettings& a = s.Analysis;
    for (int k = 0; k < kMaxChannels; ++k) Check(u.CBCh[k], a.ChannelFlags[k]);
    u.RGPoints->SetItemIndex(IndexOf(kPointsChoices, a.PointsChoice));
    if (a.MemMin)
        u.RGPoints->SetItemTexts({" 16", " 32", " 64", "128", "256"});
    else
        u.RGPoints->SetItemTexts({" 512", "1024", "2048", "4096", "8192"});
    u.RGHanning->SetItemIndex(IndexOf(kSmoothChoices, a.SmoothPasses));
    u.RGAmp->SetItemIndex(a.Type == SpectrumType::Power ? 1 : 0);
    Check(u.CBMEM, a.Mem);
    Check(u.CBMEMmin, a.MemMin);
    Check(u.CheckBox1, a.AbsCoeffMode);
    Check(u.AbsFourier, a.AbsCoeffMode);
    Check(u.CBFFTSave, a.FileSave);
    Check(u.CBSkip, a.Skip);
    Check(u.Nnone, a.SkipDivisor == 0);
    Check(u.Nquoto, a.SkipDivisor == 4);
    Check(u.Nhalf, a.SkipDivisor == 2);
    Check(u.Nfull, a.SkipDivisor == 1);
    Check(u.NotAvailable, a.RatioMode == 0);
    Check(u.AtoB, a.RatioMode == 1);
    Check(u.BtoA, a.RatioMode == 2);
    const SpectrumDisplayOptions& o = s.Spectrum.Options;
    Check(u.ZeroAverage1, o.ZeroAverage);
    Check(u.SubAxis1, o.SubAxis);
    Check(u.BroadLine1, o.BroadLine);
    Check(u.RightSideComment1, o.RightSideComment);
    Check(u.DataComment1, o.DataComment);
    Check(u.Statistics1, a.StatisticsWindowOpen);

    // The position.
    {
        QSignalBlocker block(u.TrackBar1);
        u.TrackBar1->setValue(s.Position);
    }
    u.EdPosition->setText(QString::number(s.Position));
}

void TForm1::OptionsChanged() {
    emit session_.Signals.optionsChanged();
}

void TForm1::DisableAnalysisControls() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui_.BtnFile, ui_.BtnList, ui_.BtnExit, ui_.CBLowCut, ui_.BtnStart, ui_.BtnStop, ui_.BtnRun,
             ui_.BtnBack, ui_.RGAmp, ui_.RGPoints, ui_.RGHanning, ui_.GBSpect, ui_.GBChannel, ui_.GBFFT,
             ui_.SBPeaks, ui_.SBRunSpec, ui_.SBCorr})
        w->setEnabled(false);
    EnableHistogram(false);
    state_.AnalysisLocked = true;
    emit session_.Signals.activityChanged();
}

void TForm1::EnableAnalysisControls() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui_.BtnFile, ui_.BtnList, ui_.BtnExit, ui_.CBLowCut, ui_.BtnStart, ui_.BtnStop, ui_.BtnRun,
             ui_.BtnBack, ui_.RGAmp, ui_.RGPoints, ui_.RGHanning, ui_.GBSpect, ui_.GBChannel, ui_.GBFFT})
        w->setEnabled(true);
    const bool frequencyAxis = !state_.Spectrum.Options.PeriodAxis;
    ui_.SBRunSpec->setEnabled(frequencyAxis);
    ui_.SBPeaks->setEnabled(frequencyAxis);
    EnableHistogram(frequencyAxis);
    ui_.SBCorr->setEnabled(true);
    state_.AnalysisLocked = false;
    emit session_.Signals.activityChanged();
}

void TForm1::EnableHistogram(bool on) {
    ui_.SBHistogram->setEnabled(on);
    ui_.SpectralPeaks1->setEnabled(on);
}

void TForm1::ExitCommand() {
    if (prompts_.Message("Spectral Analyzer WAVORA terminates?     ", "Spectral Analyzer WAVORA",
                         MessageIcon::Question, PromptButtons::OkCancel) != PromptAnswer::Ok)
        return;
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    scroll_->Stop();
    EndTimedAnalyses();
    // The secondary windows end with the main window.
    if (windows_) windows_->HideSecondary();
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
        prompts_.Message("インターネットエクスプローラの起動に失敗しました　　　　",
                         "readme.htm呼び出しエラー", MessageIcon::Warning, PromptButtons::Ok);
}

void TForm1::Guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        state_.Loading = false;
        HideProcessing();
        prompts_.Message(e.what(), kApplicationTitle, MessageIcon::Warning, PromptButtons::Ok);
    } catch (...) {
        state_.Loading = false;
        HideProcessing();
        prompts_.Message("An unexpected error stopped the command.", kApplicationTitle, MessageIcon::Warning,
                         PromptButtons::Ok);
    }
}

void TForm1::ShowProcessing(const std::string& what) {
    if (windows_ && windows_->Process) windows_->Process->ShowNow(what);
}

bool TForm1::ShowProgress(const std::string& what, double fraction) {
    return windows_ && windows_->Process ? windows_->Process->ShowProgress(what, fraction) : true;
}

void TForm1::HideProcessing() {
    if (windows_ && windows_->Process && windows_->Process->isVisible()) windows_->Process->close();
}

}  // namespace wavora
