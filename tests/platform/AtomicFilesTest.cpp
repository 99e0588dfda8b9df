#include "AtomicFiles.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {
std::string read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    names.push_back(fs::relative(e.path(), folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

// Writes past `bytes` fail as on a full disk (EFBIG), for the scope's life.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit old_{};
  void (*previous_)(int);
};
}  // namespace

TEST(AtomicFiles, FilesAreReplacedTogetherAndAFullDiskLeavesTheOldOnes) {
  TempDir dir;
  const std::string words = dir.file("2000/a.words"), sound = dir.file("2000/a.ogg");
  std::string error;
  ASSERT_TRUE(AtomicFiles::write({{words, "old words"}, {sound, "old sound"}}, error)) << error;
  ASSERT_TRUE(AtomicFiles::write({{words, "new words"}, {sound, "new sound"}}, error)) << error;
  EXPECT_EQ(read(words), "new words");
  EXPECT_EQ(read(sound), "new sound");
  {
    FileSizeLimit limit(4096);
    EXPECT_FALSE(AtomicFiles::write({{words, "newer"}, {sound, std::string(8192, 'x')}}, error));
  }
  EXPECT_NE(error.find("File too large"), std::string::npos) << error;
  EXPECT_EQ(read(words), "new words");  // the first file was ready, but not put in place alone
  EXPECT_EQ(read(sound), "new sound");
  EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"2000", "2000/a.ogg", "2000/a.words"}));

  std::ofstream(dir.file("file")) << "in the way";
  EXPECT_FALSE(AtomicFiles::write({{dir.file("file/2000/a.ogg"), "x"}}, error));
  EXPECT_FALSE(error.empty());
}

TEST(AtomicFiles, PartialFilesOfAKilledWriteAreClearedAndNothingElse) {
  TempDir dir;
  fs::create_directories(dir.file("2000"));
  for (const char* name : {"2000/a.ogg", "2000/a.ogg.partial", "2000/b.words.partial", "c.partial",
                           "2000/partial", "2000/d.partial.ogg"})
    std::ofstream(dir.file(name)) << "x";
  EXPECT_EQ(AtomicFiles::removePartialFiles(dir.path()), 3u);
  EXPECT_EQ(listing(dir.path()),
            (std::vector<std::string>{"2000", "2000/a.ogg", "2000/d.partial.ogg", "2000/partial"}));
  EXPECT_EQ(AtomicFiles::removePartialFiles(dir.file("missing")), 0u);
}
