#include "LumoProgram.h"

int main(int argc, char** argv) { return runLumoProgram(argc, argv); }

#if defined(__SANITIZE_ADDRESS__)
// Leaks inside system libraries (GL driver, D-Bus, fonts, SDL) are not ours;
// a sanitizer build of the program should not fail on them.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libEGL\nleak:libEGL_mesa\nleak:libGLESv1_CM\nleak:libGLX\nleak:libgallium\n"
         "leak:swrast_dri\nleak:libglapi\nleak:libLLVM\nleak:libfontconfig\nleak:libpango\n"
         "leak:libcairo\nleak:libharfbuzz\nleak:libglib\nleak:libgobject\nleak:libSDL2\n"
         "leak:libdbus\nleak:libX11\nleak:libxcb\nleak:libpulse\nleak:libasound\n";
}
#endif
