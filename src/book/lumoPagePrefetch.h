#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

class KstStage;

// While a page rests, the pictures and recordings of the pages one turn away are
// decoded off the main thread (the texture cache's loader, the sound worker),
// so that the turn finds them ready; the pictures of pages no turn can reach
// are let go, so that memory holds a few pages, not the book.
class lumoPagePrefetch {
 public:
  static lumoPagePrefetch& shared();

  // The pages one turn away from `page`: the next, the previous and the cover
  // (the home button and the ending menu's replay both go there).
  static std::vector<std::int32_t> reachablePages(std::int32_t page, std::int32_t total);
  // The picture files a page's build loads, from its layout records.
  static std::vector<std::string> imagesOfPage(const KstStage& stage, std::int32_t page);

  // The recordings a page plays without a tap: its narration in `langTag` and
  // the loop it starts.
  static std::vector<std::string> soundsOfPage(const KstStage& stage, std::int32_t page,
                                               std::int32_t langTag);
  // Called when `page` has settled on stage, read in `langTag`.
  void pageDidSettle(const KstStage& stage, std::int32_t page, std::int32_t langTag);
  // The recordings of `page` and of the pages one turn away, in `langTag`
  // (also when the reading language changes: the pictures stay as they are).
  void prefetchSounds(const KstStage& stage, std::int32_t page, std::int32_t langTag);
  // A picture a page shows beyond its layout (the ending menu's, whose labels
  // follow the language) is let go like the layout's once no node uses it.
  void letGoWhenUnused(const std::string& image) { known_.insert(image); }

 private:
  // Lets go of the known pictures that are not wanted and no node uses.
  void releaseUnwanted();

  // Every page picture this has asked for; the candidates for letting go.
  std::set<std::string> known_;
  // The pictures of the resting page and of the pages one turn away.
  std::set<std::string> wanted_;
};
