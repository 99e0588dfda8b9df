#pragma once
#include <functional>
#include <optional>

#include "lumoNavigatorStrip.h"

// The page navigator: a strip of every page over the dimmed page, opened by
// its button or a key. While it is open it takes every touch and key: a tap on
// a page, or Enter on the marked one, closes it and asks for that page; a tap
// outside the strip, Escape or the opening key close it; drags, the wheel and
// the arrow keys move along the strip. Input is in picture pixels.
class lumoPageNavigator {
 public:
  enum class Key { Left, Right, Enter, Close };

  struct Hooks {
    std::function<void(int page)> jump;  // a page other than the one on stage was chosen
    std::function<void()> changed;       // opened, closed, scrolled or marked: redraw
  };
  explicit lumoPageNavigator(Hooks hooks) : hooks_(std::move(hooks)) {}

  // A touch that ends within this distance of where it began is a tap, as on the book.
  static constexpr float kTapSlop = 30;

  void open(int pageCount, int pageOnStage);
  void close();
  bool isOpen() const { return strip_.has_value(); }
  // The strip while open.
  const lumoNavigatorStrip* strip() const { return strip_ ? &*strip_ : nullptr; }

  // Each answers whether the navigator took the input (always, while open).
  bool touchBegan(float x, float y);
  bool touchMoved(float x, float y);
  bool touchEnded(float x, float y);
  bool touchCancelled();
  bool keyPressed(Key key);
  bool wheel(int notches);

 private:
  void choose(int page);
  void changed() const;

  Hooks hooks_;
  std::optional<lumoNavigatorStrip> strip_;
  int pageOnStage_ = 0;
  struct Touch {
    float startX, startY, lastX;
    bool dragging;
  };
  std::optional<Touch> touch_;
};
