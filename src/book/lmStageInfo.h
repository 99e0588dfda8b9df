#pragma once
#include <cstdint>
#include <mutex>
#include <string>

#include "CC3Foundation.h"
#include "NSObject.h"

// Where the reader is: page, language, the ground nodes on stage, tilt, locks,
// the figure in motion and the narration panel's place. Nothing here is saved;
// only the language is mirrored in the user defaults by the world.
class lmStageInfo : public NSObject {
 public:
  static constexpr std::int32_t kLangRussian = 2000;
  static constexpr std::int32_t kLangEnglish = 2001;
  // The user defaults key the language is mirrored under.
  static constexpr const char* kLanguageDefaultsKey = "Lan";

  static Ptr<lmStageInfo> stageInfo();
  bool init();

  std::string className() const override { return "lmStageInfo"; }

  std::int32_t curStageIndex() const { return curStageIndex_; }
  void setCurStageIndex(std::int32_t index) { curStageIndex_ = index; }
  // Vectors are copied whole under a lock so a reader never sees half of one.
  CC3Vec3 rotation() const;
  void setRotation(CC3Vec3 rotation);
  CC3Vec3 asideLocation() const;
  void setAsideLocation(CC3Vec3 location);
  bool canAccelerometer() const { return canAccelerometer_; }
  void setCanAccelerometer(bool can) { canAccelerometer_ = can; }
  bool lockDrag() const { return lockDrag_; }
  void setLockDrag(bool lock) { lockDrag_ = lock; }
  const std::string& curGroundName() const { return curGroundName_; }
  void setCurGroundName(const std::string& name) { curGroundName_ = name; }
  const std::string& nextGroundName() const { return nextGroundName_; }
  void setNextGroundName(const std::string& name) { nextGroundName_ = name; }
  const std::string& preGroundName() const { return preGroundName_; }
  void setPreGroundName(const std::string& name) { preGroundName_ = name; }
  const std::string& shouldRemoveGroundName() const { return shouldRemoveGroundName_; }
  void setShouldRemoveGroundName(const std::string& name) { shouldRemoveGroundName_ = name; }
  const std::string& normalElementInTouch() const { return normalElementInTouch_; }
  void setNormalElementInTouch(const std::string& name) { normalElementInTouch_ = name; }
  std::int32_t curLangTag() const { return curLangTag_; }
  void setCurLangTag(std::int32_t tag) { curLangTag_ = tag; }

 private:
  std::int32_t curStageIndex_ = 1;
  CC3Vec3 rotation_{-90, 0, 0};
  CC3Vec3 asideLocation_{0, 60, 400};
  bool canAccelerometer_ = true;
  bool lockDrag_ = false;
  std::string curGroundName_;
  std::string nextGroundName_;
  std::string preGroundName_;
  std::string shouldRemoveGroundName_;
  std::string normalElementInTouch_;
  std::int32_t curLangTag_ = kLangRussian;
  mutable std::mutex vectorLock_;
};
