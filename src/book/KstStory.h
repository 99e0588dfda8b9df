#pragma once
#include <string>
#include <vector>

// The whole book in one place, page by page: what stands on each page, what the
// narrator says in three languages and what every figure can say when touched.
// KstStage builds its table from this; the asset tools read it through the
// content export. Nothing else may repeat these words or lines.

// One thing a figure says in both reading languages, by the base name of its
// recordings: the Russian recording speaks `ru`, the English one `en`.
struct KstStoryLine {
  std::string recording;  // without the language suffix
  std::string ru;
  std::string en;
};

// A figure's name in both reading languages; empty where the book gives none.
struct KstStoryName {
  std::string ru;
  std::string en;
};

// A touchable layer and everything it can say.
struct KstStoryFigure {
  std::string layer;  // identifier with its "-t" suffix
  std::vector<KstStoryLine> lines;
  KstStoryName name = {};
};

// Narration of a story page; the cover and the ending page have none.
struct KstStoryAside {
  std::string ru;
  std::string en;
  std::string cn;
};

// A looping page sound: started when its page settles, stopped when one of the
// neighbouring pages that says so settles (a reader may arrive from either side).
struct KstStoryPageSound {
  std::string startsLoop;  // base name of the loop this page starts, or empty
  bool stopsLoop = false;
};

// The narration recordings of a page by base name, "nil" where there is none:
// the Russian reading plays `ru`, the English reading `cn`; `en` is kept for
// the asset tools.
struct KstStoryRecordings {
  std::string ru;
  std::string en;
  std::string cn;
};

struct KstStoryPage {
  std::vector<std::string> layout;  // ground, picture layers, background
  KstStoryRecordings recordings;
  KstStoryPageSound sound;
  bool hasAside = false;
  KstStoryAside aside;
  std::vector<KstStoryFigure> figures;
};

// Title pictures that follow the reading language.
struct KstStoryTitle {
  std::string identifier;
  int language;  // lmStageInfo::kLangRussian or kLangEnglish
  std::string text;
};

// A control of the ending menu: whether the ending page offers it, and the
// pictures of its label in each reading language (identifiers, without ".png").
struct KstStoryEndingControl {
  bool offered = true;
  std::string ru;
  std::string en;
};

// What the ending page offers: reading again from the cover, and the credits.
// Unless a book says otherwise, both, labelled with the program's own pictures.
struct KstStoryEnding {
  KstStoryEndingControl replay{true, "text_replay_ru", "text_replay_cn"};
  KstStoryEndingControl credits{true, "text_moreapps_ru", "text_moreapps_cn"};
};

// A whole book: the one compiled in, or one read from a book folder.
struct KstStoryBook {
  std::vector<KstStoryPage> pages;  // page p at index p - 1
  std::vector<KstStoryTitle> titles;
  std::string credits;
  KstStoryEnding ending;
};

const KstStoryBook& kstBuiltInBook();
// Replaces the book every reader of the story below sees, until the process
// ends; called once at start, before any world is built.
void kstOpenBook(KstStoryBook book);

// The book being read: the built-in one unless another was opened.
const std::vector<KstStoryPage>& kstStoryPages();
const std::vector<KstStoryTitle>& kstStoryTitles();
const std::string& kstStoryCredits();
const KstStoryEnding& kstStoryEnding();
