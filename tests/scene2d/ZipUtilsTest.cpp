#include "ZipUtils.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Log.h"
#include "MemoryMeter.h"
#include "TestSupport.h"

namespace {
using Bytes = std::vector<unsigned char>;

Bytes pattern(std::size_t size) {
  Bytes data(size);
  unsigned state = 12345;
  for (auto& b : data) {
    state = state * 1103515245u + 12345u;
    b = static_cast<unsigned char>(state >> 24);
  }
  return data;
}

Bytes zlibCompress(const Bytes& in) {
  uLongf size = compressBound(uLong(in.size()));
  Bytes out(size);
  EXPECT_EQ(compress(out.data(), &size, in.data(), uLong(in.size())), Z_OK);
  out.resize(size);
  return out;
}

Bytes cczFile(const Bytes& payload, unsigned type = 0, unsigned version = 2,
              std::size_t announced = std::size_t(-1)) {
  std::size_t length = announced == std::size_t(-1) ? payload.size() : announced;
  Bytes file = {'C',
                'C',
                'Z',
                '!',
                static_cast<unsigned char>(type >> 8),
                static_cast<unsigned char>(type),
                static_cast<unsigned char>(version >> 8),
                static_cast<unsigned char>(version),
                0,
                0,
                0,
                0,
                static_cast<unsigned char>(length >> 24),
                static_cast<unsigned char>(length >> 16),
                static_cast<unsigned char>(length >> 8),
                static_cast<unsigned char>(length)};
  Bytes compressed = zlibCompress(payload);
  file.insert(file.end(), compressed.begin(), compressed.end());
  return file;
}

void writeFile(const std::string& path, const Bytes& data) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

void writeGzip(const std::string& path, const Bytes& data) {
  gzFile file = gzopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(gzwrite(file, data.data(), unsigned(data.size())), int(data.size()));
  gzclose(file);
}

Bytes take(unsigned char* out, int length) {
  Bytes result(out, out + (length > 0 ? length : 0));
  std::free(out);
  return result;
}

// Restores the inflation limit a test lowers.
struct ScopedInflateLimit {
  explicit ScopedInflateLimit(std::size_t limit) : saved(ccMaximumInflatedLength()) {
    ccSetMaximumInflatedLength(limit);
  }
  ~ScopedInflateLimit() { ccSetMaximumInflatedLength(saved); }
  std::size_t saved;
};
}  // namespace

