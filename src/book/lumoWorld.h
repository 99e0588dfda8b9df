#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CC3World.h"
#include "KstStage.h"
#include "UIAccelerometer.h"
#include "lmStageInfo.h"
#include "lmWordTimings.h"
#include "lumoSentenceReading.h"
#include "lumoWordTaps.h"

class CC3Billboard;
class CCLabelTTF;
class CC3PlaneNode;
class NSNotification;
class KstSpriteId;

// The book's 3D world: every page is built, shown, turned and touched here.
// Creating it (world()) sets up the camera, the lamp, the first page, the
// backdrop, the music, the language and the observers.
class lumoWorld : public CC3World, public UIAccelerometerDelegate {
 public:
  static Ptr<lumoWorld> world();
  ~lumoWorld() override;

  std::string className() const override { return "lumoWorld"; }

  void initializeWorld() override;

  // MARK: page assembly and settling
  void renderBeginningStageWithIndex(std::int32_t index);
  void renderStage();
  void cleanStage();
  // Builds the planes of page n; the ground joins the world, its layers the
  // ground. Answers the ground's identifier (empty when the page has none).
  std::string buildStage(std::int32_t index);

  // MARK: content look-ups by page number (from 1)
  const KstStage::StringList& genStageElementWithIndex(std::int32_t index) const;
  const KstStage::StringList& genStageAsideWithIndex(std::int32_t index) const;
  const std::string& genStageSoundWithIndex(std::int32_t index) const;

  // MARK: page turning (lumoWorldTurns.cpp)
  // Direction 0 turns forward, 1 back; refused (lock released at once) at the book's ends.
  void reflashStage(std::int32_t direction);
  void addReflashStageLimited();
  void removeReflashStageLimited();
  void addNextStage(std::int32_t index);
  void addPreStage(std::int32_t index);
  void stageUpAnimationWithStageIndex(std::int32_t index);
  void stageDownAnimationWithStageIndex(std::int32_t index);

  // MARK: touch, drag and tilt (lumoWorldTouch.cpp)
  void touchEvent(GLuint touchType, CGPoint point) override;
  void nodeSelected(CC3Node* node, GLuint touchType, CGPoint point) override;
  void normalElementDidEndAnimation();
  void accelerometer(UIAccelerometer* accelerometer, const UIAcceleration& acceleration) override;
  void moveXAxisWithRate(float rate);
  void moveYAxisWithRate(float rate);
  void updateBeforeTransform(CC3NodeUpdatingVisitor* visitor) override;
  void updateCameraFromControls(ccSeconds dt);
  void switchCameraTarget();

  // MARK: narration panel (lumoWorldAsides.cpp)
  void showAside();
  void playAsideSound();
  void dismissAsideWithAnimation(bool animated);
  void asideDidFinish(NSNotification* notification);

  // MARK: reading aids (lumoWorldWords.cpp)
  // Words lit: while the page's narration plays, the panel's text shows the
  // word being read, as the sound's own position says; one step a word.
  void startFollowingWords();
  void stopFollowingWords();
  // An aid was switched: words lit start or stop on the narration playing.
  void readingAidsChanged();
  // The word lit in the panel's text, from 0, as read or as tapped; -1 when none is.
  int litWordIndex() const { return litWord_ >= 0 ? litWord_ : wordTaps_->litWord(); }

  // MARK: the panel's reader features (lumoWordTaps, lumoSentenceReading)
  lumoWordTaps& wordTaps() { return *wordTaps_; }
  lumoSentenceReading& sentences() { return *sentences_; }
  const lumoSentenceReading& sentences() const { return *sentences_; }
  // The panel ("aside_bg") and its text, or none.
  CC3Node* asidePanel() { return getNodeNamed(kAsidePanelName); }
  CCLabelTTF* asideTextLabel() { return asideLabel(); }
  // The recording of the page on stage in the reading language ("nil" for none).
  const std::string& currentNarration() const;
  // The panel's sentences: those being read, or those its text has.
  std::vector<lmSentences::Sentence> panelSentences();
  // The end of a tapped word's time, a delayed call.
  void tappedWordTimeUp() { wordTaps_->timeUp(); }
  // Enter: the sentence that waits, when reading sentence by sentence.
  bool readNextSentenceFromKey() { return sentences_->readNext(); }
  // The pace changed: the page's recordings are decoded ahead at the new one.
  void paceChanged();
  static constexpr const char* kAsidePanelName = "aside_bg";

