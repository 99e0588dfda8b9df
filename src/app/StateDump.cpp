#include "StateDump.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "CC3Camera.h"
#include "CC3Material.h"
#include "CC3MeshNode.h"
#include "CC3Texture.h"
#include "CCDirector.h"
#include "CCLayer.h"
#include "CCNode.h"
#include "CCProtocols.h"
#include "Clock.h"
#include "DisplayGeometry.h"
#include "KstSound.h"
#include "KstStory.h"
#include "NSRunLoop.h"
#include "PlatformHost.h"
#include "UIButton.h"
#include "UIDevice.h"
#include "UIImageView.h"
#include "UIWindow.h"
#include "lmStageInfo.h"
#include "lumoWorld.h"

StateDump& StateDump::shared() {
  static StateDump dump;
  return dump;
}

void StateDump::addSection(const std::string& name, std::function<nlohmann::json()> producer) {
  for (auto& [existing, fn] : sections_)
    if (existing == name) {
      fn = std::move(producer);
      return;
    }
  sections_.emplace_back(name, std::move(producer));
}

nlohmann::json StateDump::collect() const {
  nlohmann::json out = nlohmann::json::object();
  for (const auto& [name, producer] : sections_) out[name] = producer();
  return out;
}

bool StateDump::writeTo(const std::string& path, std::string& error) const {
  std::ofstream file(path);
  if (!file) {
    error = "cannot write " + path;
    return false;
  }
  file << collect().dump(2) << "\n";
  return bool(file);
}

nlohmann::json dumpDirector() {
  CCDirector* director = CCDirector::sharedDirector();
  nlohmann::json d;
  d["framesDrawn"] = director->totalFrames();
  d["framesRendered"] = director->renderedFrames();
  d["refreshes"] = PlatformHost::shared().frameCount();
  d["time"] = Clock::current().seconds();
  d["runningScene"] = director->runningScene() ? director->runningScene()->className() : "";
  d["paused"] = director->isPaused();
  d["orientation"] = int(director->deviceOrientation());
  d["animationInterval"] = director->animationInterval();
  d["deltaTime"] = director->deltaTime();
  return d;
}

nlohmann::json dumpPendingCalls() {
  nlohmann::json calls = nlohmann::json::array();
  for (const auto& call : NSRunLoop::mainRunLoop().pendingCalls())
    calls.push_back({{"target", call.target}, {"selector", call.selector}, {"at", call.fireTime}});
  return calls;
}

namespace {
nlohmann::json dumpNode(CCNode* node) {
  nlohmann::json n;
  n["class"] = node->className();
  n["tag"] = node->tag();
  n["visible"] = node->visible();
  n["position"] = {node->position().x, node->position().y};
  n["rotation"] = node->rotation();
  n["scale"] = {node->scaleX(), node->scaleY()};
  if (auto* layer = dynamic_cast<CCLayer*>(node)) n["touchEnabled"] = layer->isTouchEnabled();
  if (auto* rgba = dynamic_cast<CCRGBAProtocol*>(node)) n["opacity"] = rgba->opacity();
  nlohmann::json children = nlohmann::json::array();
  for (std::size_t i = 0; i < node->childrenCount(); ++i)
    children.push_back(dumpNode(node->childAtIndex(i)));
  n["children"] = children;
  return n;
}
}  // namespace

nlohmann::json dumpScene() {
  CCScene* scene = CCDirector::sharedDirector()->runningScene();
  return scene ? dumpNode(scene) : nlohmann::json();
}

nlohmann::json dumpSound() {
  KstSound* sound = KstSound::shared();
  return {{"main", sound->playingSoundName()},
          {"background", sound->playingBgSoundName()},
          {"special", sound->playingSpecialSoundName()}};
}

