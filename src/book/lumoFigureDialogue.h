#pragma once

class CC3Node;
class lumoWorld;

// A tap on a page's figure: it flashes, loses its dialogue hint, speaks one of
// its lines (chosen at random) and rocks about its bottom edge. One figure at a
// time: the others wait until a recording ends.
class lumoFigureDialogue {
 public:
  explicit lumoFigureDialogue(lumoWorld& world) : world_(world) {}

  void tapped(CC3Node* figure);

 private:
  // The four-step rock, then lumoWorld::normalElementDidEndAnimation.
  void rock(CC3Node* figure);

  lumoWorld& world_;
};
