// Spectrum settings that the main window holds: skip, spectral ratio, the "min" relabelling of
// "Points", "Back", and the option marks of the "Spectrum" and "Edit" menus.

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QSlider>
#include <algorithm>

#include "app/main_window.h"
#include "display/radio_group.h"

namespace wavora {

void TForm1::SkipClick(QAction* item) {
    struct Skip {
        QAction* Item;
        int Divisor;
    };
    const Skip skips[] = {{Nnone, 0}, {Nquoto, 4}, {Nhalf, 2}, {Nfull, 1}};
    for (const Skip& s : skips) {
        s.Item->setChecked(s.Item == item);
        if (s.Item == item) state_.SkipDivisor = s.Divisor;
    }
    const bool skipping = state_.SkipDivisor != 0;
    BtnBack->setEnabled(skipping);
    CBSkip->setChecked(skipping);
}

void TForm1::RatioClick(QAction* item) {
    QAction* items[] = {NotAvailable, AtoB, BtoA};
    for (int i = 0; i < 3; ++i) {
        items[i]->setChecked(items[i] == item);
        if (items[i] == item) state_.RatioMode = i;
    }
}

void TForm1::CBMEMminClick() {
    if (CBMEMmin->isChecked())
        RGPoints->SetItemTexts({" 16", " 32", " 64", "128", "256"});
    else
        RGPoints->SetItemTexts({" 512", "1024", "2048", "4096", "8192"});
}

void TForm1::BtnBackClick() {
    const int span = std::max(state_.Wave.Step, 1) * Points();
    int back = 0;
    if (Nquoto->isChecked())
        back = span / 4;
    else if (Nhalf->isChecked())
        back = span / 2;
    else if (Nfull->isChecked())
        back = span;
    TrackBar1->setValue(std::max(TrackBar1->value() - back, 0));
}

void TForm1::DataComment1Click() {
    DataComment1->setChecked(!DataComment1->isChecked());
    state_.Spectrum.DataComment = DataComment1->isChecked();
}

void TForm1::AbsFourierClick() {
    state_.Spectrum.AbsCoeffMode = AbsFourier->isChecked();
    CheckBox1->setChecked(AbsFourier->isChecked());
}

void TForm1::SpectrumOptionClick(QAction* item) {
    item->setChecked(!item->isChecked());
    SpectrumOptions& o = state_.Spectrum;
    o.ZeroAverage = ZeroAverage1->isChecked();
    o.SubAxis = SubAxis1->isChecked();
    o.BroadLine = BroadLine1->isChecked();
    o.RightSideComment = RightSideComment1->isChecked();
    BtnRunClick();
}

}  // namespace wavora
