#include "KeyCommands.h"

#include <cstdlib>

#include "CCNodeController.h"
#include "ReadingSwitches.h"
#include "SoundSwitches.h"
#include "lumoAppDelegate.h"
#include "lumoWorld.h"

namespace {
constexpr int kForward = 0, kBack = 1;
}  // namespace

KeyCommands::KeyCommands(Hooks hooks) : hooks_(std::move(hooks)), notice_(ToastNotice::notice()) {
  // What the book itself has to say (its own voice's recording) shows the same way.
  lumoWorld::setNoticeHandler([this](const std::string& text) {
    notice_->show(hooks_.layer ? hooks_.layer() : nullptr, text);
  });
}

KeyCommands::Hooks KeyCommands::hooksFor(lumoAppDelegate* book) {
  return {[book] { return book->cc3World(); },
          [book]() -> CCNode* {
            return book->viewController() ? book->viewController()->controlledNode() : nullptr;
          },
          [book] {
            // As the credits' back button; nothing while no credits are shown.
            if (!book->creditsView()) return false;
            book->didClickQuitButton();
            return true;
          },
          [book] { return book->creditsView() != nullptr; }};
}

KeyCommands::~KeyCommands() {
  lumoWorld::setNoticeHandler(nullptr);
  if (!listening_) return;
  KeyInput::shared().setKeyHandler(nullptr);
  KeyInput::shared().setWheelHandler(nullptr);
}

void KeyCommands::listen() {
  listening_ = true;
  KeyInput::shared().setKeyHandler([this](const KeyStroke& press) { keyPressed(press); });
  KeyInput::shared().setWheelHandler([this](int notches) { wheelRolled(notches); });
}

void KeyCommands::keyPressed(const KeyStroke& press) {
  const std::optional<BookKey> key = keyNamed(press.key);
  if (!key) return;
  lumoWorld* book = world();
  // A key of the reader's holds read to me on this page; its own switch does not.
  if (book && *key != BookKey::A) book->readerPressedKey();
  if (book && book->navigatorIsOpen()) {
    navigatorKeyPressed(book, *key, press.repeat);
    return;
  }
  switch (*key) {
    case BookKey::Right:
    case BookKey::PageDown:
    case BookKey::Space:
      // Held keys repeat; the turn lock lets through one turn per turn, as for a long drag.
      turn(kForward);
      return;
    case BookKey::Left:
    case BookKey::PageUp:
      turn(kBack);
      return;
    default:
      break;
  }
  // A switch held down must not flicker on and off.
  if (press.repeat) return;
  switch (*key) {
    case BookKey::Home:
      if (lumoWorld* world = hooks_.world ? hooks_.world() : nullptr) world->requestHomeFromKey();
      break;
    case BookKey::Escape:
      // A recording under way goes first; the credits screen is never open then.
      if (lumoWorld* world = hooks_.world ? hooks_.world() : nullptr)
        if (world->ownVoice().cancelKey()) break;
      if (hooks_.closeCredits) hooks_.closeCredits();
      break;
    case BookKey::M:
      showSwitch(true, SoundSwitches::toggleMusic());
      break;
    case BookKey::N:
      showSwitch(false, SoundSwitches::toggleVoices());
      break;
    case BookKey::H:
      switchReadingAid(true);
      break;
    case BookKey::R:
      switchReadingAid(false);
      break;
    case BookKey::A:
      switchAutoPlay();
      break;
    case BookKey::G:
      if (book && !(hooks_.creditsShown && hooks_.creditsShown())) book->toggleNavigator();
      break;
    case BookKey::S:
      switchBySentence();
      break;
    case BookKey::Enter:
      if (lumoWorld* world = hooks_.world ? hooks_.world() : nullptr)
        world->readNextSentenceFromKey();
      break;
    case BookKey::Minus:
      changePace(ReadingSwitches::slowerPace());
      break;
    case BookKey::Plus:
      changePace(ReadingSwitches::fasterPace());
      break;
    case BookKey::V:
      ownVoiceKey(press.shift);
      break;
    default:
      break;
  }
}

void KeyCommands::navigatorKeyPressed(lumoWorld* book, BookKey key, bool repeat) {
  using NavigatorKey = lumoPageNavigator::Key;
  lumoReaderFeatures& reader = book->reader();
  switch (key) {
    case BookKey::Left:
    case BookKey::PageUp:
      // Held, the mark runs along the strip.
      reader.navigatorKey(NavigatorKey::Left);
      return;
    case BookKey::Right:
    case BookKey::PageDown:
      reader.navigatorKey(NavigatorKey::Right);
      return;
    default:
      break;
  }
  if (repeat) return;
  if (key == BookKey::Enter) reader.navigatorKey(NavigatorKey::Enter);
  if (key == BookKey::Escape || key == BookKey::G) reader.navigatorKey(NavigatorKey::Close);
}

