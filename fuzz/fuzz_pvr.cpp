// PVR header and mipmap splitting on arbitrary bytes: every level must lie
// inside the data, and raw levels must hold what GL would read.
#include <cstdint>
#include <cstdlib>

#include "CCTexturePVR.h"
#include "Log.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setLogLevel(LogLevel::Silent);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto pvr = makeObject<CCTexturePVR>();
  bool bgra = size > 0 && (data[size - 1] & 1);
  if (!pvr->unpackPVRData(data, size, bgra)) return 0;
  if (pvr->numberOfMipmaps() < 1 || pvr->numberOfMipmaps() > CC_PVRMIPMAP_MAX) std::abort();
  unsigned sum = 0;
  for (int i = 0; i < pvr->numberOfMipmaps(); ++i) {
    const CCPVRMipmap& level = pvr->mipmap(i);
    if (level.address < data || level.address + level.length > data + size) std::abort();
    // Touch every byte, so ASan sees any stray level.
    for (unsigned j = 0; j < level.length; ++j) sum += level.address[j];
  }
  return sum == 0xFFFFFFFFu ? 1 : 0;
}
