#pragma once
#include <string>

class CCNode;

// Engine demonstrations shown on the book's layer instead of the book, for
// scripted checks of the engine in the real program (`--demo NAME`).
namespace DemoScene {
bool isKnown(const std::string& name);
// Adds the named demonstration's nodes under `parent`.
void addTo(const std::string& name, CCNode* parent);
}  // namespace DemoScene
