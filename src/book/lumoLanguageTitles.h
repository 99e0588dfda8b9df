#pragma once
#include <cstdint>

#include "CC3Foundation.h"
#include "Selector.h"

class lumoWorld;

// The titles of the cover and of the last page, one per reading language,
// built hidden ("-cn" layers). The title of the language read sinks into
// place when its page comes to rest and then nods; the cover's title then
// starts the cover's narration.
class lumoLanguageTitles {
 public:
  explicit lumoLanguageTitles(lumoWorld& world) : world_(world) {}

  // The title layers of `language`; none for a language the book has no title for.
  static const char* coverTitle(std::int32_t language);
  static const char* closingTitle(std::int32_t language);
  // The other of the two reading languages.
  static std::int32_t otherLanguage(std::int32_t language);

  // Shows the cover's title of the language read and sinks it by `depth`.
  void sinkCoverTitle(float depth);
  void sinkClosingTitle();
  // The title has sunk: it nods; the cover's narration follows a second later
  // (a cover left before then has no title on stage, and plays nothing).
  void coverTitleArrived(std::int32_t language);
  void closingTitleArrived(std::int32_t language);
  void hideClosingTitles();

  // A change of language: the cover's title of `from` rises out of sight, and
  // its arrival finishes the change (`finish`); so a change completes only on
  // the cover.
  void raiseCoverTitle(std::int32_t from, Selector<> finish);
  void hideCoverTitle(std::int32_t language);
  // After a change: the cover's title of `language` comes down into the place
  // the old one rose from, and nods, so the cover never stands untitled.
  void lowerCoverTitle(std::int32_t language);

 private:
  void sink(const char* name, Selector<> followUp, float depth);
  // Answers whether the title is on stage.
  bool nod(const char* name);

  lumoWorld& world_;
  // Where the title that last rose out of sight had stood.
  CC3Vec3 raisedFrom_{};
};
