#include <vector>

#include "NSNotificationCenter.h"
#include "lumoWorldReadingFixture.h"

namespace {

using lumoWorldRecordingEndTest = lumoWorldReadingTest;

// The sound player's notification reaches the world's listeners as a kind of
// recording: a part that waits for the end of a narration (or of a line)
// listens here, beside the panel and the figures.
TEST_F(lumoWorldRecordingEndTest, ListenersHearWhetherANarrationOrALineEnded) {
  std::vector<KstRecordingKind> heard;
  std::vector<bool> figuresReadyWhenHeard;
  world->addRecordingEndListener([&](KstRecordingKind kind) {
    heard.push_back(kind);
    figuresReadyWhenHeard.push_back(world->k_animationYES());
  });
  auto post = [](NSDictionary info) {
    NSNotificationCenter::defaultCenter().postNotificationName(
        lumoBookNames::kRecordingDidFinishNotification, KstSound::shared(), info);
  };
  world->setK_animationYES(false);
  post({{lumoBookNames::kIsNarrationKey, true}});
  post({{lumoBookNames::kIsNarrationKey, false}});
  post({});  // an end that does not say is a line's
  EXPECT_EQ(heard, (std::vector<KstRecordingKind>{KstRecordingKind::kNarration,
                                                  KstRecordingKind::kDialogue,
                                                  KstRecordingKind::kDialogue}));
  // Listeners added later hear after the book's own: the figures are free by then.
  EXPECT_EQ(figuresReadyWhenHeard, (std::vector<bool>{true, true, true}));
  EXPECT_EQ(KstSound::endedRecordingKind(nullptr), KstRecordingKind::kDialogue);
}

}  // namespace
