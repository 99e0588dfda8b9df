#include "StateDump.h"

#include <fstream>

#include "CCDirector.h"
#include "CCLayer.h"
#include "CCNode.h"
#include "CCProtocols.h"
#include "Clock.h"
#include "KstSound.h"
#include "NSRunLoop.h"
#include "PlatformHost.h"

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
