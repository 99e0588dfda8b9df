#include "SoundSwitches.h"

#include <string>

#include "KstSound.h"
#include "NSUserDefaults.h"

namespace {
bool storedOn(const char* key) {
  return NSUserDefaults::standardUserDefaults().stringForKey(key).value_or("on") != "off";
}

void store(const char* key, bool on) {
  // An unwritable file has warned once already; the value stays for the session.
  NSUserDefaults::standardUserDefaults().setObject(on ? "on" : "off", key);
}
}  // namespace

void SoundSwitches::restore(bool mute) {
  KstSound* sound = KstSound::shared();
  sound->setMusicOn(!mute && storedOn(kMusicKey));
  sound->setVoicesOn(!mute && storedOn(kVoicesKey));
}

bool SoundSwitches::toggleMusic() {
  KstSound* sound = KstSound::shared();
  sound->setMusicOn(!sound->isMusicOn());
  store(kMusicKey, sound->isMusicOn());
  return sound->isMusicOn();
}

bool SoundSwitches::toggleVoices() {
  KstSound* sound = KstSound::shared();
  sound->setVoicesOn(!sound->areVoicesOn());
  store(kVoicesKey, sound->areVoicesOn());
  return sound->areVoicesOn();
}
