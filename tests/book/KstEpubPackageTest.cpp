#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "KstEpubPackage.h"
#include "KstStory.h"
#include "lmStageInfo.h"

namespace {

// A three-page book: a cover, one story page with narration in both
// languages (a mark in its text to escape), an ending.
KstStoryBook smallBook() {
  KstStoryBook book;
  book.pages.resize(3);
  KstStoryPage& story = book.pages[1];
  story.hasAside = true;
  story.aside = {"Ёж & «лис» идут.", "Fox & hedgehog go.", "狐狸"};
  story.recordings = {"QRB_a_ru", "QRB_a", "QRB_a_cn"};
  book.titles = {{"t1-cn", lmStageInfo::kLangRussian, "Ёж"},
                 {"t2-cn", lmStageInfo::kLangEnglish, "Hedgehog"}};
  book.credits = "Made by us\n\nThanks <all>";
  return book;
}

lmWordTimings timings(const std::string& text) {
  return *lmWordTimings::parse(text);
}

std::string documentAt(const std::vector<KstEpubPackage::Document>& documents,
                       const std::string& path) {
  for (const auto& document : documents)
    if (document.path == path) return document.text;
  ADD_FAILURE() << "no document " << path;
  return "";
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(KstEpubPackage, EachWordIsOneParFromItsStartToTheNextWordsAndTheLastToTheRecordingsEnd) {
  const KstStoryBook book = smallBook();
  KstEpubPackage package(book, lmStageInfo::kLangRussian);
  EXPECT_EQ(package.narrationRecording(2), "QRB_a_ru");
  EXPECT_EQ(package.narrationRecording(1), "");
  ASSERT_TRUE(
      package.setRecording(2, {"QRB_a_ru", 2.5, timings("0.2\tЁж\n0.9\tлис\n1.4\tидут\n")}));
  const auto documents = package.documents("2026-01-02T03:04:05Z");
  const std::string smil = documentAt(documents, "OEBPS/overlays/page02.smil");
  EXPECT_EQ(count(smil, "<par "), 3);
  EXPECT_NE(smil.find("#w1\"/><audio src=\"../audio/QRB_a_ru.mp3\" clipBegin=\"0.200s\" "
                      "clipEnd=\"0.900s\""),
            std::string::npos)
      << smil;
  EXPECT_NE(smil.find("#w3\"/><audio src=\"../audio/QRB_a_ru.mp3\" clipBegin=\"1.400s\" "
                      "clipEnd=\"2.500s\""),
            std::string::npos);
  // The words are spans of the text, its marks outside them and escaped.
  const std::string page = documentAt(documents, "OEBPS/pages/page02.xhtml");
  EXPECT_NE(page.find("<span id=\"w1\">Ёж</span> &amp; «<span id=\"w2\">лис</span>» "
                      "<span id=\"w3\">идут</span>.</p>"),
            std::string::npos)
      << page;
  // Heard from the first word's start to the end: 2.3 s, the whole book's too.
  const std::string opf = documentAt(documents, "OEBPS/package.opf");
  EXPECT_NE(opf.find("refines=\"#overlay02\">0:00:02.300<"), std::string::npos) << opf;
  EXPECT_NE(opf.find("<meta property=\"media:duration\">0:00:02.300<"), std::string::npos);
  EXPECT_NE(opf.find("media-overlay=\"overlay02\""), std::string::npos);
  EXPECT_EQ(package.recordingsUsed(), std::vector<std::string>{"QRB_a_ru"});
}

TEST(KstEpubPackage, TimingsThatDoNotFitTheTextGiveThePageNoOverlay) {
  const KstStoryBook book = smallBook();
  KstEpubPackage package(book, lmStageInfo::kLangRussian);
  EXPECT_FALSE(package.setRecording(2, {"QRB_a_ru", 2.5, timings("0.2\tЁж\n0.9\tлис\n")}));
  const auto documents = package.documents("2026-01-02T03:04:05Z");
  const std::string opf = documentAt(documents, "OEBPS/package.opf");
  EXPECT_EQ(opf.find("media-overlay="), std::string::npos);
  EXPECT_EQ(opf.find("audio/mpeg"), std::string::npos);
  EXPECT_NE(opf.find("<meta property=\"media:duration\">0:00:00.000<"), std::string::npos);
  for (const auto& document : documents) EXPECT_EQ(document.path.find(".smil"), std::string::npos);
  EXPECT_TRUE(package.recordingsUsed().empty());
}

TEST(KstEpubPackage, TheEnglishReadingShowsTheEnglishTextAndPlaysTheRecordingKeptUnderCn) {
  const KstStoryBook book = smallBook();
  KstEpubPackage english(book, lmStageInfo::kLangEnglish);
  EXPECT_EQ(english.narrationText(2), "Fox & hedgehog go.");
  EXPECT_EQ(english.narrationRecording(2), "QRB_a_cn");
  const auto documents = english.documents("2026-01-02T03:04:05Z");
  const std::string opf = documentAt(documents, "OEBPS/package.opf");
  EXPECT_NE(opf.find("<dc:language>en</dc:language>"), std::string::npos);
  EXPECT_NE(opf.find("<dc:title id=\"title\">Hedgehog</dc:title>"), std::string::npos);
  EXPECT_NE(opf.find("property=\"alternate-script\" xml:lang=\"ru\">Ёж<"), std::string::npos);
  EXPECT_NE(opf.find("<meta property=\"dcterms:modified\">2026-01-02T03:04:05Z<"),
            std::string::npos);
  EXPECT_NE(documentAt(documents, "OEBPS/credits.xhtml").find("<p>Thanks &lt;all&gt;</p>"),
            std::string::npos);
  EXPECT_NE(documentAt(documents, "OEBPS/pages/page03.xhtml").find("xml:lang=\"en\""),
            std::string::npos);
}

TEST(KstEpubPackage, TheIdentifierStandsForTheBookInItsLanguage) {
  const KstStoryBook book = smallBook();
  KstStoryBook other = smallBook();
  other.pages[1].aside.ru = "Другой текст.";
  auto identifier = [](const KstStoryBook& of, std::int32_t language) {
    const std::string opf = documentAt(
        KstEpubPackage(of, language).documents("2026-01-02T03:04:05Z"), "OEBPS/package.opf");
    std::smatch match;
    const std::regex uuid("<dc:identifier id=\"book-id\">urn:uuid:([0-9a-f-]{36})<");
    EXPECT_TRUE(std::regex_search(opf, match, uuid)) << opf;
    return match.size() > 1 ? match[1].str() : std::string();
  };
  const std::string russian = identifier(book, lmStageInfo::kLangRussian);
  EXPECT_EQ(russian, identifier(smallBook(), lmStageInfo::kLangRussian));
  EXPECT_NE(russian, identifier(book, lmStageInfo::kLangEnglish));
  EXPECT_NE(russian, identifier(other, lmStageInfo::kLangRussian));
  // A version 8 UUID of the RFC 4122 variant.
  EXPECT_EQ(russian[14], '8');
  EXPECT_NE(std::string("89ab").find(russian[19]), std::string::npos);
}

TEST(KstEpubPackage, ClockValuesCountHoursMinutesSecondsAndMilliseconds) {
  EXPECT_EQ(KstEpubPackage::clockValue(0), "0:00:00.000");
  EXPECT_EQ(KstEpubPackage::clockValue(3723004), "1:02:03.004");
  EXPECT_EQ(KstEpubPackage::clockValue(59999), "0:00:59.999");
}

}  // namespace
