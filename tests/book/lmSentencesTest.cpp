#include "lmSentences.h"

#include <gtest/gtest.h>

#include "KstStage.h"

namespace {
// Each sentence as its bytes of the text.
std::vector<std::string> sentences(const std::string& text) {
  std::vector<std::string> out;
  for (const lmSentences::Sentence& s : lmSentences::split(text))
    out.push_back(text.substr(s.begin, s.end - s.begin));
  return out;
}
}  // namespace

TEST(lmSentences, EndsAtStopsQuestionsAndExclamationsInsideOrOutsideQuotes) {
  EXPECT_EQ(sentences("Рано утром лисёнок вышел на крыльцо. На ветке сидела синичка.  "
                      "«Рыжик, звёздочка упала! Прямо к нам в лес!» — прочирикала она."),
            (std::vector<std::string>{"Рано утром лисёнок вышел на крыльцо.",
                                      "На ветке сидела синичка.", "«Рыжик, звёздочка упала!",
                                      "Прямо к нам в лес!» — прочирикала она."}));
  // Speech closed by a mark and a dash goes on in lower case: one sentence.
  EXPECT_EQ(sentences("“Mama, may I go?” asked Ryzhik. “Let’s go! Have you got any pies?” "
                      "the bear cub asked happily."),
            (std::vector<std::string>{"“Mama, may I go?” asked Ryzhik.", "“Let’s go!",
                                      "Have you got any pies?” the bear cub asked happily."}));
  // English speech closed after its final mark goes on with a short clause
  // of who said it; a longer one is a sentence of its own. Russian speech
  // says so with a dash, and without one a new sentence starts.
  EXPECT_EQ(sentences("“Bublik, what about the star?” Ryzhik reminded him. “A minute…” But his "
                      "eyes kept closing."),
            (std::vector<std::string>{"“Bublik, what about the star?” Ryzhik reminded him.",
                                      "“A minute…”", "But his eyes kept closing."}));
  EXPECT_EQ(sentences("«Пойдём!» Рыжик кивнул."),
            (std::vector<std::string>{"«Пойдём!»", "Рыжик кивнул."}));
  // Speech opened after a colon ends with the sentence around it.
  EXPECT_EQ(
      sentences("Мама сказала: «Иди, только возьми друга». Рыжик пошёл."),
      (std::vector<std::string>{"Мама сказала: «Иди, только возьми друга».", "Рыжик пошёл."}));
}

TEST(lmSentences, AnEllipsisEndsASentenceOnlyBeforeACapital) {
  EXPECT_EQ(sentences("Рыжик прыгал: прыг, скок… и вот он на том берегу! А Бублик пошёл."),
            (std::vector<std::string>{"Рыжик прыгал: прыг, скок… и вот он на том берегу!",
                                      "А Бублик пошёл."}));
  EXPECT_EQ(sentences("One berry, another... “Bublik, what about the star?” Ryzhik said."),
            (std::vector<std::string>{"One berry, another...",
                                      "“Bublik, what about the star?” Ryzhik said."}));
  EXPECT_EQ(sentences("Одна ягодка, другая, третья… «Бублик, а звёздочка?» — напомнил Рыжик."),
            (std::vector<std::string>{"Одна ягодка, другая, третья…",
                                      "«Бублик, а звёздочка?» — напомнил Рыжик."}));
}

TEST(lmSentences, EveryWordBelongsToOneSentenceInOrder) {
  // No closing mark at all, a dash between words, a lone mark, no words.
  const std::string text = "— Ой, иду-иду — ответил он\u00a0— и ушёл";
  const auto split = lmSentences::split(text);
  ASSERT_EQ(split.size(), 1u);
  EXPECT_EQ(split[0].firstWord, 0u);
  EXPECT_EQ(split[0].lastWord, 5u);
  EXPECT_EQ(split[0].end, text.size());
  EXPECT_TRUE(lmSentences::split("").empty());
  EXPECT_TRUE(lmSentences::split(" — … ").empty());
  EXPECT_EQ(sentences("Да. 3 кота."), (std::vector<std::string>{"Да.", "3 кота."}));
}

// The book's own panels: the sentences cover every word once, and page 5,
// read sentence by sentence in the tests, has three in each language.
TEST(lmSentences, TheBooksPanelsSplitIntoWholeSentences) {
  Ptr<KstStage> stage = KstStage::stage();
  ASSERT_TRUE(stage);
  for (int page = 2; page < stage->totalStageCount(); ++page) {
    const KstStage::StringList& aside = stage->asideForStage(page);
    for (std::size_t language : {1u, 2u}) {
      const std::string& text = aside.at(language);
      SCOPED_TRACE(text);
      const auto words = lmWordTimings::wordSpans(text);
      const auto split = lmSentences::split(text, words);
      ASSERT_FALSE(split.empty());
      std::size_t next = 0;
      for (const lmSentences::Sentence& s : split) {
        EXPECT_EQ(s.firstWord, next);
        EXPECT_LE(s.begin, words[s.firstWord].begin);
        EXPECT_GE(s.end, words[s.lastWord].end);
        next = s.lastWord + 1;
      }
      EXPECT_EQ(next, words.size());
      if (page == 5) {
        EXPECT_EQ(split.size(), 3u);
      }
    }
  }
}
