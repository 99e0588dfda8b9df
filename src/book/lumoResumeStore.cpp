#include "lumoResumeStore.h"

#include <charconv>
#include <string>

#include "NSUserDefaults.h"

std::optional<int> lumoResumeStore::storedPage() const {
  const std::optional<std::string> stored =
      NSUserDefaults::standardUserDefaults().stringForKey(kPageKey);
  if (!stored) return std::nullopt;
  int page = 0;
  const char* end = stored->data() + stored->size();
  const auto [at, error] = std::from_chars(stored->data(), end, page);
  // A hand-edited or damaged value is no place to resume at.
  if (error != std::errc() || at != end || !isStoryPage(page)) return std::nullopt;
  return page;
}

void lumoResumeStore::pageSettled(int page, bool byReading) {
  NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
  if (isStoryPage(page)) {
    const std::string value = std::to_string(page);
    // Every change is written through to the disk: not again for the same page.
    // An unwritable file has warned once already; the place stays for the session.
    if (defaults.stringForKey(kPageKey) != value) defaults.setObject(value, kPageKey);
  } else if (byReading && defaults.hasKey(kPageKey)) {
    defaults.removeObjectForKey(kPageKey);
  }
}
