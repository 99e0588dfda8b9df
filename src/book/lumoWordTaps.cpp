#include "lumoWordTaps.h"

#include <algorithm>

#include "CC3Camera.h"
#include "CC3MeshNode.h"
#include "CCDirector.h"
#include "CCLabelTTF.h"
#include "EventLog.h"
#include "KstSound.h"
#include "lmReadingAids.h"
#include "lmWordTimings.h"
#include "lumoBookNames.h"
#include "lumoWorld.h"

namespace {
// The light goes this long after the word's own end, when no end was reported.
constexpr double kLateEnd = 0.1;

// The label's texture pixels to the picture's, from its box in the layer
// (points, y up) and the picture's height.
CGRect toPicture(CGRect inLabel, CCLabelTTF* label, float pictureHeight) {
  const CGRect box = label->boundingBox();
  const CGSize content = label->contentSize();
  if (content.width <= 0 || content.height <= 0) return CGRectZero;
  const float sx = box.size.width / content.width, sy = box.size.height / content.height;
  const float top = pictureHeight - (box.origin.y + box.size.height);
  return CGRectMake(box.origin.x + inLabel.origin.x * sx, top + inLabel.origin.y * sy,
                    inLabel.size.width * sx, inLabel.size.height * sy);
}
}  // namespace

std::vector<lumoWordTaps::Word> lumoWordTaps::words() {
  CCLabelTTF* label = world_.panel().textLabel();
  if (!label) return {};
  const std::string& text = label->string();
  std::vector<TextRange> ranges;
  for (const lmWordTimings::Span& span : lmWordTimings::wordSpans(text))
    ranges.push_back({span.begin, span.end});
  const std::vector<CGRect> rects = label->rectsOfRanges(ranges);
  const float pictureHeight = CCDirector::sharedDirector()->winSize().height;
  std::vector<Word> words;
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    if (CGRectEqualToRect(rects[i], CGRectZero)) continue;  // not drawn
    words.push_back({int(i), text.substr(ranges[i].begin, ranges[i].end - ranges[i].begin),
                     toPicture(rects[i], label, pictureHeight)});
  }
  return words;
}

int lumoWordTaps::wordAt(CGPoint picturePoint) {
  for (const Word& word : words())
    if (CGRectContainsPoint(word.rect, picturePoint)) return word.index;
  return -1;
}

bool lumoWordTaps::panelContains(CGPoint picturePoint) {
  auto* panel = dynamic_cast<CC3MeshNode*>(world_.getNodeNamed(lumoNarrationPanel::kPanelName));
  CC3Camera* camera = world_.activeCamera();
  if (!panel || !panel->meshModel() || !camera) return false;
  const CC3Box box = panel->meshModel()->boundingBox();
  const float pictureHeight = CCDirector::sharedDirector()->winSize().height;
  float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
  for (float x : {box.minimum.x, box.maximum.x})
    for (float y : {box.minimum.y, box.maximum.y}) {
      const CC3Vec3 seen = camera->projectLocation(
          panel->transformMatrix()->transformLocation({x, y, box.minimum.z}));
      left = std::min(left, seen.x);
      right = std::max(right, seen.x);
      top = std::min(top, pictureHeight - seen.y);
      bottom = std::max(bottom, pictureHeight - seen.y);
    }
  return picturePoint.x >= left && picturePoint.x <= right && picturePoint.y >= top &&
         picturePoint.y <= bottom;
}

bool lumoWordTaps::narrationPlaying() const {
  KstSound* sound = KstSound::shared();
  const std::string playing = sound->playingSoundName();
  if (playing.empty() || !lumoBookNames::isNarrationFile(playing)) return false;
  // Our own word may give way to the next tap; a sentence or a whole page may not.
  return !(sound->playsPart() && sound->mainSoundNumber() == sound_ && lit_ >= 0);
}

bool lumoWordTaps::play(int index) {
  CCLabelTTF* label = world_.panel().textLabel();
  const std::string& name = world_.currentNarration();
  if (!label || index < 0 || narrationPlaying()) return false;
  // A word of an own recording is heard in that voice.
  const lumoOwnVoice::HeardNarration heard = world_.ownVoice().heard(name);
  const std::optional<lmWordTimings>& timings = heard.timings;
  const std::vector<lmWordTimings::Span> spans = lmWordTimings::wordSpans(label->string());
  if (heard.path.empty() || !timings || timings->count() != spans.size() ||
      std::size_t(index) >= spans.size())
    return false;
  KstSound* sound = KstSound::shared();
  const lmWordTimings::TimeSpan span =
      timings->spanOfWords(std::size_t(index), std::size_t(index), heard.length);
  unlight();
  world_.stopFollowingWords();
  sound->playPartOfFile(name, heard.path, span.begin, span.end, lmWordTimings::kEdge);
  if (sound->playingSoundName() != name) return false;  // no recording to hear
  sound_ = sound->mainSoundNumber();
  const lmWordTimings::Span& letters = spans[std::size_t(index)];
  lit_ = index;
  litRange_ = {letters.begin, letters.end};
  label->setHighlight(letters.begin, letters.end, lmReadingAids::kLitWordColour);
  EventLog::log("word", "played " + std::to_string(index) + " " +
                            label->string().substr(letters.begin, letters.end - letters.begin));
  NSObject::cancelPreviousPerformRequestsWithTarget(&world_, SELECTOR(lumoWorld::tappedWordTimeUp));
  world_.performSelector(SELECTOR(lumoWorld::tappedWordTimeUp),
                         span.length() / sound->voiceTempo() + kLateEnd);
  return true;
}

bool lumoWordTaps::tapped(CGPoint layerPoint) {
  const CGPoint at{layerPoint.x, CCDirector::sharedDirector()->winSize().height - layerPoint.y};
  if (!panelContains(at)) return false;
  const int word = wordAt(at);
  lumoSentenceReading& sentences = world_.sentences();
  if (sentences.waiting() && (word < 0 || sentences.inNextSentence(word)))
    return sentences.readNext();
  return word >= 0 && play(word);
}

void lumoWordTaps::soundEnded() {
  if (lit_ >= 0 && KstSound::shared()->mainSoundNumber() == sound_) unlight();
}

void lumoWordTaps::timeUp() {
  KstSound* sound = KstSound::shared();
  const bool stillOurs = sound->mainSoundNumber() == sound_ && sound->playsPart();
  if (lit_ >= 0 && !stillOurs) unlight();
}

void lumoWordTaps::stop() {
  NSObject::cancelPreviousPerformRequestsWithTarget(&world_, SELECTOR(lumoWorld::tappedWordTimeUp));
  unlight();
}

void lumoWordTaps::unlight() {
  if (lit_ < 0) return;
  lit_ = -1;
  CCLabelTTF* label = world_.panel().textLabel();
  // Another aid may have lit the text since (a narration's words): that light stays.
  if (!label) return;
  const std::optional<TextHighlight>& shown = label->highlight();
  if (shown && shown->begin == litRange_.begin && shown->end == litRange_.end &&
      shown->red == lmReadingAids::kLitWordColour.r &&
      shown->green == lmReadingAids::kLitWordColour.g) {
    label->clearHighlight();
    world_.sentences().hintNext();
  }
}
