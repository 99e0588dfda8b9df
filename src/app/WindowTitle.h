#pragma once
#include <cstdint>
#include <string>

#include "NSObject.h"

class NSNotification;

// The window's title: "Lumo Book" and the book's own title in the reading
// language, kept current when the stored language ("Lan") changes.
class WindowTitle : public NSObject {
 public:
  static Ptr<WindowTitle> windowTitle();
  ~WindowTitle() override;

  std::string className() const override { return "WindowTitle"; }

  // Language 2001 reads English, anything else the Russian default.
  static std::string titleForLanguage(std::int32_t language);

  // Sets the title and follows the stored language from now on.
  void start();
  void defaultsDidChange(NSNotification* notification);
};
