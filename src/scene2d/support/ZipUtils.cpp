#include "ZipUtils.h"

#include <zlib.h>

#include <cassert>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CGImage.h"
#include "Log.h"

namespace {
// These files hold textures: the largest a picture may be, with a full chain
// of mipmap levels (a third more) and its header, fits twice over.
constexpr std::size_t kDefaultLimit = 2 * kCGImageMaxDecodedBytes;
constexpr std::size_t kMemoryBufferStart = 256 * 1024;
constexpr unsigned kGZipChunkStart = 512 * 1024;
constexpr std::size_t kCCZHeaderSize = 16;
constexpr std::size_t kMaxDeflateRatio = 1040;

std::size_t gLimit = kDefaultLimit;

std::string limitText() {
  return "the limit of " + std::to_string(gLimit >> 20) + " MiB";
}

// A texture file's problems are said once per file, as a picture's are;
// data from memory has no name to say them under.
void warn(const char* path, const std::string& text) {
  if (path)
    logWarningOnce(std::string("image:") + path, std::string("image ") + path + ": " + text);
  else
    logMessage(LogLevel::Warning, text);
}

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
        warn(nullptr, "compressed data inflates past " + limitText() + ", refused");
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
    if (status != Z_MEM_ERROR)
      warn(nullptr, "compressed data is damaged or truncated (" + std::to_string(status) + ")");
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

namespace {
// A gzip file ends with its inflated length (modulo 4 GiB); 0 when the file is
// not gzip or too short to tell.
std::uint32_t announcedGzipLength(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return 0;
  unsigned char magic[2] = {0, 0}, tail[4] = {0, 0, 0, 0};
  bool read = std::fread(magic, 1, 2, file) == 2 && magic[0] == 0x1F && magic[1] == 0x8B &&
              std::fseek(file, -4, SEEK_END) == 0 && std::fread(tail, 1, 4, file) == 4;
  std::fclose(file);
  if (!read) return 0;
  return std::uint32_t(tail[0]) | std::uint32_t(tail[1]) << 8 | std::uint32_t(tail[2]) << 16 |
         std::uint32_t(tail[3]) << 24;
}
}  // namespace

int ccInflateGZipFile(const char* path, unsigned char** out) {
  assert(out);
  *out = nullptr;
  // An honest file over the limit is refused before anything is inflated; one
  // that lies grows no further than the limit below.
  if (std::uint32_t announced = announcedGzipLength(path); announced > gLimit) {
    warn(path, "the gzip file announces " + std::to_string(announced) + " bytes, over " +
                   limitText() + ", refused");
    return -1;
  }
  gzFile file = gzopen(path, "rb");
  if (!file) {
    warn(path, "cannot open the gzip file");
    return -1;
  }
  unsigned chunk = kGZipChunkStart;
  std::size_t capacity = chunk, total = 0;
  auto* buffer = static_cast<unsigned char*>(std::malloc(capacity));
  bool failed = buffer == nullptr;
  while (!failed) {
    int read = gzread(file, buffer + total, chunk);
    if (read < 0) {
      warn(path, "read error in the gzip file");
      failed = true;
      break;
    }
    total += std::size_t(read);
    if (unsigned(read) < chunk) {
      // A short read also ends a stream cut off early: zlib records that.
      int status = Z_OK;
      gzerror(file, &status);
      if (status != Z_OK) {
        warn(path, "the gzip file is damaged or truncated");
        failed = true;
      }
      break;
    }
    chunk *= 2;
    if (capacity + chunk > gLimit) {
      warn(path, "the gzip file inflates past " + limitText() + ", refused");
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

namespace {
int inflateCCZ(const unsigned char* data, std::size_t length, unsigned char** out,
               const char* path) {
  assert(out);
  *out = nullptr;
  if (!data || length < kCCZHeaderSize || std::memcmp(data, "CCZ!", 4) != 0) {
    warn(path, "not a CCZ file");
    return -1;
  }
  unsigned compression = readBE16(data + 4);
  unsigned version = readBE16(data + 6);
  unsigned expected = readBE32(data + 12);
  if (version > 2) {
    warn(path, "unsupported CCZ version " + std::to_string(version));
    return -1;
  }
  if (compression != 0) {
    warn(path, "unsupported CCZ compression " + std::to_string(compression));
    return -1;
  }
  const std::string claim = "CCZ of " + std::to_string(expected) + " bytes";
  if (expected == 0 || expected > gLimit) {
    warn(path, claim + ", over " + limitText() + ", refused");
    return -1;
  }
  // Deflate shrinks by about 1032:1 at most: a larger claim is a lie, refused
  // before allocating it.
  if (expected / kMaxDeflateRatio > length - kCCZHeaderSize) {
    warn(path, claim + " from " + std::to_string(length - kCCZHeaderSize) +
                   " compressed bytes cannot be, refused");
    return -1;
  }
  auto* buffer = static_cast<unsigned char*>(std::malloc(expected));
  if (!buffer) return -1;
  uLongf produced = expected;
  int status = uncompress(buffer, &produced, data + kCCZHeaderSize, uLong(length - kCCZHeaderSize));
  if (status != Z_OK || produced != expected) {
    warn(path,
         "the CCZ data does not inflate to its announced " + std::to_string(expected) + " bytes");
    std::free(buffer);
    return -1;
  }
  *out = buffer;
  return int(expected);
}
}  // namespace

int ccInflateCCZData(const unsigned char* data, std::size_t length, unsigned char** out) {
  return inflateCCZ(data, length, out, nullptr);
}

int ccInflateCCZFile(const char* path, unsigned char** out) {
  assert(out);
  *out = nullptr;
  unsigned char* compressed = nullptr;
  int length = ccLoadFileIntoMemory(path, &compressed);
  if (length < 0) return -1;
  int result = inflateCCZ(compressed, std::size_t(length), out, path);
  std::free(compressed);
  return result;
}

int ccLoadFileIntoMemory(const char* path, unsigned char** out) {
  assert(out);
  *out = nullptr;
  std::FILE* file = std::fopen(path, "rb");
  if (!file) {
    warn(path, "cannot open the file");
    return -1;
  }
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  if (size < 0 || std::size_t(size) > gLimit || std::fseek(file, 0, SEEK_SET) != 0) {
    if (size >= 0)
      warn(path, "file of " + std::to_string(size) + " bytes, over " + limitText() + ", refused");
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
