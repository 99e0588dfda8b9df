#pragma once
#include <string>

#include "CC3PlaneNode.h"

class lumoWorld;

// The controls in front of the pages and what their taps do: the home button
// (pages 2 to the one before the last), the ending menu on the last page
// (replay, and the credits screen), and the cover's drag hint.
class lumoMenusAndHints {
 public:
  static constexpr const char* kHomeName = "home-btn";
  static constexpr const char* kHomeHighlightedName = "home-btn-highlighted";
  static constexpr const char* kEndingMenuName = "menu-end";

  explicit lumoMenusAndHints(lumoWorld& world) : world_(world) {}

  void addHome();
  void removeHome();
  void addEndingMenu();
  void removeEndingMenu();
  // The finger and arrow that show the reader to drag upwards.
  void addDragHint();
  void removeDragHint();

  // While a turn runs the home button hides; it shows again when it settles.
  void turnLockChanged(bool locked);

  // MARK: taps
  // Home: straight back to the cover with the backward turn, from any page.
  bool jumpHome(CC3Node* button);
  // A tap on the home button, only while it is on screen and can be tapped.
  bool tapHomeIfShown();
  // Replay: the ending menu goes and the book turns back to the cover.
  bool replay(CC3Node* button);
  // Credits: asks the shell for the credits screen; drags wait until it closes.
  bool requestCredits(CC3Node* button);
  void creditsClosed();

 private:
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

  lumoWorld& world_;
};
