#include "CommandLine.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "DemoScene.h"
#include "FrameLog.h"
#include "lmReadingPace.h"

namespace {
bool takeValue(int argc, const char* const* argv, int& i, std::string& value, std::string& error) {
  if (i + 1 >= argc) {
    error = std::string(argv[i]) + " needs a value";
    return false;
  }
  value = argv[++i];
  return true;
}

bool parseSamples(const std::string& value, int& samples, std::string& error) {
  char* end = nullptr;
  errno = 0;
  const long n = std::strtol(value.c_str(), &end, 10);
  if (value.empty() || *end != '\0' || n < 0 || n > INT_MAX || errno == ERANGE) {
    error =
        "--msaa needs a whole number of samples per pixel (4 smooths edges, 0 does not), "
        "not \"" +
        value + "\"";
    return false;
  }
  samples = static_cast<int>(n);
  return true;
}
}  // namespace

bool CommandLine::parsePage(const std::string& value, int pageCount, int& page,
                            std::string& error) {
  char* end = nullptr;
  const long n = std::strtol(value.c_str(), &end, 10);
  if (value.empty() || *end != '\0' || n < 1 || n > pageCount) {
    error = "--page needs a page of the book, 1 to " + std::to_string(pageCount) + ", not \"" +
            value + "\"";
    return false;
  }
  page = static_cast<int>(n);
  return true;
}

bool CommandLine::parse(int argc, const char* const* argv, CommandLine& out, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string value;
    if (arg == "--help" || arg == "-h") {
      out.help = true;
    } else if (arg == "--version") {
      out.version = true;
    } else if (arg == "--headless") {
      out.headless = true;
    } else if (arg == "--log-events") {
      out.logEvents = true;
    } else if (arg == "--mute") {
      out.mute = true;
    } else if (arg == "--follow-words") {
      out.followWords = true;
    } else if (arg == "--read-myself") {
      out.readMyself = true;
    } else if (arg == "--auto-play") {
      out.autoPlay = true;
    } else if (arg == "--page") {
      if (!takeValue(argc, argv, i, out.pageText, error)) return false;
    } else if (arg == "--by-sentence") {
      out.bySentence = true;
    } else if (arg == "--pace") {
      if (!takeValue(argc, argv, i, out.pace, error)) return false;
      if (!lmReadingPace::named(out.pace)) {
        error = "--pace is slow, normal or fast, not \"" + out.pace + "\"";
        return false;
      }
    } else if (arg == "--no-own-voices") {
      out.noOwnVoices = true;
    } else if (arg == "--voices-folder") {
      if (!takeValue(argc, argv, i, out.voicesFolder, error)) return false;
    } else if (arg == "--capture-from") {
      if (!takeValue(argc, argv, i, out.captureFrom, error)) return false;
    } else if (arg == "--script") {
      if (!takeValue(argc, argv, i, out.script, error)) return false;
    } else if (arg == "--demo") {
      if (!takeValue(argc, argv, i, out.demo, error)) return false;
      if (!DemoScene::isKnown(out.demo)) {
        error = "unknown demo \"" + out.demo + "\" (known: actions, narration)";
        return false;
      }
    } else if (arg == "--book") {
      if (!takeValue(argc, argv, i, out.book, error)) return false;
    } else if (arg == "--export-book") {
      if (!takeValue(argc, argv, i, out.exportBook, error)) return false;
    } else if (arg == "--export-epub") {
      if (!takeValue(argc, argv, i, out.exportEpub, error)) return false;
    } else if (arg == "--language") {
      if (!takeValue(argc, argv, i, value, error)) return false;
      if (value != "2000" && value != "2001") {
        error = "--language is 2000 (Russian) or 2001 (English), not \"" + value + "\"";
        return false;
      }
      out.language = std::atoi(value.c_str());
    } else if (arg == "--export-content") {
      if (!takeValue(argc, argv, i, out.exportContent, error)) return false;
    } else if (arg == "--frame-log") {
      if (!takeValue(argc, argv, i, out.frameLog, error)) return false;
    } else if (arg == "--frame-log-measure") {
      if (!takeValue(argc, argv, i, out.frameLogMeasure, error)) return false;
      FrameLog::Measure measure;
      if (!FrameLog::measureNamed(out.frameLogMeasure, measure)) {
        error = "--frame-log-measure is wall or cpu, not \"" + out.frameLogMeasure + "\"";
        return false;
      }
    } else if (arg == "--draw-every-frame") {
      out.drawEveryFrame = true;
    } else if (arg == "--msaa") {
      if (!takeValue(argc, argv, i, value, error) || !parseSamples(value, out.msaaSamples, error))
        return false;
    } else if (arg == "--frames") {
      if (!takeValue(argc, argv, i, value, error)) return false;
      char* end = nullptr;
      long n = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || n < 0) {
        error = "--frames needs a whole number of frames, not \"" + value + "\"";
        return false;
      }
      out.frames = n;
    } else {
      error = "unknown option \"" + arg + "\" (see --help)";
      return false;
    }
  }
  if (out.language != 0 && out.exportEpub.empty()) {
    error = "--language goes with --export-epub";
    return false;
  }
  return true;
}

