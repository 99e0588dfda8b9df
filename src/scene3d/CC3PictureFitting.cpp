#include "CC3PictureFitting.h"

#include <cstdlib>
#include <cstring>

namespace {
bool& setting() {
  static bool enabled = [] {
    const char* value = std::getenv("LUMO_PICTURE_FITTING");
    return value && std::strcmp(value, "on") == 0;
  }();
  return enabled;
}
}  // namespace

bool CC3PictureFitting::enabled() {
  return setting();
}

void CC3PictureFitting::setEnabled(bool enabled) {
  setting() = enabled;
}
