#include "lumoPagePrefetch.h"

#include <chrono>
#include <functional>
#include <thread>

#include "CC3MeshNode.h"
#include "CC3Texture.h"
#include "KstStage.h"
#include "PNGWriter.h"
#include "lmStageInfo.h"
#include "lumoWorldFixture.h"

namespace {
using Pages = std::vector<std::int32_t>;

bool pumpUntil(const std::function<bool()>& done, double seconds = 30) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done() && std::chrono::steady_clock::now() < end) {
    NSRunLoop::mainRunLoop().runDue();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return done();
}
}  // namespace

TEST(lumoPagePrefetchPages, OneTurnAwayAreTheNextThePreviousAndTheCover) {
  EXPECT_EQ(lumoPagePrefetch::reachablePages(1, 18), (Pages{2}));
  EXPECT_EQ(lumoPagePrefetch::reachablePages(2, 18), (Pages{3, 1}));
  EXPECT_EQ(lumoPagePrefetch::reachablePages(9, 18), (Pages{10, 8, 1}));
  // The ending page's replay goes to the cover.
  EXPECT_EQ(lumoPagePrefetch::reachablePages(18, 18), (Pages{17, 1}));
  EXPECT_EQ(lumoPagePrefetch::reachablePages(1, 1), (Pages{}));
}

TEST(lumoPagePrefetchPages, APagesPicturesAreItsRecordsFiles) {
  auto stage = KstStage::stage();
  for (std::int32_t page = 1; page <= stage->totalStageCount(); ++page) {
    auto images = lumoPagePrefetch::imagesOfPage(*stage, page);
    // Element 0 of a page list is its number; every other element is one picture.
    EXPECT_EQ(images.size(), stage->groundsForStage(page).size() - 1) << page;
    const std::string n = std::to_string(page);
    for (const std::string& name : {"ground" + n + ".png", "background" + n + ".png"})
      EXPECT_NE(std::find(images.begin(), images.end(), name), images.end()) << name;
  }
}

TEST(lumoPagePrefetchSounds, APageBringsItsNarrationInTheReadingLanguageAndItsLoop) {
  auto stage = KstStage::stage();
  using Names = std::vector<std::string>;
  const std::int32_t ru = lmStageInfo::kLangRussian, en = lmStageInfo::kLangEnglish;
  EXPECT_EQ(lumoPagePrefetch::soundsOfPage(*stage, 11, ru), (Names{"QRB_p10_ru", "b_snore"}));
  EXPECT_EQ(lumoPagePrefetch::soundsOfPage(*stage, 11, en), (Names{"QRB_p11_cn", "b_snore"}));
  // The cover has no Russian narration and the ending page none at all: "nil" is no file.
  EXPECT_EQ(lumoPagePrefetch::soundsOfPage(*stage, 1, ru), Names{});
  EXPECT_EQ(lumoPagePrefetch::soundsOfPage(*stage, 18, en), Names{});
}

class lumoPagePrefetchTest : public lumoWorldTest {
 protected:
  // A small picture under every file name of the first pages.
  void writePictures(std::int32_t lastPage) {
    auto stage = KstStage::stage();
    const std::vector<unsigned char> rgba(4 * 4 * 4, 200);
    for (std::int32_t page = 1; page <= lastPage; ++page) {
      for (const auto& image : lumoPagePrefetch::imagesOfPage(*stage, page)) {
        std::string error;
        ASSERT_TRUE(writePNG(dir.file(image), rgba.data(), 4, 4, error)) << error;
      }
      pictures_[page] = lumoPagePrefetch::imagesOfPage(*stage, page);
    }
  }
  bool cached(std::int32_t page) {
    for (const auto& image : pictures_[page])
      if (!CCTextureCache::sharedTextureCache()->textureForKey(image)) return false;
    return true;
  }
  bool noneCached(std::int32_t page) {
    for (const auto& image : pictures_[page])
      if (CCTextureCache::sharedTextureCache()->textureForKey(image)) return false;
    return true;
  }
  CCTexture2D* textureOf(const std::string& name) {
    auto* plane = dynamic_cast<CC3MeshNode*>(node(name));
    if (!plane || !plane->material() || !plane->material()->texture()) return nullptr;
    return plane->material()->texture()->texture();
  }
  // Frames as the program runs them: delayed and posted calls, the tick, the pool.
  void frames(double seconds) {
    for (int n = int(seconds * 60 + 0.5); n > 0; --n) {
      clock->advance(1.0 / 60);
      NSRunLoop::mainRunLoop().runDue();
      CCScheduler::sharedScheduler()->tick(1.0f / 60);
      NSAutoreleasePool::current().drain();
    }
  }
  void turnForward() {
    world->reflashStage(0);
    frames(1.6);  // the turn settles after 1.5 s
  }
  std::map<std::int32_t, std::vector<std::string>> pictures_;
};

TEST_F(lumoPagePrefetchTest, TurnsFindTheirPicturesReadyAndUnreachablePagesAreLetGo) {
  writePictures(5);
  build();
  // Resting on the cover, page 2 is decoded in the background.
  ASSERT_TRUE(pumpUntil([&] { return cached(2); }));
  Ptr<CCTexture2D> ground2 = CCTextureCache::sharedTextureCache()->textureForKey("ground2.png");
  turnForward();
  ASSERT_EQ(world->stageInfo()->curStageIndex(), 2);
  EXPECT_EQ(textureOf("ground2"), ground2.get()) << "the build made its own texture";
  ground2 = nullptr;

  ASSERT_TRUE(pumpUntil([&] { return cached(3); }));
  turnForward();
  ASSERT_TRUE(pumpUntil([&] { return cached(4); }));
  turnForward();
  ASSERT_EQ(world->stageInfo()->curStageIndex(), 4);
  ASSERT_TRUE(pumpUntil([&] { return cached(5); }));
  // From page 4 a turn reaches 5, 3 and the cover; page 2 is gone.
  EXPECT_TRUE(cached(1));
  EXPECT_TRUE(cached(3));
  EXPECT_TRUE(noneCached(2));
}

TEST_F(lumoPagePrefetchTest, ATurnBeforeThePrefetchEndsStillBuildsItsPage) {
  writePictures(2);
  build();
  // No waiting: the build loads what the loader has not.
  world->reflashStage(0);
  for (const char* name : {"ground2", "background2"}) EXPECT_TRUE(textureOf(name)) << name;
  frames(1.6);
  EXPECT_EQ(world->stageInfo()->curStageIndex(), 2);
  EXPECT_EQ(CCTextureCache::sharedTextureCache()->textureForKey("ground2.png").get(),
            textureOf("ground2"));
}

TEST_F(lumoPagePrefetchTest, AJumpHomeLetsGoOfThePageItLeftOnceThatPageIsGone) {
  writePictures(4);
  build();
  for (int turn = 0; turn < 3; ++turn) turnForward();
  ASSERT_EQ(world->stageInfo()->curStageIndex(), 4);
  // The home button's jump, as the world makes it.
  world->stageInfo()->setCurStageIndex(1);
  world->stageDownAnimationWithStageIndex(1);
  frames(1.6);
  ASSERT_EQ(world->stageInfo()->curStageIndex(), 1);
  ASSERT_FALSE(node("ground4"));
  frames(0.1);
  for (std::int32_t page : {3, 4}) EXPECT_TRUE(noneCached(page)) << page;
  EXPECT_TRUE(cached(1));
  ASSERT_TRUE(pumpUntil([&] { return cached(2); }));
}
