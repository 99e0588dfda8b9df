#include "KeyCommands.h"

#include <cstdlib>

#include "CCNodeController.h"
#include "SoundSwitches.h"
#include "lumoAppDelegate.h"
#include "lumoWorld.h"

namespace {
constexpr int kForward = 0, kBack = 1;
}  // namespace

KeyCommands::KeyCommands(Hooks hooks) : hooks_(std::move(hooks)), notice_(ToastNotice::notice()) {}

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
  switch (press.key) {
    case Key::Right:
    case Key::PageDown:
    case Key::Space:
      // Held keys repeat; the turn lock lets through one turn per turn, as for a long drag.
      turn(kForward);
      return;
    case Key::Left:
    case Key::PageUp:
      turn(kBack);
      return;
    default:
      break;
  }
  // A switch held down must not flicker on and off.
  if (press.repeat) return;
  switch (press.key) {
    case Key::Home:
      if (lumoWorld* world = hooks_.world ? hooks_.world() : nullptr) world->requestHomeFromKey();
      break;
    case Key::Escape:
      if (hooks_.closeCredits) hooks_.closeCredits();
      break;
    case Key::M:
      showSwitch(true, SoundSwitches::toggleMusic());
      break;
    case Key::N:
      showSwitch(false, SoundSwitches::toggleVoices());
      break;
    default:
      break;
  }
}

void KeyCommands::wheelRolled(int notches) {
  const int direction = notches > 0 ? kForward : kBack;
  for (int i = std::abs(notches); i > 0; --i) turn(direction);
}

void KeyCommands::turn(int direction) {
  if (lumoWorld* world = hooks_.world ? hooks_.world() : nullptr)
    world->requestTurnFromKey(direction);
}

std::string KeyCommands::switchText(bool music, bool on) const {
  lumoWorld* world = hooks_.world ? hooks_.world() : nullptr;
  const bool english = world && world->stageInfo()->curLangTag() == lmStageInfo::kLangEnglish;
  if (english) {
    if (music) return on ? "Music on" : "Music off";
    return on ? "Voices on" : "Voices off";
  }
  if (music) return on ? "Музыка включена" : "Музыка выключена";
  return on ? "Голоса включены" : "Голоса выключены";
}

void KeyCommands::showSwitch(bool music, bool on) {
  notice_->show(hooks_.layer ? hooks_.layer() : nullptr, switchText(music, on));
}
