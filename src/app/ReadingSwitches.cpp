#include "ReadingSwitches.h"

#include <string>

#include "KstSound.h"
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

void applyPace(lmReadingPace pace) {
  lmReadingAids::shared().setPace(pace);
  KstSound::shared()->setVoiceTempo(pace.tempo());
}

lmReadingPace storedPace() {
  const auto name = NSUserDefaults::standardUserDefaults().stringForKey(ReadingSwitches::kPaceKey);
  return lmReadingPace::named(name.value_or("")).value_or(lmReadingPace::kNormal);
}

lmReadingPace stepPace(bool faster) {
  const lmReadingPace now = lmReadingAids::shared().pace();
  const lmReadingPace pace = faster ? now.faster() : now.slower();
  applyPace(pace);
  NSUserDefaults::standardUserDefaults().setObject(pace.name(), ReadingSwitches::kPaceKey);
  return pace;
}
}  // namespace

void ReadingSwitches::restore(bool followWords, bool readMyself, bool autoPlay, bool bySentence,
                              std::optional<lmReadingPace> pace) {
  lmReadingAids& aids = lmReadingAids::shared();
  aids.setFollowsWords(followWords || storedOn(kFollowWordsKey));
  aids.setReadsByMyself(readMyself || storedOn(kReadMyselfKey));
  aids.setTurnsPages(autoPlay || storedOn(kAutoPlayKey));
  aids.setReadsBySentence(bySentence || storedOn(kBySentenceKey));
  applyPace(pace.value_or(storedPace()));
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

bool ReadingSwitches::toggleBySentence() {
  lmReadingAids& aids = lmReadingAids::shared();
  aids.setReadsBySentence(!aids.readsBySentence());
  store(kBySentenceKey, aids.readsBySentence());
  return aids.readsBySentence();
}

lmReadingPace ReadingSwitches::slowerPace() {
  return stepPace(false);
}

lmReadingPace ReadingSwitches::fasterPace() {
  return stepPace(true);
}
