#include "draw/startup_picture.h"

#include "record/number_text.h"

namespace wavora {

void DrawStartupText(Canvas& c, int year, int month, int day) {
    c.SetBrushColor(kWhite);
    c.FillRect(0, 0, c.Width(), c.Height());
    c.SetFont(kPictureFont, 12);
    c.SetFontColor(kBlack);
    c.TextOut(50, 140, "Select data format type through Menu Bar--");
    c.TextOut(70, 180, "File--Format Type, if necessary.");
    c.TextOut(50, 220, "Default format type is 'CSV'.");
    c.TextOut(50, 260, "Then click 'File' Button and select file, please.");
    c.TextOut(220, 360, StrPrintf("Last Update  %d/%02d/%02d", year, month, day));
}

}  // namespace wavora
