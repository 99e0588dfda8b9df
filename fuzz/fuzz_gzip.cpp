// Inflating zlib and gzip data from memory and through the gzip file reader;
// outputs stay within the program's inflation limit.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Log.h"
#include "ZipUtils.h"

namespace {
int gFile = -1;
std::string gPath;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setLogLevel(LogLevel::Silent);
  gFile = memfd_create("fuzz_gzip", 0);
  if (gFile < 0) std::abort();
  gPath = "/proc/self/fd/" + std::to_string(gFile);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  unsigned sum = 0;
  unsigned char* out = nullptr;
  int length = ccInflateMemory(data, unsigned(size), &out);
  if (length < 0 || std::size_t(length) > ccMaximumInflatedLength() || (length == 0 && out))
    std::abort();
  for (int i = 0; i < length; ++i) sum += out[i];
  std::free(out);

  if (ftruncate(gFile, 0) != 0 || pwrite(gFile, data, size, 0) != ssize_t(size)) std::abort();
  out = nullptr;
  length = ccInflateGZipFile(gPath.c_str(), &out);
  if (length >= 0) {
    if (std::size_t(length) > ccMaximumInflatedLength()) std::abort();
    for (int i = 0; i < length; ++i) sum += out[i];
    std::free(out);
  } else if (out) {
    std::abort();
  }
  return sum == 0xFFFFFFFFu ? 1 : 0;
}
