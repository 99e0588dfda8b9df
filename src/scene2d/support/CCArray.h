#pragma once
#include <cstddef>
#include <vector>

#include "NSObject.h"

// Growable ordered array of retained objects (children lists). Capacity
// doubles when full; removal keeps the order of the rest.
class CCArray : public NSObject {
 public:
  static Ptr<CCArray> array();
  static Ptr<CCArray> arrayWithCapacity(std::size_t capacity);
  explicit CCArray(std::size_t capacity = 2);
  ~CCArray() override;

  std::size_t count() const { return data_.size(); }
  std::size_t capacity() const { return data_.capacity(); }
  NSObject* objectAtIndex(std::size_t index) const;
  NSObject* lastObject() const { return data_.empty() ? nullptr : data_.back(); }
  bool containsObject(const NSObject* object) const;
  // The index of `object`, or kNotFound.
  std::size_t indexOfObject(const NSObject* object) const;

  void addObject(NSObject* object);
  void insertObject(NSObject* object, std::size_t index);
  void removeObject(NSObject* object);
  void removeObjectAtIndex(std::size_t index);
  void removeAllObjects();

  void makeObjectsPerformSelector(Selector<> sel) {
    for (NSObject* o : data_) sel(o);
  }

  // Fast enumeration.
  NSObject* const* begin() const { return data_.data(); }
  NSObject* const* end() const { return data_.data() + data_.size(); }

  static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

 private:
  void ensureRoom();
  std::vector<NSObject*> data_;  // retained
};
