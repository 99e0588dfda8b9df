#pragma once
// Platform-internal: the one Pango font map of the process.
#include <pango/pangocairo.h>

#include <mutex>

// Every font map keeps its own caches of matched and loaded fonts, megabytes
// each, so the book's text and the web view share one. Pango is not
// thread-safe: whoever lays out or draws text with it holds the lock.
namespace PangoFonts {
PangoFontMap* fontMap();
std::mutex& mutex();
}  // namespace PangoFonts
