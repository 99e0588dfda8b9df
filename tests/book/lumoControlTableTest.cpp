#include "lumoControlTable.h"

#include <gtest/gtest.h>

#include <vector>

#include "CC3Node.h"
#include "lmStageInfo.h"

namespace {

constexpr lumoControl kAll[] = {lumoControl::kRussian,     lumoControl::kEnglish,
                                lumoControl::kHome,        lumoControl::kReplay,
                                lumoControl::kCredits,     lumoControl::kRepeatNarration,
                                lumoControl::kPages,       lumoControl::kContinue,
                                lumoControl::kRecordVoice, lumoControl::kRecordingLight};

TEST(lumoControlTableTest, EachControlKeepsItsTagAndNoPageTagIsAControl) {
  const std::vector<GLuint> tags = {2000, 2001, 2002, 3000, 3001, 4000, 2003, 2004, 3100, 3101};
  ASSERT_EQ(tags.size(), lumoControlTable::kCount);
  for (std::size_t i = 0; i < tags.size(); ++i) {
    EXPECT_EQ(lumoControlTable::tagOf(kAll[i]), tags[i]);
    EXPECT_EQ(lumoControlTable::controlTagged(tags[i]), kAll[i]);
  }
  // The language buttons are tagged with the language they pick.
  EXPECT_EQ(lumoControlTable::tagOf(lumoControl::kEnglish), GLuint(lmStageInfo::kLangEnglish));
  // The ending menu's board (1001) and the tags around the controls' are no control.
  for (GLuint tag : {0u, 1001u, 1999u, 2005u, 2999u, 3002u, 3099u, 3102u, 3999u, 4001u})
    EXPECT_EQ(lumoControlTable::controlTagged(tag), std::nullopt) << tag;
}

TEST(lumoControlTableTest, ATapGoesToTheHandlerOfItsControlOrFallsThrough) {
  lumoControlTable table;
  std::vector<lumoControl> handled;
  for (lumoControl control : kAll)
    table.setHandler(control, [&handled, control](CC3Node*) {
      handled.push_back(control);
      // A language button of the language read declines the tap.
      return control != lumoControl::kRussian;
    });
  auto home = CC3Node::nodeWithTag(2002, "home-btn");
  auto credits = CC3Node::nodeWithTag(3001, "menu-end2");
  auto russian = CC3Node::nodeWithTag(2000, "menu-btn1");
  auto light = CC3Node::nodeWithTag(3101, "record_light");
  auto figure = CC3Node::nodeWithTag(12, "s2layer1-t");
  EXPECT_TRUE(table.dispatch(home.get()));
  EXPECT_TRUE(table.dispatch(credits.get()));
  EXPECT_FALSE(table.dispatch(russian.get()));
  // The last control's handler is kept like the first's.
  EXPECT_TRUE(table.dispatch(light.get()));
  EXPECT_FALSE(table.dispatch(figure.get()));
  EXPECT_FALSE(table.dispatch(nullptr));
  EXPECT_EQ(handled,
            (std::vector<lumoControl>{lumoControl::kHome, lumoControl::kCredits,
                                      lumoControl::kRussian, lumoControl::kRecordingLight}));
  // A control without a handler takes nothing.
  lumoControlTable empty;
  EXPECT_FALSE(empty.dispatch(home.get()));
}

}  // namespace
