#pragma once
#include <GLES/gl.h>

#include <cstdint>
#include <string>

// Every GL call the state trackers make goes through these two helpers, so
// that the calls reaching the library can be counted (tests, benchmarks).
struct CC3OpenGLES11Calls {
  static std::uint64_t setCount() { return setCount_; }
  static std::uint64_t queryCount() { return queryCount_; }
  static void resetCounts() { setCount_ = queryCount_ = 0; }

  template <class Function, class... Args>
  static void set(Function function, Args... args) {
    ++setCount_;
    function(args...);
  }
  template <class Function, class... Args>
  static auto query(Function function, Args... args) {
    ++queryCount_;
    return function(args...);
  }

 private:
  static inline std::uint64_t setCount_ = 0;
  static inline std::uint64_t queryCount_ = 0;
};

// "GL_DEPTH_TEST" and the like for the states the engine tracks; others in hex.
std::string NSStringFromGLEnum(GLenum value);
