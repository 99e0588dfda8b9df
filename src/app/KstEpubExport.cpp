#include "KstEpubExport.h"

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "AudioFile.h"
#include "EpubPagePictures.h"
#include "KstEpubPackage.h"
#include "KstStory.h"
#include "Log.h"
#include "NSBundle.h"
#include "ZipWriter.h"

namespace fs = std::filesystem;

namespace {

// The time the package says it was made: now, or SOURCE_DATE_EPOCH for a
// reproducible build.
std::time_t exportTime() {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (end != epoch && *end == '\0' && seconds >= 0) return static_cast<std::time_t>(seconds);
  }
  return std::time(nullptr);
}

std::string isoTime(std::time_t time) {
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

bool readFile(const fs::path& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad() || !in.is_open()) {
    error = "cannot read " + path.string();
    return false;
  }
  return true;
}

// Page `page`'s narration recording with its word timings; a page whose
// recording or timings are missing or do not fit its text reads without an
// overlay, and the program says so once.
void addRecording(KstEpubPackage& package, int page) {
  const std::string name = package.narrationRecording(page);
  if (name.empty()) return;
  const std::string path = NSBundle::mainBundle().pathForResource(name + ".mp3", "");
  const AudioFileInfo audio = AudioFile::probe(path);
  std::optional<lmWordTimings> timings = lmWordTimings::forRecording(name);
  std::string problem;
  if (path.empty() || audio.kind != AudioFileInfo::Kind::Mp3)
    problem = "its recording " + name + ".mp3 is missing or not an mp3";
  else if (!timings)
    problem = "its recording has no word timings (" + name + ".words)";
  else if (!package.setRecording(page, {name, audio.duration, *timings}))
    problem = "the word timings of " + name + " do not match its text";
  if (!problem.empty())
    logWarningOnce("epub:" + name,
                   "page " + std::to_string(page) + " is read without its voice: " + problem);
}

bool addFile(ZipWriter& zip, const std::string& name, const fs::path& path, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!readFile(path, bytes, error)) return false;
  // Pictures and mp3 are compressed already.
  if (!zip.add(name, bytes, ZipWriter::Method::Stored)) {
    error = zip.error();
    return false;
  }
  return true;
}

bool writePackage(const KstEpubPackage& package, const fs::path& pictures, const fs::path& file,
                  std::time_t modified, std::string& error) {
  ZipWriter zip(file.string(), modified);
  // The mimetype first and stored, so that its name can be read at a fixed offset.
  zip.add("mimetype", std::string(KstEpubPackage::kMimetype), ZipWriter::Method::Stored);
  for (const KstEpubPackage::Document& document : package.documents(isoTime(modified)))
    zip.add(document.path, document.text, ZipWriter::Method::Deflated);
  const int pages = static_cast<int>(kstStoryPages().size());
  for (int page = 1; page <= pages; ++page) {
    if (!addFile(zip, KstEpubPackage::picturePath(page),
                 pictures / EpubPagePictures::pictureName(page), error))
      return false;
  }
  for (const std::string& name : package.recordingsUsed()) {
    if (!addFile(zip, KstEpubPackage::recordingPath(name),
                 NSBundle::mainBundle().pathForResource(name + ".mp3", ""), error))
      return false;
  }
  if (!zip.finish()) {
    error = zip.error();
    return false;
  }
  return true;
}

KstStoryBook bookBeingRead() {
  KstStoryBook book;
  book.pages = kstStoryPages();
  book.titles = kstStoryTitles();
  book.credits = kstStoryCredits();
  return book;
}

bool fill(const fs::path& file, const fs::path& work, std::int32_t language, std::string& error) {
  if (!EpubPagePictures::render(language, work.string(), error)) return false;
  const KstStoryBook book = bookBeingRead();
  KstEpubPackage package(book, language);
  for (int page = 1; page <= static_cast<int>(book.pages.size()); ++page)
    addRecording(package, page);
  return writePackage(package, work, file, exportTime(), error);
}

bool usableTarget(const fs::path& file, std::string& error) {
  std::error_code failure;
  if (fs::is_directory(file, failure)) {
    error = file.string() + " is a folder";
  } else if (!fs::is_directory(file.parent_path(), failure)) {
    error = "there is no folder " + file.parent_path().string() + " to write into";
  }
  return error.empty();
}

}  // namespace

bool exportEpub(const std::string& file, std::int32_t language, std::string& error) {
  const fs::path target = fs::absolute(fs::path(file)).lexically_normal();
  if (!usableTarget(target, error)) return false;
  const std::string part = "." + target.filename().string() + ".part" + std::to_string(::getpid());
  const fs::path temp = target.parent_path() / part;
  const fs::path work = target.parent_path() / (part + ".pages");
  std::error_code failure;
  fs::remove_all(work, failure);
  fs::create_directories(work, failure);
  if (failure) {
    error = "cannot create " + work.string() + ": " + failure.message();
    return false;
  }
  bool ok = false;
  try {
    ok = fill(temp, work, language, error);
  } catch (const fs::filesystem_error& fault) {
    error = fault.what();
  }
  if (ok) {
    fs::rename(temp, target, failure);
    if (failure) error = "cannot move the book into " + target.string() + ": " + failure.message();
    ok = !failure;
  }
  fs::remove_all(work, failure);
  if (!ok) fs::remove(temp, failure);
  return ok;
}
