#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CC3World.h"
#include "DisplayGeometry.h"
#include "KstSound.h"
#include "KstStage.h"
#include "UIAccelerometer.h"
#include "lmStageInfo.h"
#include "lumoBookNames.h"
#include "lumoControlTable.h"
#include "lumoFigureDialogue.h"
#include "lumoGestureRecogniser.h"
#include "lumoLanguageMenu.h"
#include "lumoLanguageTitles.h"
#include "lumoLitWords.h"
#include "lumoMenusAndHints.h"
#include "lumoNarrationPanel.h"
#include "lumoOwnVoice.h"
#include "lumoPageAssembly.h"
#include "lumoPageTilt.h"
#include "lumoPageTurnMotion.h"
#include "lumoReaderFeatures.h"
#include "lumoSentenceReading.h"
#include "lumoTurnMachine.h"
#include "lumoWordTaps.h"

class NSNotification;

// The book's 3D world: every page is built, shown, turned and touched here.
// Creating it (world()) sets up the camera, the lamp, the first page, the
// backdrop, the music, the language and the observers.
//
// The world is the face of the book: each operation below is one line that
// hands the work to the part that does it. The parts are owned here, one
// class each, and reach one another through this face:
//   lumoTurnMachine        page, language, turn lock, figures' readiness
//   lumoPageAssembly       a page's nodes from its layout records, settling
//   lumoPageTurnMotion     the forward and backward turn animations
//   lumoGestureRecogniser  raw touches to tap and drag step, tilt samples to steps
//   lumoPageTilt           tilt steps on the page on stage
//   lumoControlTable       a tap on a control (by its tag) to its handler
//   lumoFigureDialogue     a tap on a figure: flash, rock, a line of dialogue
//   lumoNarrationPanel     panel, repeat button, dialogue hint, read-by-myself
//   lumoLitWords           the word being read, lit in the panel's text
//   lumoLanguageTitles     the titles of the cover and the last page
//   lumoLanguageMenu       the cover's language menu and the change it starts
//   lumoMenusAndHints      home button, ending menu, drag hint, credits hand-off
//   lumoReaderFeatures     page navigator, jumps, the stored place, read to me
//   lumoOwnVoice           the reader's own recording of a page's narration
class lumoWorld : public CC3World, public UIAccelerometerDelegate {
 public:
  static Ptr<lumoWorld> world();
  // The book opened on `page` (1 to the last) rather than on the cover.
  static Ptr<lumoWorld> worldOpenAt(std::int32_t page);
  ~lumoWorld() override;

  std::string className() const override { return "lumoWorld"; }

  void initializeWorld() override;

  // MARK: page assembly and settling (lumoPageAssembly)
  void renderBeginningStageWithIndex(std::int32_t index) { pages_->showFirstPage(index); }
  void renderStage() { pages_->settle(); }
  void cleanStage() { pages_->removeLeftPage(); }
  // Builds the planes of page n; the ground joins the world, its layers the
  // ground. Answers the ground's identifier (empty when the page has none).
  std::string buildStage(std::int32_t index) { return pages_->build(index); }

  // MARK: content look-ups by page number (from 1)
  const KstStage::StringList& genStageElementWithIndex(std::int32_t index) const;
  const KstStage::StringList& genStageAsideWithIndex(std::int32_t index) const;
  const std::string& genStageSoundWithIndex(std::int32_t index) const;

  // MARK: page turning (lumoTurnMachine, lumoPageAssembly, lumoPageTurnMotion)
  // Direction 0 turns forward, 1 back; refused (lock released at once) at the book's ends.
  void reflashStage(std::int32_t direction);
  void addReflashStageLimited() { turns_->takeLock(); }
  void removeReflashStageLimited() { turns_->releaseLock(); }
  void addNextStage(std::int32_t index) { pages_->buildIncoming(index, lumoTurn::kForward); }
  void addPreStage(std::int32_t index) { pages_->buildIncoming(index, lumoTurn::kBack); }
  void stageUpAnimationWithStageIndex(std::int32_t index) { motion_->turnForwardTo(index); }
  void stageDownAnimationWithStageIndex(std::int32_t index) { motion_->turnBackTo(index); }

