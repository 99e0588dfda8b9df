#include "FreedMemory.h"

#include <malloc.h>

namespace FreedMemory {
void limitHeaps() {
  mallopt(M_ARENA_MAX, 2);
}

void returnToSystem() {
  malloc_trim(0);
}
}  // namespace FreedMemory
