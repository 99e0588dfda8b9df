#pragma once
#include <cstddef>
#include <utility>

// Owning reference over an object's intrusive count. Constructing from a raw
// pointer retains; `adopt` takes over a reference the caller already holds.
template <class T>
class Ptr {
 public:
  Ptr() = default;
  Ptr(std::nullptr_t) {}
  Ptr(T* object) : object_(object) {
    if (object_) object_->retain();
  }
  Ptr(const Ptr& other) : Ptr(other.object_) {}
  Ptr(Ptr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  template <class U>
  Ptr(const Ptr<U>& other) : Ptr(static_cast<T*>(other.get())) {}
  template <class U>
  Ptr(Ptr<U>&& other) noexcept : object_(static_cast<T*>(other.leak())) {}
  ~Ptr() { reset(); }

  static Ptr adopt(T* object) {
    Ptr p;
    p.object_ = object;
    return p;
  }

  Ptr& operator=(const Ptr& other) {
    Ptr(other).swap(*this);
    return *this;
  }
  Ptr& operator=(Ptr&& other) noexcept {
    Ptr(std::move(other)).swap(*this);
    return *this;
  }
  // Exact-match templates, so that Ptr<Base> = Ptr<Derived> is not ambiguous
  // between the converting constructor and the raw-pointer conversion.
  template <class U>
  Ptr& operator=(const Ptr<U>& other) {
    Ptr(other).swap(*this);
    return *this;
  }
  template <class U>
  Ptr& operator=(Ptr<U>&& other) noexcept {
    Ptr(std::move(other)).swap(*this);
    return *this;
  }
  Ptr& operator=(T* object) {
    Ptr(object).swap(*this);
    return *this;
  }
  Ptr& operator=(std::nullptr_t) {
    reset();
    return *this;
  }

  void reset() {
    if (T* old = std::exchange(object_, nullptr)) old->release();
  }
  // Gives up ownership without releasing; the caller now holds the reference.
  T* leak() { return std::exchange(object_, nullptr); }
  void swap(Ptr& other) noexcept { std::swap(object_, other.object_); }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }
  operator T*() const { return object_; }

 private:
  T* object_ = nullptr;
};

// Creates an object with `new` and adopts its initial reference.
template <class T, class... Args>
Ptr<T> makeObject(Args&&... args) {
  return Ptr<T>::adopt(new T(std::forward<Args>(args)...));
}

template <class T, class U>
Ptr<T> dynamicPtrCast(const Ptr<U>& p) {
  return Ptr<T>(dynamic_cast<T*>(p.get()));
}
