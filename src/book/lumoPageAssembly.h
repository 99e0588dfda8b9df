#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "CC3PlaneNode.h"
#include "lumoTurnMachine.h"

class KstSpriteId;
class lumoWorld;

// A page's nodes from its layout records, and what happens when a page comes
// to rest: the page left behind goes, the lock is released, the page's own
// effects start, its narration panel is due and the pages one turn away are
// fetched ahead.
class lumoPageAssembly {
 public:
  explicit lumoPageAssembly(lumoWorld& world) : world_(world) {}

  // Builds the planes of page `page`: the ground joins the world, its layers
  // the ground. Answers the ground's identifier (empty when the page has none).
  std::string build(std::int32_t page);
  // The page a turn brings in, built in the pose it starts from: for a forward
  // turn lying just under the old page, for a backward one standing behind it.
  void buildIncoming(std::int32_t page, lumoTurn turn);
  // The page shown at start, upright, with its opening effects.
  void showFirstPage(std::int32_t page);
  // The end of every turn: the incoming page has come to rest.
  void settle();
  // Removes the page the last turn left.
  void removeLeftPage();

  enum Layers { kEveryLayer, kFiguresOnly };
  // Touches on the layers of the page on stage: on or off.
  void setLayersTouchable(bool touchable, Layers which);

  // The figures ("-t" layers) of the page built last.
  const std::vector<std::string>& touchSet() const { return touchSet_; }
  // The page number of the page list turned into records last.
  std::int32_t builtPage() const { return builtPage_; }

 private:
  Ptr<CC3PlaneNode> makePlane(const KstSpriteId& record);
  void runPageEffects();

  lumoWorld& world_;
  std::vector<std::string> touchSet_;
  std::int32_t builtPage_ = 0;
};
