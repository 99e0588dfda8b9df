// PNG files decoded into a texture-sized bitmap, as the texture loader does.
// Chunk checksums are made right before decoding: libpng refuses a chunk with
// a wrong one, so mutated files would otherwise never reach the pixel code.
#include <zlib.h>

#include "TextureDecode.h"

namespace {
void fixChecksums(std::vector<std::uint8_t>& png) {
  std::size_t at = 8;
  while (at + 12 <= png.size()) {
    const std::size_t length = std::size_t(png[at]) << 24 | std::size_t(png[at + 1]) << 16 |
                               std::size_t(png[at + 2]) << 8 | png[at + 3];
    if (length > png.size() - at - 12) return;
    const uLong crc = crc32(crc32(0, nullptr, 0), &png[at + 4], uInt(length + 4));
    std::uint8_t* out = &png[at + 8 + length];
    out[0] = std::uint8_t(crc >> 24);
    out[1] = std::uint8_t(crc >> 16);
    out[2] = std::uint8_t(crc >> 8);
    out[3] = std::uint8_t(crc);
    at += length + 12;
  }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setLogLevel(LogLevel::Silent);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> png(data, data + size);
  fixChecksums(png);
  return fuzz::decodeAsTexture(png.data(), png.size());
}
