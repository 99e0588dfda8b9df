#include "NSKeyedUnarchiver.h"

#include <cxxabi.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>

#include "Assert.h"
#include "Log.h"
#include "NSData.h"
#include "NSKeyedArchiveFormat.h"

using nlohmann::json;

namespace {
// The archive format is flat; deeper text is not ours, and refusing it keeps
// the parser's and the value tree's recursion bounded.
constexpr int kMaxTextNesting = 32;

std::map<std::string, std::function<Ptr<NSObject>()>>& factories() {
  static std::map<std::string, std::function<Ptr<NSObject>()>> table;
  return table;
}

std::string demangled(const std::type_info& type) {
  int status = 0;
  char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string result = status == 0 && name ? name : type.name();
  std::free(name);
  return result;
}

bool nestingWithin(const std::string& text, int limit) {
  int depth = 0;
  bool inString = false, escaped = false;
  for (char c : text) {
    if (inString) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > limit) return false;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return true;
}
}  // namespace

struct NSKeyedUnarchiver::State {
  enum class Mark { Unread, Reading, Done };
  const json* objects = nullptr;
  std::vector<Mark> marks;
  std::vector<Ptr<NSObject>> decoded;
  std::vector<const json*> values;  // keyed values of the objects being decoded, innermost last
  bool failed = false;
  std::string failure;

  void fail(const std::string& why) {
    if (!failed) failure = why;
    failed = true;
  }
  const json* find(const std::string& key, const char* operation) const {
    if (values.empty())
      failAssertion("decoding outside initWithCoder", operation, ASSERTION_SOURCE_LABEL, __LINE__);
    auto it = values.back()->find(key);
    return it == values.back()->end() ? nullptr : &*it;
  }
  Ptr<NSObject> object(NSKeyedUnarchiver& coder, std::size_t index);
  Ptr<NSObject> reference(NSKeyedUnarchiver& coder, const json& ref);
};

Ptr<NSObject> NSKeyedUnarchiver::State::reference(NSKeyedUnarchiver& coder, const json& ref) {
  if (failed || ref.is_null()) return nullptr;
  auto it = ref.is_object() && ref.size() == 1 ? ref.find(archive_format::kRef) : ref.end();
  if (it == ref.end() || !it->is_number_unsigned() || it->get<std::uint64_t>() >= objects->size()) {
    fail("a reference is malformed or points outside the archive");
    return nullptr;
  }
  return object(coder, static_cast<std::size_t>(it->get<std::uint64_t>()));
}

Ptr<NSObject> NSKeyedUnarchiver::State::object(NSKeyedUnarchiver& coder, std::size_t index) {
  if (marks[index] == Mark::Done) return decoded[index];
  if (marks[index] == Mark::Reading) {
    fail("the archive has a circular reference");
    return nullptr;
  }
  if (values.size() >= static_cast<std::size_t>(kMaxObjectDepth)) {
    fail("the archive nests objects too deeply");
    return nullptr;
  }
  const json& entry = (*objects)[index];
  auto cls = entry.is_object() ? entry.find(archive_format::kClass) : entry.end();
  auto vals = entry.is_object() ? entry.find(archive_format::kValues) : entry.end();
  if (cls == entry.end() || !cls->is_string() || vals == entry.end() || !vals->is_object()) {
    fail("an object entry is malformed");
    return nullptr;
  }
  auto factory = factories().find(cls->get<std::string>());
  if (factory == factories().end()) {
    fail("unknown class " + cls->get<std::string>());
    return nullptr;
  }
  Ptr<NSObject> made = factory->second();
  auto* coding = dynamic_cast<NSCoding*>(made.get());
  marks[index] = Mark::Reading;
  values.push_back(&*vals);
  bool ok = coding && coding->initWithCoder(coder);
  values.pop_back();
  marks[index] = Mark::Done;
  if (!ok) {
    fail("a " + cls->get<std::string>() + " refused its values");
    return nullptr;
  }
  decoded[index] = made;
  return failed ? nullptr : made;
}

NSKeyedUnarchiver::NSKeyedUnarchiver() : state_(std::make_unique<State>()) {}
NSKeyedUnarchiver::~NSKeyedUnarchiver() = default;

void NSKeyedUnarchiver::registerFactory(const std::type_info& type,
                                        std::function<Ptr<NSObject>()> make) {
  factories()[demangled(type)] = std::move(make);
}

