#pragma once
#include <functional>
#include <optional>

// A jump straight to a page (from the page navigator or the cover's continue
// button), made through the turn lock as a turn is. A jump asked for while a
// turn runs is not lost: it is made when that turn has settled, unless the
// turn has brought the reader there already. A later request replaces one
// still waiting.
class lumoPageJump {
 public:
  struct Hooks {
    std::function<bool()> locked;      // a turn runs (or the credits hold the book)
    std::function<int()> pageOnStage;  // the page the reader is on, or turning to
    std::function<void(int page)> go;  // runs the jump now
  };
  explicit lumoPageJump(Hooks hooks) : hooks_(std::move(hooks)) {}

  // Answers whether the jump was made at once.
  bool request(int page);
  // A turn has settled and released the lock: the jump that waited for it is made.
  void settled();
  std::optional<int> waiting() const { return waiting_; }
  // Forgets a waiting jump (the book is closing).
  void forget() { waiting_.reset(); }

 private:
  Hooks hooks_;
  std::optional<int> waiting_;
};
