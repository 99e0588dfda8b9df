#include "KstContentExport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "KstSpriteFactory.h"
#include "KstStage.h"
#include "KstStory.h"
#include "Log.h"
#include "lmStageInfo.h"
#include "lumoBookNames.h"

namespace fs = std::filesystem;

namespace {

struct Recording {
  std::string name;
  std::string voice;
  std::string text;
};

bool sameContent(const fs::path& path, const std::string& content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream existing;
  existing << in.rdbuf();
  return existing.str() == content;
}

// Writes through a temporary file and a rename, and only when the content changed.
bool writeIfChanged(const fs::path& path, const std::string& content) {
  if (sameContent(path, content)) return true;
  const fs::path temp = path.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush()) {
      CCLOGERROR("content export: cannot write %s", temp.c_str());
      return false;
    }
  }
  std::error_code error;
  fs::rename(temp, path, error);
  if (error) {
    CCLOGERROR("content export: cannot write %s: %s", path.c_str(), error.message().c_str());
    fs::remove(temp, error);
    return false;
  }
  return true;
}

std::string englishTitle() {
  for (const KstStoryTitle& title : kstStoryTitles()) {
    if (title.identifier.rfind("s1layer", 0) == 0 && title.language == lmStageInfo::kLangEnglish) {
      return title.text;
    }
  }
  return {};
}

// The English narration of a page; the cover reads its title.
std::string englishNarration(const KstStage& stage, int page) {
  const KstStage::StringList& aside = stage.asideForStage(page);
  return aside.size() > 2 ? aside[2] : englishTitle();
}

std::vector<Recording> allRecordings(const KstStage& stage) {
  std::vector<Recording> recordings;
  for (int page = 1; page <= stage.totalStageCount(); ++page) {
    const KstStage::StringList& aside = stage.asideForStage(page);
    const std::string& ru = stage.soundsRu()[page - 1];
    if (ru != kKstNil && aside.size() > 1) recordings.push_back({ru, "ru", aside[1]});
    // The English reading shows English text, so the "Cn" recordings speak English too.
    for (const std::string* name : {&stage.soundsCn()[page - 1], &stage.soundsEn()[page - 1]}) {
      if (*name != kKstNil) recordings.push_back({*name, "en", englishNarration(stage, page)});
    }
  }
  // Dialogues in page order, each line in Russian and then in English; the
  // names come from the table, the words from the story.
  for (const KstStoryPage& page : kstStoryPages()) {
    for (const KstStoryFigure& figure : page.figures) {
      std::map<std::string, const KstStoryLine*> lines;
      for (const KstStoryLine& line : figure.lines) lines[line.recording] = &line;
      for (const std::string& name : stage.dialogNamesForLayer(figure.layer)) {
        const KstStoryLine* line = lines[name];
        recordings.push_back(
            {name + lumoBookNames::kRussianSuffix, "ru", line ? line->ru : std::string()});
        recordings.push_back(
            {name + lumoBookNames::kChineseSuffix, "en", line ? line->en : std::string()});
      }
    }
  }
  return recordings;
}

struct LayoutRow {
  int page;
  std::string line;
  Ptr<KstSpriteId> record;
};

// Every layout line the book builds from, in page-list order; lines the book
// would skip are left out of the export as well.
std::vector<LayoutRow> layoutRows(const KstStage& stage) {
  std::vector<LayoutRow> rows;
  for (int page = 1; page <= stage.totalStageCount(); ++page) {
    const KstStage::StringList& list = stage.groundsForStage(page);
    for (std::size_t i = 1; i < list.size(); ++i) {
      Ptr<KstSpriteId> record = KstSpriteFactory::spriteIdWithLine(list[i]);
      if (record) rows.push_back({page, list[i], std::move(record)});
    }
  }
  return rows;
}

std::string layersTable(const std::vector<LayoutRow>& rows) {
  std::string table;
  char row[256];
  for (const LayoutRow& layout : rows) {
    std::snprintf(row, sizeof row, "%d\t%s\t%g\t%g\n", layout.page,
                  layout.record->identifier().c_str(), layout.record->width(),
                  layout.record->height());
    table += row;
  }
  return table;
}

std::string layoutTable(const std::vector<LayoutRow>& rows) {
  std::string table;
  for (const LayoutRow& layout : rows) {
    table += std::to_string(layout.page) + '\t' + layout.record->identifier() + '\t' + layout.line +
             '\n';
  }
  return table;
}

std::string titlesTable() {
  std::string table;
  for (const KstStoryTitle& title : kstStoryTitles()) {
    table += title.identifier + '\t' + (title.language == lmStageInfo::kLangEnglish ? "en" : "ru") +
             '\t' + title.text + '\n';
  }
  return table;
}

void removeStaleTexts(const fs::path& textDir, const std::set<std::string>& keep) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(textDir, error)) {
    const fs::path& path = entry.path();
    if (path.extension() == ".txt" && !keep.count(path.filename().string())) {
      fs::remove(path, error);
    }
  }
}

}  // namespace

bool exportBookContent(const std::string& dir) {
  Ptr<KstStage> stage = KstStage::stage();
  if (!stage) return false;
  const fs::path root(dir);
  const fs::path textDir = root / "text";
  std::error_code error;
  fs::create_directories(textDir, error);
  if (error) {
    CCLOGERROR("content export: cannot create %s: %s", textDir.c_str(), error.message().c_str());
    return false;
  }

  bool ok = true;
  std::string index;
  std::set<std::string> textFiles;
  for (const Recording& recording : allRecordings(*stage)) {
    const std::string file = recording.name + ".txt";
    // Two names for one recording would silently drop a text.
    if (!textFiles.insert(file).second) {
      CCLOGERROR("content export: recording %s named twice", recording.name.c_str());
      ok = false;
      continue;
    }
    ok = writeIfChanged(textDir / file, recording.text + '\n') && ok;
    index += recording.name + '\t' + recording.voice + "\ttext/" + file + '\n';
  }
  removeStaleTexts(textDir, textFiles);
  ok = writeIfChanged(root / "recordings.tsv", index) && ok;
  const std::vector<LayoutRow> layout = layoutRows(*stage);
  ok = writeIfChanged(root / "layers.tsv", layersTable(layout)) && ok;
  ok = writeIfChanged(root / "layout.tsv", layoutTable(layout)) && ok;
  ok = writeIfChanged(root / "titles.tsv", titlesTable()) && ok;
  ok = writeIfChanged(root / "credits.txt", kstStoryCredits()) && ok;
  return ok;
}
