#pragma once
#include <cstdint>
#include <string>

#include "CCNodeController.h"
#include "UIApplication.h"
#include "UIWindow.h"
#include "lumoLayer.h"
#include "lumoWorld.h"

// The book's pages as the program draws them at rest, for a publication:
// each page opened on its own, headless, in one reading language; once its
// turn has settled and its figures and titles stand still, everything in
// front of the page (narration panel, buttons, menus, hints) goes and the
// frame is kept as pageNN.png. Nothing of the reader's own (their stored
// language and place, their recordings) is read or changed.
class EpubPagePictures : public UIApplicationDelegate {
 public:
  // Writes `folder`/page01.png ... for every page of the book read in
  // `language`. Opens the headless display itself. False with one line in
  // `error` when a page could not be drawn or written.
  static bool render(std::int32_t language, const std::string& folder, std::string& error);

  static std::string pictureName(int page);

  void applicationDidFinishLaunching(UIApplication* application) override;
  void applicationWillTerminate(UIApplication* application) override;

 private:
  // A page with moving parts (a glow that never stops) is kept after this long.
  static constexpr int kMostSettlingFrames = 5 * 60;

  void showPage(int page);
  void releaseWorld();
  void onFrame();
  bool atRest() const;
  void clearControls();
  void photograph();

  std::string folder_;
  int pageCount_ = 0;
  int page_ = 0;
  int settlingFrames_ = 0;
  bool cleared_ = false;
  std::string error_;
  Ptr<UIWindow> window_;
  Ptr<CCNodeController> viewController_;
  Ptr<lumoLayer> layer_;
  Ptr<lumoWorld> world_;
};
