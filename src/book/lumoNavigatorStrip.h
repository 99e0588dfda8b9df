#pragma once
#include <optional>

// A rectangle of the picture, in the picture's pixels with the origin at the
// top left: the coordinates scripts tap and dumps report.
struct lumoPictureRect {
  float left = 0, top = 0, width = 0, height = 0;
  bool contains(float x, float y) const {
    return x >= left && x < left + width && y >= top && y < top + height;
  }
  bool operator==(const lumoPictureRect&) const = default;
};

// Where the page navigator's small pictures of the pages stand: one row
// across the middle of the picture, scrolled sideways when it is wider than
// the picture, one page marked. Pure geometry, in picture pixels.
class lumoNavigatorStrip {
 public:
  // The pictures are drawn pixel for pixel (tools/make_thumbs.py makes them this size).
  static constexpr float kThumbWidth = 224, kThumbHeight = 168;
  static constexpr float kGap = 24;
  // Room at each end of the row, and above and below it, that still belongs to the strip.
  static constexpr float kMargin = 40;
  // Under each picture its page number.
  static constexpr float kNumberHeight = 36;
  static constexpr float kPictureWidth = 1024, kPictureHeight = 768;
  // One wheel notch moves the row by one picture and its gap.
  static constexpr float kNotch = kThumbWidth + kGap;

  // `marked` starts marked and, where the row allows, in the middle.
  lumoNavigatorStrip(int pageCount, int marked);

  int pageCount() const { return pageCount_; }
  int markedPage() const { return marked_; }
  // Marks `page` (kept within the book) and scrolls just enough to show it whole.
  void markPage(int page);
  // The arrow keys: the mark moves by `pages`, the row follows it.
  void moveMark(int pages) { markPage(marked_ + pages); }

  // How far the row is moved to the left, 0 to maxScroll().
  float scroll() const { return scroll_; }
  float maxScroll() const;
  bool fits() const { return maxScroll() <= 0; }
  // A drag of `dx` pixels carries the row with the finger; positive is to the right.
  void dragBy(float dx) { scrollTo(scroll_ - dx); }
  // Wheel notches, positive down (towards the reader): the row moves on to later pages.
  void wheel(int notches) { scrollTo(scroll_ + static_cast<float>(notches) * kNotch); }
  void scrollTo(float scroll);

  // Where page `page`'s picture stands now, whether on the picture or not.
  lumoPictureRect thumbRect(int page) const;
  // The part of it on the picture, or nothing when it is scrolled out of sight.
  std::optional<lumoPictureRect> visibleThumbRect(int page) const;
  // The band across the picture that the strip takes: a tap outside it closes the navigator.
  lumoPictureRect band() const;
  // The page whose picture is shown at (x, y), or nothing (a gap, the margins, outside).
  std::optional<int> pageAt(float x, float y) const;

 private:
  float rowWidth() const;
  float rowTop() const;

  int pageCount_;
  int marked_;
  float scroll_ = 0;
};