  // MARK: language titles and menu (lumoWorldLanguage.cpp)
  void beginEnShouldAnimation();
  void beginCnShouldAnimation();
  void endEnShouldAnimation();
  void endCnShouldAnimation();
  void endChangeToEnLanguage();
  void endChangeToCnLanguage();
  void addMenu();

  // MARK: home, ending menu, drag hint, credits (lumoWorldMenus.cpp)
  void addHome();
  void removeHome();
  void addMenuEnding();
  void addHelpAlert();
  void creditsDidFinish(NSNotification* notification);

  // MARK: keyboard and wheel (lumoWorldKeys.cpp)
  // What a drag of more than 120 points does, in `direction` 0 forward or 1
  // back: nothing while dragging is locked. True when the turn was requested.
  bool requestTurnFromKey(std::int32_t direction);
  // A tap on the home button, only while it is on screen and can be tapped.
  bool requestHomeFromKey();

  // MARK: state
  KstStage* stage() const { return stage_.get(); }
  lmStageInfo* stageInfo() const { return stageInfo_.get(); }
  const std::vector<std::string>& curTouchSet() const { return curTouchSet_; }
  std::int32_t stageIndex() const { return stageIndex_; }
  float universalScaleWidth() const { return universalScaleWidth_; }
  float universalScaleHeight() const { return universalScaleHeight_; }
  bool k_animationYES() const { return k_animationYES_; }
  void setK_animationYES(bool yes) { k_animationYES_ = yes; }
  std::int16_t increaseUp() const { return increaseUp_; }
  std::int16_t increaseDown() const { return increaseDown_; }

  // World units per design pixel: the 1024 x 768 design page maps onto the
  // 480 x 320 world the stage was laid out in.
  static constexpr float kUniversalScaleWidth = 480.0f / 1024.0f;  // 0.46875
  static constexpr float kUniversalScaleHeight = 0.41666666f;      // 320 / 768, as stored
  // The camera stands above the page's middle, back far enough to see the
  // whole 480-unit ground, and zooms in a little (scale 0.7) to fill the screen.
  static constexpr CC3Vec3 kCameraLocation{0, 100, 450};
  static constexpr float kCameraUniformScale = 0.7f;
  // The lamp rides with the camera, just to its left.
  static constexpr CC3Vec3 kLampLocation{-2, 0, 0};
  // The backdrop is three design pages wide and high, standing on its bottom
  // centre far behind and below every page so its edges never show.
  static constexpr CC3Vec3 kBackdropLocation{-100, -100, -400};
  static constexpr float kBackdropPages = 3;
  // Tilt is sampled once a frame.
  static constexpr double kAccelerometerInterval = 1.0 / 60.0;

  // Automatic node tags skip the range the book's controls use.
  static constexpr GLuint kFirstControlTag = 1001;
  static constexpr GLuint kLastControlTag = 4000;
  static GLuint nextPageNodeTag();

 protected:
  CC3Identifiable* newInstance() const override { return new lumoWorld(); }

 private:
  void setUpLanguage();
  void setUpCameraAndLamp();
  void addBackdrop();
  Ptr<CC3PlaneNode> makePlane(const KstSpriteId& record);
  // Taps on controls, dispatched by tag from nodeSelected().
  void flashNode(CC3Node* node);
  void playFigureDialogue(CC3Node* figure);
  void startLanguageChange(CC3Node* button, std::int32_t toLanguage);
  void repeatNarration(CC3Node* button);
  void jumpHome(CC3Node* button);
  void replayFromEnding(CC3Node* button);
  void requestCredits(CC3Node* button);

