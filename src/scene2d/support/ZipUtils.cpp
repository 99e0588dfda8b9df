#include "ZipUtils.h"

#include <zlib.h>

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Log.h"

namespace {
constexpr std::size_t kDefaultLimit = std::size_t(256) << 20;
constexpr std::size_t kMemoryBufferStart = 256 * 1024;
constexpr unsigned kGZipChunkStart = 512 * 1024;
constexpr std::size_t kCCZHeaderSize = 16;
constexpr std::size_t kMaxDeflateRatio = 1040;

std::size_t gLimit = kDefaultLimit;

unsigned readBE16(const unsigned char* p) {
  return unsigned(p[0]) << 8 | p[1];
}
unsigned readBE32(const unsigned char* p) {
  return unsigned(p[0]) << 24 | unsigned(p[1]) << 16 | unsigned(p[2]) << 8 | p[3];
}

// Inflates into a growing buffer; returns the bytes produced or 0.
std::size_t inflateInto(const unsigned char* in, unsigned inLength, unsigned char** out) {
  z_stream stream{};
  stream.next_in = const_cast<Bytef*>(in);
  stream.avail_in = inLength;
  // 15 + 32: a zlib or a gzip header, detected automatically.
  if (inflateInit2(&stream, 15 + 32) != Z_OK) return 0;
  std::size_t capacity = kMemoryBufferStart;
  auto* buffer = static_cast<unsigned char*>(std::malloc(capacity));
  int status = buffer ? Z_OK : Z_MEM_ERROR;
  while (status == Z_OK) {
    stream.next_out = buffer + stream.total_out;
    stream.avail_out = unsigned(capacity - stream.total_out);
    status = inflate(&stream, Z_NO_FLUSH);
    if (status == Z_STREAM_END) break;
    if (status == Z_BUF_ERROR && stream.avail_out != 0) break;  // input ends mid-stream
    if (status != Z_OK && status != Z_BUF_ERROR) break;
    if (stream.avail_out == 0) {
      if (capacity * 2 > gLimit) {
        CCLOGWARN("inflate: stream grows past %zu bytes, refused", gLimit);
        status = Z_MEM_ERROR;
        break;
      }
      auto* bigger = static_cast<unsigned char*>(std::realloc(buffer, capacity * 2));
      if (!bigger) {
        status = Z_MEM_ERROR;
        break;
      }
      buffer = bigger;
      capacity *= 2;
    }
    status = Z_OK;
  }
  std::size_t produced = stream.total_out;
  inflateEnd(&stream);
  if (status == Z_STREAM_END && produced == 0) status = Z_DATA_ERROR;  // nothing to hand out
  if (status != Z_STREAM_END) {
    if (status != Z_MEM_ERROR) CCLOGWARN("inflate: damaged or truncated stream (%d)", status);
    std::free(buffer);
    return 0;
  }
  *out = buffer;
  return produced;
}
}  // namespace

std::size_t ccMaximumInflatedLength() {
  return gLimit;
}
void ccSetMaximumInflatedLength(std::size_t length) {
  gLimit = length;
}

int ccInflateMemory(const unsigned char* in, unsigned int inLength, unsigned char** out) {
  assert(out);
  *out = nullptr;
  if (!in) return 0;
  return int(inflateInto(in, inLength, out));
}

