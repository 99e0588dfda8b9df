// A book folder's book.json on arbitrary bytes: a book is either refused with
// one message that names the file and a JSON pointer, or accepted whole; an
// accepted book keeps to the format's limits and reads back unchanged from
// the text the program writes for it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "KstBookFile.h"
#include "KstSpriteFactory.h"
#include "Log.h"

namespace {
bool hasSeparator(const std::string& name) {
  return name.find_first_of("/\\") != std::string::npos;
}

void checkAccepted(const KstStoryBook& book) {
  const int pages = static_cast<int>(book.pages.size());
  if (pages < KstBookFile::kFewestPages || pages > KstBookFile::kMostPages) std::abort();
  for (const KstStoryPage& page : book.pages) {
    if (page.layout.empty()) std::abort();
    for (const std::string& line : page.layout)
      if (!KstSpriteFactory::spriteIdWithLine(line)) std::abort();
    for (const std::string* name : {&page.recordings.ru, &page.recordings.en, &page.recordings.cn})
      if (name->empty() || hasSeparator(*name)) std::abort();
    for (const KstStoryFigure& figure : page.figures)
      for (const KstStoryLine& line : figure.lines)
        if (line.recording.empty() || hasSeparator(line.recording)) std::abort();
  }
}

bool same(const KstStoryBook& a, const KstStoryBook& b) {
  return KstBookFile::write(a) == KstBookFile::write(b);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setLogLevel(LogLevel::Silent);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  KstStoryBook book;
  std::string error;
  if (!KstBookFile::read(text, "in/book.json", book, error)) {
    if (error.rfind("in/book.json: at JSON pointer \"", 0) != 0) std::abort();
    if (!book.pages.empty()) std::abort();
    return 0;
  }
  if (!error.empty()) std::abort();
  checkAccepted(book);
  KstStoryBook again;
  if (!KstBookFile::read(KstBookFile::write(book), "out/book.json", again, error)) std::abort();
  if (!same(book, again)) std::abort();
  return 0;
}
