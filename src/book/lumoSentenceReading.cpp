#include "lumoSentenceReading.h"

#include "CCLabelTTF.h"
#include "EventLog.h"
#include "KstSound.h"
#include "Log.h"
#include "lmReadingAids.h"
#include "lumoWorld.h"

namespace {
// A pale blue on the panel's dark ground: this is what a tap reads next.
constexpr ccColor3B kNextSentenceColour{150, 205, 255};
}  // namespace

bool lumoSentenceReading::prepare() {
  stop();
  if (!lmReadingAids::shared().readsBySentence()) return false;
  CCLabelTTF* label = world_.panel().textLabel();
  const std::string& name = world_.currentNarration();
  if (!label || name == kKstNil) return false;
  // The own recording, when the page has one, is read sentence by sentence too.
  lumoOwnVoice::HeardNarration heard = world_.ownVoice().heard(name);
  const std::vector<lmWordTimings::Span> words = lmWordTimings::wordSpans(label->string());
  // Without timings that fit the text the page is read whole, as always.
  if (heard.path.empty() || !heard.timings || heard.timings->count() != words.size()) return false;
  narration_ = name;
  path_ = heard.path;
  timings_ = std::move(heard.timings);
  sentences_ = lmSentences::split(label->string(), words);
  length_ = heard.length;
  return !sentences_.empty();
}

bool lumoSentenceReading::readFromFirst() {
  if (!prepare()) return false;
  read(0);
  return true;
}

bool lumoSentenceReading::readNext() {
  if (!waiting_) return false;
  read(std::size_t(index_ + 1));
  return true;
}

void lumoSentenceReading::read(std::size_t index) {
  const lmSentences::Sentence& sentence = sentences_[index];
  const lmWordTimings::TimeSpan span =
      timings_->spanOfWords(sentence.firstWord, sentence.lastWord, length_);
  world_.wordTaps().stop();
  if (CCLabelTTF* label = world_.panel().textLabel()) label->clearHighlight();
  KstSound* sound = KstSound::shared();
  sound->playPartOfFile(narration_, path_, span.begin, span.end, lmWordTimings::kEdge);
  sound_ = sound->mainSoundNumber();
  index_ = int(index);
  waiting_ = false;
  EventLog::log("narration", "sentence " + std::to_string(index + 1) + " of " +
                                 std::to_string(sentences_.size()));
  world_.startFollowingWords();
}

lumoSentenceReading::PartEnd lumoSentenceReading::partEnded() {
  if (index_ < 0 || waiting_ || KstSound::shared()->mainSoundNumber() != sound_)
    return PartEnd::kNotASentence;
  if (std::size_t(index_) + 1 >= sentences_.size()) return PartEnd::kLastRead;
  waiting_ = true;
  hintNext();
  return PartEnd::kNextWaits;
}

bool lumoSentenceReading::recordingEnded(bool part) {
  world_.stopFollowingWords();
  if (part) world_.wordTaps().soundEnded();
  const PartEnd end = part ? partEnded() : PartEnd::kNotASentence;
  if (end == PartEnd::kNotASentence) otherSoundEnded();
  return !((part && end != PartEnd::kLastRead) || midPage());
}

void lumoSentenceReading::aidsChanged() {
  if (lmReadingAids::shared().readsBySentence() || !waiting_) return;
  stop();
  world_.panel().recordingEnded(KstRecordingKind::kNarration);
}

// A sentence cut short by another recording (a figure's line) counts as
// read, and the next one waits.
void lumoSentenceReading::otherSoundEnded() {
  if (waiting_ || !midPage() || KstSound::shared()->mainSoundNumber() == sound_) return;
  waiting_ = true;
  hintNext();
}

void lumoSentenceReading::hintNext() {
  CCLabelTTF* label = world_.panel().textLabel();
  if (!waiting_ || !label) return;
  const lmSentences::Sentence& next = sentences_[std::size_t(index_ + 1)];
  label->setHighlight(next.begin, next.end, kNextSentenceColour);
}

void lumoSentenceReading::stop() {
  if (waiting_)
    if (CCLabelTTF* label = world_.panel().textLabel()) label->clearHighlight();
  narration_.clear();
  path_.clear();
  timings_.reset();
  sentences_.clear();
  index_ = -1;
  waiting_ = false;
  sound_ = 0;
}

bool lumoSentenceReading::midPage() const {
  return index_ >= 0 && std::size_t(index_) + 1 < sentences_.size();
}

bool lumoSentenceReading::inNextSentence(int index) const {
  if (!waiting_ || index < 0) return false;
  const lmSentences::Sentence& next = sentences_[std::size_t(index_ + 1)];
  return std::size_t(index) >= next.firstWord && std::size_t(index) <= next.lastWord;
}

int lumoSentenceReading::sentenceIndex() const {
  return lmReadingAids::shared().readsBySentence() ? index_ : -1;
}
