#pragma once
#include <set>
#include <string>

#include "KstStory.h"

// Writes the book being read as a self-contained book folder at `dir`:
// book.json, pictures/ (every layer and title picture, the navigator's
// thumbnails) and recordings/ (narration with its word timings, dialogue,
// page loops), the files copied from the program's resources. `dir` must not
// exist or be an empty folder. Everything is written into a temporary folder
// beside it and renamed into place at the end, so a failed export leaves
// nothing behind; false with one line in `error` then.
bool exportBookFolder(const std::string& dir, std::string& error);

// Every file a book folder can hold for `book`, below the folder
// ("pictures/s1layer1.png"), the optional ones (thumbnails, word timings,
// English dialogue recordings) included.
std::set<std::string> kstBookFiles(const KstStoryBook& book);
