#include "KeyCommands.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "../book/lumoWorldReadingFixture.h"
#include "AudioCapture.h"
#include "CCLayer.h"
#include "CCScene.h"
#include "KstSound.h"
#include "Log.h"
#include "ReadingSwitches.h"
#include "SoundSwitches.h"
#include "ToastNotice.h"
#include "lmOwnVoices.h"
#include "lmReadingAids.h"

namespace {

// The book's keys on a world and a running layer for the notices, with the
// credits hook counted.
class KeyCommandsTest : public lumoWorldReadingTest {
 protected:
  void SetUp() override {
    lumoWorldReadingTest::SetUp();
    scene = CCScene::node();
    layer = CCLayer::node();
    layer->setContentSize({1024, 768});
    scene->addChild(layer.get());
    director->runWithScene(scene.get());
    director->drawScene();
    keys = std::make_unique<KeyCommands>(KeyCommands::Hooks{
        [this] { return world.get(); }, [this]() -> CCNode* { return layer.get(); },
        [this] {
          ++creditsClosed;
          return true;
        },
        [this] { return creditsOpen; }});
  }
  void TearDown() override {
    keys = nullptr;
    scene = nullptr;
    layer = nullptr;
    KstSound::shared()->setMusicOn(true);
    KstSound::shared()->setVoicesOn(true);
    lmReadingAids::shared().setFollowsWords(false);
    lmReadingAids::shared().setReadsByMyself(false);
    lmReadingAids::shared().setTurnsPages(false);
    lmReadingAids::shared().setReadsBySentence(false);
    lmReadingAids::shared().setPace(lmReadingPace::kNormal);
    KstSound::shared()->setVoiceTempo(1);
    lumoWorldReadingTest::TearDown();
  }
  void press(BookKey key, bool repeat = false, bool shift = false) {
    keys->keyPressed({KeyCommands::nameOf(key), repeat, shift});
  }
  nlohmann::json stored() {
    std::ifstream in(dir.file("defaults.json"));
    return nlohmann::json::parse(in);
  }