void KeyCommands::ownVoiceKey(bool shift) {
  lumoWorld* world = hooks_.world ? hooks_.world() : nullptr;
  if (!world) return;
  if (shift)
    world->ownVoice().removeKey();
  else
    world->ownVoice().recordKey();
}

void KeyCommands::wheelRolled(int notches) {
  if (lumoWorld* book = world()) {
    book->readerPressedKey();
    if (book->reader().navigatorWheel(notches)) return;
  }
  const int direction = notches > 0 ? kForward : kBack;
  for (int i = std::abs(notches); i > 0; --i) turn(direction);
}

void KeyCommands::turn(int direction) {
  if (lumoWorld* world = hooks_.world ? hooks_.world() : nullptr)
    world->requestTurnFromKey(direction);
}

bool KeyCommands::readsEnglish() const {
  lumoWorld* world = hooks_.world ? hooks_.world() : nullptr;
  return world && world->stageInfo()->curLangTag() == lmStageInfo::kLangEnglish;
}

std::string KeyCommands::switchText(bool music, bool on) const {
  if (readsEnglish()) {
    if (music) return on ? "Music on" : "Music off";
    return on ? "Voices on" : "Voices off";
  }
  if (music) return on ? "Музыка включена" : "Музыка выключена";
  return on ? "Голоса включены" : "Голоса выключены";
}

void KeyCommands::showSwitch(bool music, bool on) {
  notice_->show(hooks_.layer ? hooks_.layer() : nullptr, switchText(music, on));
}

std::string KeyCommands::readingAidText(bool followWords, bool on) const {
  if (readsEnglish()) {
    if (followWords) return on ? "Words light up" : "Words stay plain";
    return on ? "I read by myself" : "The book reads to me";
  }
  if (followWords) return on ? "Подсветка слов включена" : "Подсветка слов выключена";
  return on ? "Читаю сам" : "Книга читает сама";
}

std::string KeyCommands::autoPlayText(bool on) const {
  if (readsEnglish()) return on ? "The pages turn by themselves" : "I turn the pages";
  return on ? "Страницы листаются сами" : "Листаю страницы сам";
}

void KeyCommands::switchAutoPlay() {
  const bool on = ReadingSwitches::toggleAutoPlay();
  if (lumoWorld* book = world()) book->readingAidsChanged();
  notice_->show(hooks_.layer ? hooks_.layer() : nullptr, autoPlayText(on));
}

std::string KeyCommands::paceText(lmReadingPace pace) const {
  static const char* const kEnglish[] = {"Pace: slow", "Pace: normal", "Pace: fast"};
  static const char* const kRussian[] = {"Темп: медленный", "Темп: обычный", "Темп: быстрый"};
  return (readsEnglish() ? kEnglish : kRussian)[pace.value()];
}

std::string KeyCommands::sentenceText(bool on) const {
  if (readsEnglish()) return on ? "Sentence by sentence" : "The whole page at once";
  return on ? "По предложениям" : "Вся страница сразу";
}

void KeyCommands::changePace(lmReadingPace pace) {
  if (lumoWorld* world = hooks_.world ? hooks_.world() : nullptr) world->paceChanged();
  notice_->show(hooks_.layer ? hooks_.layer() : nullptr, paceText(pace));
}

void KeyCommands::switchBySentence() {
  const bool on = ReadingSwitches::toggleBySentence();
  if (lumoWorld* world = hooks_.world ? hooks_.world() : nullptr) world->readingAidsChanged();
  notice_->show(hooks_.layer ? hooks_.layer() : nullptr, sentenceText(on));
}

void KeyCommands::switchReadingAid(bool followWords) {
  const bool on =
      followWords ? ReadingSwitches::toggleFollowWords() : ReadingSwitches::toggleReadMyself();
  // Words lit start or stop on a narration already playing; reading by
  // myself waits for the next page.
  if (lumoWorld* world = hooks_.world ? hooks_.world() : nullptr) world->readingAidsChanged();
  notice_->show(hooks_.layer ? hooks_.layer() : nullptr, readingAidText(followWords, on));
}