  // MARK: touch, drag and tilt (lumoGestureRecogniser, lumoControlTable, lumoPageTilt)
  void touchEvent(GLuint touchType, CGPoint point) override;
  void nodeSelected(CC3Node* node, GLuint touchType, CGPoint point) override;
  void normalElementDidEndAnimation() { turns_->figureStoppedMoving(); }
  void accelerometer(UIAccelerometer* accelerometer, const UIAcceleration& acceleration) override;
  void moveXAxisWithRate(float rate) { tilt_->stepAboutX(rate, currentGround()); }
  void moveYAxisWithRate(float rate) { tilt_->stepAboutY(rate, currentGround()); }
  void updateBeforeTransform(CC3NodeUpdatingVisitor* visitor) override;
  // The camera stays where set-up put it; these hooks are kept for a camera
  // that follows controls.
  void updateCameraFromControls(ccSeconds) {}
  void switchCameraTarget() {}

  // MARK: narration panel (lumoNarrationPanel)
  void showAside() { panel_->show(); }
  void playAsideSound() { reader_->narrationPlayed(panel_->playNarration()); }
  void dismissAsideWithAnimation(bool animated);
  // Observer of the sound player's finish notification; its listeners are
  // told what kind of recording ended.
  void asideDidFinish(NSNotification* notification);
  using RecordingEndListener = std::function<void(KstRecordingKind)>;
  void addRecordingEndListener(RecordingEndListener listener);

  // MARK: reading aids (lumoLitWords)
  // Words lit: while the page's narration plays, the panel's text shows the
  // word being read, as the sound's own position says; one step a word.
  void startFollowingWords() { words_->start(); }
  void stopFollowingWords() { words_->stop(); }
  // The next step of the words lit, a delayed call on the world.
  void followWords() { words_->follow(); }
  // An aid was switched: words lit start or stop on the narration playing.
  void readingAidsChanged();
  // The word lit in the panel's text, from 0; -1 when none is.
  // A tapped word is lit while it plays.
  int litWordIndex() const {
    return words_->litWord() >= 0 ? words_->litWord() : wordTaps_->litWord();
  }

  // MARK: the panel's reader features (lumoWordTaps, lumoSentenceReading)
  // The recording of the page on stage in the reading language ("nil" for none).
  const std::string& currentNarration() const;
  // The end of a tapped word's time, a delayed call.
  void tappedWordTimeUp() { wordTaps_->timeUp(); }
  // Enter: the sentence that waits, when reading sentence by sentence.
  bool readNextSentenceFromKey() { return sentences_->readNext(); }
  // The panel's sentences: those being read, or those its text has.
  std::vector<lmSentences::Sentence> panelSentences();
  // The pace changed: the page's recordings are decoded ahead at the new one.
  void paceChanged();

  // MARK: language titles and menu (lumoLanguageTitles, lumoLanguageMenu)
  void beginEnShouldAnimation() { titles_->coverTitleArrived(lmStageInfo::kLangRussian); }
  void beginCnShouldAnimation() { titles_->coverTitleArrived(lmStageInfo::kLangEnglish); }
  void endEnShouldAnimation() { titles_->closingTitleArrived(lmStageInfo::kLangRussian); }
  void endCnShouldAnimation() { titles_->closingTitleArrived(lmStageInfo::kLangEnglish); }
  void endChangeToEnLanguage() { finishLanguageChange(lmStageInfo::kLangRussian); }
  void endChangeToCnLanguage() { finishLanguageChange(lmStageInfo::kLangEnglish); }
  void addMenu() { languageMenu_->add(); }

  // MARK: home, ending menu, drag hint, credits (lumoMenusAndHints)
  void addHome() { menus_->addHome(); }
  void removeHome() { menus_->removeHome(); }
  void addMenuEnding() { menus_->addEndingMenu(); }
  void addHelpAlert() { menus_->addDragHint(); }
  void creditsDidFinish(NSNotification*) { menus_->creditsClosed(); }

  // MARK: keyboard and wheel
  // What a drag of more than 120 points does, in `direction` 0 forward or 1
  // back: nothing while dragging is locked. True when the turn was requested.
  bool requestTurnFromKey(std::int32_t direction);
  // A tap on the home button, only while it is on screen and can be tapped.
  bool requestHomeFromKey() { return menus_->tapHomeIfShown(); }
  // Any key of the reader's but read to me's own: it pauses the turning.
  void readerPressedKey() { reader_->readerPressedKey(); }

