#include "lumoOwnVoice.h"

#include <cmath>
#include <cstdio>

#include "AVAudioPlayer.h"
#include "AudioFile.h"
#include "CC3Billboard.h"
#include "CC3PlaneNode.h"
#include "CC3Texture.h"
#include "CCLabelTTF.h"
#include "Clock.h"
#include "EventLog.h"
#include "KstSound.h"
#include "Log.h"
#include "NSBundle.h"
#include "NSRunLoop.h"
#include "lmOwnVoices.h"
#include "lumoNodeActions.h"
#include "lumoWorld.h"

namespace {
const char* const kFontName = "ArialRoundedMTBold";
constexpr float kCountdownFontSize = 40;
constexpr float kSecondsFontSize = 26;
// The indicators stand about 120 units from the camera: there their labels
// are drawn at their own size.
constexpr float kIndicatorUnityDistance = 120;
constexpr ccColor3B kCountdownColour{107, 69, 48};
constexpr ccColor3B kSecondsColour{255, 255, 255};
const char* const kLabelName = "record_label";

std::string minutesAndSeconds(double seconds) {
  const int whole = int(seconds);
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", whole / 60, whole % 60);
  return text;
}
}  // namespace

lumoOwnVoice::lumoOwnVoice(lumoWorld& world)
    : world_(world), recorder_(lmVoiceRecorder::recorder()) {
  recorder_->setDelegate(this);
  // A program ended while it kept a recording leaves partial files: never heard, cleared here.
  if (std::size_t left = lmOwnVoices::shared().store().removeLeftovers())
    logMessage(LogLevel::Info, "removed " + std::to_string(left) +
                                   " partial own recordings left by an earlier run");
}

lumoOwnVoice::~lumoOwnVoice() {
  *alive_ = false;
  recorder_->setDelegate(nullptr);
  recorder_->cancel();
  // A take on its way to the disk gets there: its files are whole or not there.
  if (keeper_.joinable()) keeper_.join();
}

// MARK: the panel and its narration

void lumoOwnVoice::addMicrophone(CC3Node* panel, CC3Vec3 repeatLocation) {
  if (!panel) return;
  const CGSize size{32 * world_.universalScaleWidth() * 0.1f,
                    32 * world_.universalScaleHeight() * 0.1f};
  auto button = CC3PlaneNode::nodeWithTag(lumoControlTable::tagOf(lumoControl::kRecordVoice),
                                          kMicrophoneName);
  auto texture = CC3Texture::textureFromFile(std::string(kMicrophoneName) + ".png");
  button->populateAsCenteredRectangleWithSize(size, texture.get(), true);
  button->setIsOpaque(false);
  button->setIsTouchEnabled(true);
  button->setLocation(
      {repeatLocation.x, repeatLocation.y - kMicrophoneBelowRepeat, repeatLocation.z});
  button->setVisible(!isBusy());
  panel->addChild(button.get());
}

std::string lumoOwnVoice::recordingFor(const std::string& name) const {
  if (name == kKstNil) return {};
  return lmOwnVoices::shared().recordingHeardFor(world_.turns().language(), name);
}

std::string lumoOwnVoice::wordsFor(const std::string& name) const {
  if (recordingFor(name).empty()) return {};
  return lmOwnVoices::shared().store().wordsPath(world_.turns().language(), name);
}

lumoOwnVoice::HeardNarration lumoOwnVoice::heard(const std::string& name) const {
  // A word tap asks for every word: the files are read once per narration heard.
  const std::int32_t language = world_.turns().language();
  if (lastHeard_ && lastHeard_->name == name && lastHeard_->language == language)
    return lastHeard_->narration;
  lastHeard_ = LastHeard{name, language, readHeard(name)};
  return lastHeard_->narration;
}

lumoOwnVoice::HeardNarration lumoOwnVoice::readHeard(const std::string& name) const {
  HeardNarration narration;
  if (name == kKstNil) return narration;
  narration.path = recordingFor(name);
  if (narration.path.empty()) {
    narration.path = NSBundle::mainBundle().pathForResource(name, "mp3");
    narration.timings = lmWordTimings::forRecording(name);
  } else {
    narration.timings = lmWordTimings::fromFile(wordsFor(name));
  }
  if (!narration.path.empty()) narration.length = AudioFile::probe(narration.path).duration;
  return narration;
}

std::string lumoOwnVoice::narrationOfPage() const {
  return world_.genStageSoundWithIndex(world_.turns().page());
}

bool lumoOwnVoice::pageReadsOwnVoice() const {
  return !recordingFor(narrationOfPage()).empty();
}

// MARK: recording

bool lumoOwnVoice::narrationToRecord(Take& take) const {
  take = {world_.turns().language(), world_.turns().page(), narrationOfPage()};
  return take.name != kKstNil && !keeping_ && !world_.turns().dragsLocked() &&
         world_.panel().textLabel() != nullptr;
}

