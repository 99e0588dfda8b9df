// The same compilation with a public platform header must succeed, so the
// failing twin fails for the include, not for the command.
#include "EAGLContext.h"

int main() {
  return 0;
}
