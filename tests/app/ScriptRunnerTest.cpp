#include <gtest/gtest.h>

#include "CommandLine.h"
#include "KeyCommands.h"
#include "KeyInput.h"
#include "KstStage.h"
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

  // Multisampling: off unless asked; any count the GL may cut to its most.
  EXPECT_EQ(line.msaaSamples, 0);
  const char* msaa[] = {"lumo-book", "--msaa", "4"};
  ASSERT_TRUE(CommandLine::parse(3, msaa, line, error)) << error;
  EXPECT_EQ(line.msaaSamples, 4);
  for (const char* count : {"0", "1", "64"}) {
    const char* some[] = {"lumo-book", "--msaa", count};
    EXPECT_TRUE(CommandLine::parse(3, some, bad, error)) << count;
  }
  for (const char* count : {"-1", "four", "4x", "", "99999999999"}) {
    const char* garbage[] = {"lumo-book", "--msaa", count};
    EXPECT_FALSE(CommandLine::parse(3, garbage, bad, error)) << count;
    EXPECT_EQ(error.rfind("--msaa needs a whole number of samples per pixel", 0), 0u) << error;
  }
}

TEST(CommandLineParsing, PageIsAPageOfTheBookAutoPlayIsAFlag) {
  const char* ok[] = {"lumo-book", "--page", "18", "--auto-play"};
  CommandLine line;
  std::string error;
  ASSERT_TRUE(CommandLine::parse(4, ok, line, error)) << error;
  EXPECT_EQ(line.pageText, "18");
  EXPECT_TRUE(line.autoPlay);
  CommandLine plain;
  EXPECT_EQ(plain.page, 0);
  EXPECT_FALSE(plain.autoPlay);
  // The range is the open book's: the built-in one's 18 pages, or another's.
  const int pages = KstStage::stage()->totalStageCount();
  ASSERT_TRUE(CommandLine::parsePage("18", pages, line.page, error)) << error;
  EXPECT_EQ(line.page, 18);
  for (const char* bad : {"0", "19", "-1", "3a", "", "nine", "1e1"}) {
    int page = 0;
    EXPECT_FALSE(CommandLine::parsePage(bad, pages, page, error)) << bad;
    EXPECT_EQ(error, "--page needs a page of the book, 1 to 18, not \"" + std::string(bad) + "\"");
  }
  int page = 0;
  EXPECT_TRUE(CommandLine::parsePage("40", 60, page, error));
  EXPECT_EQ(page, 40);
  EXPECT_FALSE(CommandLine::parsePage("7", 6, page, error));
  EXPECT_EQ(error, "--page needs a page of the book, 1 to 6, not \"7\"");
  const char* missing[] = {"lumo-book", "--page"};
  EXPECT_FALSE(CommandLine::parse(2, missing, line, error));
  EXPECT_EQ(error, "--page needs a value");
}

TEST(CommandLineParsing, TheEpubsLanguageIsOneOfTheReadingLanguagesAndOnlyForAnEpub) {
  const char* ok[] = {"lumo-book", "--export-epub", "b.epub", "--language", "2001"};
  CommandLine line;
  std::string error;
  ASSERT_TRUE(CommandLine::parse(5, ok, line, error)) << error;
  EXPECT_EQ(line.exportEpub, "b.epub");
  EXPECT_EQ(line.language, 2001);
  for (const char* bad : {"2002", "ru", "", "2000.0"}) {
    const char* argv[] = {"lumo-book", "--export-epub", "b.epub", "--language", bad};
    CommandLine line2;
    EXPECT_FALSE(CommandLine::parse(5, argv, line2, error)) << bad;
    EXPECT_EQ(error,
              "--language is 2000 (Russian) or 2001 (English), not \"" + std::string(bad) + "\"");
  }
  const char* alone[] = {"lumo-book", "--language", "2000"};
  CommandLine line3;
  EXPECT_FALSE(CommandLine::parse(3, alone, line3, error));
  EXPECT_EQ(error, "--language goes with --export-epub");
}

