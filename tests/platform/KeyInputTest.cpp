#include <gtest/gtest.h>

#include <vector>

#include "KeyInput.h"

namespace {
// The window system's values, as SDL 2 defines them (this test sees no SDL header).
constexpr std::int32_t kRight = 0x4000004F, kLeft = 0x40000050, kPageDown = 0x4000004E,
                       kPageUp = 0x4000004B, kHome = 0x4000004A, kEscape = 27, kSpace = ' ',
                       kF11 = 0x40000044;
constexpr std::int32_t kScancodeH = 11, kScancodeM = 16, kScancodeN = 17, kScancodeR = 21,
                       kScancodeV = 25;
constexpr std::uint16_t kShift = 0x0001, kCtrl = 0x0040, kAlt = 0x0100, kGui = 0x0400,
                        kNumLock = 0x1000;
constexpr std::int32_t kCyrillicSoftSign = 0x44C;  // "ь", what a Russian layout's M key types

std::optional<std::string> keyOf(std::int32_t code, std::int32_t scancode = 0,
                                 std::uint16_t mod = 0) {
  auto stroke = KeyInput::fromWindowKey(code, scancode, mod, false);
  return stroke ? std::optional<std::string>(stroke->key) : std::nullopt;
}
}  // namespace

TEST(KeyInput, WindowKeysGetTheirNamesAndChordsNone) {
  EXPECT_EQ(keyOf(kRight), "Right");
  EXPECT_EQ(keyOf(kLeft), "Left");
  EXPECT_EQ(keyOf(kPageDown), "PageDown");
  EXPECT_EQ(keyOf(kPageUp), "PageUp");
  EXPECT_EQ(keyOf(kSpace), "Space");
  EXPECT_EQ(keyOf(kHome), "Home");
  EXPECT_EQ(keyOf(kEscape), "Escape");
  EXPECT_EQ(keyOf('m', kScancodeM), "M");
  EXPECT_EQ(keyOf('q'), "Q");
  EXPECT_EQ(keyOf('7'), "7");
  // Keys without a name, the window's F11 among them, give nothing.
  for (std::int32_t other : {kF11, std::int32_t('['), kCyrillicSoftSign})
    EXPECT_FALSE(keyOf(other)) << other;
  // Shift and Num Lock change nothing; chords are someone else's.
  EXPECT_EQ(keyOf('m', kScancodeM, kShift | kNumLock), "M");
  for (std::uint16_t chord : {kCtrl, kAlt, kGui}) {
    EXPECT_FALSE(keyOf(kRight, 0, chord)) << chord;
    EXPECT_FALSE(keyOf('m', kScancodeM, chord)) << chord;
  }
  auto repeated = KeyInput::fromWindowKey(kRight, 0, 0, true);
  ASSERT_TRUE(repeated);
  EXPECT_TRUE(repeated->repeat);
  EXPECT_FALSE(repeated->shift);
  // Shift is told, for the keys that mean something else with it (Shift+V).
  auto shifted = KeyInput::fromWindowKey('v', kScancodeV, kShift, false);
  ASSERT_TRUE(shifted);
  EXPECT_EQ(shifted->key, "V");
  EXPECT_TRUE(shifted->shift);
}

TEST(KeyInput, LettersFollowTheLayoutOrTheirPlaceOnANonLatinOne) {
  // Russian layout: the M and N keys type Cyrillic letters; their places count.
  EXPECT_EQ(keyOf(kCyrillicSoftSign, kScancodeM), "M");
  EXPECT_EQ(keyOf(0x442, kScancodeN), "N");
  EXPECT_EQ(keyOf(0x440, kScancodeH), "H");
  EXPECT_EQ(keyOf(0x43A, kScancodeR), "R");
  // A Latin layout that puts another letter on the M key's place: the letter counts.
  EXPECT_EQ(keyOf('v', kScancodeM), "V");
  EXPECT_EQ(keyOf('m', kScancodeV), "M");
  EXPECT_EQ(keyOf(kCyrillicSoftSign, kScancodeV), "V");
}

TEST(KeyInput, WheelCountsNotchesTowardsTheReaderAsPositive) {
  EXPECT_EQ(KeyInput::notchesFromWindowWheel(-1, false), 1);
  EXPECT_EQ(KeyInput::notchesFromWindowWheel(3, false), -3);
  EXPECT_EQ(KeyInput::notchesFromWindowWheel(-1, true), -1);
  EXPECT_EQ(KeyInput::notchesFromWindowWheel(2, true), 2);
}

TEST(KeyInput, StrokesAndNotchesReachTheirListenersOnly) {
  KeyInput& input = KeyInput::shared();
  input.press({"M", false});  // no listener yet: nothing happens
  std::vector<KeyStroke> strokes;
  std::vector<int> rolls;
  input.setKeyHandler([&](const KeyStroke& s) { strokes.push_back(s); });
  input.setWheelHandler([&](int n) { rolls.push_back(n); });
  input.press({"Home", false});
  input.press({"Right", true});
  input.roll(0);
  input.roll(-2);
  input.setKeyHandler(nullptr);
  input.setWheelHandler(nullptr);
  input.press({"N", false});
  input.roll(1);
  EXPECT_EQ(strokes, (std::vector<KeyStroke>{{"Home", false}, {"Right", true}}));
  EXPECT_EQ(rolls, std::vector<int>{-2});
}
