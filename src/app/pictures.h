#pragma once
// The program's own pictures, drawn at start-up: speed-button icons, the indicator pictures, the
// title picture and the program picture of the version box.

#include <QIcon>
#include <QPixmap>

namespace wavora::pictures {

QIcon CopyIcon();       // graph copy
QIcon SaveIcon();       // save graph as PNG
QIcon FilterIcon();     // waveform filtering
QIcon FormatIcon();     // spectrum format
QIcon RunningIcon();    // running spectrum
QIcon CorrIcon();       // correlation
QIcon HistogramIcon();  // spectral peaks
QIcon PeaksIcon();      // automatic skipping analysis

QPixmap FilterIndicator();
QPixmap IntegIndicator();
QPixmap ClipIndicator();

QPixmap TitlePicture(int width, int height);  // "WAVORA" with a wave
QPixmap ProgramPicture(int size);             // a spectrum over a wave

}  // namespace wavora::pictures
