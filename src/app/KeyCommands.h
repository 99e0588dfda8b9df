#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "BookKeys.h"
#include "KeyInput.h"
#include "ToastNotice.h"
#include "lmReadingPace.h"

class CCNode;
class lumoAppDelegate;
class lumoWorld;

// What the book's keys and the mouse wheel do. Each is another way to do what
// a drag or a tap already does, through the same requests and the same turn
// lock, plus the two sound switches and the three reading aids, whose new
// state shows as a notice. While the page navigator is open the keys and the
// wheel are its own, and nothing else answers them.
class KeyCommands {
 public:
  struct Hooks {
    std::function<lumoWorld*()> world;   // null while no book is shown
    std::function<CCNode*()> layer;      // where notices appear
    std::function<bool()> closeCredits;  // true when a credits screen was open and is closing
    std::function<bool()> creditsShown;  // the credits screen is over the book
  };
  explicit KeyCommands(Hooks hooks);
  // The book, the book's layer and the credits screen of the running program.
  static Hooks hooksFor(lumoAppDelegate* book);

  // Listens to the shared key input (and stops listening when destroyed).
  void listen();
  ~KeyCommands();
  KeyCommands(const KeyCommands&) = delete;
  KeyCommands& operator=(const KeyCommands&) = delete;

  // The keys' names (BookKeys).
  static std::optional<BookKey> keyNamed(const std::string& name) { return BookKeys::named(name); }
  static std::string nameOf(BookKey key) { return BookKeys::nameOf(key); }
  static const std::vector<BookKey>& allKeys() { return BookKeys::all(); }

  // Keys the book does not answer to are ignored.
  void keyPressed(const KeyStroke& press);
  // One turn request per notch; notches arriving during a turn are refused by its lock.
  void wheelRolled(int notches);

  ToastNotice* notice() const { return notice_.get(); }
  // The notice's text for a switch in the world's reading language.
  std::string switchText(bool music, bool on) const;
  std::string readingAidText(bool followWords, bool on) const;
  std::string autoPlayText(bool on) const;
  std::string paceText(lmReadingPace pace) const;
  std::string sentenceText(bool on) const;

 private:
  void turn(int direction);
  void showSwitch(bool music, bool on);
  void switchReadingAid(bool followWords);
  void switchAutoPlay();
  // The open navigator's keys: along the strip, choose, close.
  void navigatorKeyPressed(lumoWorld* world, BookKey key, bool repeat);
  lumoWorld* world() const { return hooks_.world ? hooks_.world() : nullptr; }
  void switchBySentence();
  void changePace(lmReadingPace pace);
  void ownVoiceKey(bool shift);
  bool readsEnglish() const;

  Hooks hooks_;
  Ptr<ToastNotice> notice_;
  bool listening_ = false;
};
