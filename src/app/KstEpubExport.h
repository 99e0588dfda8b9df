#pragma once
#include <cstdint>
#include <string>

// Writes the book being read, in the reading language `language`
// (lmStageInfo::kLangRussian or kLangEnglish), as a fixed-layout EPUB 3 with
// word-level Media Overlays (KstEpubPackage), its pages drawn headless by the
// program itself (EpubPagePictures). The archive is written beside `file`
// under a temporary name and renamed into place when complete, so a failed
// export leaves nothing behind; false with one line in `error` then.
bool exportEpub(const std::string& file, std::int32_t language, std::string& error);
