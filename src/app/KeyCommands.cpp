#include "KeyCommands.h"

#include <cstdlib>

#include "CCNodeController.h"
#include "ReadingSwitches.h"
#include "SoundSwitches.h"
#include "lumoAppDelegate.h"
#include "lumoWorld.h"

namespace {
constexpr int kForward = 0, kBack = 1;

struct KeyName {
  BookKey key;
  const char* name;
};
constexpr KeyName kKeyNames[] = {
    {BookKey::Right, "Right"},   {BookKey::Left, "Left"},   {BookKey::PageDown, "PageDown"},
    {BookKey::PageUp, "PageUp"}, {BookKey::Space, "Space"}, {BookKey::Home, "Home"},
    {BookKey::Escape, "Escape"}, {BookKey::M, "M"},         {BookKey::N, "N"},
    {BookKey::H, "H"},           {BookKey::R, "R"},         {BookKey::V, "V"},
};
}  // namespace

std::optional<BookKey> KeyCommands::keyNamed(const std::string& name) {
  for (const KeyName& k : kKeyNames)
    if (name == k.name) return k.key;
  return std::nullopt;
}

std::string KeyCommands::nameOf(BookKey key) {
  for (const KeyName& k : kKeyNames)
    if (k.key == key) return k.name;
  return {};
}

const std::vector<BookKey>& KeyCommands::allKeys() {
  static const std::vector<BookKey> keys = [] {
    std::vector<BookKey> all;
    for (const KeyName& k : kKeyNames) all.push_back(k.key);
    return all;
  }();
  return keys;
}

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
          }};
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
    case BookKey::V:
      ownVoiceKey(press.shift);
      break;
    default:
      break;
  }
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

void KeyCommands::switchReadingAid(bool followWords) {
  const bool on =
      followWords ? ReadingSwitches::toggleFollowWords() : ReadingSwitches::toggleReadMyself();
  // Words lit start or stop on a narration already playing; reading by
  // myself waits for the next page.
  if (lumoWorld* world = hooks_.world ? hooks_.world() : nullptr) world->readingAidsChanged();
  notice_->show(hooks_.layer ? hooks_.layer() : nullptr, readingAidText(followWords, on));
}
