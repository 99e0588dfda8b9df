#include "DesktopDump.h"

#include <cmath>

#include "AudioBackend.h"
#include "CCDirector.h"
#include "DesktopWindow.h"
#include "EAGLView.h"
#include "KeyCommands.h"
#include "KstSound.h"
#include "lmReadingAids.h"
#include "lumoWorld.h"

namespace {
nlohmann::json volumeOf(const AVAudioPlayer* player) {
  return player ? nlohmann::json(player->volume()) : nlohmann::json();
}
bool heard(const AVAudioPlayer* player) {
  return player && player->isHeard();
}
int samplesInUse() {
  const EAGLView* view = CCDirector::sharedDirector()->openGLView();
  return view && view->multiSampling() ? view->renderer()->samplesToUse() : 0;
}
}  // namespace

nlohmann::json dumpDesktop(const KeyCommands& keys, const lumoWorld* world) {
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
  d["soundDevice"] = AudioBackend::shared().isDeviceLost() ? "lost" : "present";
  d["heard"] = {{"main", heard(sound->player())},
                {"background", heard(sound->backgroundPlayer())},
                {"special", heard(sound->specialPlayer())}};
  const ToastNotice* notice = keys.notice();
  d["notice"] = {{"showing", notice->isShowing()}, {"text", notice->text()}};
  if (notice->isShowing()) {
    d["notice"]["opacity"] = notice->label()->opacity();
    const CGPoint at = notice->box()->position();
    const CGSize size = notice->box()->contentSize();
    d["notice"]["rect"] = {at.x, at.y, size.width, size.height};
  }
  const lmVoiceRecorder* recorder = world ? &world->ownVoice().recorder() : nullptr;
  d["recording"] = {{"state", lmVoiceRecorder::nameOf(recorder ? recorder->state()
                                                               : lmVoiceRecorder::State::Idle)},
                    {"seconds", recorder ? std::round(recorder->seconds() * 10) / 10 : 0.0},
                    {"countdown", recorder ? recorder->countdownShown() : 0}};
  d["title"] = window.title();
  d["iconSize"] = window.iconSize();
  d["fullscreen"] = window.isFullscreen();
  d["cursorHidden"] = window.isCursorHidden();
  d["msaaSamples"] = samplesInUse();
  return d;
}