std::string CommandLine::usage() {
  return "usage: lumo-book [options]\n"
         "The picture book \"Ryzhik and the Little Star\" (\"Рыжик и звёздочка\") in a window.\n"
         "\n"
         "Options:\n"
         "  --mute                start with the music and the voices off (not stored)\n"
         "  --follow-words        light each word of a narration as it is read (not stored)\n"
         "  --read-myself         pages wait for the repeat button to read (not stored)\n"
         "  --auto-play           read to me: each page turns by itself after its narration\n"
         "                        (not stored)\n"
         "  --page N              open the book on page N (1 to its page count)\n"
         "  --by-sentence         stop after each sentence until asked for the next (not "
         "stored)\n"
         "  --pace slow|normal|fast   how fast the voices read, at their own pitch (not stored)\n"
         "  --voices-folder DIR   keep and read the reader's own recordings in DIR\n"
         "  --no-own-voices       read with the book's voices this time (recordings kept)\n"
         "  --capture-from FILE   hear a WAV file instead of the microphone, in real time\n"
         "  --headless            render off screen with virtual time and silent audio\n"
         "  --script FILE         run scripted input, one command a line: wait, down, move,\n"
         "                        up, drag, tap, key, hold, wheel, accel, orientation,\n"
         "                        screenshot, dump, quit (README lists them)\n"
         "  --frames N            stop after N frames\n"
         "  --frame-log FILE      write each frame's number, time and milliseconds of work (CSV)\n"
         "  --frame-log-measure M milliseconds of the main thread's wall clock (wall, the\n"
         "                        default) or of the whole process's processor time (cpu)\n"
         "  --draw-every-frame    draw frames in which nothing changed too (to measure drawing)\n"
         "  --msaa N              smooth edges with N samples per pixel (4; as many as the GL\n"
         "                        offers at most); 0, the default, draws without\n"
         "  --log-events          print notifications, sounds and page settles with their time\n"
         "  --demo NAME           show an engine demonstration instead of the book\n"
         "                        (actions: a moving, fading square; narration: page 2 read "
         "aloud)\n"
         "  --book DIR            read the book folder DIR instead of the built-in book\n"
         "                        (docs/BOOK-FORMAT.md)\n"
         "  --export-book DIR     write the book as a book folder DIR and stop\n"
         "  --export-epub FILE    write the book as an EPUB 3 read-aloud book FILE and stop\n"
         "  --language 2000|2001  the EPUB's reading language: 2000 Russian (the default),\n"
         "                        2001 English\n"
         "  --export-content DIR  write the book's texts and layout for the asset tools\n"
         "  --version             print the version\n"
         "  --help                print this help\n"
         "\n"
         "In the window:\n"
         "  drag up or down       turn the page (mouse or finger); click or tap a figure to\n"
         "                        hear it speak\n"
         "  Right, Page Down, Space   next page; the mouse wheel rolled down does the same\n"
         "  Left, Page Up         previous page; the wheel rolled up does the same\n"
         "  Home                  back to the cover, as the home button (where it is shown)\n"
         "  Escape                close the credits page or the page navigator, or cancel a\n"
         "                        recording\n"
         "  G                     the page navigator: every page at a glance, tap one to go\n"
         "                        there (Left and Right move along it); G or Escape closes it\n"
         "  Enter                 in the page navigator: go to the framed page\n"
         "  A                     read to me: turn each page after its narration, or not\n"
         "  M                     music and page sounds off or on\n"
         "  N                     narration and dialogue off or on (they still run unheard)\n"
         "  H                     light each word of a narration as it is read, or not\n"
         "  R                     read by myself: pages wait for the repeat button, or not\n"
         "  S                     sentence by sentence: a tap on the panel or Enter reads\n"
         "                        the next one, or the whole page at once again\n"
         "  Enter                 the next sentence, when reading sentence by sentence\n"
         "  Minus, Plus           the voices read slower or faster (three paces)\n"
         "  tap a word            hear that word again, when no narration is playing\n"
         "  V                     record the page's narration in your own voice (after a\n"
         "                        3-2-1); V again ends it, Escape cancels it\n"
         "  Shift+V twice         remove the page's own recording (the book's voice again)\n"
         "  F11                   full screen on or off\n"
         "  Ctrl+R                turn the device between landscape left and right\n"
         "  Ctrl+Q                quit\n"
         "The sound switches, the reading aids, the pace, the reading language and the\n"
         "page last read (offered on the cover to continue) are kept in\n"
         "$XDG_CONFIG_HOME/lumo-book/defaults.json (~/.config/lumo-book/ by default), your\n"
         "own recordings in $XDG_DATA_HOME/lumo-book/voices (~/.local/share/lumo-book/voices).\n";
}
