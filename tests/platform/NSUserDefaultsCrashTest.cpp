// A program killed at any moment while it stores "Lan" leaves the preferences
// file as it was before or after that store, never empty or cut short.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "NSUserDefaults.h"
#include "TestSupport.h"

namespace {
// A long second value makes every store take several writes, so that kills
// often land in the middle of one.
const std::string kNote(64 * 1024, 'n');

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The exact file that the defaults write for this language.
std::string fileFor(const std::string& language) {
  TempDir dir;
  NSUserDefaults defaults(dir.file("defaults.json"));
  defaults.setObject(kNote, "note");
  defaults.setObject(language, "Lan");
  return readFile(defaults.path());
}

// Stores "Lan" over and over, says when it has started, and never returns.
[[noreturn]] void storeForever(const std::string& path, int ready) {
  NSUserDefaults defaults(path);
  char byte = 1;
  if (write(ready, &byte, 1) != 1) _exit(3);
  for (unsigned i = 0;; ++i) defaults.setObject(i % 2 ? "2001" : "2000", "Lan");
}

struct Kill {
  bool midWrite;  // the temporary file was there: the kill interrupted a store
};

Kill killWhileStoring(const std::string& path, std::chrono::microseconds delay) {
  int ready[2];
  if (pipe(ready) != 0) ADD_FAILURE() << "no pipe";
  pid_t child = fork();
  if (child == 0) {
    close(ready[0]);
    storeForever(path, ready[1]);
  }
  close(ready[1]);
  char byte = 0;
  EXPECT_EQ(read(ready[0], &byte, 1), 1) << "the writer did not start";
  close(ready[0]);
  std::this_thread::sleep_for(delay);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
  return {std::filesystem::exists(path + ".tmp")};
}
}  // namespace

TEST(UserDefaultsCrash, KilledWhileStoringLanLeavesTheOldOrTheNewFile) {
  const auto start = std::chrono::steady_clock::now();
  const std::string lan2001 = fileFor("2001"), lan2000 = fileFor("2000");
  // Stores take from well under a millisecond to tens of them (fsync): kills
  // are spread over a few stores' time, whatever this machine's disk is.
  const auto store = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::steady_clock::now() - start) /
                     4;
  ASSERT_NE(lan2001, lan2000);
  TempDir dir;
  const std::string path = dir.file("defaults.json");
  {
    NSUserDefaults defaults(path);
    defaults.setObject(kNote, "note");
    defaults.setObject("2000", "Lan");
  }

  std::mt19937 random(17);
  std::uniform_int_distribution<long> delay(0, 3 * std::max(store.count(), 100L));
  constexpr int kKills = 250;
  int midWrite = 0, seen2001 = 0, seen2000 = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  int kills = 0;
  for (; kills < kKills && std::chrono::steady_clock::now() < deadline; ++kills) {
    const Kill k = killWhileStoring(path, std::chrono::microseconds(delay(random)));
    const std::string text = readFile(path);
    if (text == lan2001) {
      ++seen2001;
    } else if (text == lan2000) {
      ++seen2000;
    } else {
      FAIL() << "after kill " << kills << " the file holds " << text.size()
             << " bytes that are neither complete version: " << text.substr(0, 80);
    }
    midWrite += k.midWrite;
  }
  std::printf("%d kills, %d inside a store; the file held 2000 %d times, 2001 %d times\n", kills,
              midWrite, seen2000, seen2001);
  // Without kills inside stores the test would prove nothing.
  EXPECT_GE(kills, 30);
  EXPECT_GT(midWrite, kills / 10) << "kills inside a store: " << midWrite << " of " << kills;
  EXPECT_GT(seen2001, 0);
  EXPECT_GT(seen2000, 0);
  NSUserDefaults after(path);
  EXPECT_EQ(after.stringForKey("note").value_or(""), kNote);
}
