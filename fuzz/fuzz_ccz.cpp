// The CCZ container on arbitrary bytes, with the program's inflation limit:
// either refused or inflated to exactly the announced length, within it.
#include <cstdint>
#include <cstdlib>

#include "Log.h"
#include "ZipUtils.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setLogLevel(LogLevel::Silent);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  unsigned char* out = nullptr;
  int length = ccInflateCCZData(data, size, &out);
  if (length < 0) {
    if (out) std::abort();
    return 0;
  }
  unsigned announced = size >= 16 ? unsigned(data[12]) << 24 | unsigned(data[13]) << 16 |
                                        unsigned(data[14]) << 8 | data[15]
                                  : 0;
  if (unsigned(length) != announced || std::size_t(length) > ccMaximumInflatedLength())
    std::abort();
  unsigned sum = 0;
  for (int i = 0; i < length; ++i) sum += out[i];
  std::free(out);
  return sum == 0xFFFFFFFFu ? 1 : 0;
}
