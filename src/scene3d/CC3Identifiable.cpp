#include "CC3Identifiable.h"

#include <array>
#include <atomic>

namespace {

constexpr std::size_t kFamilyCount = 7;
std::array<GLuint, kFamilyCount> tagCounters{};
std::atomic<std::int64_t> liveIdentifiables{0};

}  // namespace

CC3Identifiable::~CC3Identifiable() {
  if (counted_) --liveIdentifiables;
}

bool CC3Identifiable::init() {
  return initWithName(std::nullopt);
}

bool CC3Identifiable::initWithTag(GLuint tag) {
  return initWithTag(tag, std::nullopt);
}

bool CC3Identifiable::initWithName(std::optional<std::string> name) {
  return initWithTag(nextTag(), std::move(name));
}

bool CC3Identifiable::initWithTag(GLuint tag, std::optional<std::string> name) {
  tag_ = tag;
  name_ = std::move(name);
  // An object initialised twice is still one instance.
  if (!counted_) {
    counted_ = true;
    ++liveIdentifiables;
  }
  return true;
}

GLuint CC3Identifiable::nextTagInFamily(CC3TagFamily family) {
  return ++tagCounters[static_cast<std::size_t>(family)];
}

void CC3Identifiable::resetTagAllocation(CC3TagFamily family) {
  tagCounters[static_cast<std::size_t>(family)] = 0;
}

std::int64_t CC3Identifiable::instanceCount() {
  return liveIdentifiables;
}

Ptr<CC3Identifiable> CC3Identifiable::copyWithName(std::optional<std::string> name) const {
  return Ptr<CC3Identifiable>::adopt(copyWithZone(nullptr, std::move(name)));
}

CC3Identifiable* CC3Identifiable::copyWithZone(NSZone*, std::optional<std::string> name) const {
  CC3Identifiable* aCopy = newInstance();
  aCopy->initWithName(std::move(name));
  aCopy->populateFrom(this);
  return aCopy;
}

void CC3Identifiable::populateFrom(const CC3Identifiable*) {}

std::string CC3Identifiable::description() const {
  return className() + " " + CC3NameOrUnnamed(name_) + "-" + std::to_string(tag_);
}

std::string CC3NameOrUnnamed(const std::optional<std::string>& name) {
  return name ? *name : std::string("Unnamed");
}
