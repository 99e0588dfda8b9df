#include <gtest/gtest.h>

#include "CommandLine.h"
#include "ScriptRunner.h"

TEST(ScriptParsing, AcceptsEveryCommandAndComments) {
  ScriptRunner script;
  std::string error;
  ASSERT_TRUE(
      script.parse("# a comment\n"
                   "wait 1.5\n"
                   "down 10 20\nmove 11 21\nup 12 22   # trailing comment\n"
                   "drag 100 600 100 300 0.5\n"
                   "tap 5 6\naccel 0 -1 0.1\norientation 4\n\n"
                   "screenshot out.png\ndump state.json\nfocus out\nclock -3600\nquit\n",
                   error))
      << error;
  ASSERT_EQ(script.commands().size(), 13u);
  EXPECT_EQ(script.commands()[0].verb, "wait");
  EXPECT_DOUBLE_EQ(script.commands()[0].numbers[0], 1.5);
  EXPECT_EQ(script.commands()[4].numbers.size(), 5u);
  EXPECT_EQ(script.commands()[8].path, "out.png");
  EXPECT_EQ(script.commands()[8].line, 11);
  EXPECT_EQ(script.commands()[10].path, "out");
  EXPECT_DOUBLE_EQ(script.commands()[11].numbers[0], -3600);
}

TEST(ScriptParsing, MalformedLinesNameTheLine) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"wait 1\njump 3\n", "line 2: unknown command \"jump\""},
      {"tap 1\n", "line 1: \"tap\" takes 2 argument(s)"},
      {"\n\ndown 1 x\n", "line 3: \"x\" is not a number"},
      {"wait -1\n", "line 1: a wait cannot be negative"},
      {"orientation 7\n", "line 1: orientation must be 1 to 6"},
      {"drag 0 0 1 1 0\n", "line 1: a drag needs a positive duration"},
      {"screenshot\n", "line 1: \"screenshot\" takes 1 argument(s)"},
      {"wait nan\n", "line 1: \"nan\" is not a number"},
      {"focus away\n", "line 1: focus is \"in\" or \"out\""},
      {"clock -2e9\n", "line 1: the clock cannot jump by more than 1e9 seconds"},
  };
  for (const auto& c : cases) {
    ScriptRunner script;
    std::string error;
    EXPECT_FALSE(script.parse(c.text, error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
}

TEST(ScriptParsing, UnreadableFile) {
  ScriptRunner script;
  std::string error;
  EXPECT_FALSE(script.load("/nonexistent/script.txt", error));
  EXPECT_EQ(error, "cannot read the script /nonexistent/script.txt");
}

TEST(CommandLineParsing, FlagsAndErrors) {
  const char* ok[] = {"lumo-book", "--headless", "--script",    "s.txt",
                      "--frames",  "30",         "--log-events"};
  CommandLine line;
  std::string error;
  ASSERT_TRUE(CommandLine::parse(7, ok, line, error)) << error;
  EXPECT_TRUE(line.headless);
  EXPECT_TRUE(line.logEvents);
  EXPECT_EQ(line.script, "s.txt");
  EXPECT_EQ(line.frames, 30);

  const char* unknown[] = {"lumo-book", "--fast"};
  CommandLine bad;
  EXPECT_FALSE(CommandLine::parse(2, unknown, bad, error));
  EXPECT_EQ(error, "unknown option \"--fast\" (see --help)");
  const char* missing[] = {"lumo-book", "--script"};
  EXPECT_FALSE(CommandLine::parse(2, missing, bad, error));
  EXPECT_EQ(error, "--script needs a value");
  const char* negative[] = {"lumo-book", "--frames", "-3"};
  EXPECT_FALSE(CommandLine::parse(3, negative, bad, error));
  const char* demo[] = {"lumo-book", "--demo", "fireworks"};
  EXPECT_FALSE(CommandLine::parse(3, demo, bad, error));
  EXPECT_EQ(error, "unknown demo \"fireworks\" (known: actions, narration)");
}
