#include "ReadingSwitches.h"

#include <string>

#include "NSUserDefaults.h"
#include "lmReadingAids.h"

namespace {
bool storedOn(const char* key) {
  return NSUserDefaults::standardUserDefaults().stringForKey(key).value_or("off") == "on";
}

void store(const char* key, bool on) {
  // An unwritable file has warned once already; the value stays for the session.
  NSUserDefaults::standardUserDefaults().setObject(on ? "on" : "off", key);
}
}  // namespace

void ReadingSwitches::restore(bool followWords, bool readMyself, bool autoPlay) {
  lmReadingAids& aids = lmReadingAids::shared();
  aids.setFollowsWords(followWords || storedOn(kFollowWordsKey));
  aids.setReadsByMyself(readMyself || storedOn(kReadMyselfKey));
  aids.setTurnsPages(autoPlay || storedOn(kAutoPlayKey));
}

bool ReadingSwitches::toggleFollowWords() {
  lmReadingAids& aids = lmReadingAids::shared();
  aids.setFollowsWords(!aids.followsWords());
  store(kFollowWordsKey, aids.followsWords());
  return aids.followsWords();
}

bool ReadingSwitches::toggleReadMyself() {
  lmReadingAids& aids = lmReadingAids::shared();
  aids.setReadsByMyself(!aids.readsByMyself());
  store(kReadMyselfKey, aids.readsByMyself());
  return aids.readsByMyself();
}

bool ReadingSwitches::toggleAutoPlay() {
  lmReadingAids& aids = lmReadingAids::shared();
  aids.setTurnsPages(!aids.turnsPages());
  store(kAutoPlayKey, aids.turnsPages());
  return aids.turnsPages();
}
