#include "LeakSuppressions.h"
#include "LumoProgram.h"

int main(int argc, char** argv) {
  return runLumoProgram(argc, argv);
}

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
  return kSystemLibraryLeakSuppressions;
}
extern "C" const char* __lsan_default_options() {
  return kLeakSanitizerOptions;
}
#endif