void lumoOwnVoice::recordKey() {
  if (isBusy())
    recorder_->finish();
  else
    begin();
}

bool lumoOwnVoice::microphoneTapped(CC3Node* button) {
  lumoNodeActions::flash(button);
  begin();
  return true;
}

bool lumoOwnVoice::lightTapped(CC3Node*) {
  recorder_->finish();
  return true;
}

bool lumoOwnVoice::cancelKey() {
  if (!isBusy()) return false;
  recorder_->cancel();
  becameIdle();
  notice("Запись отменена", "Recording cancelled");
  return true;
}

bool lumoOwnVoice::allowsTapOn(const CC3Node* node) const {
  if (!isBusy()) return true;
  return node && node->tag() == lumoControlTable::tagOf(lumoControl::kRecordingLight);
}

void lumoOwnVoice::begin() {
  Take take;
  if (isBusy() || !narrationToRecord(take)) return;
  // The book falls silent: the microphone must hear the reader alone.
  NSObject::cancelPreviousPerformRequestsWithTarget(&world_, SELECTOR(lumoWorld::playAsideSound));
  KstSound::shared()->cancelSound();
  world_.stopFollowingWords();
  std::string error;
  if (!recorder_->begin(error)) {
    EventLog::log("recording", "refused " + take.name + ": " + error);
    notice("Микрофон не найден", "No microphone found");
    return;
  }
  recording_ = take;
  world_.turns().takeLock();
  setPanelButtonsVisible(false);
  shownNumber_ = -1;
  recorderDidTick(recorder_.get());
}

void lumoOwnVoice::recorderDidTick(lmVoiceRecorder* recorder) {
  const bool countingDown = recorder->state() == lmVoiceRecorder::State::Countdown;
  const int number = countingDown ? recorder->countdownShown() : int(recorder->seconds());
  if (number == shownNumber_ && world_.getNodeNamed(countingDown ? kCountdownName : kLightName))
    return;
  shownNumber_ = number;
  if (countingDown)
    showIndicator(kCountdownName, std::to_string(number), kCountdownColour, kCountdownFontSize);
  else
    showIndicator(kLightName, minutesAndSeconds(number), kSecondsColour, kSecondsFontSize);
}

void lumoOwnVoice::recorderDidFinish(lmVoiceRecorder*, std::vector<std::int16_t> heard,
                                     int sampleRate) {
  becameIdle();
  const std::string text = world_.panel().textLabel() ? world_.panel().textLabel()->string() : "";
  keep({std::move(heard), sampleRate, text, recording_.language, recording_.name}, recording_);
}

void lumoOwnVoice::recorderDidFail(lmVoiceRecorder*, const std::string&) {
  becameIdle();
  notice("Микрофон перестал работать, запись не сохранена",
         "The microphone stopped; nothing was kept");
}

void lumoOwnVoice::becameIdle() {
  removeIndicators();
  setPanelButtonsVisible(true);
  world_.turns().releaseLock();
}

// MARK: keeping a take

void lumoOwnVoice::keep(lmTakeKeeper::Request request, Take take) {
  lmOwnVoiceStore store = lmOwnVoices::shared().store();
  // Virtual audio runs in virtual time: the take is kept before the next frame.
  if (AVAudioPlayer::usesVirtualBackend()) {
    kept(lmTakeKeeper::keep(std::move(request), store), take);
    return;
  }
  keeping_ = true;
  if (keeper_.joinable()) keeper_.join();
  std::weak_ptr<bool> alive = alive_;
  keeper_ = std::thread([this, alive, take, store, request = std::move(request)]() mutable {
    lmTakeKeeper::Result result = lmTakeKeeper::keep(std::move(request), store);
    NSRunLoop::mainRunLoop().postToMainThread([this, alive, take, result] {
      if (alive.lock() && *alive.lock()) kept(result, take);
    });
  });
}

void lumoOwnVoice::kept(const lmTakeKeeper::Result& result, const Take& take) {
  keeping_ = false;
  lastHeard_.reset();
  const lmVoiceTake::Figures& f = result.figures;
  char figures[160];
  std::snprintf(
      figures, sizeof figures,
      "%.2f s from %.2f s of %.2f s heard, %.2f s of speech, level %.1f dB (%+.1f dB), %zu bytes",
      f.keptSeconds, f.keptFrom, f.heardSeconds, f.speechSeconds, f.levelDb, f.gainDb,
      result.bytes);
  switch (result.outcome) {
    case lmTakeKeeper::Outcome::Kept:
      EventLog::log("recording", "kept " + take.name + ": " + figures);
      notice("Запись сохранена", "Your reading is kept");
      if (take.page == world_.turns().page() && !isBusy()) world_.panel().offerRepeat();
      return;
    case lmTakeKeeper::Outcome::TooShort:
      std::snprintf(figures, sizeof figures, "%.2f s of speech in %.2f s heard", f.speechSeconds,
                    f.heardSeconds);
      EventLog::log("recording", "refused " + take.name + ": too short, " + figures);
      notice("Слишком коротко, запись не сохранена", "Too short to keep; nothing was kept");
      return;
    case lmTakeKeeper::Outcome::NotEncoded:
    case lmTakeKeeper::Outcome::NotWritten:
      logMessage(LogLevel::Warning, "own recording " + take.name + " not kept: " + result.error);
      EventLog::log("recording", "not kept " + take.name + ": " + result.error);
      notice("Не удалось сохранить запись", "The recording could not be saved");
      return;
  }
}

