#include "StateDump.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "CCDirector.h"
#include "CCLayer.h"
#include "CCNode.h"
#include "CCProtocols.h"
#include "Clock.h"
#include "KstSound.h"
#include "NSRunLoop.h"
#include "PictureMapping.h"
#include "PlatformHost.h"
#include "UIDevice.h"
#include "UIWindow.h"
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
  d["refreshes"] = PlatformHost::shared().frameCount();
  d["time"] = Clock::current().seconds();
  d["runningScene"] = director->runningScene() ? director->runningScene()->className() : "";
  d["paused"] = director->isPaused();
  d["orientation"] = director->deviceOrientation();
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

nlohmann::json dumpView(UIView* view, int held) {
  const CGSize size = view->frame().size;
  const CGPoint corners[4] = {{0, 0}, {size.width, 0}, {0, size.height}, {size.width, size.height}};
  float x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
  for (const CGPoint& corner : corners) {
    const CGPoint p = PictureMapping::screenToPicture(view->convertToWindow(corner), held);
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
  nlohmann::json children = nlohmann::json::array();
  for (const auto& child : view->subviews()) children.push_back(dumpView(child.get(), held));
  v["children"] = children;
  return v;
}
}  // namespace

nlohmann::json dumpViews() {
  UIWindow* window = UIWindow::keyWindow();
  return window ? dumpView(window, UIDevice::currentDevice().heldOrientation()) : nlohmann::json();
}

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
  b["curGroundName"] = info->curGroundName();
  b["nextGroundName"] = info->nextGroundName();
  b["preGroundName"] = info->preGroundName();
  b["shouldRemoveGroundName"] = info->shouldRemoveGroundName();
  b["normalElementInTouch"] = info->normalElementInTouch();
  const CC3Vec3 r = info->rotation();
  b["rotation"] = {r.x, r.y, r.z};
  b["curTouchSet"] = world->curTouchSet();
  return b;
}

nlohmann::json dumpWorld(const CC3Node* node) {
  if (!node) return nullptr;
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
  nlohmann::json children = nlohmann::json::array();
  for (std::size_t i = 0; i < node->childCount(); ++i)
    children.push_back(dumpWorld(node->childAt(i)));
  n["children"] = children;
  return n;
}
