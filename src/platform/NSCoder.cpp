#include "NSCoder.h"

#include "Assert.h"

namespace {
[[noreturn]] void wrongDirection(const char* operation) {
  failAssertion("this coder cannot do that: it only encodes or only decodes", operation,
                ASSERTION_SOURCE_LABEL, __LINE__);
}
}  // namespace

void NSCoder::encodeBool(bool, const std::string&) {
  wrongDirection(__func__);
}
void NSCoder::encodeInteger(std::int64_t, const std::string&) {
  wrongDirection(__func__);
}
void NSCoder::encodeDouble(double, const std::string&) {
  wrongDirection(__func__);
}
void NSCoder::encodeString(const std::string&, const std::string&) {
  wrongDirection(__func__);
}
void NSCoder::encodeObject(NSObject*, const std::string&) {
  wrongDirection(__func__);
}
void NSCoder::encodeArray(const std::vector<Ptr<NSObject>>&, const std::string&) {
  wrongDirection(__func__);
}
void NSCoder::encodeStringArray(const std::vector<std::string>&, const std::string&) {
  wrongDirection(__func__);
}
bool NSCoder::containsValueForKey(const std::string&) const {
  wrongDirection(__func__);
}
bool NSCoder::decodeBoolForKey(const std::string&) {
  wrongDirection(__func__);
}
std::int64_t NSCoder::decodeIntegerForKey(const std::string&) {
  wrongDirection(__func__);
}
double NSCoder::decodeDoubleForKey(const std::string&) {
  wrongDirection(__func__);
}
std::string NSCoder::decodeStringForKey(const std::string&) {
  wrongDirection(__func__);
}
Ptr<NSObject> NSCoder::decodeObjectForKey(const std::string&) {
  wrongDirection(__func__);
}
std::vector<Ptr<NSObject>> NSCoder::decodeArrayForKey(const std::string&) {
  wrongDirection(__func__);
}
std::vector<std::string> NSCoder::decodeStringArrayForKey(const std::string&) {
  wrongDirection(__func__);
}