int ccInflateGZipFile(const char* path, unsigned char** out) {
  assert(out);
  *out = nullptr;
  gzFile file = gzopen(path, "rb");
  if (!file) {
    CCLOGWARN("inflate: cannot open gzip file %s", path);
    return -1;
  }
  unsigned chunk = kGZipChunkStart;
  std::size_t capacity = chunk, total = 0;
  auto* buffer = static_cast<unsigned char*>(std::malloc(capacity));
  bool failed = buffer == nullptr;
  while (!failed) {
    int read = gzread(file, buffer + total, chunk);
    if (read < 0) {
      CCLOGWARN("inflate: read error in gzip file %s", path);
      failed = true;
      break;
    }
    total += std::size_t(read);
    if (unsigned(read) < chunk) {
      // A short read also ends a stream cut off early: zlib records that.
      int status = Z_OK;
      gzerror(file, &status);
      if (status != Z_OK) {
        CCLOGWARN("inflate: gzip file %s is damaged or truncated", path);
        failed = true;
      }
      break;
    }
    chunk *= 2;
    if (capacity + chunk > gLimit) {
      CCLOGWARN("inflate: gzip file %s grows past %zu bytes, refused", path, gLimit);
      failed = true;
      break;
    }
    auto* bigger = static_cast<unsigned char*>(std::realloc(buffer, capacity + chunk));
    if (!bigger) {
      failed = true;
      break;
    }
    buffer = bigger;
    capacity += chunk;
  }
  gzclose(file);
  if (failed) {
    std::free(buffer);
    return -1;
  }
  *out = buffer;
  return int(total);
}

int ccInflateCCZData(const unsigned char* data, std::size_t length, unsigned char** out) {
  assert(out);
  *out = nullptr;
  if (!data || length < kCCZHeaderSize || std::memcmp(data, "CCZ!", 4) != 0) {
    CCLOGWARN("inflate: not a CCZ file");
    return -1;
  }
  unsigned compression = readBE16(data + 4);
  unsigned version = readBE16(data + 6);
  unsigned expected = readBE32(data + 12);
  if (version > 2) {
    CCLOGWARN("inflate: unsupported CCZ version %u", version);
    return -1;
  }
  if (compression != 0) {
    CCLOGWARN("inflate: unsupported CCZ compression %u", compression);
    return -1;
  }
  // Deflate shrinks by about 1032:1 at most: a larger claim is a lie, refused
  // before allocating it.
  if (expected == 0 || expected > gLimit || expected / kMaxDeflateRatio > length - kCCZHeaderSize) {
    CCLOGWARN("inflate: CCZ length %u refused", expected);
    return -1;
  }
  auto* buffer = static_cast<unsigned char*>(std::malloc(expected));
  if (!buffer) return -1;
  uLongf produced = expected;
  int status = uncompress(buffer, &produced, data + kCCZHeaderSize, uLong(length - kCCZHeaderSize));
  if (status != Z_OK || produced != expected) {
    CCLOGWARN("inflate: CCZ stream does not inflate to its announced %u bytes", expected);
    std::free(buffer);
    return -1;
  }
  *out = buffer;
  return int(expected);
}

int ccInflateCCZFile(const char* path, unsigned char** out) {
  assert(out);
  *out = nullptr;
  unsigned char* compressed = nullptr;
  int length = ccLoadFileIntoMemory(path, &compressed);
  if (length < 0) return -1;
  int result = ccInflateCCZData(compressed, std::size_t(length), out);
  std::free(compressed);
  return result;
}

int ccLoadFileIntoMemory(const char* path, unsigned char** out) {
  assert(out);
  *out = nullptr;
  std::FILE* file = std::fopen(path, "rb");
  if (!file) {
    CCLOGWARN("cannot open file %s", path);
    return -1;
  }
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  if (size < 0 || std::size_t(size) > gLimit || std::fseek(file, 0, SEEK_SET) != 0) {
    if (size >= 0) CCLOGWARN("file %s is too large (%ld bytes)", path, size);
    std::fclose(file);
    return -1;
  }
  // One spare byte, so an empty file still gets a buffer.
  auto* buffer = static_cast<unsigned char*>(std::malloc(std::size_t(size) + 1));
  bool ok = buffer && std::fread(buffer, 1, std::size_t(size), file) == std::size_t(size);
  std::fclose(file);
  if (!ok) {
    std::free(buffer);
    return -1;
  }
  *out = buffer;
  return int(size);
}