TEST(ScriptKeys, KeyHoldAndWheelParseAndRefuseWhatNoKeyboardSends) {
  ScriptRunner script;
  std::string error;
  ASSERT_TRUE(script.parse(
      "key Right\nhold Space 1.5\nwheel -2\nkey M\nkey Shift+V\nmicrophone unplug\n", error))
      << error;
  ASSERT_EQ(script.commands().size(), 6u);
  EXPECT_EQ(script.commands()[1].path, "Space");
  EXPECT_DOUBLE_EQ(script.commands()[1].numbers[0], 1.5);
  EXPECT_DOUBLE_EQ(script.commands()[2].numbers[0], -2);
  const std::string known =
      "(known: Right, Left, PageDown, PageUp, Space, Home, Escape, Enter, G, A, Minus, Plus, M, N, "
      "H, R, S, V)";
  struct Case {
    const char* text;
    std::string error;
  } cases[] = {
      {"key right\n", "line 1: unknown key \"right\" " + known},
      {"key Q\n", "line 1: unknown key \"Q\" " + known},
      {"key Shift+Q\n", "line 1: unknown key \"Shift+Q\" " + known},
      {"microphone on\n", "line 1: the microphone can only be \"unplug\"ged"},
      {"key\n", "line 1: \"key\" takes 1 argument(s)"},
      {"hold 2 Right\n", "line 1: \"Right\" is not a number"},
      {"hold Right 0\n", "line 1: a key is held for a positive time of at most 1e9 seconds"},
      {"wheel 0\n", "line 1: the wheel turns by a whole number of notches, 1 to 100 either way"},
      {"wheel 1.5\n", "line 1: the wheel turns by a whole number of notches, 1 to 100 either way"},
      {"wheel 101\n", "line 1: the wheel turns by a whole number of notches, 1 to 100 either way"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(script.parse(c.text, error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
}

TEST(ScriptKeys, HeldKeyRepeatsAfterHalfASecondThirtyTimesASecond) {
  std::vector<KeyStroke> strokes;
  std::vector<int> rolls;
  KeyInput::shared().setKeyHandler([&](const KeyStroke& s) { strokes.push_back(s); });
  KeyInput::shared().setWheelHandler([&](int n) { rolls.push_back(n); });
  ScriptRunner script;
  std::string error;
  ASSERT_TRUE(script.parse("hold Right 1\nkey Escape\nwheel 3\n", error)) << error;
  int frames = 0;
  for (; !script.finished() && frames < 200; ++frames) script.onFrame();
  KeyInput::shared().setKeyHandler(nullptr);
  KeyInput::shared().setWheelHandler(nullptr);
  // The press, then repeats at frames 30, 32, ... 60 of the hold; then the next commands.
  ASSERT_EQ(strokes.size(), 1u + 16u + 1u);
  EXPECT_EQ(strokes.front(), (KeyStroke{"Right", false}));
  for (std::size_t i = 1; i <= 16; ++i) EXPECT_EQ(strokes[i], (KeyStroke{"Right", true}));
  EXPECT_EQ(strokes.back(), (KeyStroke{"Escape", false}));
  EXPECT_EQ(rolls, std::vector<int>{3});
  EXPECT_EQ(frames, 61);
}

TEST(CommandLineParsing, MuteAndAHelpThatNamesEveryOptionAndKey) {
  const char* args[] = {"lumo-book", "--mute", "--read-myself"};
  CommandLine line;
  std::string error;
  ASSERT_TRUE(CommandLine::parse(3, args, line, error)) << error;
  EXPECT_TRUE(line.mute);
  EXPECT_TRUE(line.readMyself);
  EXPECT_FALSE(line.followWords);
  const char* words[] = {"lumo-book", "--follow-words"};
  ASSERT_TRUE(CommandLine::parse(2, words, line = {}, error)) << error;
  EXPECT_TRUE(line.followWords);
  EXPECT_FALSE(line.readMyself || line.mute);
  const std::string help = CommandLine::usage();
  for (const char* option : {"--mute", "--follow-words", "--read-myself", "--auto-play", "--page",
                             "--headless", "--script", "--frames", "--log-events", "--demo",
                             "--export-content", "--export-epub", "--version", "--help"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
    if (std::string(option) == "--help") continue;
    // Every option the help names is one the program takes.
    const char* one[] = {"lumo-book", option, "1"};
    CommandLine parsed;
    const bool takesValue = std::string(option) == "--script" ||
                            std::string(option) == "--frames" || std::string(option) == "--page" ||
                            std::string(option) == "--export-content" ||
                            std::string(option) == "--export-epub";
    if (std::string(option) != "--demo") {
      EXPECT_TRUE(CommandLine::parse(takesValue ? 3 : 2, one, parsed, error)) << option << error;
    }
  }
  for (BookKey key : KeyCommands::allKeys()) {
    std::string name = KeyCommands::nameOf(key);
    if (name == "PageDown") name = "Page Down";
    if (name == "PageUp") name = "Page Up";
    const bool listed = help.find("\n  " + name + " ") != std::string::npos ||
                        help.find("\n  " + name + ",") != std::string::npos ||
                        help.find(", " + name + " ") != std::string::npos ||
                        help.find(", " + name + ",") != std::string::npos;
    EXPECT_TRUE(listed) << name;
  }
  for (const char* windowKey : {"F11", "Ctrl+R", "Ctrl+Q", "wheel"})
    EXPECT_NE(help.find(windowKey), std::string::npos) << windowKey;
}
