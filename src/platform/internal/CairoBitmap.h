#pragma once
// Platform-internal: moving pixels between Cairo surfaces and the views'
// bitmaps. Only the platform library has internal/ on its include path.
#include <cairo.h>

#include "CGImage.h"
#include "UIViewBitmap.h"

namespace CairoBitmap {
// A Cairo image surface's pixels as a view bitmap (both are premultiplied).
void copySurface(cairo_surface_t* surface, UIViewBitmap& out);
// The image decoded into a new ARGB32 surface, or null when it cannot be decoded.
cairo_surface_t* surfaceWithImage(const CGImage& image);
}  // namespace CairoBitmap
