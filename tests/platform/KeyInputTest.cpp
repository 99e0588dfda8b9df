#include <gtest/gtest.h>

#include <vector>

#include "KeyInput.h"

namespace {
// The window system's values, as SDL 2 defines them (this test sees no SDL header).
constexpr std::int32_t kRight = 0x4000004F, kLeft = 0x40000050, kPageDown = 0x4000004E,
                       kPageUp = 0x4000004B, kHome = 0x4000004A, kEscape = 27, kSpace = ' ',
                       kF11 = 0x40000044;
constexpr std::int32_t kScancodeM = 16, kScancodeN = 17, kScancodeV = 25;
constexpr std::uint16_t kShift = 0x0001, kCtrl = 0x0040, kAlt = 0x0100, kGui = 0x0400,
                        kNumLock = 0x1000;
constexpr std::int32_t kCyrillicSoftSign = 0x44C;  // "ь", what a Russian layout's M key types

std::optional<Key> keyOf(std::int32_t code, std::int32_t scancode = 0, std::uint16_t mod = 0) {
  auto stroke = KeyInput::fromWindowKey(code, scancode, mod, false);
  return stroke ? std::optional<Key>(stroke->key) : std::nullopt;
}
}  // namespace

TEST(KeyInput, WindowKeysMapToTheBooksKeysAndNothingElse) {
  EXPECT_EQ(keyOf(kRight), Key::Right);
  EXPECT_EQ(keyOf(kLeft), Key::Left);
  EXPECT_EQ(keyOf(kPageDown), Key::PageDown);
  EXPECT_EQ(keyOf(kPageUp), Key::PageUp);
  EXPECT_EQ(keyOf(kSpace), Key::Space);
  EXPECT_EQ(keyOf(kHome), Key::Home);
  EXPECT_EQ(keyOf(kEscape), Key::Escape);
  EXPECT_EQ(keyOf('m', kScancodeM), Key::M);
  EXPECT_EQ(keyOf('n', kScancodeN), Key::N);
  // Reserved and window keys are not the book's.
  for (std::int32_t other : {std::int32_t('h'), std::int32_t('r'), std::int32_t('q'), kF11})
    EXPECT_FALSE(keyOf(other)) << other;
  // Shift and Num Lock change nothing; chords are someone else's.
  EXPECT_EQ(keyOf('m', kScancodeM, kShift | kNumLock), Key::M);
  for (std::uint16_t chord : {kCtrl, kAlt, kGui}) {
    EXPECT_FALSE(keyOf(kRight, 0, chord)) << chord;
    EXPECT_FALSE(keyOf('m', kScancodeM, chord)) << chord;
  }
  auto repeated = KeyInput::fromWindowKey(kRight, 0, 0, true);
  ASSERT_TRUE(repeated);
  EXPECT_TRUE(repeated->repeat);
}

TEST(KeyInput, LettersFollowTheLayoutOrTheirPlaceOnANonLatinOne) {
  // Russian layout: the M and N keys type Cyrillic letters; their places count.
  EXPECT_EQ(keyOf(kCyrillicSoftSign, kScancodeM), Key::M);
  EXPECT_EQ(keyOf(0x442, kScancodeN), Key::N);
  // A Latin layout that puts another letter on the M key's place: the letter counts.
  EXPECT_FALSE(keyOf('v', kScancodeM));
  EXPECT_EQ(keyOf('m', kScancodeV), Key::M);
  EXPECT_FALSE(keyOf(kCyrillicSoftSign, kScancodeV));
}

TEST(KeyInput, NamesRoundTripAndUnknownNamesAreRefused) {
  ASSERT_EQ(KeyInput::allKeys().size(), 9u);
  for (Key key : KeyInput::allKeys()) EXPECT_EQ(KeyInput::keyNamed(KeyInput::nameOf(key)), key);
  for (const char* bad : {"", "right", "Ctrl+Q", "F11", "H", "R", "Page Down", "M "})
    EXPECT_FALSE(KeyInput::keyNamed(bad)) << bad;
}

TEST(KeyInput, WheelCountsNotchesTowardsTheReaderAsPositive) {
  EXPECT_EQ(KeyInput::notchesFromWindowWheel(-1, false), 1);
  EXPECT_EQ(KeyInput::notchesFromWindowWheel(3, false), -3);
  EXPECT_EQ(KeyInput::notchesFromWindowWheel(-1, true), -1);
  EXPECT_EQ(KeyInput::notchesFromWindowWheel(2, true), 2);
}

TEST(KeyInput, StrokesAndNotchesReachTheirListenersOnly) {
  KeyInput& input = KeyInput::shared();
  input.press({Key::M, false});  // no listener yet: nothing happens
  std::vector<KeyStroke> strokes;
  std::vector<int> rolls;
  input.setKeyHandler([&](const KeyStroke& s) { strokes.push_back(s); });
  input.setWheelHandler([&](int n) { rolls.push_back(n); });
  input.press({Key::Home, false});
  input.press({Key::Right, true});
  input.roll(0);
  input.roll(-2);
  input.setKeyHandler(nullptr);
  input.setWheelHandler(nullptr);
  input.press({Key::N, false});
  input.roll(1);
  EXPECT_EQ(strokes, (std::vector<KeyStroke>{{Key::Home, false}, {Key::Right, true}}));
  EXPECT_EQ(rolls, std::vector<int>{-2});
}
