#pragma once

// Whether pictures are drawn fitted to what shows of them: pictures without
// alpha opaque, without blending and nearest first. Off unless the environment
// says LUMO_PICTURE_FITTING=on: drawn ahead of the translucent pictures, an
// opaque one can show where a translucent picture's transparent texels hid it
// through the depth buffer before (a strip of page 13).
class CC3PictureFitting {
 public:
  static bool enabled();
  static void setEnabled(bool enabled);
};
