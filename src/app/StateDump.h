#pragma once
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// The program's state as JSON, for `dump` in scripts: each part of the
// program registers the section it knows about.
class StateDump {
 public:
  static StateDump& shared();
  void addSection(const std::string& name, std::function<nlohmann::json()> producer);
  nlohmann::json collect() const;
  bool writeTo(const std::string& path, std::string& error) const;

 private:
  std::vector<std::pair<std::string, std::function<nlohmann::json()>>> sections_;
};

// The director's and the run loop's sections.
nlohmann::json dumpDirector();
nlohmann::json dumpPendingCalls();
nlohmann::json dumpSound();
// The running scene's node tree.
nlohmann::json dumpScene();

// The key window's view tree: each view's class, tag, frame [x, y, width,
// height] in picture pixels as the reader sees them (origin top-left, as
// scripts tap; a turned view's bounding box), alpha, hidden and children.
nlohmann::json dumpViews();

class lumoWorld;
class CC3Node;
// The reading state (page, language, locks, ground names); null without a world.
nlohmann::json dumpBook(const lumoWorld* world);
// The 3D node tree under `node`; null without one.
nlohmann::json dumpWorld(const CC3Node* node);
