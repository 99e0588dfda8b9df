#include "UIAlertView.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "CairoBitmap.h"
#include "Log.h"
#include "NSNotificationCenter.h"
#include "UIDevice.h"
#include "UIWindow.h"

namespace {
// Shown alerts, each holding one reference to itself until dismissed.
std::vector<UIAlertView*>& shownAlerts() {
  static std::vector<UIAlertView*> alerts;
  return alerts;
}
}  // namespace

UIAlertView::UIAlertView() : UIView(CGRectMake(0, 0, kWidth, kHeight)) {}

UIAlertView::~UIAlertView() {
  NSNotificationCenter::defaultCenter().removeObserver(this);
}

bool UIAlertView::initWithTitle(const std::string& title, const std::string& message,
                                UIAlertViewDelegate* delegate, const std::string& cancelButtonTitle,
                                const std::vector<std::string>& otherButtonTitles) {
  title_ = title;
  message_ = message;
  delegate_ = delegate;
  buttons_.clear();
  cancelIndex_ = -1;
  if (!cancelButtonTitle.empty()) {
    cancelIndex_ = 0;
    buttons_.push_back(cancelButtonTitle);
  }
  for (const auto& other : otherButtonTitles)
    if (!other.empty()) buttons_.push_back(other);
  setBackgroundColor(UIColor{0.1f, 0.15f, 0.3f, 0.9f});
  setNeedsDisplay();
  return true;
}

std::string UIAlertView::buttonTitleAtIndex(int index) const {
  return index >= 0 && index < numberOfButtons() ? buttons_[static_cast<std::size_t>(index)]
                                                 : std::string();
}

void UIAlertView::show() {
  if (visible_) return;
  visible_ = true;
  retain();
  shownAlerts().push_back(this);
  if (UIWindow* window = UIWindow::keyWindow()) {
    CGRect area = window->bounds();
    setFrame(CGRectMake(area.origin.x + (area.size.width - kWidth) / 2,
                        area.origin.y + (area.size.height - kHeight) / 2, kWidth, kHeight));
    window->addSubview(this);
  }
  turnUpright();
  NSNotificationCenter::defaultCenter().addObserver(
      this, SELECTOR(UIAlertView::orientationDidChange), UIDeviceOrientationDidChangeNotification,
      nullptr);
  logMessage(LogLevel::Info, "alert: " + title_ + (message_.empty() ? "" : " - " + message_));
}

void UIAlertView::dismissWithClickedButtonIndex(int buttonIndex, bool) {
  if (!visible_) return;
  visible_ = false;
  auto& alerts = shownAlerts();
  alerts.erase(std::remove(alerts.begin(), alerts.end(), this), alerts.end());
  NSNotificationCenter::defaultCenter().removeObserver(this);
  removeFromSuperview();
  // The reference taken by show() goes to the pool: the delegate may drop its
  // own last reference while the alert is still in use.
  autorelease();
  if (delegate_) delegate_->alertView(this, buttonIndex);
}

int UIAlertView::buttonIndexAtPoint(CGPoint point) const {
  const CGSize size = frame().size;
  if (buttons_.empty() || point.x < 0 || point.x >= size.width || point.y >= size.height ||
      point.y < size.height - kButtonHeight)
    return -1;
  const float width = size.width / static_cast<float>(buttons_.size());
  return std::min(static_cast<int>(point.x / width), numberOfButtons() - 1);
}

void UIAlertView::touchesEnded(const UITouchSet& touches, UIEvent*) {
  for (UITouch* touch : touches) {
    int index = buttonIndexAtPoint(touch->locationInView(this));
    if (index >= 0) {
      dismissWithClickedButtonIndex(index, true);
      return;
    }
  }
}

std::vector<UIAlertView*> UIAlertView::visibleAlerts() {
  return shownAlerts();
}

void UIAlertView::orientationDidChange(NSNotification*) {
  turnUpright();
}

void UIAlertView::turnUpright() {
  // The screen is the portrait tablet's; turn against the way it is held.
  switch (UIDevice::currentDevice().heldOrientation()) {
    case UIDeviceOrientationPortraitUpsideDown:
      setRotation(float(M_PI));
      break;
    case UIDeviceOrientationLandscapeLeft:
      setRotation(float(M_PI / 2));
      break;
    case UIDeviceOrientationLandscapeRight:
      setRotation(float(-M_PI / 2));
      break;
    default:
      setRotation(0);
      break;
  }
}

namespace {
// One line or a wrapped paragraph of white text, centred in `width` from (0, y).
double drawCentred(cairo_t* cr, const std::string& text, double size, bool bold, double y, double x,
                   double width) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, "DejaVu Sans");
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
  pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_width(layout, int(width * PANGO_SCALE));
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
  pango_layout_set_text(layout, text.c_str(), int(text.size()));
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout, &w, &h);
  g_object_unref(layout);
  return h;
}
}  // namespace

const UIViewBitmap* UIAlertView::contents() {
  if (drawnVersion_ == contentsVersion()) return &bitmap_;
  drawnVersion_ = contentsVersion();
  const int w = int(frame().size.width), h = int(frame().size.height);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  const double margin = 16;
  double y = 14;
  y += drawCentred(cr, title_, 17, true, y, margin, w - 2 * margin) + 8;
  drawCentred(cr, message_, 14, false, y, margin, w - 2 * margin);
  const double row = h - kButtonHeight;
  cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
  cairo_rectangle(cr, 0, row, w, 1);
  const double buttonWidth = buttons_.empty() ? w : double(w) / double(buttons_.size());
  for (std::size_t i = 1; i < buttons_.size(); ++i)
    cairo_rectangle(cr, std::round(buttonWidth * double(i)), row, 1, kButtonHeight);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    drawCentred(cr, buttons_[i], 16, int(i) == cancelIndex_, row + 12, buttonWidth * double(i),
                buttonWidth);
  cairo_destroy(cr);
  CairoBitmap::copySurface(surface, bitmap_);
  cairo_surface_destroy(surface);
  return &bitmap_;
}
