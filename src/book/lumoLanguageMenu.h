#pragma once
#include <cstdint>

class CC3Node;
class lumoWorld;

// The cover's language menu: a button per reading language, each picture in
// a plain and a selected image, showing the language read as selected. A tap
// on the other language's button starts a change, which the cover's title
// finishes (lumoLanguageTitles).
class lumoLanguageMenu {
 public:
  static constexpr const char* kMenuName = "menu-lan";

  explicit lumoLanguageMenu(lumoWorld& world) : world_(world) {}

  // Built afresh, so its pairs always show the language of the moment.
  void add();
  void remove();
  // A tap on the button of `language`: false when that is the language read
  // already (the tap is no change then).
  bool tapped(CC3Node* button, std::int32_t language);
  // The old title has risen: the book reads in `language` from now on.
  void finishChange(std::int32_t language);

 private:
  void showPairs(std::int32_t language);

  lumoWorld& world_;
};
