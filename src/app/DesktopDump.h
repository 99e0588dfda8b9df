#pragma once
#include <nlohmann/json.hpp>

class KeyCommands;

// The "desktop" section of a state dump: the sound switches and the volumes
// the channels play at, the notice on screen, the window's title, icon and pointer.
nlohmann::json dumpDesktop(const KeyCommands& keys);