namespace {
// A number rounded to hundredths, so that 1.57 radians' tiny tilt stays readable.
double hundredths(float v) {
  return std::round(double(v) * 100) / 100;
}

// The file name of the picture an image view or a button shows, or null.
nlohmann::json imageOf(UIView* view) {
  UIImage* image = nullptr;
  if (auto* imageView = dynamic_cast<UIImageView*>(view))
    image = imageView->image();
  else if (auto* button = dynamic_cast<UIButton*>(view))
    image = button->image();
  if (!image || !image->CGImage() || image->CGImage()->name().empty()) return nullptr;
  return std::filesystem::path(image->CGImage()->name()).filename().string();
}

nlohmann::json dumpView(UIView* view, const DisplayGeometry& display) {
  const CGSize size = view->frame().size;
  const CGPoint corners[4] = {{0, 0}, {size.width, 0}, {0, size.height}, {size.width, size.height}};
  float x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
  for (const CGPoint& corner : corners) {
    const CGPoint p = display.screenToPicture(view->convertToWindow(corner));
    x0 = std::min(x0, p.x);
    y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x);
    y1 = std::max(y1, p.y);
  }
  nlohmann::json v;
  v["class"] = view->className();
  v["tag"] = view->tag();
  v["frame"] = {hundredths(x0), hundredths(y0), hundredths(x1 - x0), hundredths(y1 - y0)};
  v["alpha"] = hundredths(view->alpha());
  v["hidden"] = view->isHidden();
  v["image"] = imageOf(view);
  nlohmann::json children = nlohmann::json::array();
  for (const auto& child : view->subviews()) children.push_back(dumpView(child.get(), display));
  v["children"] = children;
  return v;
}
}  // namespace

nlohmann::json dumpViews() {
  UIWindow* window = UIWindow::keyWindow();
  return window ? dumpView(window, DisplayGeometry(UIDevice::currentDevice().heldOrientation()))
                : nlohmann::json();
}

nlohmann::json dumpNavigator(const lumoWorld* world) {
  if (!world) return nullptr;
  const lumoPageNavigator& navigator = world->reader().navigator();
  nlohmann::json n;
  n["open"] = navigator.isOpen();
  n["thumbs"] = nlohmann::json::array();
  const lumoNavigatorStrip* strip = navigator.strip();
  for (int page = 1; strip && page <= strip->pageCount(); ++page) {
    const std::optional<lumoPictureRect> rect = strip->visibleThumbRect(page);
    n["thumbs"].push_back(
        {{"page", page},
         {"rect", rect ? nlohmann::json{rect->left, rect->top, rect->width, rect->height}
                       : nlohmann::json()}});
  }
  if (strip) n["marked"] = strip->markedPage();
  return n;
}

namespace {
// The page's touchable figures by layer, each with its name in the reading language.
nlohmann::json figuresOfPage(int page, int language) {
  nlohmann::json figures = nlohmann::json::object();
  const std::vector<KstStoryPage>& pages = kstStoryPages();
  if (page < 1 || page > static_cast<int>(pages.size())) return figures;
  for (const KstStoryFigure& figure : pages[page - 1].figures)
    figures[figure.layer] = language == lmStageInfo::kLangEnglish ? figure.name.en : figure.name.ru;
  return figures;
}
}  // namespace

nlohmann::json dumpBook(const lumoWorld* world) {
  if (!world) return nullptr;
  const lmStageInfo* info = world->stageInfo();
  nlohmann::json b;
  b["page"] = info->curStageIndex();
  b["pageCount"] = world->stage()->totalStageCount();
  b["language"] = info->curLangTag();
  b["lockDrag"] = info->lockDrag();
  b["canAccelerometer"] = info->canAccelerometer();
  b["animationAllowed"] = world->k_animationYES();
  b["litWordIndex"] = world->litWordIndex();
  b["sentenceIndex"] = world->sentences().sentenceIndex();
  b["ownVoice"] = world->ownVoice().pageReadsOwnVoice();
  b["curGroundName"] = info->curGroundName();
  b["nextGroundName"] = info->nextGroundName();
  b["preGroundName"] = info->preGroundName();
  b["shouldRemoveGroundName"] = info->shouldRemoveGroundName();
  b["normalElementInTouch"] = info->normalElementInTouch();
  const CC3Vec3 r = info->rotation();
  b["rotation"] = {r.x, r.y, r.z};
  b["curTouchSet"] = world->curTouchSet();
  b["figures"] = figuresOfPage(info->curStageIndex(), info->curLangTag());
  return b;
}

namespace {
// The corners of the part of a box (given by its 8 corners in world space)
// that lies in front of the camera's near plane: the corners in front, and
// where the box's edges cross the plane.
std::vector<CC3Vec3> cornersInFront(const CC3Vec3 (&corners)[8], CC3Camera* camera) {
  const GLfloat near = camera->frustum()->near();
  GLfloat depth[8];  // beyond the near plane when positive
  for (int i = 0; i < 8; ++i)
    depth[i] = -camera->modelviewMatrix()->transformLocation(corners[i]).z - near;
  std::vector<CC3Vec3> points;
  for (int i = 0; i < 8; ++i) {
    if (depth[i] >= 0) points.push_back(corners[i]);
    // Corners one bit apart share an edge.
    for (int bit = 1; bit < 8; bit <<= 1) {
      const int j = i | bit;
      if (j == i || (depth[i] >= 0) == (depth[j] >= 0)) continue;
      const GLfloat t = depth[i] / (depth[i] - depth[j]);
      points.push_back(CC3Vec3Add(
          corners[i], CC3Vec3ScaleUniform(CC3Vec3Difference(corners[j], corners[i]), t)));
    }
  }
  return points;
}
}  // namespace

