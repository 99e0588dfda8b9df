#pragma once
#include <cstdint>
#include <string>

class CC3Node;
class lumoWorld;

// The cover's continue button, beside the language menu when the book opens
// on the cover with a place stored: it names that page in the reading
// language, and a tap on it goes there. It leaves with the cover.
class lumoContinueButton {
 public:
  static constexpr const char* kName = "continue-btn";
  static constexpr const char* kTextName = "continue-btn-text";

  explicit lumoContinueButton(lumoWorld& world) : world_(world) {}

  // The button's words for `page` in `language`.
  static std::string text(std::int32_t page, std::int32_t language);

  void add(std::int32_t page);
  void remove();
  // The reading language has changed: the words follow it.
  void languageChanged();
  // The page it goes to, while it is there (0 when it is not).
  std::int32_t page() const { return page_; }

 private:
  void setText();

  lumoWorld& world_;
  std::int32_t page_ = 0;
};
