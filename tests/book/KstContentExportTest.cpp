#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "KstContentExport.h"
#include "KstStage.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::vector<std::string>> readTable(const fs::path& path) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(readFile(path));
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> cells;
    std::istringstream row(line);
    for (std::string cell; std::getline(row, cell, '\t');) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

class KstContentExportTest : public ::testing::Test {
 protected:
  TempDir dir;
  Ptr<KstStage> stage = KstStage::stage();
};

TEST_F(KstContentExportTest, OneTextPerRecordingTheTableCanAskFor) {
  ASSERT_TRUE(exportBookContent(dir.path()));
  std::map<std::string, std::pair<std::string, std::string>> listed;
  for (const auto& row : readTable(dir.file("recordings.tsv"))) {
    ASSERT_EQ(row.size(), 3u);
    EXPECT_TRUE(listed.emplace(row[0], std::make_pair(row[1], row[2])).second) << row[0];
    EXPECT_EQ(row[2], "text/" + row[0] + ".txt");
  }
  std::set<std::string> expected;
  for (const auto* sounds : {&stage->soundsRu(), &stage->soundsEn(), &stage->soundsCn()}) {
    for (const std::string& name : *sounds) {
      if (name != "nil") expected.insert(name);
    }
  }
  for (const auto& [layer, names] : stage->dialogs()) {
    for (const std::string& name : stage->dialogNamesForLayer(layer)) {
      expected.insert(name + "_ru");
      expected.insert(name + "_cn");
    }
  }
  // 16 Russian + 17 English + 17 "Cn" narrations and 95 dialogue lines in each language.
  EXPECT_EQ(expected.size(), 16u + 17u + 17u + 95u + 95u);
  std::set<std::string> names;
  for (const auto& entry : listed) names.insert(entry.first);
  EXPECT_EQ(names, expected);
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dir.file("text"))) {
    ++files;
    EXPECT_TRUE(expected.count(entry.path().stem().string())) << entry.path();
  }
  EXPECT_EQ(files, expected.size());

  EXPECT_EQ(listed.at("QRB_p1_ru").first, "ru");
  EXPECT_EQ(listed.at("QRB_p5_cn").first, "en");
  EXPECT_EQ(listed.at("QRB_p5").first, "en");
  EXPECT_EQ(listed.at("dialogue_page12_h1_ru").first, "ru");
  EXPECT_EQ(listed.at("dialogue_page12_h1_cn").first, "en");
}

TEST_F(KstContentExportTest, TextsAreThePagesWords) {
  ASSERT_TRUE(exportBookContent(dir.path()));
  const fs::path text = dir.file("text");
  // Russian numbering starts at the first story page, English at the cover.
  EXPECT_EQ(readFile(text / "QRB_p1_ru.txt"), stage->asideForStage(2)[1] + "\n");
  EXPECT_EQ(readFile(text / "QRB_p16_ru.txt"), stage->asideForStage(17)[1] + "\n");
  EXPECT_EQ(readFile(text / "QRB_p2_cn.txt"), stage->asideForStage(2)[2] + "\n");
  EXPECT_EQ(readFile(text / "QRB_p17.txt"), stage->asideForStage(17)[2] + "\n");
  // The cover has no narration; its English recording reads the title.
  const std::string cover = readFile(text / "QRB_p1_cn.txt");
  EXPECT_NE(cover.find("Ryzhik"), std::string::npos);
  EXPECT_EQ(readFile(text / "QRB_p1.txt"), cover);
  const std::string line = readFile(text / "dialogue_page10_h2_ru.txt");
  EXPECT_NE(line.find("Хома"), std::string::npos) << line;
  // Every line is spoken in both languages: the English one keeps the names.
  const std::string english = readFile(text / "dialogue_page10_h2_cn.txt");
  EXPECT_NE(english.find("Homa"), std::string::npos) << english;
  for (const auto& entry : fs::directory_iterator(text)) {
    const std::string name = entry.path().stem().string();
    const std::string words = readFile(entry.path());
    EXPECT_GT(words.size(), 1u) << name << " has no words";
    // Cyrillic letters start with one of these two bytes in UTF-8.
    if (name.starts_with("dialogue_") && name.ends_with("_cn")) {
      EXPECT_EQ(words.find_first_of("\xD0\xD1"), std::string::npos) << name << ": " << words;
    }
  }
}

