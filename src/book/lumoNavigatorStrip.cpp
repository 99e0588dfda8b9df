#include "lumoNavigatorStrip.h"

#include <algorithm>

lumoNavigatorStrip::lumoNavigatorStrip(int pageCount, int marked)
    : pageCount_(std::max(pageCount, 1)), marked_(std::clamp(marked, 1, pageCount_)) {
  // The marked page in the middle, as far as the row's ends allow.
  const lumoPictureRect at = thumbRect(marked_);
  scrollTo(at.left + at.width / 2 - kPictureWidth / 2);
}

float lumoNavigatorStrip::rowWidth() const {
  return 2 * kMargin + static_cast<float>(pageCount_) * kThumbWidth +
         static_cast<float>(pageCount_ - 1) * kGap;
}

float lumoNavigatorStrip::maxScroll() const {
  return std::max(0.0f, rowWidth() - kPictureWidth);
}

float lumoNavigatorStrip::rowTop() const {
  return (kPictureHeight - kThumbHeight - kNumberHeight) / 2;
}

void lumoNavigatorStrip::scrollTo(float scroll) {
  scroll_ = std::clamp(scroll, 0.0f, maxScroll());
}

void lumoNavigatorStrip::markPage(int page) {
  marked_ = std::clamp(page, 1, pageCount_);
  const lumoPictureRect at = thumbRect(marked_);
  if (at.left < kMargin) {
    scrollTo(scroll_ - (kMargin - at.left));
  } else if (at.left + at.width > kPictureWidth - kMargin) {
    scrollTo(scroll_ + (at.left + at.width - (kPictureWidth - kMargin)));
  }
}

lumoPictureRect lumoNavigatorStrip::thumbRect(int page) const {
  // A row narrower than the picture stands in its middle.
  const float start = fits() ? (kPictureWidth - rowWidth()) / 2 : -scroll_;
  const float left = start + kMargin + static_cast<float>(page - 1) * (kThumbWidth + kGap);
  return {left, rowTop(), kThumbWidth, kThumbHeight};
}

std::optional<lumoPictureRect> lumoNavigatorStrip::visibleThumbRect(int page) const {
  if (page < 1 || page > pageCount_) return std::nullopt;
  const lumoPictureRect at = thumbRect(page);
  const float left = std::max(at.left, 0.0f);
  const float right = std::min(at.left + at.width, kPictureWidth);
  if (right <= left) return std::nullopt;
  return lumoPictureRect{left, at.top, right - left, at.height};
}

lumoPictureRect lumoNavigatorStrip::band() const {
  const float top = rowTop() - kMargin;
  return {0, top, kPictureWidth, kThumbHeight + kNumberHeight + 2 * kMargin};
}

std::optional<int> lumoNavigatorStrip::pageAt(float x, float y) const {
  if (x < 0 || x >= kPictureWidth) return std::nullopt;
  for (int page = 1; page <= pageCount_; ++page)
    if (thumbRect(page).contains(x, y)) return page;
  return std::nullopt;
}
