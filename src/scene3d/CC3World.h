#pragma once
#include <vector>

#include "CC3Node.h"
#include "CC3NodeSequencer.h"
#include "CC3ViewportManager.h"
#include "CC3WorldTouchHandler.h"

class CC3Billboard;
class CC3Camera;
class CC3Light;
class CC3NodeDrawingVisitor;
class CC3NodePickingVisitor;
class CC3NodeUpdatingVisitor;

// The root of a 3D scene. It keeps the cameras, lights and billboards found
// under it, the draw order, the touch queue and the viewport, and runs the
// frame: an update pass (node logic, transforms, camera, lights, billboards,
// draw order) and a draw pass (3D state, picking, lighting, nodes, then the
// billboards' 2D content).
class CC3World : public CC3Node {
 public:
  static Ptr<CC3World> world();
  CC3World();
  ~CC3World() override;

  using CC3Node::initWithTag;
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;
  // Where a subclass builds its scene; the last step of initialisation.
  virtual void initializeWorld() {}

  // MARK: frame cycle
  void play() { isRunning_ = true; }
  void pause() { isRunning_ = false; }
  bool isRunning() const { return isRunning_; }
  void setIsRunning(bool running) { isRunning_ = running; }
  void updateWorld(ccSeconds dt);
  void drawWorld();

  // Open the visitor, visit and close it.
  void updateWithVisitor(CC3NodeTransformingVisitor* visitor) override;
  void drawWithVisitor(CC3NodeDrawingVisitor* visitor) override;

  // The visitor classes of the three passes; subclasses may make others.
  virtual Ptr<CC3NodeUpdatingVisitor> makeUpdateVisitor(ccSeconds dt);
  virtual Ptr<CC3NodeDrawingVisitor> makeDrawVisitor();
  virtual Ptr<CC3NodePickingVisitor> makePickVisitor();

  // MARK: touches
  // A raw touch in the layer's 2D space; subclasses call the base to keep picking.
  virtual void touchEvent(GLuint touchType, CGPoint point);
  // The touchable node picked under a queued touch (or null), once per event.
  virtual void nodeSelected(CC3Node*, GLuint, CGPoint) {}
  CC3WorldTouchHandler* touchHandler() const { return touchHandler_.get(); }

  // MARK: lists and properties
  const std::vector<Ptr<CC3Light>>& lights() const { return lights_; }
  const std::vector<Ptr<CC3Camera>>& cameras() const { return cameras_; }
  const std::vector<Ptr<CC3Billboard>>& billboards() const { return billboards_; }
  CC3Camera* activeCamera() const { return activeCamera_.get(); }
  void setActiveCamera(CC3Camera* camera);
  ccColor4F ambientLight() const { return ambientLight_; }
  void setAmbientLight(ccColor4F color) {
    ambientLight_ = color;
    DrawRevision::bump();
  }
  ccSeconds maxUpdateInterval() const { return maxUpdateInterval_; }
  void setMaxUpdateInterval(ccSeconds interval) { maxUpdateInterval_ = interval; }
  CC3ViewportManager* viewportManager() const { return viewportManager_.get(); }
  void setViewportManager(CC3ViewportManager* manager);

  // MARK: draw order
  CCArray* drawingSequence() const { return drawingSequence_.get(); }
  CC3NodeSequencer* drawingSequencer() const { return drawingSequencer_.get(); }
  // Unlike setDrawSequencer, only stores it: nodes already in the world are
  // not added to it and the draw sequence is not rebuilt. Set it before adding nodes.
  void setDrawingSequencer(CC3NodeSequencer* sequencer) { drawingSequencer_ = sequencer; }
  // Unlike setDrawingSequencer, also gives it every node already in the world
  // and rebuilds the draw sequence from it.
  void setDrawSequencer(CC3NodeSequencer* sequencer);
  bool isUsingDrawingSequence() const { return drawingSequencer_ != nullptr; }

  void didAddDescendant(CC3Node* node) override;
  void didRemoveDescendant(CC3Node* node) override;
  void descendantDidModifySequencingCriteria(CC3Node* node) override;

  void cleanCaches() {}

 protected:
  CC3Identifiable* newInstance() const override { return new CC3World(); }

  void populateDrawSequence();
  void updateCamera();
  void updateLights();
  void updateBillboards();
  void updateDrawSequence();
  void open3D();
  void close3D();
  void open3DCamera();
  void close3DCamera();
  void illuminate();
  void drawBillboards();

 private:
  bool addToLists(CC3Node* node, CC3NodeSequencerVisitor* visitor);
  bool removeFromLists(CC3Node* node, CC3NodeSequencerVisitor* visitor);

  std::vector<Ptr<CC3Light>> lights_;
  std::vector<Ptr<CC3Camera>> cameras_;
  std::vector<Ptr<CC3Billboard>> billboards_;
  Ptr<CC3ViewportManager> viewportManager_;
  Ptr<CC3Camera> activeCamera_;
  Ptr<CCArray> drawingSequence_;
  Ptr<CC3NodeSequencer> drawingSequencer_;
  Ptr<CC3WorldTouchHandler> touchHandler_;
  ccColor4F ambientLight_{0.2f, 0.2f, 0.2f, 1.0f};
  ccSeconds maxUpdateInterval_ = 1.0f / 15;
  bool isRunning_ = false;
};
