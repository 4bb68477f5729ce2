#pragma once
// Text on the pictures the batch tool writes is drawn with Qt's fonts, which need a GUI application
// object. The tool shows no window, so it is made on the offscreen platform, once, when the first
// picture is drawn.

namespace wavora::batch {

void EnsurePictureSupport();

}  // namespace wavora::batch