TEST_F(KstContentExportTest, LayerAndTitleTables) {
  ASSERT_TRUE(exportBookContent(dir.path()));
  const auto layers = readTable(dir.file("layers.tsv"));
  std::size_t lines = 0;
  for (const auto& list : stage->grounds()) lines += list.size() - 1;
  EXPECT_EQ(layers.size(), lines);
  EXPECT_EQ(layers.front(), (std::vector<std::string>{"1", "ground1", "1024", "2000"}));
  bool sawPage15Background = false;
  for (const auto& row : layers) {
    ASSERT_EQ(row.size(), 4u);
    if (row[1] == "background15") {
      sawPage15Background = true;
      EXPECT_EQ(row[2], "1021");
    }
  }
  EXPECT_TRUE(sawPage15Background);

  const auto titles = readTable(dir.file("titles.tsv"));
  ASSERT_EQ(titles.size(), 4u);
  std::map<std::string, std::string> languages;
  for (const auto& row : titles) {
    ASSERT_EQ(row.size(), 3u);
    languages[row[0]] = row[1];
  }
  EXPECT_EQ(languages, (std::map<std::string, std::string>{{"s1layer3-cn", "ru"},
                                                           {"s1layer5-cn", "en"},
                                                           {"s18layer2-cn", "ru"},
                                                           {"s18layer3-cn", "en"}}));
  EXPECT_FALSE(readFile(dir.file("credits.txt")).empty());
}

TEST_F(KstContentExportTest, LayoutTableHoldsEveryLineAsWrittenInPageOrder) {
  ASSERT_TRUE(exportBookContent(dir.path()));
  const auto layout = readTable(dir.file("layout.tsv"));
  const auto layers = readTable(dir.file("layers.tsv"));
  std::vector<std::vector<std::string>> expected;
  for (int page = 1; page <= stage->totalStageCount(); ++page) {
    const auto& list = stage->groundsForStage(page);
    for (std::size_t i = 1; i < list.size(); ++i) {
      expected.push_back({std::to_string(page), list[i].substr(0, list[i].find('+')), list[i]});
    }
  }
  EXPECT_EQ(layout, expected);
  // One row per layer in both tables, in the same order, so tools may join them.
  ASSERT_EQ(layout.size(), layers.size());
  for (std::size_t i = 0; i < layout.size(); ++i) {
    EXPECT_EQ(layout[i][0], layers[i][0]) << i;
    EXPECT_EQ(layout[i][1], layers[i][1]) << i;
  }
  // Written text, not reprinted numbers: "1.0" and "-0" survive.
  std::map<std::string, std::string> lines;
  for (const auto& row : layout) lines[row[1]] = row[2];
  EXPECT_EQ(lines.at("background15"), "background15+10+1021,722|1.0,1.0|0,100,0|90,0,0");
  EXPECT_EQ(lines.at("s13layer4r-t"), "s13layer4r-t+4+230,517|1.0,1.0|-0,-20,0|90,0,0");
  EXPECT_EQ(layout.back()[1], "background18");
}

TEST_F(KstContentExportTest, UnchangedFilesAreLeftAloneAndStaleOnesRemoved) {
  ASSERT_TRUE(exportBookContent(dir.path()));
  const fs::path kept = fs::path(dir.file("text")) / "QRB_p3.txt";
  const fs::path changed = fs::path(dir.file("text")) / "QRB_p4.txt";
  const fs::path stale = fs::path(dir.file("text")) / "QRB_p99.txt";
  const auto past = fs::file_time_type::clock::now() - std::chrono::hours(1);
  fs::last_write_time(kept, past);
  fs::last_write_time(dir.file("layers.tsv"), past);
  fs::last_write_time(dir.file("layout.tsv"), past);
  std::ofstream(changed) << "edited by hand\n";
  std::ofstream(stale) << "old\n";

  ASSERT_TRUE(exportBookContent(dir.path()));
  EXPECT_EQ(fs::last_write_time(kept), past);
  EXPECT_EQ(fs::last_write_time(dir.file("layers.tsv")), past);
  EXPECT_EQ(fs::last_write_time(dir.file("layout.tsv")), past);
  EXPECT_EQ(readFile(changed), stage->asideForStage(4)[2] + "\n");
  EXPECT_FALSE(fs::exists(stale));
}

TEST_F(KstContentExportTest, UnwritableDirectoryFails) {
  const std::string blocker = dir.file("file");
  std::ofstream(blocker) << "x";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(exportBookContent(blocker + "/out"));
  testing::internal::GetCapturedStderr();
}

}  // namespace
