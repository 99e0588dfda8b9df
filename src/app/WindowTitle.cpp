#include "WindowTitle.h"

#include <vector>

#include "DesktopWindow.h"
#include "KstStory.h"
#include "NSNotificationCenter.h"
#include "NSUserDefaults.h"
#include "lmStageInfo.h"

namespace {
constexpr const char* kLanguageKey = lmStageInfo::kLanguageDefaultsKey;
}  // namespace

Ptr<WindowTitle> WindowTitle::windowTitle() {
  return makeObject<WindowTitle>();
}

WindowTitle::~WindowTitle() {
  NSNotificationCenter::defaultCenter().removeObserver(this);
}

// The book's title in the reading language: the first title of that language,
// else its first title of any (a language other than English reads Russian).
std::string WindowTitle::titleForLanguage(std::int32_t language) {
  const std::int32_t shown =
      language == lmStageInfo::kLangEnglish ? language : lmStageInfo::kLangRussian;
  const std::vector<KstStoryTitle>& titles = kstStoryTitles();
  for (const KstStoryTitle& title : titles)
    if (title.language == shown) return "Lumo Book — " + title.text;
  return titles.empty() ? "Lumo Book" : "Lumo Book — " + titles.front().text;
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
