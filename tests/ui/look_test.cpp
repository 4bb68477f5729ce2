// Pictures of the windows for a person to look at: written only when WAVORA_LOOK_DIR names a folder.

#include <QPixmap>
#include <cstdlib>

#include "app/listup_dialog.h"
#include "app/small_windows.h"
#include "display/amp_scale_dialog.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

using Look = WindowTest;

TEST_F(Look, SamplePictures) {
    const char* folder = std::getenv("WAVORA_LOOK_DIR");
    if (!folder) GTEST_SKIP() << "set WAVORA_LOOK_DIR to write the pictures";
    const std::string out = folder;
    form.show();
    form.grab().save(QString::fromStdString(out + "/startup.png"));

    OpenCsv(3000, "bridge_deck.csv", 3);
    form.State().Record.Title = "Bridge deck, pier 3";
    form.TrackBar1->setValue(120);
    form.grab().save(QString::fromStdString(out + "/loaded.png"));

    TAmpScale& amp = *windows->AmpScale;
    amp.show();
    amp.Edits[1]->setText("0.5");
    amp.Button3Click();
    form.N21->trigger();
    amp.grab().save(QString::fromStdString(out + "/ampscale.png"));
    form.grab().save(QString::fromStdString(out + "/magnified.png"));

    form.BtnListClick();
    windows->Listup->grab().save(QString::fromStdString(out + "/listup.png"));
    form.grab().save(QString::fromStdString(out + "/listing.png"));
    windows->AboutBox->grab().save(QString::fromStdString(out + "/about.png"));
    windows->Howto->grab().save(QString::fromStdString(out + "/howto.png"));
    windows->Process->Label2->setText("Bandpass Filtering now");
    windows->Process->adjustSize();
    windows->Process->grab().save(QString::fromStdString(out + "/process.png"));
}

}  // namespace
}  // namespace wavora::uitest
