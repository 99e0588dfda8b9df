#pragma once
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
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
class CC3Camera;
class CC3Node;
class CC3World;
struct CGRect;
struct CGSize;
// The reading state (page, language, locks, ground names); null without a world.
nlohmann::json dumpBook(const lumoWorld* world);
// The page navigator: whether it is `open` and, while it is, its `thumbs`:
// each page's number and the part of its picture shown, in picture pixels as
// scripts tap ([left, top, width, height]; null when scrolled out of sight).
nlohmann::json dumpNavigator(const lumoWorld* world);
// The world's 3D node tree; null without a world. Each node carries its
// "screenRect" (see screenRectOf), or null.
nlohmann::json dumpWorld(CC3World* world);
// Where a node is drawn this frame, in pixels of the picture (`picture` wide
// and high, origin top-left): the projected bounds of its mesh, clipped to
// the part in front of the camera and to the picture. Nothing when it is not
// drawn: hidden, outside the camera's frustum, off the picture or without a mesh.
std::optional<CGRect> screenRectOf(CC3Node* node, CC3Camera* camera, CGSize picture);
// The program's own figures: its resident memory.
nlohmann::json dumpProcess();
