#pragma once
#include <functional>
#include <string>
#include <vector>

#include "CCLabelTTF.h"
#include "CCLayerColor.h"
#include "CCNode.h"
#include "CCSprite.h"
#include "lumoNavigatorStrip.h"

// How the page navigator looks: the page dimmed, a darker band across it and
// on it every page's small picture with its number under it, the marked page
// framed, the number of the page on stage lit. Flat 2D nodes over the book's
// 3D world, on the node the host hook gives (the book's layer); nothing of it
// is there while the navigator is closed, so the book's picture is as before.
class lumoNavigatorView {
 public:
  explicit lumoNavigatorView(std::function<CCNode*()> host) : host_(std::move(host)) {}
  ~lumoNavigatorView() { hide(); }
  lumoNavigatorView(const lumoNavigatorView&) = delete;
  lumoNavigatorView& operator=(const lumoNavigatorView&) = delete;

  // Above the book, below the key notices.
  static constexpr int kZOrder = 900;
  static constexpr GLubyte kDimOpacity = 170;
  static constexpr GLubyte kBandOpacity = 120;
  static constexpr float kFrame = 6;

  // The picture of a page of a book of `pageCount` pages, in the reading
  // language where the page shows a title (the cover and the ending page).
  static std::string thumbFile(int page, int pageCount, bool english);

  // Draws `strip` (built on first use); `pageOnStage` gets the lit number.
  void show(const lumoNavigatorStrip& strip, int pageOnStage, bool english);
  // Takes every node away and lets the pictures go.
  void hide();
  bool isShown() const { return root_ != nullptr; }
  CCNode* root() const { return root_.get(); }

 private:
  void build(const lumoNavigatorStrip& strip, int pageOnStage, bool english);
  void place(const lumoNavigatorStrip& strip);
  // Picture pixels (origin top left) to the host's points (origin bottom left).
  CGPoint toHost(float x, float yFromTop) const;

  std::function<CCNode*()> host_;
  Ptr<CCNode> root_;
  Ptr<CCLayerColor> mark_;
  struct Thumb {
    Ptr<CCNode> picture;  // the page's picture, or a plain box when it is missing
    Ptr<CCLabelTTF> number;
  };
  std::vector<Thumb> thumbs_;
  std::vector<std::string> files_;
  float hostHeight_ = lumoNavigatorStrip::kPictureHeight;
  float hostScale_ = 1;
};