  // MARK: private helpers of the turns
  // The layers of the incoming ground rise over 1.5 s and the ground lifts
  // 5 units; the last layer settles the turn.
  void raiseIncomingPage(const std::string& groundName, float degrees);
  void rotateLayers(CC3Node* ground, ccSeconds duration, float degrees, bool settleOnLast);

  // MARK: private helpers of touch
  // One drag step from lastGesture: a turn request each 120 points.
  void dragTo(CGPoint point);
  // Every child of the current ground, or only its "-t" figures.
  void setGroundChildrenTouchEnabled(bool enabled, bool figuresOnly);
  // The four-step rock about the figure's bottom edge, then its end.
  void wobble(CC3Node* figure);
  bool dragRefusalLogged_ = false;

  // MARK: private helpers of the panel
  // A node of the page on stage (a child of the current ground), or none.
  CC3Node* currentGroundChild(const std::string& name);
  // A not opaque centred plane showing `name`.png, inverted as the book's pictures are.
  Ptr<CC3PlaneNode> makeAsidePlane(const std::string& name, CGSize size, GLuint tag);
  // The narration text as a billboard named `name`; `measured` gets the text's size.
  Ptr<CC3Billboard> makeAsideText(const std::string& name, const std::string& text,
                                  CGSize& measured);
  void cancelPendingPageCalls();
  // Removal leaves a node's actions running: a pulse for ever would keep it alive.
  static void removeWithActions(CC3Node* node);
  void removeAsidePanel();
  void pulseRepeatButton();
  void placeDialogueHint();
  // The panel's text label, or none.
  CCLabelTTF* asideLabel();

  // MARK: private helpers of the reading aids
  void followWords();
  void lightWord(CCLabelTTF* label, int index);
  std::optional<lmWordTimings> wordTimings_;
  std::vector<lmWordTimings::Span> wordSpans_;
  std::string followedNarration_;
  int litWord_ = -1;
  std::unique_ptr<lumoWordTaps> wordTaps_ = std::make_unique<lumoWordTaps>(*this);
  std::unique_ptr<lumoSentenceReading> sentences_ = std::make_unique<lumoSentenceReading>(*this);
  // A tap that ended on the panel: a word, or the sentence that waits. True when taken.
  bool panelTapped(CGPoint layerPoint);

  // MARK: private helpers of the language
  // Answers whether the title is on stage.
  bool rockTitle(const std::string& name);
  void finishLanguageChange(const std::string& oldTitle, std::int32_t toLanguage);
  // Each menu pair shows the selected image for `language` and the plain one otherwise.
  void showMenuPairs(std::int32_t language);

  // MARK: private helpers of the menus
  // A control plane: a x b design pixels scaled by `factor`, standing on a
  // pivot `pivotWidth` wide; tag 0 takes an automatic page tag.
  struct ControlSpec {
    std::string name;
    float width, height, pivotWidth, factor;
    std::string image;
    GLuint tag;
    bool touchable, visible;
    CC3Vec3 location;
  };
  Ptr<CC3PlaneNode> makeControl(const ControlSpec& spec);
  void removeNodeNamed(const std::string& name);

  // Shows the language title layer of the current ground and sinks it by
  // `depth`, then calls the follow-up.
  void animateTitle(const std::string& name, Selector<> followUp, float depth);
  void animateCoverTitle(float depth);
  void runStageEffects();

  std::int16_t increaseUp_ = 0;
  std::int16_t increaseDown_ = 0;
  Ptr<KstStage> stage_;
  std::int32_t stageIndex_ = 0;
  double myAccelerometer_[3] = {0, 0, 0};
  CGPoint beginGesture_{};
  CGPoint nodeBeginGesture_{};
  CGPoint lastGesture_{};
  Ptr<lmStageInfo> stageInfo_;
  std::vector<std::string> curTouchSet_;
  float universalScaleWidth_ = kUniversalScaleWidth;
  float universalScaleHeight_ = kUniversalScaleHeight;
  bool k_animationYES_ = false;
};

// The part of a layer identifier after its first "-" ("s1layer2l-t" -> "t"),
// empty when it has none.
std::string lumoLayerSuffix(const std::string& identifier);
