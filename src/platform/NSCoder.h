#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "NSObject.h"

class NSCoder;

// Objects that can be written to and read back from a keyed archive. A class
// also needs a default constructor and registration with the unarchiver
// (NSKeyedUnarchiver::registerClass<T>()) to be read back.
class NSCoding {
 public:
  virtual ~NSCoding() = default;
  virtual void encodeWithCoder(NSCoder& coder) const = 0;
  // False when the values found do not make a valid object: the whole archive
  // then reads as nothing.
  virtual bool initWithCoder(NSCoder& coder) = 0;
};

// Keyed values of one object in an archive. The archiver implements the
// encode half and the unarchiver the decode half; calling the other half is
// a programming error. Missing keys decode as false, 0, "" or null; a value of
// the wrong kind marks the archive as corrupt.
class NSCoder {
 public:
  virtual ~NSCoder() = default;

  virtual void encodeBool(bool value, const std::string& key);
  virtual void encodeInteger(std::int64_t value, const std::string& key);
  // Non-finite values cannot be archived and read back as 0.
  virtual void encodeDouble(double value, const std::string& key);
  virtual void encodeString(const std::string& value, const std::string& key);
  // Null, or an object implementing NSCoding. An object reached twice is
  // stored once and read back as one shared object; a cycle cannot be archived.
  virtual void encodeObject(NSObject* object, const std::string& key);
  virtual void encodeArray(const std::vector<Ptr<NSObject>>& objects, const std::string& key);
  virtual void encodeStringArray(const std::vector<std::string>& strings, const std::string& key);

  virtual bool containsValueForKey(const std::string& key) const;
  virtual bool decodeBoolForKey(const std::string& key);
  virtual std::int64_t decodeIntegerForKey(const std::string& key);
  virtual double decodeDoubleForKey(const std::string& key);
  virtual std::string decodeStringForKey(const std::string& key);
  virtual Ptr<NSObject> decodeObjectForKey(const std::string& key);
  virtual std::vector<Ptr<NSObject>> decodeArrayForKey(const std::string& key);
  virtual std::vector<std::string> decodeStringArrayForKey(const std::string& key);

  // The object of `key` when it is a T, else null.
  template <class T>
  Ptr<T> decodeObjectOfClass(const std::string& key) {
    return dynamicPtrCast<T>(decodeObjectForKey(key));
  }
};
