#include "KstStage.h"

#include "Assert.h"
#include "KstStory.h"
#include "lmStageInfo.h"
#include "lumoBookNames.h"

namespace {

std::string numbered(const char* prefix, int number, const char* suffix) {
  return prefix + std::to_string(number) + suffix;
}

std::string joined(const std::vector<KstStoryLine>& lines) {
  std::string names;
  for (const KstStoryLine& line : lines) {
    if (!names.empty()) names += ',';
    names += line.recording;
  }
  return names;
}

}  // namespace

Ptr<KstStage> KstStage::stage() {
  auto stage = makeObject<KstStage>();
  return stage->init() ? stage : nullptr;
}

bool KstStage::init() {
  const std::vector<KstStoryPage>& pages = kstStoryPages();
  grounds_.clear();
  asides_.clear();
  soundsRu_.clear();
  soundsEn_.clear();
  soundsCn_.clear();
  dialogs_.clear();
  loopSounds_.clear();
  stopsLoopSound_.clear();
  grounds_.reserve(17);
  asides_.reserve(17);

  const int pageCount = static_cast<int>(pages.size());
  for (int page = 1; page <= pageCount; ++page) {
    const KstStoryPage& content = pages[page - 1];
    StringList list{std::to_string(page)};
    list.insert(list.end(), content.layout.begin(), content.layout.end());
    grounds_.push_back(std::move(list));

    if (content.hasAside) {
      asides_.push_back(
          {numbered("s", page, "Aside"), content.aside.ru, content.aside.en, content.aside.cn});
    } else {
      asides_.push_back({kKstNil});
    }

    soundsRu_.push_back(content.recordings.ru);
    soundsEn_.push_back(content.recordings.en);
    soundsCn_.push_back(content.recordings.cn);

    loopSounds_.push_back(content.sound.startsLoop);
    stopsLoopSound_.push_back(content.sound.stopsLoop);

    for (const KstStoryFigure& figure : content.figures) {
      dialogs_[figure.layer] = joined(figure.lines);
    }
  }
  totalStageCount_ = static_cast<std::int32_t>(grounds_.size());
  return true;
}

void KstStage::checkStageIndex(std::int32_t stageIndex, std::size_t listSize) const {
  CCAssert(stageIndex >= 1, "index should begin at 1");
  CCAssert(static_cast<std::size_t>(stageIndex) <= listSize, "index should not pass the last page");
}

const std::string& KstStage::loopSoundForStage(std::int32_t stageIndex) const {
  checkStageIndex(stageIndex, loopSounds_.size());
  return loopSounds_[stageIndex - 1];
}

bool KstStage::stopsLoopSoundOnStage(std::int32_t stageIndex) const {
  checkStageIndex(stageIndex, stopsLoopSound_.size());
  return stopsLoopSound_[stageIndex - 1];
}

const KstStage::StringList& KstStage::groundsForStage(std::int32_t stageIndex) const {
  checkStageIndex(stageIndex, grounds_.size());
  return grounds_[stageIndex - 1];
}

const KstStage::StringList& KstStage::asideForStage(std::int32_t stageIndex) const {
  checkStageIndex(stageIndex, asides_.size());
  return asides_[stageIndex - 1];
}

const std::string& KstStage::narrationSoundForStage(std::int32_t stageIndex,
                                                    std::int32_t langTag) const {
  const StringList& sounds = langTag == lmStageInfo::kLangEnglish ? soundsCn_ : soundsRu_;
  checkStageIndex(stageIndex, sounds.size());
  return sounds[stageIndex - 1];
}

KstStage::StringList KstStage::dialogNamesForLayer(const std::string& identifier) const {
  StringList names;
  auto found = dialogs_.find(identifier);
  if (found == dialogs_.end()) return names;
  const std::string& list = found->second;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    if (comma > start) names.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return names;
}
