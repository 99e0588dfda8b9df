#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CrashReporter.h"
#include "MobClick.h"
#include "MobClickDelegate.h"
#include "ProgramNames.h"
#include "TestSupport.h"
#include "UsageLog.h"
#include "lumoAppDelegate.h"

namespace fs = std::filesystem;

namespace {
std::vector<nlohmann::json> lines(const std::string& path) {
  std::vector<nlohmann::json> out;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) out.push_back(nlohmann::json::parse(line));
  return out;
}

std::string text(const std::string& path) {
  std::ifstream file(path);
  std::stringstream s;
  s << file.rdbuf();
  return s.str();
}

class Key : public MobClickDelegate {
 public:
  std::string appKey() override { return "0123456789abcdef01234567"; }
};

// Usage records kept under a state folder of the test's own.
class Usage : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_STATE_HOME", state_.path().c_str(), 1); }
  void TearDown() override {
    MobClick::reset();
    unsetenv("XDG_STATE_HOME");
  }
  std::string folder() const { return state_.path() + "/lumo-book"; }
  TempDir state_;
  Key key_;
};
}  // namespace

// A launch and events become JSON lines in $XDG_STATE_HOME/lumo-book.
TEST_F(Usage, RecordsLaunchesAndEvents) {
  MobClick::setDelegate(&key_, 1);
  MobClick::appLaunched();
  MobClick::event("credits", "en");
  MobClick::event("replay");
  MobClick::flush();
  EXPECT_EQ(MobClick::folder(), folder());
  const auto records = lines(folder() + "/usage.jsonl");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0]["event"], "launch");
  EXPECT_EQ(records[0]["appKey"], "0123456789abcdef01234567");
  EXPECT_EQ(records[0]["policy"], 1);
  EXPECT_EQ(records[0]["time"].get<std::string>().size(), 20u);  // 2024-05-01T12:00:00Z
  EXPECT_EQ(records[1]["label"], "en");
  EXPECT_EQ(records[2]["event"], "replay");
}

// Policy 0 keeps nothing; with no home at all nothing is kept either, and the book goes on.
TEST_F(Usage, PolicyZeroOrNoFolderKeepsNothing) {
  MobClick::setDelegate(&key_, 0);
  MobClick::appLaunched();
  MobClick::flush();
  EXPECT_FALSE(fs::exists(folder()));
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  unsetenv("XDG_STATE_HOME");
  unsetenv("HOME");
  MobClick::setDelegate(&key_, 1);
  MobClick::setCrashReportEnabled(true);
  MobClick::appLaunched();
  EXPECT_EQ(MobClick::folder(), "");
  EXPECT_FALSE(CrashReporter::isInstalled());
  if (!home.empty()) setenv("HOME", home.c_str(), 1);
}

// A folder that cannot be written: no records, no crash handler, the book runs.
TEST_F(Usage, UnwritableFolderIsSurvived) {
  if (geteuid() == 0) {
    // root writes anywhere: a file where the folder should be blocks it instead.
    std::ofstream(folder()) << "not a folder";
  } else {
    fs::create_directories(folder());
    chmod(folder().c_str(), 0500);
  }
  MobClick::setDelegate(&key_, 1);
  MobClick::setCrashReportEnabled(true);
  MobClick::appLaunched();
  MobClick::flush();
  EXPECT_EQ(MobClick::folder(), "");
  EXPECT_FALSE(CrashReporter::isInstalled());
  chmod(folder().c_str(), 0700);
}

// The log turns over past its size: at most the current file and one older.
TEST_F(Usage, LogRotates) {
  const std::string path = state_.file("usage.jsonl");
  {
    UsageLog log(path, 100);
    for (int i = 0; i < 7; ++i) log.append(std::string(30, char('a' + i)));
    log.flush();
  }
  EXPECT_EQ(UsageLog::rotatedPath(path), state_.file("usage.1.jsonl"));
  EXPECT_EQ(text(path), std::string(30, 'g') + "\n");
  EXPECT_EQ(text(UsageLog::rotatedPath(path)), std::string(30, 'd') + "\n" + std::string(30, 'e') +
                                                   "\n" + std::string(30, 'f') + "\n");
}

