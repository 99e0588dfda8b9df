#pragma once
#include <sys/time.h>

#include <thread>
#include <vector>

#include "CCScene.h"
#include "NSObject.h"
#include "UIDevice.h"
#include "ccTypes.h"

class CCLabelTTF;
class EAGLView;

enum ccDirectorProjection {
  kCCDirectorProjection2D = 0,
  kCCDirectorProjection3D = 1,
  kCCDirectorProjectionCustom = 2,
  kCCDirectorProjectionDefault = kCCDirectorProjection3D
};

enum ccDirectorType {
  kCCDirectorTypeNSTimer = 0,
  kCCDirectorTypeMainLoop = 1,
  kCCDirectorTypeThreadMainLoop = 2,
  kCCDirectorTypeDisplayLink = 3
};

// Answers `updateProjection` for the custom projection.
class CCProjectionProtocol : public NSObject {
 public:
  virtual void updateProjection() = 0;
};

// The single owner of the frame loop: measures each frame's time, ticks the
// scheduler, switches scenes, draws the running scene and presents.
class CCDirector : public NSObject {
 public:
  // The one director; a timer-driven one when none exists yet.
  static CCDirector* sharedDirector();
  static bool setDirectorType(ccDirectorType type);
  // Forgets the director (after `end`), so a new one can be created (tests).
  static void purgeSharedDirector();
  ~CCDirector() override;

  void runWithScene(CCScene* scene);
  void replaceScene(CCScene* scene);
  void pushScene(CCScene* scene);
  void popScene();
  virtual void end();
  void pause();
  void resume();
  virtual void startAnimation() {}
  virtual void stopAnimation() {}
  virtual void setAnimationInterval(double interval) { animationInterval_ = interval; }
  double animationInterval() const { return animationInterval_; }
  void purgeCachedData();

  virtual void drawScene() {}
  void mainLoop() { drawScene(); }

  CCScene* runningScene() const { return runningScene_.get(); }
  CCScene* nextScene() const { return nextScene_; }
  const std::vector<Ptr<CCScene>>& scenesStack() const { return scenesStack_; }
  bool displayFPS() const { return displayFPS_; }
  void setDisplayFPS(bool display) { displayFPS_ = display; }
  bool nextDeltaTimeZero() const { return nextDeltaTimeZero_; }
  void setNextDeltaTimeZero(bool zero) { nextDeltaTimeZero_ = zero; }
  bool isPaused() const { return isPaused_; }
  bool sendCleanupToScene() const { return sendCleanupToScene_; }
  std::thread::id runningThread() const { return runningThread_; }
  CCNode* notificationNode() const { return notificationNode_.get(); }
  void setNotificationNode(CCNode* node) { notificationNode_ = node; }
  CCProjectionProtocol* projectionDelegate() const { return projectionDelegate_.get(); }
  void setProjectionDelegate(CCProjectionProtocol* d) { projectionDelegate_ = d; }
  ccDirectorProjection projection() const { return projection_; }
  virtual void setProjection(ccDirectorProjection projection);
  EAGLView* openGLView() const { return openGLView_.get(); }
  virtual void setOpenGLView(EAGLView* view);
  virtual UIDeviceOrientation deviceOrientation() const { return UIDeviceOrientationPortrait; }
  virtual void setDeviceOrientation(UIDeviceOrientation) {}
  virtual float contentScaleFactor() const { return 1; }
  virtual void setContentScaleFactor(float) {}
  virtual bool enableRetinaDisplay(bool) { return false; }

  CGSize winSize() const;
  CGSize winSizeInPixels() const;
  CGSize displaySizeInPixels() const { return winSizeInPixels_; }
  virtual CGPoint convertToGL(CGPoint point) const { return point; }
  virtual CGPoint convertToUI(CGPoint point) const { return point; }
  virtual void reshapeProjection(CGSize size);
  void setAlphaBlending(bool on);
  void setDepthTest(bool on);
  float getZEye() const;

  ccSeconds frameInterval() const { return dt; }
  float frameRate() const { return frameRate_; }
  CCLabelTTF* FPSLabel() const;
  // Frames since the director was created (state dump), drawn or not.
  unsigned long totalFrames() const { return totalFrames_; }
  // Of those, the frames that did GL work; the others showed nothing new and
  // kept the last picture.
  unsigned long renderedFrames() const { return renderedFrames_; }
  bool lastFrameRendered() const { return lastFrameRendered_; }
  // On, a frame in which nothing changed is not drawn; off (the default),
  // every frame is, as benchmarks of the drawing want.
  static void setSkipsUnchangedFrames(bool skips);
  static bool skipsUnchangedFrames();
  ccSeconds deltaTime() const { return dt; }

 protected:
  CCDirector();
  void calculateDeltaTime();
  void setNextScene();
  void showFPS();
  void setGLDefaultValues();
  void createFPSLabel();
  void stampLastUpdate();
  // Whether anything that shows may have changed since the last drawn frame.
  bool frameNeedsDrawing() const;
  // `revision`: the DrawRevision the frame showed, read before it drew.
  void noteFrameRendered(unsigned long revision);
  void noteFrameSkipped();
  template <class T>
  static CCDirector* sharedDirectorOf() {
    if (!sharedInstance()) new T();
    return sharedInstance();
  }
  static CCDirector*& sharedInstance();

  Ptr<EAGLView> openGLView_;
  double animationInterval_ = 1.0 / 60;
  double oldAnimationInterval_ = 1.0 / 60;
  bool displayFPS_ = false;
  unsigned frames_ = 0;
  float accumDt_ = 0;
  float frameRate_ = 0;
  Ptr<CCNode> FPSLabel_;  // a CCLabelTTF
  bool isPaused_ = false;
  Ptr<CCScene> runningScene_;
  Ptr<CCNode> notificationNode_;
  CCScene* nextScene_ = nullptr;  // not retained: the stack holds it
  bool sendCleanupToScene_ = false;
  std::vector<Ptr<CCScene>> scenesStack_;
  timeval lastUpdate_{};
  ccSeconds dt = 0;
  bool nextDeltaTimeZero_ = false;
  ccDirectorProjection projection_ = kCCDirectorProjectionDefault;
  Ptr<CCProjectionProtocol> projectionDelegate_;
  CGSize winSizeInPoints_ = CGSizeZero;
  CGSize winSizeInPixels_ = CGSizeZero;
  std::thread::id runningThread_;
  unsigned long totalFrames_ = 0;
  unsigned long renderedFrames_ = 0;
  unsigned long renderedRevision_ = 0;  // DrawRevision when the last frame drew
  bool lastFrameRendered_ = false;
};
