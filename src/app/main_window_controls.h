#pragma once
// The widgets of the main window TForm1, named as its layout names them, built in one place (in
// the spirit of a designer-generated form). The window's handlers live in TForm1; this is only
// what the window is made of.

#include <array>

#include "record/wave_record.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QSlider;
class QToolButton;

namespace wavora {

class ClickLabel;
class ImageView;
class RadioGroup;
class StringGrid;

struct MainWindowControls {
    ImageView* Image1 = nullptr;
    ClickLabel* Image2 = nullptr;
    StringGrid* StringGrid1 = nullptr;
    QPushButton *BtnFile = nullptr, *BtnList = nullptr, *BtnExit = nullptr, *BtnStart = nullptr,
                *BtnStop = nullptr, *BtnZero = nullptr, *BtnPrev = nullptr, *BtnNext = nullptr,
                *BtnRun = nullptr, *BtnBack = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLineEdit* EdPosition = nullptr;
    RadioGroup *RadioGroup1 = nullptr, *RGPoints = nullptr, *RGHanning = nullptr, *RGAmp = nullptr;
    std::array<QCheckBox*, kMaxChannels> CBCh{};  // CBCh1 … CBCh8
    QCheckBox *CBMEM = nullptr, *CBMEMmin = nullptr, *CBDCCut = nullptr, *CheckBox1 = nullptr,
              *CBFFTSave = nullptr, *CBSkip = nullptr, *CB2D = nullptr, *CBLowCut = nullptr;
    QToolButton *SBFilter = nullptr, *SpeedButton1 = nullptr, *SBFileSave = nullptr, *SBFormat = nullptr,
                *SBRunSpec = nullptr, *SBCorr = nullptr, *SBHistogram = nullptr, *SBPeaks = nullptr;
    ClickLabel *ImgFilter = nullptr, *ImgInteg = nullptr, *ImgClip = nullptr;
    QGroupBox *GBSpect = nullptr, *GBChannel = nullptr, *GBFFT = nullptr, *GBScroll = nullptr;
    // Read-outs: FILE, CHANNEL(s), DATA, SAMPLING, TITLE, DATE/TIME, FFT/MEM DT, FFT/MEM T, Position
    // (hidden), DURATION, INTERVAL, FORMAT, TIME UNIT.
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label11 = nullptr,
           *Label12 = nullptr, *Label16 = nullptr, *Label20 = nullptr, *Label21 = nullptr, *Label24 = nullptr,
           *Label25 = nullptr, *Label28 = nullptr, *Label30 = nullptr;
    // Headings of the value grid.
    QLabel *Data = nullptr, *Data0 = nullptr, *Data1 = nullptr, *Data2 = nullptr, *Data3 = nullptr,
           *Data4 = nullptr;

    // Menus.
    QMenu *File1 = nullptr, *FormatType1 = nullptr, *WriteDataFile1 = nullptr, *SamplingRateUnit1 = nullptr,
          *Filter1 = nullptr, *Wave1 = nullptr, *TimeScale1 = nullptr, *Clipping1 = nullptr,
          *Integrate1 = nullptr, *Spectrum1 = nullptr, *Skip1 = nullptr, *SpectralRatio1 = nullptr,
          *Edit1 = nullptr, *Help1 = nullptr;
    QAction *Open1 = nullptr, *CSVDef = nullptr, *CSVGPL = nullptr, *CSVArb = nullptr, *SPC51 = nullptr,
            *SPC35 = nullptr, *Saveas1 = nullptr, *AnalizedData1 = nullptr, *AllData1 = nullptr,
            *second = nullptr, *milisecond = nullptr, *microsecond = nullptr, *nanosecond = nullptr,
            *Exit1 = nullptr;
    QAction *None2 = nullptr, *Default1 = nullptr, *Arbitrary1 = nullptr;
    QAction *N11 = nullptr, *N21 = nullptr, *N41 = nullptr, *N82 = nullptr, *AmpScale1 = nullptr,
            *Color1 = nullptr, *Title1 = nullptr, *Filename1 = nullptr, *ChannelComment1 = nullptr,
            *Scaling1 = nullptr, *PCNT100 = nullptr, *PCNT75 = nullptr, *PCNT50 = nullptr, *PCNT25 = nullptr,
            *IntegOff = nullptr, *IntegOn = nullptr;
    QAction *ZeroAverage1 = nullptr, *SubAxis1 = nullptr, *BroadLine1 = nullptr, *RightSideComment1 = nullptr,
            *Statistics1 = nullptr, *Nnone = nullptr, *Nquoto = nullptr, *Nhalf = nullptr, *Nfull = nullptr,
            *NotAvailable = nullptr, *AtoB = nullptr, *BtoA = nullptr, *AbsFourier = nullptr,
            *Format1 = nullptr, *Running1 = nullptr, *SpectralPeaks1 = nullptr;
    QAction *Copy1 = nullptr, *FileComment1 = nullptr, *FConvert = nullptr, *DataComment1 = nullptr;
    QAction *Howto1 = nullptr, *Readmehtm1 = nullptr, *Version2 = nullptr;
};

// Builds the menus, the controls and their layout on `window`, with every caption, hint, default
// and enabled state of the start-up layout.
void BuildMainWindowControls(QMainWindow& window, MainWindowControls& ui);

// The size of the picture Image1.
inline constexpr int kImageWidth = 433;
inline constexpr int kImageHeight = 417;

}  // namespace wavora
