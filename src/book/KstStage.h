#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "NSObject.h"

// The whole book as constant data, looked up by page number (1 is the cover,
// totalStageCount() the ending page). Every per-page list holds page p at p - 1.
// The marker "nil" stands for a page without narration or without a recording.
class KstStage : public NSObject {
 public:
  using StringList = std::vector<std::string>;

  static Ptr<KstStage> stage();
  bool init();

  std::string className() const override { return "KstStage"; }

  // Page lists: element 0 the page number, then one layout line per layer.
  const std::vector<StringList>& grounds() const { return grounds_; }
  void setGrounds(std::vector<StringList> grounds) { grounds_ = std::move(grounds); }
  // Either {"nil"} or {key, Russian, English, Chinese}.
  const std::vector<StringList>& asides() const { return asides_; }
  void setAsides(std::vector<StringList> asides) { asides_ = std::move(asides); }
  std::int32_t totalStageCount() const { return totalStageCount_; }
  void setTotalStageCount(std::int32_t count) { totalStageCount_ = count; }
  const StringList& soundsRu() const { return soundsRu_; }
  void setSoundsRu(StringList sounds) { soundsRu_ = std::move(sounds); }
  const StringList& soundsEn() const { return soundsEn_; }
  void setSoundsEn(StringList sounds) { soundsEn_ = std::move(sounds); }
  const StringList& soundsCn() const { return soundsCn_; }
  void setSoundsCn(StringList sounds) { soundsCn_ = std::move(sounds); }
  // Touchable layer identifier -> comma-separated dialogue recording names.
  const std::map<std::string, std::string>& dialogs() const { return dialogs_; }
  void setDialogs(std::map<std::string, std::string> dialogs) { dialogs_ = std::move(dialogs); }

  // Checked look-ups by page number; numbers below 1 or past the last page
  // fail an assertion instead of reading outside the lists.
  const StringList& groundsForStage(std::int32_t stageIndex) const;
  const StringList& asideForStage(std::int32_t stageIndex) const;
  // The narration recording for the reading language: soundsCn for 2001,
  // soundsRu for anything else. May be "nil".
  const std::string& narrationSoundForStage(std::int32_t stageIndex, std::int32_t langTag) const;
  // The dialogue names of a layer, split; empty when the layer has none.
  StringList dialogNamesForLayer(const std::string& identifier) const;
  bool isLastStage(std::int32_t stageIndex) const { return stageIndex == totalStageCount_; }
  // The looping sound a page starts when it settles (empty for none), and
  // whether it stops the loop instead.
  const std::string& loopSoundForStage(std::int32_t stageIndex) const;
  bool stopsLoopSoundOnStage(std::int32_t stageIndex) const;

 private:
  void checkStageIndex(std::int32_t stageIndex, std::size_t listSize) const;

  std::vector<StringList> grounds_;
  std::vector<StringList> asides_;
  std::int32_t totalStageCount_ = 0;
  StringList soundsRu_;
  StringList soundsEn_;
  StringList soundsCn_;
  std::map<std::string, std::string> dialogs_;
  std::vector<std::string> loopSounds_;
  std::vector<bool> stopsLoopSound_;
};

// The marker the table uses for "no narration" and "no recording".
inline const std::string kKstNil = "nil";
