#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

class KstStage;

// While a page rests, the pictures of the pages one turn away are decoded on the
// texture cache's loader thread, so that the turn's page build finds them
// ready; the pictures of pages no turn can reach are let go, so that memory
// holds a few pages, not the book.
class lumoPagePrefetch {
 public:
  static lumoPagePrefetch& shared();

  // The pages one turn away from `page`: the next, the previous and the cover
  // (the home button and the ending menu's replay both go there).
  static std::vector<std::int32_t> reachablePages(std::int32_t page, std::int32_t total);
  // The picture files a page's build loads, from its layout records.
  static std::vector<std::string> imagesOfPage(const KstStage& stage, std::int32_t page);

  // Called when `page` has settled on stage.
  void pageDidSettle(const KstStage& stage, std::int32_t page);

 private:
  // Lets go of the known pictures that are not wanted and no node uses.
  void releaseUnwanted();

  // Every page picture this has asked for; the candidates for letting go.
  std::set<std::string> known_;
  // The pictures of the resting page and of the pages one turn away.
  std::set<std::string> wanted_;
};
