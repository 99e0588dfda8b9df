#pragma once
#include <cstdint>
#include <string>

// The reader's own recordings of the book's narrations, in a folder of their
// own: <folder>/<language tag>/<recording name>.ogg (for example
// 2000/QRB_p1_ru.ogg), its word timings beside it in <recording name>.words.
// The two are replaced together (AtomicFiles): a full disk or a kill leaves
// the old pair.
class lmOwnVoiceStore {
 public:
  static constexpr const char* kRecordingType = "ogg";
  static constexpr const char* kWordsType = "words";

  explicit lmOwnVoiceStore(std::string folder) : folder_(std::move(folder)) {}
  const std::string& folder() const { return folder_; }

  // Empty for a name that is not a plain file name.
  std::string recordingPath(std::int32_t language, const std::string& name) const;
  std::string wordsPath(std::int32_t language, const std::string& name) const;
  // Whether a recording of that narration is kept (a file with something in it).
  bool has(std::int32_t language, const std::string& name) const;

  // False with the reason when the files cannot be written; the old ones stay.
  bool keep(std::int32_t language, const std::string& name, const std::string& recording,
            const std::string& words, std::string& error);
  // The recording and its timings go. False with the reason when they stay.
  bool remove(std::int32_t language, const std::string& name, std::string& error);
  // Partial files of a program ended while it kept a recording; how many went.
  std::size_t removeLeftovers() const;

 private:
  std::string pathOf(std::int32_t language, const std::string& name, const char* type) const;
  std::string folder_;
};