TEST(ZipUtils, InflateMemoryGrowsPastItsFirstBufferAndReadsGzipToo) {
  Bytes original = pattern(600 * 1024);  // more than the 256 KiB first buffer, twice doubled
  Bytes compressed = zlibCompress(original);
  unsigned char* out = nullptr;
  int length = ccInflateMemory(compressed.data(), unsigned(compressed.size()), &out);
  EXPECT_EQ(take(out, length), original);

  // The same reader detects a gzip header.
  z_stream stream{};
  ASSERT_EQ(deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
  Bytes gz(compressBound(uLong(original.size())) + 64);
  stream.next_in = original.data();
  stream.avail_in = unsigned(original.size());
  stream.next_out = gz.data();
  stream.avail_out = unsigned(gz.size());
  ASSERT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  gz.resize(stream.total_out);
  deflateEnd(&stream);
  length = ccInflateMemory(gz.data(), unsigned(gz.size()), &out);
  EXPECT_EQ(take(out, length), original);
}

TEST(ZipUtils, InflateMemoryRefusesDamagedTruncatedAndOversizedStreams) {
  Bytes compressed = zlibCompress(pattern(4096));
  unsigned char* out = reinterpret_cast<unsigned char*>(1);
  // Cut short: the stream never ends, which must not loop or grow forever.
  EXPECT_EQ(ccInflateMemory(compressed.data(), unsigned(compressed.size() / 2), &out), 0);
  EXPECT_EQ(out, nullptr);
  Bytes damaged = compressed;
  damaged[5] ^= 0xFF;
  damaged[6] ^= 0xFF;
  EXPECT_EQ(ccInflateMemory(damaged.data(), unsigned(damaged.size()), &out), 0);
  EXPECT_EQ(out, nullptr);

  // A bomb: 64 MiB of zeros from a small stream, with a 1 MiB limit.
  ScopedInflateLimit limit(1 << 20);
  Bytes bomb = zlibCompress(Bytes(64 << 20, 0));
  EXPECT_LT(bomb.size(), 100u * 1024);
  EXPECT_EQ(ccInflateMemory(bomb.data(), unsigned(bomb.size()), &out), 0);
  EXPECT_EQ(out, nullptr);
}

TEST(ZipUtils, GzipFileIsReadInGrowingChunksAndReturnedWhole) {
  TempDir dir;
  // 1.5 MiB fills a 512 KiB and then a 1 MiB chunk exactly; the sizes around
  // it end reads short in each chunk.
  for (std::size_t size :
       {std::size_t(0), std::size_t(1), std::size_t(512 * 1024), std::size_t(1536 * 1024) - 1,
        std::size_t(1536 * 1024), std::size_t(1536 * 1024) + 1}) {
    Bytes original = pattern(size);
    std::string path = dir.file("data.gz");
    writeGzip(path, original);
    unsigned char* out = nullptr;
    int length = ccInflateGZipFile(path.c_str(), &out);
    EXPECT_EQ(length, int(size)) << size;
    EXPECT_EQ(take(out, length), original) << size;
  }
  unsigned char* out = nullptr;
  EXPECT_EQ(ccInflateGZipFile(dir.file("missing.gz").c_str(), &out), -1);

  // Cut off before its end, a gzip file is refused rather than returned short.
  writeGzip(dir.file("whole.gz"), pattern(100000));
  std::ifstream in(dir.file("whole.gz"), std::ios::binary);
  Bytes whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  writeFile(dir.file("cut.gz"), Bytes(whole.begin(), whole.begin() + long(whole.size() / 2)));
  EXPECT_EQ(ccInflateGZipFile(dir.file("cut.gz").c_str(), &out), -1);
  EXPECT_EQ(out, nullptr);
}

TEST(ZipUtils, GzipFileThatKeepsInflatingPastTheLimitIsRefused) {
  TempDir dir;
  writeGzip(dir.file("bomb.gz"), Bytes(8 << 20, 0));
  ScopedInflateLimit limit(2 << 20);
  unsigned char* out = nullptr;
  EXPECT_EQ(ccInflateGZipFile(dir.file("bomb.gz").c_str(), &out), -1);
  EXPECT_EQ(out, nullptr);
}

TEST(ZipUtils, CCZChecksSignatureVersionTypeAndLength) {
  TempDir dir;
  Bytes payload = pattern(70000);
  unsigned char* out = nullptr;

  for (unsigned version : {0u, 1u, 2u}) {
    writeFile(dir.file("ok.ccz"), cczFile(payload, 0, version));
    int length = ccInflateCCZFile(dir.file("ok.ccz").c_str(), &out);
    EXPECT_EQ(take(out, length), payload) << version;
  }
  struct Case {
    const char* what;
    Bytes file;
  } refused[] = {
      {"version 3", cczFile(payload, 0, 3)},
      {"compression type 1", cczFile(payload, 1, 2)},
      {"announces more than the stream holds", cczFile(payload, 0, 2, payload.size() + 1)},
      {"announces less than the stream holds", cczFile(payload, 0, 2, payload.size() - 1)},
      {"announces more than deflate can hold", cczFile(payload, 0, 2, 200u << 20)},
      {"announces more than the limit", cczFile(payload, 0, 2, 0xFFFFFFFFu)},
      {"announces nothing", cczFile(payload, 0, 2, 0)},
      {"header only", Bytes{'C', 'C', 'Z', '!', 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 1, 0}},
      {"short header", Bytes{'C', 'C', 'Z', '!', 0, 0}},
      {"wrong signature",
       [&] {
         Bytes b = cczFile(payload);
         b[3] = '?';
         return b;
       }()},
  };
  for (const Case& c : refused) {
    writeFile(dir.file("bad.ccz"), c.file);
    EXPECT_EQ(ccInflateCCZFile(dir.file("bad.ccz").c_str(), &out), -1) << c.what;
    EXPECT_EQ(out, nullptr) << c.what;
  }
  EXPECT_EQ(ccInflateCCZFile(dir.file("missing.ccz").c_str(), &out), -1);
}

TEST(ZipUtils, LoadFileIntoMemoryReturnsTheBytesOrClearsTheBuffer) {
  TempDir dir;
  Bytes data = pattern(1234);
  writeFile(dir.file("raw.bin"), data);
  unsigned char* out = nullptr;
  int length = ccLoadFileIntoMemory(dir.file("raw.bin").c_str(), &out);
  EXPECT_EQ(take(out, length), data);
  out = reinterpret_cast<unsigned char*>(1);
  EXPECT_EQ(ccLoadFileIntoMemory(dir.file("none.bin").c_str(), &out), -1);
  EXPECT_EQ(out, nullptr);
}

// Texture files whose data would inflate past the default limit (twice the
// largest picture) are refused, each named once in the log however often it
// is asked for. Headers that ask for too much cost nothing: a CCZ that asks
// for 4 GiB, and a CCZ and a gzip file whose 64 KB honestly inflate to the
// 64 MiB they announce. A gzip file that announces less is inflated until it
// passes the limit: no block larger than that.
TEST(ZipUtils, FilesThatInflatePastTheLimitAreRefusedOnceAndCostAtMostTheLimit) {
  constexpr std::size_t kMiB = std::size_t(1) << 20;
  ASSERT_EQ(ccMaximumInflatedLength(), 32 * kMiB);
  TempDir dir;
  const Bytes zeros(64 * kMiB, 0);
  const std::string liar = dir.file("liar.pvr.ccz"), bomb = dir.file("bomb.pvr.ccz");
  const std::string gzipBomb = dir.file("bomb.pvr.gz"), gzipLiar = dir.file("liar.pvr.gz");
  writeFile(liar, cczFile(pattern(4096), 0, 2, 0xFFFFFFFFu));
  writeFile(bomb, cczFile(zeros));
  writeGzip(gzipBomb, zeros);
  std::ifstream in(gzipBomb, std::ios::binary);
  Bytes lying((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  lying[lying.size() - 2] = 0;  // the trailer now says 0 bytes
  lying[lying.size() - 1] = 0;
  writeFile(gzipLiar, lying);
  const LogLevel saved = logLevel();
  setLogLevel(LogLevel::Warning);
  testing::internal::CaptureStderr();
  unsigned char* out = nullptr;
  {
    MemoryMeter meter;
    for (int visit = 0; visit < 3; ++visit) {
      EXPECT_EQ(ccInflateCCZFile(liar.c_str(), &out), -1);
      EXPECT_EQ(ccInflateCCZFile(bomb.c_str(), &out), -1);
      EXPECT_EQ(ccInflateGZipFile(gzipBomb.c_str(), &out), -1);
    }
    EXPECT_EQ(out, nullptr);
    EXPECT_LT(meter.residentGrowth(), 2 * kMiB);
    if (MemoryMeter::allocationsSeen()) {
      EXPECT_LT(meter.largestAllocation(), kMiB);
    }
  }
  {
    MemoryMeter meter;
    EXPECT_EQ(ccInflateGZipFile(gzipLiar.c_str(), &out), -1);
    EXPECT_EQ(ccInflateGZipFile(gzipLiar.c_str(), &out), -1);
    EXPECT_EQ(out, nullptr);
    if (MemoryMeter::allocationsSeen()) {
      EXPECT_LE(meter.largestAllocation(), 32 * kMiB);
    }
  }
  const std::string said = testing::internal::GetCapturedStderr();
  setLogLevel(saved);
  const std::string prefix = "lumo-book: warning: image ";
  EXPECT_EQ(said,
            prefix + liar + ": CCZ of 4294967295 bytes, over the limit of 32 MiB, refused\n" +
                prefix + bomb + ": CCZ of 67108864 bytes, over the limit of 32 MiB, refused\n" +
                prefix + gzipBomb +
                ": the gzip file announces 67108864 bytes, over the limit of 32 MiB, refused\n" +
                prefix + gzipLiar + ": the gzip file inflates past the limit of 32 MiB, refused\n");
}
