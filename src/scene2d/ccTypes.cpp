#include "ccTypes.h"

float __ccContentScaleFactor = 1.0f;
