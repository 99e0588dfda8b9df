#include "LumoProgram.h"

#include <cstdio>
#include <iostream>

#include <filesystem>
#include <set>

#include "AVAudioPlayer.h"
#include "AudioCapture.h"
#include "CCDirector.h"
#include "CCSharedServices.h"
#include "CommandLine.h"
#include "DesktopDump.h"
#include "DesktopWindow.h"
#include "EventLog.h"
#include "FrameLog.h"
#include "FreedMemory.h"
#include "HomeFolders.h"
#include "KeyCommands.h"
#include "KstBookExport.h"
#include "KstBookFile.h"
#include "KstContentExport.h"
#include "KstEpubExport.h"
#include "KstSound.h"
#include "Log.h"
#include "MobClick.h"
#include "NSAutoreleasePool.h"
#include "NSBundle.h"
#include "NSNotificationCenter.h"
#include "NSPathUtilities.h"
#include "NSUserDefaults.h"
#include "PanelDump.h"
#include "PlatformHost.h"
#include "ProgramNames.h"
#include "ReadingSwitches.h"
#include "ScriptRunner.h"
#include "SoundSwitches.h"
#include "StateDump.h"
#include "UIAccelerometer.h"
#include "UIApplication.h"
#include "UIDevice.h"
#include "WindowTitle.h"
#include "lmOwnVoices.h"
#include "lmStageInfo.h"
#include "lumoAppDelegate.h"
#include "lumoServices.h"

namespace {
// The book's names on the desktop: its command, folders and log lines, and its window.
const ProgramNames kBookNames{"lumo-book", "Lumo Book"};

void fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kBookNames.command.c_str(), message.c_str());
}

void registerDumpSections() {
  StateDump::shared().addSection("director", dumpDirector);
  StateDump::shared().addSection("pendingCalls", dumpPendingCalls);
  StateDump::shared().addSection("scene", dumpScene);
  StateDump::shared().addSection("sound", dumpSound);
  StateDump::shared().addSection("process", dumpProcess);
  StateDump::shared().addSection("views", dumpViews);
}

void logNotifications() {
  NSNotificationCenter::defaultCenter().setTap([](const NSNotification& note) {
    std::string line = note.name();
    for (const auto& [key, value] : note.userInfo().items())
      line += " " + key + "=" + describeValue(value);
    EventLog::log("notification", line);
  });
}

void wireScript(ScriptRunner& script, PlatformHost& host) {
  script.onScreenshot = [&host](const std::string& path) {
    std::string error;
    if (!host.saveScreenshot(path, error)) logMessage(LogLevel::Error, "screenshot: " + error);
  };
  script.onDump = [](const std::string& path) {
    std::string error;
    if (!StateDump::shared().writeTo(path, error)) logMessage(LogLevel::Error, "dump: " + error);
  };
  script.onQuit = [&host] { host.quit(0); };
  // A headless script ends the run when it has nothing left to do.
  if (host.isHeadless()) script.onFinished = [&host] { host.quit(0); };
  host.setFrameHook([&script] { script.onFrame(); });
}

// A book folder replaces the built-in book before anything reads it; its
// pictures and recordings are found before the program's own resources.
bool openBookFolder(const CommandLine& options, std::string& error) {
  if (options.book.empty()) return true;
  KstStoryBook book;
  if (!KstBookFile::readFolder(options.book, book, error)) return false;
  // The book's own files come from its folder alone, the optional ones too.
  std::set<std::string> owned;
  for (const std::string& file : kstBookFiles(book)) owned.insert(file.substr(file.find('/') + 1));
  kstOpenBook(std::move(book));
  const std::filesystem::path folder(options.book);
  NSBundle::mainBundle().setOwnedResources({(folder / KstBookFile::kPicturesFolder).string(),
                                            (folder / KstBookFile::kRecordingsFolder).string()},
                                           std::move(owned));
  return true;
}

// The reader's own recordings: beside the program's documents folder unless
// another folder is given; a WAV file may stand in for the microphone.
void setUpOwnVoices(const CommandLine& options) {
  std::string folder = options.voicesFolder;
  if (folder.empty()) {
    const auto documents =
        NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true);
    if (!documents.empty())
      folder = (std::filesystem::path(documents.front()).parent_path() / "voices").string();
  }
  lmOwnVoices::shared().setFolder(folder);
  lmOwnVoices::shared().setHeard(!options.noOwnVoices);
  AudioCapture::shared().setStandInFile(options.captureFrom);
}

// The folders the preferences, the records and the own recordings go to: when
// none can be written the reader hears so once, not once from every store.
void checkHomeFolders() {
  const auto documents =
      NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true);
  HomeFolders::check({std::filesystem::path(NSUserDefaults::defaultPath()).parent_path().string(),
                      MobClick::stateFolder(),
                      documents.empty() ? std::string() : documents.front()});
}

void decorateWindow() {
  const std::string icon = NSBundle::mainBundle().pathForResource("icon/lumo-book-128", "png");
  if (!icon.empty()) DesktopWindow::shared().setIconFromFile(icon);
}

