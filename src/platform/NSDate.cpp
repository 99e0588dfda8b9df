#include "NSDate.h"

#include "Clock.h"

NSDate NSDate::date() {
  return NSDate{Clock::current().seconds()};
}
