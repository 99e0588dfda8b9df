#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ZipWriter.h"

namespace {

std::vector<std::uint8_t> readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::uint32_t(b.at(at)) | std::uint32_t(b.at(at + 1)) << 8 |
         std::uint32_t(b.at(at + 2)) << 16 | std::uint32_t(b.at(at + 3)) << 24;
}
std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::uint16_t(b.at(at) | b.at(at + 1) << 8);
}

class ZipWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("zipwriter-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
};

// The layout an EPUB reader relies on: the first entry's name at byte 30 and
// its stored bytes right after it, a deflated entry smaller than its text,
// and the end record pointing at a central directory that lists both.
TEST_F(ZipWriterTest, StoredFirstEntryAtItsFixedPlaceAndADirectoryThatFindsEveryEntry) {
  const auto path = folder_ / "a.zip";
  ZipWriter zip(path.string(), 1700000000);
  ASSERT_TRUE(zip.add("mimetype", std::string("application/epub+zip"), ZipWriter::Method::Stored));
  const std::string text(5000, 'a');
  ASSERT_TRUE(zip.add("OEBPS/ж.txt", text, ZipWriter::Method::Deflated));
  ASSERT_TRUE(zip.finish()) << zip.error();
  const auto bytes = readAll(path);
  ASSERT_GT(bytes.size(), 100u);
  EXPECT_EQ(u32(bytes, 0), 0x04034b50u);
  EXPECT_EQ(u16(bytes, 8), 0);             // stored
  EXPECT_EQ(u32(bytes, 14), 0x2cab616fu);  // CRC-32 of the text
  EXPECT_EQ(u16(bytes, 28), 0);            // no extra field
  EXPECT_EQ(std::string(bytes.begin() + 30, bytes.begin() + 58), "mimetypeapplication/epub+zip");
  // The second entry: deflated, its name marked UTF-8.
  EXPECT_EQ(u32(bytes, 58), 0x04034b50u);
  EXPECT_EQ(u16(bytes, 58 + 6), 0x0800);
  EXPECT_EQ(u16(bytes, 58 + 8), 8);
  EXPECT_LT(u32(bytes, 58 + 18), 100u);
  EXPECT_EQ(u32(bytes, 58 + 22), 5000u);

  const std::size_t end = bytes.size() - 22;
  EXPECT_EQ(u32(bytes, end), 0x06054b50u);
  EXPECT_EQ(u16(bytes, end + 10), 2);
  const std::uint32_t directory = u32(bytes, end + 16);
  EXPECT_EQ(directory + u32(bytes, end + 12), end);
  EXPECT_EQ(u32(bytes, directory), 0x02014b50u);
  EXPECT_EQ(u32(bytes, directory + 42), 0u);  // the first entry's header
  const std::size_t second = directory + 46 + u16(bytes, directory + 28);
  EXPECT_EQ(u32(bytes, second), 0x02014b50u);
  EXPECT_EQ(u32(bytes, second + 42), 58u);
}

TEST_F(ZipWriterTest, AnArchiveThatCannotBeWrittenSaysWhereAndRefusesEveryLaterEntry) {
  const auto path = folder_ / "missing" / "a.zip";
  ZipWriter zip(path.string(), 1700000000);
  EXPECT_FALSE(zip.add("mimetype", std::string("x"), ZipWriter::Method::Stored));
  EXPECT_FALSE(zip.finish());
  EXPECT_NE(zip.error().find(path.string()), std::string::npos) << zip.error();
}

}  // namespace