Ptr<NSObject> NSKeyedUnarchiver::unarchiveObjectWithData(const std::string& data) {
  auto refuse = [](const std::string& why) {
    logWarningOnce("unarchive:" + why, "cannot read an archive: " + why);
    return Ptr<NSObject>();
  };
  if (data.size() > kMaxArchiveBytes) return refuse("it is too large");
  if (!nestingWithin(data, kMaxTextNesting)) return refuse("it nests too deeply");
  json archive = json::parse(data, nullptr, false);
  if (archive.is_discarded() || !archive.is_object()) return refuse("it is not an archive");
  auto format = archive.find(archive_format::kFormatKey);
  auto version = archive.find(archive_format::kVersionKey);
  auto objects = archive.find(archive_format::kObjects);
  auto root = archive.find(archive_format::kRoot);
  if (format == archive.end() || *format != archive_format::kFormatName ||
      version == archive.end() || *version != archive_format::kVersion ||
      objects == archive.end() || !objects->is_array() || root == archive.end())
    return refuse("it is not an archive");

  NSKeyedUnarchiver coder;
  State& s = *coder.state_;
  s.objects = &*objects;
  s.marks.assign(objects->size(), State::Mark::Unread);
  s.decoded.resize(objects->size());
  Ptr<NSObject> result = s.reference(coder, *root);
  if (s.failed) return refuse(s.failure);
  return result;
}

Ptr<NSObject> NSKeyedUnarchiver::unarchiveObjectWithFile(const std::string& path) {
  auto data = NSData::dataWithContentsOfFile(path, kMaxArchiveBytes);
  if (!data) return nullptr;
  return unarchiveObjectWithData(*data);
}

bool NSKeyedUnarchiver::containsValueForKey(const std::string& key) const {
  return state_->find(key, __func__) != nullptr;
}

bool NSKeyedUnarchiver::decodeBoolForKey(const std::string& key) {
  const json* v = state_->find(key, __func__);
  if (!v) return false;
  if (v->is_boolean()) return v->get<bool>();
  state_->fail("the value of \"" + key + "\" is not a boolean");
  return false;
}

std::int64_t NSKeyedUnarchiver::decodeIntegerForKey(const std::string& key) {
  const json* v = state_->find(key, __func__);
  if (!v) return 0;
  if (v->is_number_integer() && !v->is_number_unsigned()) return v->get<std::int64_t>();
  if (v->is_number_unsigned() && v->get<std::uint64_t>() <= INT64_MAX)
    return static_cast<std::int64_t>(v->get<std::uint64_t>());
  if (v->is_number_float()) {
    double d = v->get<double>();
    // Within the range that converts without overflow (2^63 itself does not).
    if (std::isfinite(d) && d >= -9.2233720368547758e18 && d < 9.2233720368547758e18)
      return static_cast<std::int64_t>(d);
  }
  state_->fail("the value of \"" + key + "\" is not an integer");
  return 0;
}

double NSKeyedUnarchiver::decodeDoubleForKey(const std::string& key) {
  const json* v = state_->find(key, __func__);
  if (!v || v->is_null()) return 0;  // non-finite numbers were written as null
  if (v->is_number()) return v->get<double>();
  state_->fail("the value of \"" + key + "\" is not a number");
  return 0;
}

std::string NSKeyedUnarchiver::decodeStringForKey(const std::string& key) {
  const json* v = state_->find(key, __func__);
  if (!v) return {};
  if (v->is_string()) return v->get<std::string>();
  state_->fail("the value of \"" + key + "\" is not a string");
  return {};
}

Ptr<NSObject> NSKeyedUnarchiver::decodeObjectForKey(const std::string& key) {
  const json* v = state_->find(key, __func__);
  return v ? state_->reference(*this, *v) : nullptr;
}

std::vector<Ptr<NSObject>> NSKeyedUnarchiver::decodeArrayForKey(const std::string& key) {
  const json* v = state_->find(key, __func__);
  std::vector<Ptr<NSObject>> result;
  if (!v) return result;
  if (!v->is_array()) {
    state_->fail("the value of \"" + key + "\" is not an array");
    return result;
  }
  for (const json& ref : *v) {
    result.push_back(state_->reference(*this, ref));
    if (state_->failed) return {};
  }
  return result;
}

std::vector<std::string> NSKeyedUnarchiver::decodeStringArrayForKey(const std::string& key) {
  const json* v = state_->find(key, __func__);
  std::vector<std::string> result;
  if (!v) return result;
  bool ok = v->is_array();
  for (std::size_t i = 0; ok && i < v->size(); ++i) {
    ok = (*v)[i].is_string();
    if (ok) result.push_back((*v)[i].get<std::string>());
  }
  if (!ok) {
    state_->fail("the value of \"" + key + "\" is not an array of strings");
    return {};
  }
  return result;
}
