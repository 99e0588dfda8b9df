#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "CC3Foundation.h"
#include "lmTakeKeeper.h"
#include "lmVoiceRecorder.h"
#include "lmWordTimings.h"

class CC3Node;
class CC3PlaneNode;
class lumoWorld;

// A parent's own voice: the page's narration recorded from the microphone in
// the reading language, and read in that voice from then on. V or the
// panel's microphone starts it: a 3-2-1 countdown, then a red light with the
// seconds while the panel's text stays up to be read aloud (its lit word
// off). V again, a tap on the light or 90 s end it; Escape cancels. While it
// counts down or records the page holds still: the turn lock is held (turns
// and home are refused) and only the light takes taps. A finished take is
// kept or refused as lmTakeKeeper says: at once in headless runs, on a
// worker thread in a window. Shift+V twice within 3 s removes the page's own
// recording. What happens is told in a notice in the reading language.
class lumoOwnVoice : public lmVoiceRecorderDelegate {
 public:
  static constexpr const char* kMicrophoneName = "aside_record";
  static constexpr const char* kLightName = "record_light";
  static constexpr const char* kCountdownName = "record_countdown";
  static constexpr double kRemovalConfirmSeconds = 3;
  // Top right, the home button's mirror image.
  static constexpr CC3Vec3 kIndicatorLocation{52, 131, 350};
  // Under the repeat button, in the panel's column right of its text.
  static constexpr float kMicrophoneBelowRepeat = 2.4f;

  explicit lumoOwnVoice(lumoWorld& world);
  ~lumoOwnVoice() override;
  lumoOwnVoice(const lumoOwnVoice&) = delete;
  lumoOwnVoice& operator=(const lumoOwnVoice&) = delete;

  // MARK: the panel and its narration
  // Puts the microphone button beside the repeat button of a panel just built.
  void addMicrophone(CC3Node* panel, CC3Vec3 repeatLocation);
  // The own recording heard in place of the narration `name` in the reading
  // language, and its word timings file; empty when the book's voice is heard.
  std::string recordingFor(const std::string& name) const;
  std::string wordsFor(const std::string& name) const;
  // Whether the page on stage reads in an own recording.
  bool pageReadsOwnVoice() const;
  // The narration `name` as the reader hears it: the file, its word timings and
  // its length, the own recording's when there is one. No file when there is
  // no recording to hear.
  struct HeardNarration {
    std::string path;
    std::optional<lmWordTimings> timings;
    double length = 0;
  };
  HeardNarration heard(const std::string& name) const;

  // MARK: the reader's requests
  // V: starts recording the page, or ends the recording under way.
  void recordKey();
  // Shift+V: the first asks, a second within 3 s removes the page's own recording.
  void removeKey();
  // Escape: cancels a recording; false when none was under way.
  bool cancelKey();
  bool microphoneTapped(CC3Node* button);
  bool lightTapped(CC3Node* light);
  // Whether the page holds still for a recording.
  bool isBusy() const { return recorder_->isBusy(); }
  // Whether a tap on `node` may reach it now.
  bool allowsTapOn(const CC3Node* node) const;

  const lmVoiceRecorder& recorder() const { return *recorder_; }

  void recorderDidTick(lmVoiceRecorder* recorder) override;
  void recorderDidFinish(lmVoiceRecorder* recorder, std::vector<std::int16_t> heard,
                         int sampleRate) override;
  void recorderDidFail(lmVoiceRecorder* recorder, const std::string& reason) override;

 private:
  struct Take {
    std::int32_t language;
    std::int32_t page;
    std::string name;
  };
  // The page's narration when it may be recorded now: a story page at rest
  // with its panel up and nothing being kept.
  bool narrationToRecord(Take& take) const;
  void begin();
  void becameIdle();
  void keep(lmTakeKeeper::Request request, Take take);
  void kept(const lmTakeKeeper::Result& result, const Take& take);
  void showIndicator(const char* name, const std::string& text, ccColor3B colour, float fontSize);
  void removeIndicators();
  void setPanelButtonsVisible(bool visible);
  void notice(const char* russian, const char* english);
  std::string narrationOfPage() const;
  HeardNarration readHeard(const std::string& name) const;

  lumoWorld& world_;
  Ptr<lmVoiceRecorder> recorder_;
  Take recording_{};
  struct LastHeard {
    std::string name;
    std::int32_t language;
    HeardNarration narration;
  };
  mutable std::optional<LastHeard> lastHeard_;
  int shownNumber_ = -1;
  bool keeping_ = false;
  bool repeatWasShown_ = false;
  std::thread keeper_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::string removalAskedFor_;
  double removalAskedAt_ = 0;
};
