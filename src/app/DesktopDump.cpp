#include "DesktopDump.h"

#include "DesktopWindow.h"
#include "KeyCommands.h"
#include "KstSound.h"
#include "lmReadingAids.h"

namespace {
nlohmann::json volumeOf(const AVAudioPlayer* player) {
  return player ? nlohmann::json(player->volume()) : nlohmann::json();
}
}  // namespace

nlohmann::json dumpDesktop(const KeyCommands& keys) {
  KstSound* sound = KstSound::shared();
  DesktopWindow& window = DesktopWindow::shared();
  nlohmann::json d;
  d["music"] = sound->isMusicOn();
  d["voices"] = sound->areVoicesOn();
  d["followWords"] = lmReadingAids::shared().followsWords();
  d["readMyself"] = lmReadingAids::shared().readsByMyself();
  d["autoPlay"] = lmReadingAids::shared().turnsPages();
  d["bySentence"] = lmReadingAids::shared().readsBySentence();
  d["pace"] = lmReadingAids::shared().pace().name();
  d["volumes"] = {{"main", volumeOf(sound->player())},
                  {"background", volumeOf(sound->backgroundPlayer())},
                  {"special", volumeOf(sound->specialPlayer())}};
  const ToastNotice* notice = keys.notice();
  d["notice"] = {{"showing", notice->isShowing()}, {"text", notice->text()}};
  if (notice->isShowing()) {
    d["notice"]["opacity"] = notice->label()->opacity();
    const CGPoint at = notice->box()->position();
    const CGSize size = notice->box()->contentSize();
    d["notice"]["rect"] = {at.x, at.y, size.width, size.height};
  }
  d["title"] = window.title();
  d["iconSize"] = window.iconSize();
  d["fullscreen"] = window.isFullscreen();
  d["cursorHidden"] = window.isCursorHidden();
  return d;
}
