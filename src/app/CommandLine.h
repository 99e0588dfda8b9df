#pragma once
#include <string>

// What the program was asked to do.
struct CommandLine {
  bool help = false;
  bool version = false;
  bool headless = false;
  bool logEvents = false;
  bool mute = false;
  bool followWords = false;
  bool readMyself = false;
  bool autoPlay = false;
  // The page to open the book on, 1 to the book's page count, as given; set
  // into `page` by parsePage once the book is open. 0: the cover, or the
  // stored place offered there.
  std::string pageText;
  int page = 0;
  bool bySentence = false;
  std::string pace;  // empty: the stored one
  bool noOwnVoices = false;
  std::string voicesFolder;
  std::string captureFrom;
  long frames = -1;
  std::string script;
  std::string exportContent;
  std::string book;        // a book folder to read instead of the built-in book
  std::string exportBook;  // where to write the book as a book folder
  std::string exportEpub;  // where to write the book as an EPUB
  int language = 0;        // the EPUB's reading language; 0: Russian
  std::string demo;
  std::string frameLog;
  std::string frameLogMeasure = "wall";
  bool drawEveryFrame = false;  // also frames in which nothing changed (measuring)
  int msaaSamples = 0;          // samples per pixel asked for; 0: no multisampling

  // False with a one-line reason for an unknown flag or a bad value.
  static bool parse(int argc, const char* const* argv, CommandLine& out, std::string& error);
  static std::string usage();
  // `value` as a page of a book of `pageCount` pages, or false with the message.
  static bool parsePage(const std::string& value, int pageCount, int& page, std::string& error);
};
