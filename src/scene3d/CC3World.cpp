#include "CC3World.h"

#include "CC3Billboard.h"
#include "CC3Camera.h"
#include "CC3Light.h"
#include "CC3Material.h"
#include "CC3NodePickingVisitor.h"
#include "CC3NodeVisitor.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3VertexArrayMeshModel.h"

Ptr<CC3World> CC3World::world() {
  return makeNode<CC3World>(nextNodeTag(), std::nullopt);
}

CC3World::CC3World() = default;

CC3World::~CC3World() {
  // Cameras may outlive the world (a caller may hold one): they must not point back at it.
  for (const auto& camera : cameras_) camera->setWorld(nullptr);
  if (touchHandler_) touchHandler_->initOnWorld(nullptr);
  if (viewportManager_) viewportManager_->setWorld(nullptr);
}

bool CC3World::initWithTag(GLuint tag, std::optional<std::string> name) {
  if (!CC3Node::initWithTag(tag, std::move(name))) return false;
  lights_.clear();
  cameras_.clear();
  billboards_.clear();
  drawingSequence_ = CCArray::array();
  touchHandler_ = CC3WorldTouchHandler::handlerOnWorld(this);
  drawingSequencer_ = CC3BTreeNodeSequencer::sequencerLocalContentOpaqueFirst();
  viewportManager_ = CC3ViewportManager::viewportManagerOnWorld(this);
  activeCamera_ = nullptr;
  ambientLight_ = {0.2f, 0.2f, 0.2f, 1.0f};
  maxUpdateInterval_ = 1.0f / 15;
  isRunning_ = false;
  initializeWorld();
  return true;
}

// MARK: properties

void CC3World::setActiveCamera(CC3Camera* camera) {
  activeCamera_ = camera;
  DrawRevision::bump();
}

void CC3World::setViewportManager(CC3ViewportManager* manager) {
  viewportManager_ = manager;
  if (viewportManager_) viewportManager_->setWorld(this);
}

// MARK: visitors

Ptr<CC3NodeUpdatingVisitor> CC3World::makeUpdateVisitor(ccSeconds dt) {
  return CC3NodeUpdatingVisitor::visitorWithWorld(this, dt);
}

Ptr<CC3NodeDrawingVisitor> CC3World::makeDrawVisitor() {
  return CC3NodeDrawingVisitor::visitorWithWorld(this);
}

Ptr<CC3NodePickingVisitor> CC3World::makePickVisitor() {
  return CC3NodePickingVisitor::visitorWithWorld(this);
}

// MARK: keeping the lists

void CC3World::didAddDescendant(CC3Node* node) {
  CC3Node::didAddDescendant(node);
  auto visitor = CC3NodeSequencerVisitor::visitorWithWorld(this);
  bool sequenced = false;
  Ptr<CCArray> added = node->flatten();
  for (NSObject* each : *added) sequenced |= addToLists(static_cast<CC3Node*>(each), visitor);
  if (sequenced) populateDrawSequence();
}

bool CC3World::addToLists(CC3Node* node, CC3NodeSequencerVisitor* visitor) {
  bool sequenced = drawingSequencer_ && drawingSequencer_->add(node, visitor);
  if (auto* light = dynamic_cast<CC3Light*>(node)) lights_.emplace_back(light);
  if (auto* camera = dynamic_cast<CC3Camera*>(node)) {
    camera->setWorld(this);
    // Its projection follows this world's viewport, which may be known already.
    camera->markProjectionDirty();
    cameras_.emplace_back(camera);
    if (!activeCamera_) setActiveCamera(camera);
  }
  if (auto* billboard = dynamic_cast<CC3Billboard*>(node)) billboards_.emplace_back(billboard);
  return sequenced;
}

namespace {
template <class T>
bool eraseFrom(std::vector<Ptr<T>>& list, CC3Node* node) {
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (static_cast<CC3Node*>(it->get()) == node) {
      list.erase(it);
      return true;
    }
  }
  return false;
}
}  // namespace

void CC3World::didRemoveDescendant(CC3Node* node) {
  CC3Node::didRemoveDescendant(node);
  auto visitor = CC3NodeSequencerVisitor::visitorWithWorld(this);
  bool unsequenced = false;
  Ptr<CCArray> removed = node->flatten();
  for (NSObject* each : *removed)
    unsequenced |= removeFromLists(static_cast<CC3Node*>(each), visitor);
  if (unsequenced) populateDrawSequence();
}

bool CC3World::removeFromLists(CC3Node* node, CC3NodeSequencerVisitor* visitor) {
  bool unsequenced = drawingSequencer_ && drawingSequencer_->remove(node, visitor);
  eraseFrom(lights_, node);
  if (auto* camera = dynamic_cast<CC3Camera*>(node)) {
    Ptr<CC3Camera> keep(camera);
    if (eraseFrom(cameras_, node)) camera->setWorld(nullptr);
    if (activeCamera_.get() == camera)
      setActiveCamera(cameras_.empty() ? nullptr : cameras_.front().get());
  }
  eraseFrom(billboards_, node);
  return unsequenced;
}

void CC3World::descendantDidModifySequencingCriteria(CC3Node* node) {
  CC3Node::descendantDidModifySequencingCriteria(node);
  if (!drawingSequencer_) return;
  auto visitor = CC3NodeSequencerVisitor::visitorWithWorld(this);
  Ptr<CC3Node> keep(node);  // the sequencer may hold the last reference
  bool removed = drawingSequencer_->remove(node, visitor);
  bool added = drawingSequencer_->add(node, visitor);
  if (removed || added) populateDrawSequence();
}