// A fatal signal leaves a report with the signal, the time and a backtrace;
// the next launch names it once and keeps only the newest reports.
TEST_F(Usage, CrashReportSurvivesTheCrash) {
  fs::create_directories(folder());
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    CrashReporter::install(folder());
    std::raise(SIGSEGV);
    _exit(0);  // not reached
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV) << "the signal kills as before";
  std::vector<fs::path> fresh;
  for (const auto& entry : fs::directory_iterator(folder())) fresh.push_back(entry.path());
  ASSERT_EQ(fresh.size(), 1u);
  EXPECT_EQ(fresh[0].extension(), ".new");
  const std::string report = text(fresh[0]);
  EXPECT_NE(report.find("signal: 11 SIGSEGV"), std::string::npos) << report;
  EXPECT_NE(report.find("time: 1"), std::string::npos);
  EXPECT_NE(report.find("backtrace:\n"), std::string::npos);
  EXPECT_GT(report.size(), report.find("backtrace:\n") + 20) << "frames follow";

  for (int i = 0; i < 6; ++i)
    std::ofstream(folder() + "/crash-100000000" + std::to_string(i) + "-1.txt") << "old";
  MobClick::setDelegate(&key_, 1);
  MobClick::setCrashReportEnabled(true);
  EXPECT_TRUE(CrashReporter::isInstalled());
  MobClick::flush();
  fs::path kept = fresh[0];
  kept.replace_extension(".txt");
  EXPECT_TRUE(fs::exists(kept));
  const auto records = lines(folder() + "/usage.jsonl");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]["event"], "crashReport");
  EXPECT_EQ(records[0]["file"], kept.string());
  int reports = 0;
  for (const auto& entry : fs::directory_iterator(folder()))
    reports += entry.path().extension() == ".txt";
  EXPECT_EQ(reports, MobClick::kKeptCrashReports);
  EXPECT_TRUE(CrashReporter::collectReports(folder(), MobClick::kKeptCrashReports).empty())
      << "named once";
}

// A disk that takes no more than 64 bytes (a file size limit): the report is
// not left half written, the old one stays byte for byte, one line says so.
// A report cut short by a kill is cleared at the next launch.
TEST_F(Usage, CrashReportOnAFullDiskLeavesNothingHalfWritten) {
  fs::create_directories(folder());
  const std::string old = folder() + "/crash-1000000000-1.txt";
  std::ofstream(old) << "lumo-book crash report\nsignal: 6 SIGABRT\nend of report\n";
  const std::string oldText = text(old);
  int notices[2];
  ASSERT_EQ(pipe(notices), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(notices[1], STDERR_FILENO);
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64, 64};
    setrlimit(RLIMIT_FSIZE, &limit);
    CrashReporter::install(folder());
    std::raise(SIGSEGV);
    _exit(0);  // not reached
  }
  close(notices[1]);
  std::string said;
  char buffer[256];
  for (ssize_t n; (n = read(notices[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
  close(notices[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV);
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(folder()))
    files.push_back(entry.path().filename().string());
  EXPECT_EQ(files, std::vector<std::string>{"crash-1000000000-1.txt"});
  EXPECT_EQ(text(old), oldText);
  EXPECT_EQ(said,
            ProgramNames::current().command + ": warning: no crash report: the disk is full\n");

  std::ofstream(folder() + "/crash-1000000001-2.part") << "lumo-book crash report\nsig";
  EXPECT_TRUE(CrashReporter::collectReports(folder(), MobClick::kKeptCrashReports).empty());
  EXPECT_FALSE(fs::exists(folder() + "/crash-1000000001-2.part"));
  EXPECT_EQ(text(old), oldText);
}

TEST(AppDelegate, AppKeyIs24LowerHexDigits) {
  auto delegate = makeObject<lumoAppDelegate>();
  const std::string key = delegate->appKey();
  EXPECT_EQ(key.size(), 24u);
  EXPECT_EQ(key.find_first_not_of("0123456789abcdef"), std::string::npos);
}