// MARK: removing an own recording

void lumoOwnVoice::removeKey() {
  const std::string name = narrationOfPage();
  const std::int32_t language = world_.turns().language();
  lmOwnVoiceStore& store = lmOwnVoices::shared().store();
  if (isBusy() || keeping_ || name == kKstNil) return;
  if (!store.has(language, name)) {
    notice("На этой странице нет своей записи", "No recording of yours on this page");
    return;
  }
  const double now = Clock::current().seconds();
  if (removalAskedFor_ != name || now - removalAskedAt_ > kRemovalConfirmSeconds) {
    removalAskedFor_ = name;
    removalAskedAt_ = now;
    notice("Ещё раз Shift+V, чтобы удалить свою запись", "Shift+V again to remove your reading");
    return;
  }
  removalAskedFor_.clear();
  std::string error;
  if (!store.remove(language, name, error)) {
    logMessage(LogLevel::Warning, "own recording " + name + " not removed: " + error);
    notice("Не удалось удалить запись", "The recording could not be removed");
    return;
  }
  lastHeard_.reset();
  EventLog::log("recording", "removed " + name);
  notice("Своя запись удалена, книга читает сама", "Your reading is removed");
}

// MARK: what shows

void lumoOwnVoice::showIndicator(const char* name, const std::string& text, ccColor3B colour,
                                 float fontSize) {
  const bool light = std::string(name) == kLightName;
  lumoNodeActions::removeWithActions(world_.getNodeNamed(light ? kCountdownName : kLightName));
  CC3Node* indicator = world_.getNodeNamed(name);
  if (!indicator) {
    const GLuint tag = light ? lumoControlTable::tagOf(lumoControl::kRecordingLight)
                             : lumoWorld::nextPageNodeTag();
    auto plane = CC3PlaneNode::nodeWithTag(tag, name);
    const CGSize size{80 * world_.universalScaleWidth() * 0.3f,
                      80 * world_.universalScaleHeight() * 0.3f};
    auto texture = CC3Texture::textureFromFile(std::string(name) + ".png");
    plane->populateAsRectangleWithSize(size, CGPoint{size.width / 2, 0}, texture.get(), true);
    plane->setIsOpaque(false);
    plane->setIsTouchEnabled(light);
    plane->setLocation(kIndicatorLocation);
    auto label = CCLabelTTF::labelWithString(text, kFontName, fontSize);
    auto billboard = makeObject<CC3Billboard>();
    billboard->initWithTag(lumoWorld::nextPageNodeTag(), kLabelName, label.get());
    billboard->setUnityScaleDistance(kIndicatorUnityDistance);
    billboard->setLocation({0, size.height / 2, 1});
    plane->addChild(billboard.get());
    world_.addChild(plane.get());
    indicator = plane.get();
  }
  auto* billboard = dynamic_cast<CC3Billboard*>(indicator->getNodeNamed(kLabelName));
  if (auto* label = billboard ? dynamic_cast<CCLabelTTF*>(billboard->billboard()) : nullptr) {
    label->setString(text);
    billboard->setColor(colour);  // the billboard hands its colour to its label
  }
}

void lumoOwnVoice::removeIndicators() {
  lumoNodeActions::removeWithActions(world_.getNodeNamed(kCountdownName));
  lumoNodeActions::removeWithActions(world_.getNodeNamed(kLightName));
  shownNumber_ = -1;
}

void lumoOwnVoice::setPanelButtonsVisible(bool visible) {
  if (CC3Node* button = world_.getNodeNamed(kMicrophoneName)) button->setVisible(visible);
  // The repeat button steps aside too: only the light may be tapped meanwhile.
  CC3Node* repeat = world_.getNodeNamed(lumoNarrationPanel::kRepeatName);
  if (!repeat) return;
  if (!visible) {
    repeatWasShown_ = repeat->visible();
    repeat->setVisible(false);
  } else if (repeatWasShown_) {
    repeat->setVisible(true);
  }
}

void lumoOwnVoice::notice(const char* russian, const char* english) {
  world_.showNotice(world_.turns().language() == lmStageInfo::kLangEnglish ? english : russian);
}
