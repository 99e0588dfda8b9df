#pragma once
#include <array>
#include <cstring>
#include <string>
#include <type_traits>

class NSObject;

// A member function of some NSObject subclass, called on a target given at
// call time. Two selectors compare equal when they name the same member.
template <class... Args>
class Selector {
 public:
  Selector() = default;

  template <class T>
  Selector(void (T::*method)(Args...), const char* name = "") : name_(name) {
    static_assert(std::is_base_of_v<NSObject, T>, "selectors name members of engine objects");
    static_assert(sizeof(method) <= sizeof(Key), "member pointer too large");
    std::memcpy(key_.data(), &method, sizeof(method));
    invoke_ = [](const Key& key, NSObject* target, Args... args) {
      void (T::*m)(Args...);
      std::memcpy(&m, key.data(), sizeof(m));
      (static_cast<T*>(target)->*m)(args...);
    };
  }

  void operator()(NSObject* target, Args... args) const { invoke_(key_, target, args...); }
  explicit operator bool() const { return invoke_ != nullptr; }
  bool operator==(const Selector& other) const {
    return invoke_ == other.invoke_ && key_ == other.key_;
  }
  bool operator!=(const Selector& other) const { return !(*this == other); }
  const std::string& name() const { return name_; }

 private:
  using Key = std::array<unsigned char, 2 * sizeof(void*)>;
  Key key_{};
  void (*invoke_)(const Key&, NSObject*, Args...) = nullptr;
  std::string name_;
};

template <class T, class... Args>
Selector<Args...> makeSelector(void (T::*method)(Args...), const char* name = "") {
  return Selector<Args...>(method, name);
}

// SELECTOR(CCDirector::mainLoop) -> a selector named "CCDirector::mainLoop".
#define SELECTOR(member) makeSelector(&member, #member)
