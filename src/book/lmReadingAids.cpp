#include "lmReadingAids.h"

lmReadingAids& lmReadingAids::shared() {
  static lmReadingAids aids;
  return aids;
}