void CC3World::setDrawSequencer(CC3NodeSequencer* sequencer) {
  drawingSequencer_ = sequencer;
  if (drawingSequencer_) {
    auto visitor = CC3NodeSequencerVisitor::visitorWithWorld(this);
    Ptr<CCArray> all = flatten();
    for (NSObject* each : *all) drawingSequencer_->add(static_cast<CC3Node*>(each), visitor);
  }
  populateDrawSequence();
}

void CC3World::populateDrawSequence() {
  drawingSequence_ = drawingSequencer_ ? drawingSequencer_->nodes() : CCArray::array();
}

// MARK: update pass

void CC3World::updateWorld(ccSeconds dt) {
  if (!isRunning_) return;
  touchHandler_->dispatchPickedNode();
  if (maxUpdateInterval_ > 0 && dt >= maxUpdateInterval_) dt = maxUpdateInterval_;
  Ptr<CC3NodeUpdatingVisitor> visitor = makeUpdateVisitor(dt);
  updateWithVisitor(visitor.get());
  updateCamera();
  updateLights();
  updateBillboards();
  updateDrawSequence();
}

void CC3World::updateWithVisitor(CC3NodeTransformingVisitor* visitor) {
  visitor->open();
  visitor->updateNode(this);
  visitor->close();
}

void CC3World::updateCamera() {
  if (activeCamera_) activeCamera_->buildPerspective();
}

void CC3World::updateLights() {
  for (const auto& light : lights_) light->trackTarget();
}

void CC3World::updateBillboards() {
  // A snapshot: facing the camera must not be disturbed by a list change.
  std::vector<Ptr<CC3Billboard>> snapshot = billboards_;
  for (const auto& billboard : snapshot) billboard->faceCamera(activeCamera_.get());
}

void CC3World::updateDrawSequence() {
  if (!drawingSequencer_) return;
  auto visitor = CC3NodeSequencerMisplacedNodeVisitor::visitorWithWorld(this);
  if (drawingSequencer_->updateSequenceWithVisitor(visitor)) populateDrawSequence();
}

// MARK: draw pass

void CC3World::drawWorld() {
  if (!visible()) return;
  open3D();
  if (viewportManager_) viewportManager_->openViewport();
  open3DCamera();
  touchHandler_->pickTouchedNode();
  illuminate();
  Ptr<CC3NodeDrawingVisitor> visitor = makeDrawVisitor();
  drawWithVisitor(visitor.get());
  close3DCamera();
  if (viewportManager_) viewportManager_->closeViewport();
  close3D();
  drawBillboards();
}

void CC3World::drawWithVisitor(CC3NodeDrawingVisitor* visitor) {
  visitor->open();
  if (isUsingDrawingSequence()) {
    visitor->setShouldVisitChildren(false);
    // A snapshot: drawing must not be disturbed by a node leaving the sequence.
    Ptr<CCArray> sequence = drawingSequence_;
    for (NSObject* node : *sequence) static_cast<CC3Node*>(node)->drawWithVisitor(visitor);
  } else {
    drawChildrenWithVisitor(visitor);
  }
  visitor->close();
}

void CC3World::open3D() {
  CC3Material::resetSwitching();
  CC3VertexArrayMeshModel::resetSwitching();
  CC3OpenGLES11Engine* gles = CC3OpenGLES11Engine::engine();
  gles->open();
  CC3OpenGLES11ServerCapabilities* caps = gles->serverCapabilities();
  CC3OpenGLES11State* state = gles->state();
  caps->cullFace()->enable();
  state->cullFace()->setValue(GL_BACK);
  state->frontFace()->setValue(GL_CCW);
  caps->depthTest()->enable();
  state->depthMask()->setValue(true);
  state->depthFunction()->setValue(GL_LEQUAL);
  state->shadeModel()->setValue(GL_SMOOTH);
  caps->alphaTest()->disable();
  caps->colorLogicOp()->disable();
  state->clearDepthBuffer();
}

void CC3World::close3D() {
  CC3OpenGLES11Engine* gles = CC3OpenGLES11Engine::engine();
  gles->close();
  gles->state()->clearDepthBuffer();
}

void CC3World::open3DCamera() {
  if (activeCamera_) activeCamera_->open();
}

void CC3World::close3DCamera() {
  if (activeCamera_) activeCamera_->close();
}

void CC3World::illuminate() {
  CC3OpenGLES11Engine* gles = CC3OpenGLES11Engine::engine();
  CC3Light::disableReservedLights();
  const ccColor4F a = ambientLight_;
  bool hasAmbient = a.r != 0 || a.g != 0 || a.b != 0 || a.a != 0;
  gles->serverCapabilities()->lighting()->setValue(!lights_.empty() || hasAmbient);
  gles->lighting()->worldAmbientLight()->setValue(ambientLight_);
  for (const auto& light : lights_) light->turnOn();
}

void CC3World::drawBillboards() {
  if (!activeCamera_ || billboards_.empty() || !viewportManager_) return;
  CC3OpenGLES11Engine* gles = CC3OpenGLES11Engine::engine();
  gles->serverCapabilities()->scissorTest()->enable();
  gles->state()->scissor()->setValue(viewportManager_->viewport());
  CGRect bounds = viewportManager_->layerBoundsLocal();
  std::vector<Ptr<CC3Billboard>> snapshot = billboards_;
  for (const auto& billboard : snapshot) billboard->draw2dWithinBounds(bounds);
  gles->serverCapabilities()->scissorTest()->close();
  gles->state()->scissor()->close();
}

// MARK: touches

void CC3World::touchEvent(GLuint touchType, CGPoint point) {
  touchHandler_->touchEvent(touchType, point);
}
