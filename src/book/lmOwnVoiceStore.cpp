#include "lmOwnVoiceStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "AtomicFiles.h"

namespace fs = std::filesystem;

namespace {
bool isPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}
}  // namespace

std::string lmOwnVoiceStore::pathOf(std::int32_t language, const std::string& name,
                                    const char* type) const {
  if (!isPlainName(name) || folder_.empty()) return {};
  return (fs::path(folder_) / std::to_string(language) / (name + "." + type)).string();
}

std::string lmOwnVoiceStore::recordingPath(std::int32_t language, const std::string& name) const {
  return pathOf(language, name, kRecordingType);
}

std::string lmOwnVoiceStore::wordsPath(std::int32_t language, const std::string& name) const {
  return pathOf(language, name, kWordsType);
}

bool lmOwnVoiceStore::has(std::int32_t language, const std::string& name) const {
  const std::string path = recordingPath(language, name);
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec) && fs::file_size(path, ec) > 0 && !ec;
}

bool lmOwnVoiceStore::keep(std::int32_t language, const std::string& name,
                           const std::string& recording, const std::string& words,
                           std::string& error) {
  const std::string path = recordingPath(language, name);
  if (path.empty()) {
    error = "no folder for \"" + name + "\"";
    return false;
  }
  // The timings first: the recording's arrival is what makes it heard.
  return AtomicFiles::write({{wordsPath(language, name), words}, {path, recording}}, error);
}

bool lmOwnVoiceStore::remove(std::int32_t language, const std::string& name, std::string& error) {
  const std::string path = recordingPath(language, name);
  if (path.empty()) {
    error = "no folder for \"" + name + "\"";
    return false;
  }
  for (const std::string& file : {path, wordsPath(language, name)}) {
    if (std::remove(file.c_str()) != 0 && errno != ENOENT) {
      error = file + ": " + std::strerror(errno);
      return false;
    }
  }
  return true;
}

std::size_t lmOwnVoiceStore::removeLeftovers() const {
  return folder_.empty() ? 0 : AtomicFiles::removePartialFiles(folder_);
}