  Ptr<CCScene> scene;
  Ptr<CCLayer> layer;
  std::unique_ptr<KeyCommands> keys;
  int creditsClosed = 0;
  bool creditsOpen = false;
};

TEST_F(KeyCommandsTest, TurnKeysAndTheirRepeatsTurnOncePerTurn) {
  press(BookKey::Right);
  EXPECT_EQ(info()->curStageIndex(), 2);
  // Held down for two seconds, repeating every frame, while the page turns.
  for (int i = 0; i < 40; ++i) {
    press(BookKey::Right, true);
    press(i % 2 ? BookKey::Space : BookKey::PageDown, true);
    advance(0.05);
  }
  EXPECT_EQ(info()->curStageIndex(), 3) << "one more turn once the first had settled";
  settle();
  press(BookKey::PageDown);
  settle();
  EXPECT_EQ(info()->curStageIndex(), 4);
  press(BookKey::Left);
  EXPECT_EQ(info()->curStageIndex(), 3);
  press(BookKey::PageUp);
  EXPECT_EQ(info()->curStageIndex(), 3);
  settle();
  press(BookKey::PageUp);
  settle();
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground2"});
}

TEST_F(KeyCommandsTest, WheelTurnsOncePerNotchAndIgnoresNotchesDuringATurn) {
  keys->wheelRolled(3);  // a quick roll of three notches
  EXPECT_EQ(info()->curStageIndex(), 2);
  advance(0.5);
  keys->wheelRolled(1);
  keys->wheelRolled(-1);
  settle();
  EXPECT_EQ(info()->curStageIndex(), 2);
  keys->wheelRolled(1);
  settle();
  keys->wheelRolled(-2);
  settle();
  EXPECT_EQ(info()->curStageIndex(), 2);
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground2"});
}

TEST_F(KeyCommandsTest, HomeAndEscapeActOnlyOnFreshPresses) {
  press(BookKey::Home);
  EXPECT_EQ(info()->curStageIndex(), 1);
  turnTo(3);
  press(BookKey::Home, true);
  EXPECT_EQ(info()->curStageIndex(), 3) << "a repeat is not a press";
  press(BookKey::Home);
  EXPECT_EQ(info()->curStageIndex(), 1);
  settle();
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground1"});

  press(BookKey::Escape, true);
  EXPECT_EQ(creditsClosed, 0);
  press(BookKey::Escape);
  EXPECT_EQ(creditsClosed, 1);
  EXPECT_EQ(info()->curStageIndex(), 1);
  EXPECT_FALSE(info()->lockDrag());
}

// Mono 16-bit WAV at 22050 Hz: `words` tones of 0.4 s with 0.2 s between them.
void writeReading(const std::string& path, int words) {
  std::vector<std::int16_t> samples(22050 / 2, 0);
  for (int w = 0; w < words; ++w) {
    for (int i = 0; i < 22050 * 2 / 5; ++i)
      samples.push_back(std::int16_t(6000 * std::sin(2 * M_PI * 220 * i / 22050)));
    samples.insert(samples.end(), 22050 / 5, 0);
  }
  std::ofstream out(path, std::ios::binary);
  auto put = [&out](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(char((v >> (8 * i)) & 0xFF));
  };
  const std::uint32_t data = std::uint32_t(samples.size() * 2);
  out << "RIFF";
  put(36 + data, 4);
  out << "WAVEfmt ";
  for (auto [v, n] :
       {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {22050u, 4}, {44100u, 4}, {2u, 2}, {16u, 2}})
    put(v, n);
  out << "data";
  put(data, 4);
  for (std::int16_t s : samples) put(std::uint16_t(s), 2);
}

// V records the page (the page holds still meanwhile), V again keeps it,
// Shift+V twice removes it, Escape cancels; without a microphone, a notice.
TEST_F(KeyCommandsTest, OwnVoiceKeysRecordKeepRemoveAndCancel) {
  lmOwnVoices::shared().setFolder(dir.file("voices"));
  turnTo(2);
  advance(3);  // the panel is up and reading
  press(BookKey::V);
  EXPECT_EQ(keys->notice()->text(), "Микрофон не найден");
  EXPECT_FALSE(world->ownVoice().isBusy());
  EXPECT_FALSE(info()->lockDrag());

  writeReading(dir.file("reading.wav"), 4);
  AudioCapture::shared().setStandInFile(dir.file("reading.wav"));
  press(BookKey::V);
  EXPECT_EQ(world->ownVoice().recorder().state(), lmVoiceRecorder::State::Countdown);
  EXPECT_EQ(KstSound::shared()->playingSoundName(), "") << "the book falls silent";
  press(BookKey::Right);
  press(BookKey::Home);
  EXPECT_EQ(info()->curStageIndex(), 2);
  advance(3.1);
  EXPECT_EQ(world->ownVoice().recorder().state(), lmVoiceRecorder::State::Recording);
  advance(3);
  press(BookKey::V);
  EXPECT_FALSE(world->ownVoice().isBusy());
  EXPECT_FALSE(info()->lockDrag());
  EXPECT_EQ(keys->notice()->text(), "Запись сохранена");
  EXPECT_TRUE(world->ownVoice().pageReadsOwnVoice());
  const std::string kept = dir.file("voices/2000/QRB_p1_ru.ogg");
  EXPECT_TRUE(std::filesystem::exists(kept));

  press(BookKey::V, false, true);
  EXPECT_EQ(keys->notice()->text(), "Ещё раз Shift+V, чтобы удалить свою запись");
  advance(3.5);  // too late: asks again
  press(BookKey::V, false, true);
  EXPECT_TRUE(std::filesystem::exists(kept));
  advance(1);
  press(BookKey::V, false, true);
  EXPECT_FALSE(std::filesystem::exists(kept));
  EXPECT_FALSE(world->ownVoice().pageReadsOwnVoice());

  press(BookKey::V);
  advance(4);
  press(BookKey::Escape);
  EXPECT_EQ(creditsClosed, 0) << "Escape cancelled the recording first";
  EXPECT_EQ(keys->notice()->text(), "Запись отменена");
  EXPECT_FALSE(world->ownVoice().isBusy());
  EXPECT_FALSE(std::filesystem::exists(kept));
  press(BookKey::Right);
  settle();
  EXPECT_EQ(info()->curStageIndex(), 3);
  AudioCapture::shared().setStandInFile("");
  lmOwnVoices::shared().setFolder("");
}

TEST_F(KeyCommandsTest, KeysTheBookDoesNotKnowChangeNothing) {
  for (const char* other : {"Up", "Down", "Enter", "Q", "m", "right", "7", ""}) {
    keys->keyPressed({other, false});
    keys->keyPressed({other, true});
  }
  EXPECT_EQ(info()->curStageIndex(), 1);
  EXPECT_EQ(creditsClosed, 0);
  EXPECT_TRUE(KstSound::shared()->isMusicOn());
  EXPECT_TRUE(KstSound::shared()->areVoicesOn());
  EXPECT_FALSE(lmReadingAids::shared().followsWords());
  EXPECT_FALSE(keys->notice()->isShowing());
}

TEST_F(KeyCommandsTest, SwitchesAreStoredBesideTheLanguageAndShownInIt) {
  press(BookKey::M);
  EXPECT_FALSE(KstSound::shared()->isMusicOn());
  EXPECT_TRUE(KstSound::shared()->areVoicesOn());
  EXPECT_EQ(stored()["Music"], "off");
  EXPECT_EQ(stored()["Lan"], "2000");
  ToastNotice* notice = keys->notice();
  ASSERT_TRUE(notice->isShowing());
  EXPECT_EQ(notice->box()->parent(), layer.get());
  EXPECT_EQ(notice->text(), "Музыка выключена");

  press(BookKey::M, true);  // held: no flicker
  EXPECT_FALSE(KstSound::shared()->isMusicOn());
  press(BookKey::N);
  EXPECT_FALSE(KstSound::shared()->areVoicesOn());
  EXPECT_EQ(stored()["Voices"], "off");
  EXPECT_EQ(notice->text(), "Голоса выключены");

  info()->setCurLangTag(lmStageInfo::kLangEnglish);
  press(BookKey::M);
  EXPECT_TRUE(KstSound::shared()->isMusicOn());
  EXPECT_EQ(stored()["Music"], "on");
  EXPECT_EQ(notice->text(), "Music on");
  EXPECT_EQ(keys->switchText(false, true), "Voices on");
  EXPECT_EQ(keys->switchText(false, false), "Voices off");
}

TEST_F(KeyCommandsTest, NoticeFadesAwayAndANewOneStartsAfresh) {
  const std::size_t children = layer->childrenCount();
  press(BookKey::N);
  ToastNotice* notice = keys->notice();
  ASSERT_NE(notice->label(), nullptr);
  // Centred near the top of the layer.
  const CGPoint at = notice->box()->position();
  const CGSize size = notice->box()->contentSize();
  EXPECT_NEAR(at.x + size.width / 2, 512, 0.5);
  EXPECT_NEAR(at.y + size.height, 768 - ToastNotice::kTopMargin, 0.5);
  EXPECT_GT(size.width, notice->label()->contentSize().width);

  advance(ToastNotice::kShownFor + ToastNotice::kFadeFor / 2);
  EXPECT_LT(notice->label()->opacity(), 200);
  EXPECT_GT(notice->label()->opacity(), 50);
  press(BookKey::N);  // mid-fade: the new notice shows in full for its own time
  EXPECT_EQ(notice->label()->opacity(), 255);
  EXPECT_EQ(notice->box()->opacity(), ToastNotice::kBoxOpacity);
  EXPECT_EQ(notice->text(), "Голоса включены");
  EXPECT_EQ(layer->childrenCount(), children + 1) << "one notice at a time";
  advance(ToastNotice::kShownFor);
  EXPECT_TRUE(notice->isShowing());
  advance(ToastNotice::kFadeFor + 0.1);
  EXPECT_FALSE(notice->isShowing());
  EXPECT_EQ(layer->childrenCount(), children);
}

TEST_F(KeyCommandsTest, WithoutABookOnlyTheSwitchesWork) {
  KeyCommands bare({[]() -> lumoWorld* { return nullptr; }, []() -> CCNode* { return nullptr; },
                    nullptr, nullptr});
  for (BookKey key : KeyCommands::allKeys()) bare.keyPressed({KeyCommands::nameOf(key), false});
  bare.wheelRolled(2);
  EXPECT_EQ(info()->curStageIndex(), 1);
  EXPECT_FALSE(KstSound::shared()->isMusicOn());
  EXPECT_FALSE(KstSound::shared()->areVoicesOn());
  EXPECT_TRUE(lmReadingAids::shared().followsWords());
  EXPECT_TRUE(lmReadingAids::shared().readsByMyself());
  EXPECT_TRUE(lmReadingAids::shared().readsBySentence());
  EXPECT_EQ(lmReadingAids::shared().pace(), lmReadingPace::kNormal);  // minus, then plus
  EXPECT_FALSE(bare.notice()->isShowing());
  EXPECT_EQ(bare.notice()->text(), "По предложениям");  // S, the last switch with a notice
}

TEST_F(KeyCommandsTest, ReadingAidsAreStoredBesideTheLanguageAndShownInIt) {
  press(BookKey::H);
  EXPECT_TRUE(lmReadingAids::shared().followsWords());
  EXPECT_FALSE(lmReadingAids::shared().readsByMyself());
  EXPECT_EQ(stored()["FollowWords"], "on");
  EXPECT_EQ(stored()["Lan"], "2000");
  EXPECT_FALSE(stored().contains("ReadMyself"));
  ToastNotice* notice = keys->notice();
  ASSERT_TRUE(notice->isShowing());
  EXPECT_EQ(notice->text(), "Подсветка слов включена");
  press(BookKey::H, true);  // held: no flicker
  EXPECT_TRUE(lmReadingAids::shared().followsWords());

  press(BookKey::R);
  EXPECT_TRUE(lmReadingAids::shared().readsByMyself());
  EXPECT_EQ(stored()["ReadMyself"], "on");
  EXPECT_EQ(notice->text(), "Читаю сам");
  press(BookKey::R);
  EXPECT_FALSE(lmReadingAids::shared().readsByMyself());
  EXPECT_EQ(stored()["ReadMyself"], "off");
  EXPECT_EQ(notice->text(), "Книга читает сама");

  info()->setCurLangTag(lmStageInfo::kLangEnglish);
  press(BookKey::H);
  EXPECT_FALSE(lmReadingAids::shared().followsWords());
  EXPECT_EQ(stored()["FollowWords"], "off");
  EXPECT_EQ(notice->text(), "Words stay plain");
  EXPECT_EQ(keys->readingAidText(true, true), "Words light up");
  EXPECT_EQ(keys->readingAidText(false, true), "I read by myself");
  EXPECT_EQ(keys->readingAidText(false, false), "The book reads to me");
  EXPECT_EQ(stored()["Lan"], "2000") << "the notice's language is not stored";
}

// Minus and plus step the pace between its ends, the voices take it and it
// is stored; S switches sentence by sentence; both are named in the reading language.
TEST_F(KeyCommandsTest, PaceAndSentenceKeysAreStoredAndNamed) {
  ToastNotice* notice = keys->notice();
  press(BookKey::Minus);
  EXPECT_EQ(lmReadingAids::shared().pace(), lmReadingPace::kSlow);
  EXPECT_DOUBLE_EQ(KstSound::shared()->voiceTempo(), 0.8);
  EXPECT_EQ(stored()["Pace"], "slow");
  EXPECT_EQ(notice->text(), "Темп: медленный");
  press(BookKey::Minus);  // already the slowest
  EXPECT_EQ(stored()["Pace"], "slow");
  press(BookKey::Plus);
  press(BookKey::Plus);
  press(BookKey::Plus);
  EXPECT_EQ(lmReadingAids::shared().pace(), lmReadingPace::kFast);
  EXPECT_DOUBLE_EQ(KstSound::shared()->voiceTempo(), 1.2);
  EXPECT_EQ(stored()["Pace"], "fast");
  EXPECT_EQ(notice->text(), "Темп: быстрый");

  press(BookKey::S);
  EXPECT_TRUE(lmReadingAids::shared().readsBySentence());
  EXPECT_EQ(stored()["BySentence"], "on");
  EXPECT_EQ(notice->text(), "По предложениям");
  info()->setCurLangTag(lmStageInfo::kLangEnglish);
  press(BookKey::S);
  EXPECT_FALSE(lmReadingAids::shared().readsBySentence());
  EXPECT_EQ(notice->text(), "The whole page at once");
  press(BookKey::Minus);
  EXPECT_EQ(notice->text(), "Pace: normal");

  // Stored, they come back; the option is for this run only.
  ReadingSwitches::restore(false, false);
  EXPECT_EQ(lmReadingAids::shared().pace(), lmReadingPace::kNormal);
  ReadingSwitches::restore(false, false, false, true, lmReadingPace::kSlow);
  EXPECT_EQ(lmReadingAids::shared().pace(), lmReadingPace::kSlow);
  EXPECT_TRUE(lmReadingAids::shared().readsBySentence());
  EXPECT_EQ(stored()["Pace"], "normal");
  EXPECT_EQ(stored()["BySentence"], "off");
  NSUserDefaults::standardUserDefaults().setObject("lively", ReadingSwitches::kPaceKey);
  ReadingSwitches::restore(false, false);
  EXPECT_EQ(lmReadingAids::shared().pace(), lmReadingPace::kNormal);  // unreadable: normal
}

// The stored aids come back at start, off unless stored "on"; the options
// turn one on for this run without storing it.
// Read to me: A stores it and says so in the reading language; G opens the
// page navigator (not over the credits), and while it is open the book's keys
// are its own: Space turns nothing, M switches nothing, Escape closes it.
TEST_F(KeyCommandsTest, ReadToMeAndTheNavigatorKeys) {
  press(BookKey::A);
  EXPECT_TRUE(lmReadingAids::shared().turnsPages());
  EXPECT_EQ(stored()["AutoPlay"], "on");
  EXPECT_EQ(keys->notice()->text(), "Страницы листаются сами");
  info()->setCurLangTag(lmStageInfo::kLangEnglish);
  press(BookKey::A);
  EXPECT_FALSE(lmReadingAids::shared().turnsPages());
  EXPECT_EQ(stored()["AutoPlay"], "off");
  EXPECT_EQ(keys->notice()->text(), "I turn the pages");
  EXPECT_EQ(keys->autoPlayText(true), "The pages turn by themselves");

  creditsOpen = true;
  press(BookKey::G);
  EXPECT_FALSE(world->navigatorIsOpen());
  creditsOpen = false;
  press(BookKey::G);
  ASSERT_TRUE(world->navigatorIsOpen());
  press(BookKey::Space);
  press(BookKey::M);
  press(BookKey::Right);
  keys->wheelRolled(2);
  EXPECT_FALSE(info()->lockDrag()) << "a turn under the navigator";
  EXPECT_TRUE(KstSound::shared()->isMusicOn());
  EXPECT_EQ(world->reader().navigator().strip()->markedPage(), 2);
  press(BookKey::Escape);
  EXPECT_FALSE(world->navigatorIsOpen());
  EXPECT_EQ(info()->curStageIndex(), 1);
  press(BookKey::Space);
  EXPECT_TRUE(info()->lockDrag()) << "the keys are the book's again";
}

TEST_F(KeyCommandsTest, StoredAidsComeBackAndTheOptionsAreForThisRunOnly) {
  NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
  ReadingSwitches::restore(false, false, false);
  EXPECT_FALSE(lmReadingAids::shared().followsWords());
  EXPECT_FALSE(lmReadingAids::shared().readsByMyself());
  EXPECT_FALSE(lmReadingAids::shared().turnsPages());
  defaults.setObject("on", ReadingSwitches::kFollowWordsKey);
  defaults.setObject("yes", ReadingSwitches::kReadMyselfKey);  // unreadable: off
  defaults.setObject("on", ReadingSwitches::kAutoPlayKey);
  ReadingSwitches::restore(false, false, false);
  EXPECT_TRUE(lmReadingAids::shared().followsWords());
  EXPECT_FALSE(lmReadingAids::shared().readsByMyself());
  EXPECT_TRUE(lmReadingAids::shared().turnsPages());
  ReadingSwitches::restore(false, true, false);
  EXPECT_TRUE(lmReadingAids::shared().readsByMyself());
  EXPECT_EQ(stored()["ReadMyself"], "yes");
  defaults.setObject("off", ReadingSwitches::kFollowWordsKey);
  defaults.setObject("off", ReadingSwitches::kAutoPlayKey);
  ReadingSwitches::restore(true, false, true);
  EXPECT_TRUE(lmReadingAids::shared().followsWords());
  EXPECT_TRUE(lmReadingAids::shared().turnsPages());
  EXPECT_EQ(stored()["FollowWords"], "off");
  EXPECT_EQ(stored()["AutoPlay"], "off");
}

// The stored switches come back at start; --mute silences the run without storing it.
TEST_F(KeyCommandsTest, StoredSwitchesComeBackAndMuteIsForThisRunOnly) {
  NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
  defaults.setObject("off", SoundSwitches::kMusicKey);
  defaults.setObject("maybe", SoundSwitches::kVoicesKey);  // unreadable: on
  SoundSwitches::restore(false);
  EXPECT_FALSE(KstSound::shared()->isMusicOn());
  EXPECT_TRUE(KstSound::shared()->areVoicesOn());
  SoundSwitches::restore(true);
  EXPECT_FALSE(KstSound::shared()->isMusicOn());
  EXPECT_FALSE(KstSound::shared()->areVoicesOn());
  EXPECT_EQ(stored()["Voices"], "maybe");
  EXPECT_TRUE(SoundSwitches::toggleVoices());
  EXPECT_EQ(stored()["Voices"], "on");
}

TEST(SoundSwitchesUnwritable, KeptForTheSessionWithOneWarning) {
  NSUserDefaults::resetStandardUserDefaults("/proc/lumo-book-switches/defaults.json");
  const LogLevel level = logLevel();
  setLogLevel(LogLevel::Warning);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(SoundSwitches::toggleMusic());
  EXPECT_FALSE(SoundSwitches::toggleVoices());
  EXPECT_TRUE(SoundSwitches::toggleMusic());
  EXPECT_FALSE(SoundSwitches::toggleMusic());
  const std::string err = testing::internal::GetCapturedStderr();
  setLogLevel(level);
  std::size_t warnings = 0;
  for (auto at = err.find("cannot write the preferences file"); at != std::string::npos;
       at = err.find("cannot write the preferences file", at + 1))
    ++warnings;
  EXPECT_EQ(warnings, 1u) << err;
  EXPECT_FALSE(KstSound::shared()->isMusicOn());
  EXPECT_FALSE(KstSound::shared()->areVoicesOn());
  // What a restart within the session would read back.
  SoundSwitches::restore(false);
  EXPECT_FALSE(KstSound::shared()->isMusicOn());
  EXPECT_FALSE(KstSound::shared()->areVoicesOn());
  KstSound::shared()->setMusicOn(true);
  KstSound::shared()->setVoicesOn(true);
  NSUserDefaults::resetStandardUserDefaults();
}

}  // namespace

TEST(BookKeys, NamesRoundTripAndUnknownNamesAreRefused) {
  ASSERT_EQ(KeyCommands::allKeys().size(), 18u);
  for (BookKey key : KeyCommands::allKeys())
    EXPECT_EQ(KeyCommands::keyNamed(KeyCommands::nameOf(key)), key);
  for (const char* bad : {"", "right", "Ctrl+Q", "F11", "h", "Q", "Page Down", "M "})
    EXPECT_FALSE(KeyCommands::keyNamed(bad)) << bad;
}