  // MARK: the reader's features (lumoReaderFeatures)
  // The page navigator opens or closes (G, its button); while open it takes
  // every touch and the keys the shell gives it.
  void toggleNavigator() { reader_->toggleNavigator(); }
  bool navigatorIsOpen() const { return reader_->navigatorIsOpen(); }
  // The continue button joins the cover (a delayed call).
  void addContinueButton() { reader_->addContinueButton(); }
  // Read to me's waiting turn (a delayed call).
  void autoTurnDue() { reader_->autoTurnDue(); }
  // A turn forward or back for the reader or for read to me, with the lock already checked.
  void turnBy(lumoTurn turn, lumoTurnBy by);

  // MARK: state
  KstStage* stage() const { return stage_.get(); }
  lmStageInfo* stageInfo() const { return turns_ ? turns_->info() : nullptr; }
  const std::vector<std::string>& curTouchSet() const { return pages_->touchSet(); }
  std::int32_t stageIndex() const { return pages_->builtPage(); }
  float universalScaleWidth() const { return universalScaleWidth_; }
  float universalScaleHeight() const { return universalScaleHeight_; }
  bool k_animationYES() const { return turns_->figuresReady(); }
  void setK_animationYES(bool yes) { turns_->setFiguresReady(yes); }
  std::int16_t increaseUp() const { return tilt_->increaseUp(); }
  std::int16_t increaseDown() const { return tilt_->increaseDown(); }

  // MARK: the parts, for one another
  lumoTurnMachine& turns() { return *turns_; }
  lumoPageAssembly& pages() { return *pages_; }
  lumoNarrationPanel& panel() { return *panel_; }
  lumoLitWords& words() { return *words_; }
  lumoWordTaps& wordTaps() { return *wordTaps_; }
  lumoSentenceReading& sentences() { return *sentences_; }
  const lumoSentenceReading& sentences() const { return *sentences_; }
  lumoLanguageTitles& titles() { return *titles_; }
  lumoLanguageMenu& languageMenu() { return *languageMenu_; }
  lumoMenusAndHints& menus() { return *menus_; }
  lumoReaderFeatures& reader() { return *reader_; }
  const lumoReaderFeatures& reader() const { return *reader_; }
  lumoOwnVoice& ownVoice() { return *ownVoice_; }
  const lumoOwnVoice& ownVoice() const { return *ownVoice_; }
  // A short line over the book in the reading language, shown by the shell
  // through the handler it sets for the process (none: only logged).
  static void setNoticeHandler(std::function<void(const std::string&)> handler);
  void showNotice(const std::string& text) const;
  // The ground of the page on stage, or none; a node of it by name, or none.
  CC3Node* currentGround();
  CC3Node* currentGroundChild(const std::string& name);
  // A turn the reader asked for, by drag or key, with the lock already checked.
  void turnByReader(lumoTurn turn);

  // World units per design pixel: the tablet-sized design page maps onto the
  // 480 x 320 world the stage was laid out in.
  static constexpr float kUniversalScaleWidth = 480.0f / DisplayGeometry::kLongSide;  // 0.46875
  static constexpr float kUniversalScaleHeight = 0.41666666f;  // 320 / the short side, as stored
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
  void makeParts();
  void routeControls();
  void setUpCameraAndLamp();
  void addBackdrop();
  void finishLanguageChange(std::int32_t language);
  // One drag step from the last one: a turn request each 120 points.
  void dragTo(CGPoint point);

  Ptr<KstStage> stage_;
  std::unique_ptr<lumoTurnMachine> turns_;
  std::unique_ptr<lumoPageAssembly> pages_;
  std::unique_ptr<lumoPageTurnMotion> motion_;
  std::unique_ptr<lumoGestureRecogniser> gestures_;
  std::unique_ptr<lumoPageTilt> tilt_;
  std::unique_ptr<lumoControlTable> controls_;
  std::unique_ptr<lumoFigureDialogue> figures_;
  std::unique_ptr<lumoNarrationPanel> panel_;
  std::unique_ptr<lumoLitWords> words_;
  std::unique_ptr<lumoWordTaps> wordTaps_;
  std::unique_ptr<lumoSentenceReading> sentences_;
  std::unique_ptr<lumoLanguageTitles> titles_;
  std::unique_ptr<lumoLanguageMenu> languageMenu_;
  std::unique_ptr<lumoMenusAndHints> menus_;
  std::unique_ptr<lumoReaderFeatures> reader_;
  std::int32_t openingPage_ = 1;
  std::unique_ptr<lumoOwnVoice> ownVoice_;
  std::vector<RecordingEndListener> recordingEndListeners_;
  float universalScaleWidth_ = kUniversalScaleWidth;
  float universalScaleHeight_ = kUniversalScaleHeight;
};
