#include "lumoLitWords.h"

#include <algorithm>

#include "CCLabelTTF.h"
#include "KstSound.h"
#include "Log.h"
#include "lmReadingAids.h"
#include "lumoWorld.h"

namespace {
// A step never waits less than this, so rounding cannot make it spin.
constexpr double kShortestStep = 0.001;
}  // namespace

void lumoLitWords::start() {
  stop();
  if (!lmReadingAids::shared().followsWords()) return;
  const std::string& name = world_.genStageSoundWithIndex(world_.turns().page());
  CCLabelTTF* label = world_.panel().textLabel();
  if (!label || KstSound::shared()->playingSoundName() != name) return;
  // Without timings for the recording, the text stays as it is.
  const std::string ownWords = world_.ownVoice().wordsFor(name);
  std::optional<lmWordTimings> timings =
      ownWords.empty() ? lmWordTimings::forRecording(name) : lmWordTimings::fromFile(ownWords);
  if (!timings) return;
  std::vector<lmWordTimings::Span> spans = lmWordTimings::wordSpans(label->string());
  if (spans.size() != timings->count()) {
    logWarningOnce("words-count:" + name, "word timings of " + name + " are for another text");
    return;
  }
  wordTimings_ = std::move(timings);
  wordSpans_ = std::move(spans);
  followedNarration_ = name;
  follow();
}

void lumoLitWords::follow() {
  KstSound* sound = KstSound::shared();
  CCLabelTTF* label = world_.panel().textLabel();
  if (!wordTimings_ || !label || !sound->player() ||
      sound->playingSoundName() != followedNarration_) {
    stop();
    return;
  }
  // The sound's own position: a late start or a stall moves the words with it.
  const double at = sound->player()->currentTime();
  light(label, wordTimings_->indexAt(at));
  if (std::optional<double> next = wordTimings_->nextStartAfter(at))
    // The recording's own seconds pass faster or slower at the reader's pace.
    world_.performSelector(SELECTOR(lumoWorld::followWords),
                           std::max((*next - at) / sound->player()->tempo(), kShortestStep));
}

void lumoLitWords::light(CCLabelTTF* label, int index) {
  if (index == litWord_) return;
  litWord_ = index;
  if (index < 0) {
    label->clearHighlight();
    return;
  }
  const lmWordTimings::Span& span = wordSpans_[std::size_t(index)];
  label->setHighlight(span.begin, span.end, lmReadingAids::kLitWordColour);
}

void lumoLitWords::stop() {
  NSObject::cancelPreviousPerformRequestsWithTarget(&world_, SELECTOR(lumoWorld::followWords));
  if (litWord_ >= 0)
    if (CCLabelTTF* label = world_.panel().textLabel()) label->clearHighlight();
  litWord_ = -1;
  wordTimings_.reset();
  wordSpans_.clear();
  followedNarration_.clear();
}

void lumoLitWords::aidsChanged() {
  if (!lmReadingAids::shared().followsWords())
    stop();
  else if (followedNarration_.empty())
    start();
}
