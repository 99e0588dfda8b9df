#pragma once
#include <nlohmann/json.hpp>

class lumoWorld;

// The "panel" section of a state dump: the narration panel's words where they
// are seen, in the picture pixels a script's `tap` takes, and its sentences
// as runs of those words (both empty when no panel is shown).
nlohmann::json dumpPanel(lumoWorld* world);
