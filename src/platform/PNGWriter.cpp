#include "PNGWriter.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {
// libpng's own handlers print to stderr; the caller reports the one line instead.
void keepError(png_structp png, png_const_charp message) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = message;
  png_longjmp(png, 1);
}
void ignoreWarning(png_structp, png_const_charp) {}
}  // namespace

bool writePNG(const std::string& path, const unsigned char* rgba, int width, int height,
              std::string& error) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) {
    error = "cannot write " + path;
    return false;
  }
  std::string reason;
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &reason, keepError, ignoreWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    error = "out of memory";
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    error = "cannot write " + path + ": " + reason;
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    png_write_row(png, const_cast<png_bytep>(rgba + std::size_t(y) * width * 4));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  // A full disk may show only when the last bytes leave the buffer.
  if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}
