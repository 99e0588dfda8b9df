#include "lumoContinueButton.h"

#include "CC3Billboard.h"
#include "CCLabelTTF.h"
#include "NSStringDrawing.h"
#include "UIFont.h"
#include "lumoNodeActions.h"
#include "lumoWorld.h"

namespace {
const char* const kFont = "ArialRoundedMTBold";
constexpr float kFontSize = 19;
// A 200 x 90 picture on a plane 21 x 8.4 units, 100 units from the camera:
// right of the language menu, on its bottom line.
constexpr float kFactor = 0.224f;
constexpr CC3Vec3 kPlace{47.5f, 57, 350};
// The words stand in front of the pill, left of its arrow; the label is drawn
// at its own size at the button's distance from the camera.
constexpr CC3Vec3 kTextPlace{-3.0f, 4.1f, 1};
constexpr float kTextUnityDistance = 100;
}  // namespace

std::string lumoContinueButton::text(std::int32_t page, std::int32_t language) {
  const std::string number = std::to_string(page);
  if (language == lmStageInfo::kLangEnglish) return "Continue\npage " + number;
  return "Продолжить\nстраница " + number;
}

void lumoContinueButton::add(std::int32_t page) {
  remove();
  page_ = page;
  auto button = world_.menus().makeControl({kName, 200, 90, 200, kFactor, "continue_btn.png",
                                            lumoControlTable::tagOf(lumoControl::kContinue), true,
                                            true, kPlace});
  world_.addChild(button.get());
  setText();
}

void lumoContinueButton::setText() {
  CC3Node* button = world_.getNodeNamed(kName);
  if (!button) return;
  lumoNodeActions::removeWithActions(button->getNodeNamed(kTextName));
  const std::string words = text(page_, world_.turns().language());
  auto font = UIFont::fontWithName(kFont, kFontSize);
  // An unknown font draws no words: the button still goes there.
  if (!font) return;
  auto label = CCLabelTTF::labelWithString(words, NSStringDrawing::sizeWithFont(words, *font),
                                           UITextAlignmentCenter, kFont, kFontSize);
  if (!label) return;
  label->setColor(ccc3(255, 255, 255));
  auto billboard = makeObject<CC3Billboard>();
  billboard->initWithTag(lumoWorld::nextPageNodeTag(), kTextName, label.get());
  billboard->setUnityScaleDistance(kTextUnityDistance);
  billboard->setLocation(kTextPlace);
  button->addChild(billboard.get());
}

void lumoContinueButton::remove() {
  page_ = 0;
  lumoNodeActions::removeWithActions(world_.getNodeNamed(kName));
}

void lumoContinueButton::languageChanged() {
  setText();
}
