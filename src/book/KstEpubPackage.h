#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "KstStory.h"
#include "lmWordTimings.h"

// The text documents of a fixed-layout EPUB 3 read-aloud edition of a book
// in one reading language: the package file, the navigation document, one
// 1024 x 768 page per book page (its picture with the narration as text over
// it, each word a span) and, for every page whose recording's word timings
// match its text, a Media Overlay playing that recording word by word.
// The pictures and recordings themselves are the caller's to add, under
// picturePath() and recordingPath().
class KstEpubPackage {
 public:
  // A page's narration recording as the reading plays it.
  struct Recording {
    std::string name;  // base name, without ".mp3"
    double seconds = 0;
    lmWordTimings timings;
  };
  struct Document {
    std::string path;  // inside the archive
    std::string text;
  };
  static constexpr int kPageWidth = 1024, kPageHeight = 768;
  static constexpr const char* kActiveClass = "lit-word";
  static constexpr const char* kMimetype = "application/epub+zip";

  // `language` is lmStageInfo::kLangRussian or kLangEnglish.
  KstEpubPackage(const KstStoryBook& book, std::int32_t language);

  // The text the reading shows on page `page` (from 1), empty for none, and
  // the recording it plays ("" for none).
  std::string narrationText(int page) const;
  std::string narrationRecording(int page) const;
  // Gives page `page` its recording; a recording whose timings do not have
  // one start per word of the text gets no overlay (answers false).
  bool setRecording(int page, Recording recording);

  // The recordings the overlays play, each once, in page order.
  std::vector<std::string> recordingsUsed() const;

  static std::string picturePath(int page);
  static std::string recordingPath(const std::string& name);
  std::string languageCode() const;
  std::string title() const;

  // Every document but the pictures and recordings; `modified` is the
  // package's modification time as CCYY-MM-DDThh:mm:ssZ.
  std::vector<Document> documents(const std::string& modified) const;

  // "h:mm:ss.fff", as media:duration takes it.
  static std::string clockValue(std::int64_t milliseconds);

 private:
  std::string pageName(int page) const;
  std::string pageDocument(int page) const;
  std::string narrationParagraph(const std::string& text) const;
  std::string overlayDocument(int page, const Recording& recording) const;
  std::int64_t overlayMilliseconds(const Recording& recording) const;
  std::string packageDocument(const std::string& modified) const;
  std::string metadata(const std::string& modified) const;
  std::string manifest() const;
  std::string spine() const;
  std::string navigationDocument() const;
  std::string creditsDocument() const;
  std::string identifier() const;
  std::string otherTitle() const;
  // The start of an XHTML document; `withEpubTypes` declares the epub: prefix.
  std::string head(const std::string& title, const std::string& stylesheet,
                   bool withEpubTypes = false) const;

  const KstStoryBook& book_;
  std::int32_t language_;
  std::vector<std::optional<Recording>> recordings_;  // page p at p - 1
};
