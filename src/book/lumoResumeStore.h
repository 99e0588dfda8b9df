#pragma once
#include <optional>

// Where the reader left off, kept in the preferences as "Page" (a page number
// as a string, like "Lan"): written whenever a story page settles, cleared
// when reading reaches the cover or the ending page, where a next reading
// starts anyway.
class lumoResumeStore {
 public:
  static constexpr const char* kPageKey = "Page";

  explicit lumoResumeStore(int pageCount) : pageCount_(pageCount) {}

  // The stored story page, or nothing (none stored, or not a story page of this book).
  std::optional<int> storedPage() const;
  // A page has settled; `byReading` is false for the page the book opens on.
  void pageSettled(int page, bool byReading);

  bool isStoryPage(int page) const { return page >= 2 && page < pageCount_; }

 private:
  int pageCount_;
};
