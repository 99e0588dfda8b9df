#pragma once

// Told when the reader leaves the credits screen.
class CreditsViewDelegate {
 public:
  virtual ~CreditsViewDelegate() = default;
  virtual void didClickQuitButton() = 0;
};
