#include "lumoNavigatorView.h"

#include <cstdio>

#include "CCTextureCache.h"
#include "Log.h"

namespace {
constexpr const char* kFont = "ArialRoundedMTBold";
constexpr float kNumberSize = 24;
// The mark and the lit number: the warm amber of the words lit in the panel.
constexpr ccColor3B kAmber{255, 196, 64};
constexpr ccColor3B kWhite{255, 255, 255};
constexpr ccColor4B kMissingPicture{90, 90, 90, 255};
}  // namespace

std::string lumoNavigatorView::thumbFile(int page, int pageCount, bool english) {
  char name[32];
  std::snprintf(name, sizeof name, "thumbs/page%02d%s.png", page, english ? "_en" : "");
  if (!english) return name;
  // Only the pages with a title have a picture of their own in English.
  return page == 1 || page == pageCount ? name : thumbFile(page, pageCount, false);
}

CGPoint lumoNavigatorView::toHost(float x, float yFromTop) const {
  return CGPointMake(x * hostScale_, hostHeight_ - yFromTop * hostScale_);
}

void lumoNavigatorView::show(const lumoNavigatorStrip& strip, int pageOnStage, bool english) {
  if (!root_) build(strip, pageOnStage, english);
  if (root_) place(strip);
}

void lumoNavigatorView::build(const lumoNavigatorStrip& strip, int pageOnStage, bool english) {
  CCNode* host = host_ ? host_() : nullptr;
  if (!host) return;
  const CGSize area = host->contentSize();
  // The host is the picture, at whatever scale its points have.
  hostScale_ = area.width > 0 ? area.width / lumoNavigatorStrip::kPictureWidth : 1;
  hostHeight_ = area.height > 0 ? area.height : lumoNavigatorStrip::kPictureHeight;
  root_ = CCNode::node();
  root_->setContentSize(area);
  root_->addChild(
      CCLayerColor::layerWithColor(ccc4(0, 0, 0, kDimOpacity), area.width, area.height).get());
  const lumoPictureRect band = strip.band();
  auto bandBox = CCLayerColor::layerWithColor(ccc4(0, 0, 0, kBandOpacity), band.width * hostScale_,
                                              band.height * hostScale_);
  bandBox->setPosition(toHost(band.left, band.top + band.height));
  root_->addChild(bandBox.get());
  mark_ =
      CCLayerColor::layerWithColor(ccc4(kAmber.r, kAmber.g, kAmber.b, 255),
                                   (lumoNavigatorStrip::kThumbWidth + 2 * kFrame) * hostScale_,
                                   (lumoNavigatorStrip::kThumbHeight + 2 * kFrame) * hostScale_);
  root_->addChild(mark_.get());

  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  for (int page = 1; page <= strip.pageCount(); ++page) {
    Thumb thumb;
    const std::string file = thumbFile(page, strip.pageCount(), english);
    Ptr<CCTexture2D> texture = cache->addImage(file);
    if (texture) {
      auto sprite = CCSprite::spriteWithTexture(texture.get());
      sprite->setScale(hostScale_);
      thumb.picture = sprite;
      files_.push_back(file);
    } else {
      logWarningOnce("thumb:" + file, "the navigator has no picture " + file);
      auto box = CCLayerColor::layerWithColor(kMissingPicture,
                                              lumoNavigatorStrip::kThumbWidth * hostScale_,
                                              lumoNavigatorStrip::kThumbHeight * hostScale_);
      // Placed by its middle, as the pictures are.
      box->setIsRelativeAnchorPoint(true);
      box->setAnchorPoint(CGPointMake(0.5f, 0.5f));
      thumb.picture = box;
    }
    root_->addChild(thumb.picture.get());
    thumb.number = CCLabelTTF::labelWithString(std::to_string(page), kFont, kNumberSize);
    if (thumb.number) {
      thumb.number->setColor(page == pageOnStage ? kAmber : kWhite);
      thumb.number->setScale(hostScale_);
      root_->addChild(thumb.number.get());
    }
    thumbs_.push_back(std::move(thumb));
  }
  host->addChild(root_.get(), kZOrder);
}

void lumoNavigatorView::place(const lumoNavigatorStrip& strip) {
  using Strip = lumoNavigatorStrip;
  for (int page = 1; page <= static_cast<int>(thumbs_.size()); ++page) {
    const Thumb& thumb = thumbs_[static_cast<std::size_t>(page - 1)];
    const lumoPictureRect at = strip.thumbRect(page);
    // Pages out of sight draw nothing.
    const bool seen = strip.visibleThumbRect(page).has_value();
    thumb.picture->setVisible(seen);
    thumb.picture->setPosition(toHost(at.left + at.width / 2, at.top + at.height / 2));
    if (thumb.number) {
      thumb.number->setVisible(seen);
      thumb.number->setPosition(
          toHost(at.left + at.width / 2, at.top + at.height + Strip::kNumberHeight / 2));
    }
  }
  const lumoPictureRect marked = strip.thumbRect(strip.markedPage());
  mark_->setPosition(toHost(marked.left - kFrame, marked.top + marked.height + kFrame));
}

void lumoNavigatorView::hide() {
  if (!root_) return;
  if (root_->parent()) root_->removeFromParentAndCleanup(true);
  root_ = nullptr;
  mark_ = nullptr;
  thumbs_.clear();
  // The pictures are wanted only while the strip shows.
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  for (const std::string& file : files_) cache->removeUnusedTextureForKey(file);
  files_.clear();
}
