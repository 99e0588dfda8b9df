#pragma once

// Whether pictures are drawn fitted to what shows of them: opaque pictures
// without blending and in front-to-back order, the others only over the part
// that is not transparent. On unless the environment says
// LUMO_PICTURE_FITTING=off, so that the pictures can be checked against the
// plain way of drawing them.
class CC3PictureFitting {
 public:
  static bool enabled();
  static void setEnabled(bool enabled);
};
