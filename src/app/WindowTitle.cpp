#include "WindowTitle.h"

#include "DesktopWindow.h"
#include "NSNotificationCenter.h"
#include "NSUserDefaults.h"
#include "lmStageInfo.h"

namespace {
constexpr const char* kLanguageKey = "Lan";
}  // namespace

Ptr<WindowTitle> WindowTitle::windowTitle() {
  return makeObject<WindowTitle>();
}

WindowTitle::~WindowTitle() {
  NSNotificationCenter::defaultCenter().removeObserver(this);
}

std::string WindowTitle::titleForLanguage(std::int32_t language) {
  if (language == lmStageInfo::kLangEnglish) return "Lumo Book — Ryzhik and the Little Star";
  return "Lumo Book — Рыжик и звёздочка";
}

void WindowTitle::start() {
  NSNotificationCenter::defaultCenter().addObserver(this, SELECTOR(WindowTitle::defaultsDidChange),
                                                    NSUserDefaultsDidChangeNotification, nullptr);
  defaultsDidChange(nullptr);
}

void WindowTitle::defaultsDidChange(NSNotification*) {
  const long language = NSUserDefaults::standardUserDefaults().integerForKey(kLanguageKey);
  const std::string title = titleForLanguage(static_cast<std::int32_t>(language));
  if (title != DesktopWindow::shared().title()) DesktopWindow::shared().setTitle(title);
}
