// Writes small valid PNG and JPEG files, one per form the decoder handles
// differently, as seeds for fuzz_png and fuzz_jpeg:
//   fuzz_make_image_seeds fuzz/corpus/png fuzz/corpus/jpeg
// jpeglib.h needs size_t and FILE declared before it.
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>

#include <string>
#include <vector>

namespace {
using Bytes = std::vector<unsigned char>;

void save(const std::string& path, const Bytes& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

struct PNGForm {
  const char* name;
  int colorType, bitDepth, interlace;
  bool palette, transparency;
};

Bytes encodePNG(const PNGForm& form, int width, int height) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t length) {
        auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
        o->insert(o->end(), data, data + length);
      },
      nullptr);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), form.bitDepth, form.colorType,
               form.interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (form.palette) {
    png_color colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    png_set_PLTE(png, info, colors, 4);
  }
  if (form.transparency) {
    if (form.palette) {
      png_byte alpha[2] = {0, 128};
      png_set_tRNS(png, info, alpha, 2, nullptr);
    } else {
      png_color_16 key{};
      png_set_tRNS(png, info, nullptr, 0, &key);
    }
  }
  png_write_info(png, info);
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  const int passes = png_set_interlace_handling(png);
  Bytes row(rowBytes);
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < height; ++y) {
      for (std::size_t i = 0; i < rowBytes; ++i)
        row[i] = static_cast<unsigned char>(i * 37 + y * 11);
      png_write_row(png, row.data());
    }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes encodeJPEG(int width, int height, int components, bool progressive) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr error{};
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(width);
  cinfo.image_height = JDIMENSION(height);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 50, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  Bytes row(std::size_t(width) * std::size_t(components));
  for (int y = 0; y < height; ++y) {
    for (std::size_t i = 0; i < row.size(); ++i)
      row[i] = static_cast<unsigned char>(i * 13 + y * 7);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PNG_DIR JPEG_DIR\n", argv[0]);
    return 2;
  }
  const std::string pngDir = argv[1], jpegDir = argv[2];
  const PNGForm forms[] = {
      {"grey1", PNG_COLOR_TYPE_GRAY, 1, PNG_INTERLACE_NONE, false, false},
      {"grey8_key", PNG_COLOR_TYPE_GRAY, 8, PNG_INTERLACE_NONE, false, true},
      {"grey_alpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, PNG_INTERLACE_NONE, false, false},
      {"palette2_trns", PNG_COLOR_TYPE_PALETTE, 2, PNG_INTERLACE_NONE, true, true},
      {"rgb8_adam7", PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_ADAM7, false, false},
      {"rgb16", PNG_COLOR_TYPE_RGB, 16, PNG_INTERLACE_NONE, false, false},
      {"rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false, false},
  };
  for (const PNGForm& form : forms) save(pngDir + "/" + form.name + ".png", encodePNG(form, 9, 5));
  save(jpegDir + "/rgb_baseline.jpg", encodeJPEG(17, 9, 3, false));
  save(jpegDir + "/rgb_progressive.jpg", encodeJPEG(17, 9, 3, true));
  save(jpegDir + "/grey.jpg", encodeJPEG(8, 8, 1, false));
  return 0;
}
