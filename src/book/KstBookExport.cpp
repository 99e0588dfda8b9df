#include "KstBookExport.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "KstBookFile.h"
#include "KstSpriteFactory.h"
#include "KstStage.h"
#include "KstStory.h"
#include "NSBundle.h"
#include "lumoBookNames.h"

namespace fs = std::filesystem;

namespace {

// A file of the folder: where it goes below the folder, and whether the
// book can do without it.
struct BookFile {
  std::string folder;
  std::string name;
  bool optional;
};

KstStoryBook currentBook() {
  return {kstStoryPages(), kstStoryTitles(), kstStoryCredits(), kstStoryEnding()};
}

std::string thumbnailName(int page, bool english) {
  char name[32];
  std::snprintf(name, sizeof name, "thumbs/page%02d%s.png", page, english ? "_en" : "");
  return name;
}

void addPictures(const KstStoryBook& book, std::vector<BookFile>& files) {
  const std::string folder = KstBookFile::kPicturesFolder;
  for (std::size_t page = 0; page < book.pages.size(); ++page) {
    for (const std::string& line : book.pages[page].layout)
      files.push_back({folder, line.substr(0, line.find('+')) + ".png", false});
    for (bool english : {false, true})
      files.push_back({folder, thumbnailName(static_cast<int>(page) + 1, english), true});
  }
  for (const KstStoryTitle& title : book.titles)
    files.push_back({folder, title.identifier + ".png", false});
}

// The ending menu's labels: a book without its own finds the program's, so
// they are never the book's alone.
void addEndingPictures(const KstStoryEnding& ending, std::vector<BookFile>& files) {
  for (const KstStoryEndingControl* control : {&ending.replay, &ending.credits}) {
    if (!control->offered) continue;
    for (const std::string* picture : {&control->ru, &control->en})
      files.push_back({KstBookFile::kPicturesFolder, *picture + ".png", false});
  }
}

void addRecording(const std::string& name, bool optional, std::vector<BookFile>& files) {
  if (name.empty() || name == kKstNil) return;
  files.push_back({KstBookFile::kRecordingsFolder, name + ".mp3", optional});
  files.push_back({KstBookFile::kRecordingsFolder, name + ".words", true});
}

void addRecordings(const KstStoryBook& book, std::vector<BookFile>& files) {
  for (const KstStoryPage& page : book.pages) {
    for (const std::string* name : {&page.recordings.ru, &page.recordings.en, &page.recordings.cn})
      addRecording(*name, false, files);
    addRecording(page.sound.startsLoop, false, files);
    // The English line falls back to the Russian recording when it has none.
    for (const KstStoryFigure& figure : page.figures) {
      for (const KstStoryLine& line : figure.lines) {
        addRecording(line.recording + lumoBookNames::kRussianSuffix, false, files);
        addRecording(line.recording + lumoBookNames::kChineseSuffix, true, files);
      }
    }
  }
}

bool copyFiles(const std::vector<BookFile>& files, const fs::path& root, std::string& error) {
  std::set<std::string> done;
  for (const BookFile& file : files) {
    const std::string relative = file.folder + "/" + file.name;
    if (!done.insert(relative).second) continue;
    const std::string source = NSBundle::mainBundle().pathForResource(file.name, "");
    if (source.empty()) {
      if (file.optional) continue;
      error = "the book's " + file.name + " is not among the program's resources";
      return false;
    }
    const fs::path target = root / relative;
    std::error_code failure;
    fs::create_directories(target.parent_path(), failure);
    if (!failure) fs::copy_file(source, target, failure);
    if (failure) {
      error = "cannot write " + target.string() + ": " + failure.message();
      return false;
    }
  }
  return true;
}

bool writeText(const fs::path& path, const std::string& text, std::string& error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) {
    error = "cannot write " + path.string();
    return false;
  }
  return true;
}

bool fill(const fs::path& root, std::string& error) {
  const KstStoryBook book = currentBook();
  std::vector<BookFile> files;
  addPictures(book, files);
  addRecordings(book, files);
  addEndingPictures(book.ending, files);
  fs::create_directories(root / KstBookFile::kPicturesFolder);
  fs::create_directories(root / KstBookFile::kRecordingsFolder);
  return copyFiles(files, root, error) &&
         writeText(root / KstBookFile::kFileName, KstBookFile::write(book), error);
}

bool usableTarget(const fs::path& dir, std::string& error) {
  std::error_code failure;
  if (!fs::exists(dir, failure)) return true;
  if (fs::is_directory(dir, failure) && fs::is_empty(dir, failure)) return true;
  error = dir.string() + " already exists and is not an empty folder";
  return false;
}

}  // namespace

std::set<std::string> kstBookFiles(const KstStoryBook& book) {
  std::vector<BookFile> files;
  addPictures(book, files);
  addRecordings(book, files);
  std::set<std::string> names;
  for (const BookFile& file : files) names.insert(file.folder + "/" + file.name);
  return names;
}

bool exportBookFolder(const std::string& dir, std::string& error) {
  const fs::path target = fs::absolute(fs::path(dir).lexically_normal());
  const fs::path clean = target.has_filename() ? target : target.parent_path();
  if (!usableTarget(clean, error)) return false;
  const fs::path temp = clean.parent_path() /
                        ("." + clean.filename().string() + ".part" + std::to_string(::getpid()));
  std::error_code failure;
  fs::remove_all(temp, failure);
  fs::create_directories(temp, failure);
  if (failure) {
    error = "cannot create " + temp.string() + ": " + failure.message();
    return false;
  }
  bool ok = false;
  try {
    ok = fill(temp, error);
  } catch (const fs::filesystem_error& fault) {
    error = fault.what();
  }
  if (ok) {
    fs::rename(temp, clean, failure);
    if (failure) error = "cannot move the book into " + clean.string() + ": " + failure.message();
    ok = !failure;
  }
  if (!ok) fs::remove_all(temp, failure);
  return ok;
}
