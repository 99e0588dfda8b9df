// JPEG files decoded into a texture-sized bitmap, as the texture loader does.
#include "TextureDecode.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setLogLevel(LogLevel::Silent);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::decodeAsTexture(data, size);
}
