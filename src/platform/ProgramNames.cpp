#include "ProgramNames.h"

#include <cerrno>

namespace {
ProgramNames& names() {
  static ProgramNames shared{program_invocation_short_name, program_invocation_short_name};
  return shared;
}
}  // namespace

void ProgramNames::set(ProgramNames given) {
  names() = std::move(given);
}

const ProgramNames& ProgramNames::current() {
  return names();
}
