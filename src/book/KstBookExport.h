#pragma once
#include <string>

// Writes the book being read as a self-contained book folder at `dir`:
// book.json, pictures/ (every layer and title picture, the navigator's
// thumbnails) and recordings/ (narration with its word timings, dialogue,
// page loops), the files copied from the program's resources. `dir` must not
// exist or be an empty folder. Everything is written into a temporary folder
// beside it and renamed into place at the end, so a failed export leaves
// nothing behind; false with one line in `error` then.
bool exportBookFolder(const std::string& dir, std::string& error);
