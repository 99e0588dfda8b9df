#include "NSKeyedArchiver.h"

#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "Assert.h"
#include "Log.h"
#include "NSData.h"
#include "NSKeyedArchiveFormat.h"

using nlohmann::json;

struct NSKeyedArchiver::State {
  json objects = json::array();
  std::map<const NSObject*, std::size_t> uids;
  std::set<const NSObject*> inProgress;
  std::vector<json> values;  // the keyed values of the objects being encoded, innermost last
  bool failed = false;
  std::string failure;

  void fail(const std::string& why) {
    if (!failed) failure = why;
    failed = true;
  }
  json& current(const char* operation) {
    if (values.empty())
      failAssertion("encoding outside encodeWithCoder", operation, ASSERTION_SOURCE_LABEL,
                    __LINE__);
    return values.back();
  }
  json reference(NSKeyedArchiver& archiver, NSObject* object);
};

NSKeyedArchiver::NSKeyedArchiver() : state_(std::make_unique<State>()) {}
NSKeyedArchiver::~NSKeyedArchiver() = default;

// Encodes `object` (once) and answers the reference to it.
json NSKeyedArchiver::State::reference(NSKeyedArchiver& archiver, NSObject* object) {
  State& s = *this;
  if (!object) return nullptr;
  if (s.failed) return nullptr;
  if (auto it = s.uids.find(object); it != s.uids.end()) {
    if (s.inProgress.count(object)) s.fail("the object graph has a cycle");
    return json{{archive_format::kRef, it->second}};
  }
  auto* coding = dynamic_cast<const NSCoding*>(object);
  if (!coding) {
    s.fail(object->className() + " cannot be archived");
    return nullptr;
  }
  const std::size_t uid = s.objects.size();
  s.objects.push_back(nullptr);
  s.uids[object] = uid;
  s.inProgress.insert(object);
  s.values.push_back(json::object());
  coding->encodeWithCoder(archiver);
  s.objects[uid] = json{{archive_format::kClass, object->className()},
                        {archive_format::kValues, std::move(s.values.back())}};
  s.values.pop_back();
  s.inProgress.erase(object);
  return json{{archive_format::kRef, uid}};
}

std::optional<std::string> NSKeyedArchiver::archivedDataWithRootObject(NSObject* root) {
  NSKeyedArchiver archiver;
  State& s = *archiver.state_;
  json rootRef = s.reference(archiver, root);
  if (s.failed) {
    CCLOGWARN("cannot archive: %s", s.failure.c_str());
    return std::nullopt;
  }
  json archive = {{archive_format::kFormatKey, archive_format::kFormatName},
                  {archive_format::kVersionKey, archive_format::kVersion},
                  {archive_format::kRoot, rootRef},
                  {archive_format::kObjects, std::move(s.objects)}};
  try {
    return archive.dump();
  } catch (const json::exception&) {  // a string that is not UTF-8
    CCLOGWARN("cannot archive: a string is not valid UTF-8");
    return std::nullopt;
  }
}

bool NSKeyedArchiver::archiveRootObject(NSObject* root, const std::string& path) {
  auto data = archivedDataWithRootObject(root);
  return data && NSData::writeToFile(*data, path, true);
}

void NSKeyedArchiver::encodeBool(bool value, const std::string& key) {
  state_->current(__func__)[key] = value;
}
void NSKeyedArchiver::encodeInteger(std::int64_t value, const std::string& key) {
  state_->current(__func__)[key] = value;
}
void NSKeyedArchiver::encodeDouble(double value, const std::string& key) {
  state_->current(__func__)[key] = value;
}
void NSKeyedArchiver::encodeString(const std::string& value, const std::string& key) {
  state_->current(__func__)[key] = value;
}
void NSKeyedArchiver::encodeObject(NSObject* object, const std::string& key) {
  state_->current(__func__);
  json ref = state_->reference(*this, object);
  state_->values.back()[key] = std::move(ref);
}
void NSKeyedArchiver::encodeArray(const std::vector<Ptr<NSObject>>& objects,
                                  const std::string& key) {
  state_->current(__func__);
  json list = json::array();
  for (const auto& object : objects) list.push_back(state_->reference(*this, object.get()));
  state_->values.back()[key] = std::move(list);
}
void NSKeyedArchiver::encodeStringArray(const std::vector<std::string>& strings,
                                        const std::string& key) {
  state_->current(__func__)[key] = strings;
}