// The objects that live as long as the process; everything else must be gone
// once the book has closed and the engine's shared services are purged.
std::int64_t processLifetimeObjects() {
  UIApplication::sharedApplication();
  UIDevice::currentDevice();
  UIAccelerometer::sharedAccelerometer();
  KstSound::shared();
  return NSObject::liveObjectCount();
}

// The engine's own leak check: an object still alive here was retained once
// more than it was released.
void checkObjectsAtExit(std::int64_t processLifetime) {
  CCSharedServices::purgeAll();
  const std::int64_t left = NSObject::liveObjectCount() - processLifetime;
  EventLog::log("exit", "live objects " + std::to_string(left));
  if (left != 0)
    logMessage(LogLevel::Warning, std::to_string(left) + " engine objects still alive at exit");
}

// Runs the book until the window closes. Everything made for the reading,
// the key commands and their notice included, is gone when this returns.
int readBook(PlatformHost& host, const CommandLine& options) {
  auto delegate = makeObject<lumoAppDelegate>();
  delegate->setDemo(options.demo);
  delegate->setOpeningPage(options.page);
  delegate->setSamples(options.msaaSamples);
  lumoAppDelegate* book = delegate.get();
  StateDump::shared().addSection("book", [book] { return dumpBook(book->cc3World()); });
  StateDump::shared().addSection("world", [book] { return dumpWorld(book->cc3World()); });
  StateDump::shared().addSection("navigator", [book] { return dumpNavigator(book->cc3World()); });
  StateDump::shared().addSection("panel", [book] { return dumpPanel(book->cc3World()); });
  KeyCommands keys(KeyCommands::hooksFor(book));
  keys.listen();
  StateDump::shared().addSection("desktop",
                                 [&keys, book] { return dumpDesktop(keys, book->cc3World()); });
  const int status = host.run(delegate.get());
  if (!FrameLog::shared().close()) logMessage(LogLevel::Error, "the frame log is incomplete");
  host.setFrameHook(nullptr);
  lumoServices::stopReading();
  UIApplication::sharedApplication().setDelegate(nullptr);
  delegate = nullptr;
  NSAutoreleasePool::current().drain();
  return status;
}
}  // namespace

int runLumoProgram(int argc, const char* const* argv) {
  ProgramNames::set(kBookNames);
  FreedMemory::limitHeaps();
  CommandLine options;
  std::string error;
  if (!CommandLine::parse(argc, argv, options, error)) {
    fail(error);
    return 2;
  }
  if (options.help) {
    std::cout << CommandLine::usage();
    return 0;
  }
  if (options.version) {
    std::cout << kBookNames.command << " " << LUMO_VERSION << "\n";
    return 0;
  }
  if (!openBookFolder(options, error) ||
      (!options.pageText.empty() &&
       !CommandLine::parsePage(options.pageText, static_cast<int>(kstStoryPages().size()),
                               options.page, error))) {
    fail(error);
    return 2;
  }
  if (!options.exportContent.empty()) return exportBookContent(options.exportContent) ? 0 : 1;
  if (!options.exportBook.empty()) {
    if (exportBookFolder(options.exportBook, error)) return 0;
    fail(error);
    return 1;
  }

  ScriptRunner script;
  if (!options.script.empty() && !script.load(options.script, error)) {
    fail(options.script + ": " + error);
    return 2;
  }
  if (!NSBundle::mainBundle().hasAnyFolder()) {
    std::string looked;
    for (const auto& path : NSBundle::mainBundle().searchPaths())
      looked += (looked.empty() ? "" : ", ") + path;
    fail("no assets folder found (looked in " + looked + "; set LUMO_ASSETS)");
    return 2;
  }
  if (!options.exportEpub.empty()) {
    const int language = options.language != 0 ? options.language : lmStageInfo::kLangRussian;
    if (exportEpub(options.exportEpub, language, error)) return 0;
    fail(error);
    return 1;
  }

  PlatformHost& host = PlatformHost::shared();
  if (!host.open({options.headless, options.frames}, error)) {
    fail(error);
    return 2;
  }
  FrameLog::Measure measure = FrameLog::Measure::Wall;
  FrameLog::measureNamed(options.frameLogMeasure, measure);
  if (!options.frameLog.empty() && !FrameLog::shared().open(options.frameLog, measure, error)) {
    fail(error);
    return 2;
  }
  CCDirector::setSkipsUnchangedFrames(!options.drawEveryFrame);
  EventLog::setEnabled(options.logEvents);
  if (options.logEvents) logNotifications();
  registerDumpSections();
  if (!options.script.empty()) wireScript(script, host);

  // Headless runs play sounds for their real length in virtual time, silently.
  AVAudioPlayer::setUseVirtualBackend(options.headless);
  checkHomeFolders();
  SoundSwitches::restore(options.mute);
  ReadingSwitches::restore(options.followWords, options.readMyself, options.autoPlay,
                           options.bySentence, lmReadingPace::named(options.pace));
  setUpOwnVoices(options);
  decorateWindow();
  auto title = WindowTitle::windowTitle();
  title->start();
  const std::int64_t processLifetime = processLifetimeObjects();
  const int status = readBook(host, options);
  checkObjectsAtExit(processLifetime);
  return status;
}
