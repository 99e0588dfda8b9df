#pragma once
#include <string>

// Writes RGBA8 pixels (rows from the top) as a PNG file.
bool writePNG(const std::string& path, const unsigned char* rgba, int width, int height,
              std::string& error);
