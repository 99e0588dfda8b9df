#include "lmReadingPace.h"

namespace {
struct PaceRow {
  lmReadingPace::Value value;
  double tempo;
  const char* name;
};
constexpr PaceRow kPaces[] = {
    {lmReadingPace::kSlow, 0.8, "slow"},
    {lmReadingPace::kNormal, 1.0, "normal"},
    {lmReadingPace::kFast, 1.2, "fast"},
};
}  // namespace

double lmReadingPace::tempo() const {
  return kPaces[value_].tempo;
}

const char* lmReadingPace::name() const {
  return kPaces[value_].name;
}

std::optional<lmReadingPace> lmReadingPace::named(const std::string& name) {
  for (const PaceRow& row : kPaces)
    if (name == row.name) return lmReadingPace(row.value);
  return std::nullopt;
}

lmReadingPace lmReadingPace::slower() const {
  return value_ == kFast ? kNormal : kSlow;
}

lmReadingPace lmReadingPace::faster() const {
  return value_ == kSlow ? kNormal : kFast;
}
