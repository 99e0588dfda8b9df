#pragma once
#include <nlohmann/json.hpp>

class KeyCommands;
class lumoWorld;

// The "desktop" section of a state dump: the sound switches and the volumes
// the channels play at, the notice on screen, the window's title, icon and
// pointer, and the reader's recording ("idle", "countdown" or "recording",
// and its seconds), and the samples per pixel the GL view draws with (0:
// no multisampling).
nlohmann::json dumpDesktop(const KeyCommands& keys, const lumoWorld* world);
