#pragma once
// Text in pictures needs Qt's GUI application object (fonts are found through it). The batch tool
// makes one, on the offscreen platform, only while it draws a picture, so the commands that draw
// nothing never start Qt and no display is ever needed. Qt's own chatter (debug messages and
// warnings) stays off standard error; critical messages are printed as the tool's own.

#include <QtGlobal>
#include <memory>

class QGuiApplication;

namespace wavora::batch {

class OffscreenGui {
  public:
    OffscreenGui();  // nothing to do when an application object exists already
    ~OffscreenGui();
    OffscreenGui(const OffscreenGui&) = delete;
    OffscreenGui& operator=(const OffscreenGui&) = delete;

  private:
    // The application keeps referring to its command line while it lives.
    int argc_ = 0;
    char* argv_[4] = {};
    std::unique_ptr<QGuiApplication> app_;
    QtMessageHandler previous_ = nullptr;
};

}  // namespace wavora::batch
