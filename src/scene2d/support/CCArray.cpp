#include "CCArray.h"

#include <algorithm>

#include "Assert.h"

Ptr<CCArray> CCArray::array() {
  return makeObject<CCArray>();
}

Ptr<CCArray> CCArray::arrayWithCapacity(std::size_t capacity) {
  return makeObject<CCArray>(capacity);
}

CCArray::CCArray(std::size_t capacity) {
  data_.reserve(std::max<std::size_t>(capacity, 1));
}

CCArray::~CCArray() {
  removeAllObjects();
}

NSObject* CCArray::objectAtIndex(std::size_t index) const {
  CCAssert(index < data_.size(), "index out of range in objectAtIndex");
  return data_[index];
}

bool CCArray::containsObject(const NSObject* object) const {
  return indexOfObject(object) != kNotFound;
}

std::size_t CCArray::indexOfObject(const NSObject* object) const {
  auto it = std::find(data_.begin(), data_.end(), object);
  return it == data_.end() ? kNotFound : std::size_t(it - data_.begin());
}

void CCArray::ensureRoom() {
  if (data_.size() == data_.capacity()) data_.reserve(data_.capacity() * 2);
}

void CCArray::addObject(NSObject* object) {
  CCAssert(object != nullptr, "Invalid parameter");
  ensureRoom();
  object->retain();
  data_.push_back(object);
}

void CCArray::insertObject(NSObject* object, std::size_t index) {
  CCAssert(object != nullptr, "Invalid parameter");
  CCAssert(index <= data_.size(), "Invalid index. Out of bounds");
  ensureRoom();
  object->retain();
  data_.insert(data_.begin() + std::ptrdiff_t(index), object);
}

void CCArray::removeObject(NSObject* object) {
  std::size_t index = indexOfObject(object);
  if (index != kNotFound) removeObjectAtIndex(index);
}

void CCArray::removeObjectAtIndex(std::size_t index) {
  CCAssert(index < data_.size(), "index out of range in removeObjectAtIndex");
  NSObject* object = data_[index];
  data_.erase(data_.begin() + std::ptrdiff_t(index));
  object->release();
}

void CCArray::removeAllObjects() {
  // Released from a moved-out list, so a dying object that reaches back into
  // this array finds it already empty.
  std::vector<NSObject*> old;
  old.swap(data_);
  data_.reserve(old.capacity());
  for (NSObject* o : old) o->release();
}
