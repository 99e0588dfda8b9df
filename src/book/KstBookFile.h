#pragma once
#include <string>

#include "KstStory.h"

// A book folder's `book.json` (docs/BOOK-FORMAT.md): the book's pages, their
// layout lines, narration and dialogue in both reading languages, the title
// pictures and the credits.
namespace KstBookFile {

inline constexpr const char* kFileName = "book.json";
inline constexpr const char* kPicturesFolder = "pictures";
inline constexpr const char* kRecordingsFolder = "recordings";
inline constexpr int kFewestPages = 3;
inline constexpr int kMostPages = 60;

// The book as `book.json` text.
std::string write(const KstStoryBook& book);

// Reads `text` (the content of `path`) into `book`. On any fault returns
// false with one line naming `path`, the JSON pointer of the faulty value and
// what is wrong with it; `book` is then left unchanged.
bool read(const std::string& text, const std::string& path, KstStoryBook& book, std::string& error);

// Reads DIR/book.json.
bool readFolder(const std::string& dir, KstStoryBook& book, std::string& error);

}  // namespace KstBookFile
