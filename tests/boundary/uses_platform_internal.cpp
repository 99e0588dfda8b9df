// Compiled as a module above the platform would be: this include must fail.
#include "GLDisplay.h"

int main() {
  return 0;
}