std::optional<CGRect> screenRectOf(CC3Node* node, CC3Camera* camera, CGSize picture) {
  auto* mesh = dynamic_cast<CC3MeshNode*>(node);
  if (!mesh || !mesh->meshModel() || !camera || !node->visible()) return std::nullopt;
  if (!node->doesIntersectFrustum(camera->frustum())) return std::nullopt;
  const CC3Box box = mesh->meshModel()->boundingBox();
  if (box == kCC3BoxZero) return std::nullopt;
  CC3Vec3 corners[8];
  for (int i = 0; i < 8; ++i) {
    const CC3Vec3 local{(i & 1) ? box.maximum.x : box.minimum.x,
                        (i & 2) ? box.maximum.y : box.minimum.y,
                        (i & 4) ? box.maximum.z : box.minimum.z};
    corners[i] = node->transformMatrix()->transformLocation(local);
  }
  const std::vector<CC3Vec3> points = cornersInFront(corners, camera);
  if (points.empty()) return std::nullopt;
  float left = picture.width, right = 0, top = picture.height, bottom = 0;
  for (const CC3Vec3& point : points) {
    // Layer points grow upwards; the picture's pixels grow downwards.
    const CC3Vec3 projected = camera->projectLocation(point);
    const float x = projected.x, y = picture.height - projected.y;
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
  left = std::max(left, 0.0f);
  top = std::max(top, 0.0f);
  right = std::min(right, picture.width);
  bottom = std::min(bottom, picture.height);
  if (right <= left || bottom <= top) return std::nullopt;
  return CGRectMake(left, top, right - left, bottom - top);
}

nlohmann::json dumpProcess() {
  long pages = 0, resident = 0;
  std::ifstream statm("/proc/self/statm");
  statm >> pages >> resident;
  return {{"rssBytes", statm ? resident * sysconf(_SC_PAGESIZE) : 0L},
          {"liveObjects", NSObject::liveObjectCount()}};
}

namespace {
// A textured node's picture: the texture is named after the file it was loaded from.
nlohmann::json textureOf(CC3Node* node) {
  auto* mesh = dynamic_cast<CC3MeshNode*>(node);
  CC3Material* material = mesh ? mesh->material() : nullptr;
  CC3Texture* texture = material ? material->texture() : nullptr;
  if (!texture || !texture->name()) return nullptr;
  return *texture->name();
}

nlohmann::json dumpWorldNode(CC3Node* node, CC3Camera* camera, CGSize picture) {
  nlohmann::json n;
  n["name"] = node->name().value_or("");
  n["class"] = node->className();
  n["tag"] = node->tag();
  n["visible"] = node->visible();
  const CC3Vec3 l = node->location(), r = node->rotation(), s = node->scale();
  n["location"] = {l.x, l.y, l.z};
  n["rotation"] = {r.x, r.y, r.z};
  n["scale"] = {s.x, s.y, s.z};
  n["touchEnabled"] = node->isTouchEnabled();
  n["texture"] = textureOf(node);
  n["opaque"] = node->isOpaque();
  auto* mesh = dynamic_cast<CC3MeshNode*>(node);
  n["fitted"] = mesh && mesh->drawingMeshModel();
  if (auto rect = screenRectOf(node, camera, picture)) {
    n["screenRect"] = {rect->origin.x, rect->origin.y, rect->size.width, rect->size.height};
  } else {
    n["screenRect"] = nullptr;
  }
  nlohmann::json children = nlohmann::json::array();
  for (std::size_t i = 0; i < node->childCount(); ++i)
    children.push_back(dumpWorldNode(node->childAt(i), camera, picture));
  n["children"] = children;
  return n;
}
}  // namespace

nlohmann::json dumpWorld(CC3World* world) {
  if (!world) return nullptr;
  CGSize picture = CCDirector::sharedDirector()->winSize();
  return dumpWorldNode(world, world->activeCamera(), picture);
}
