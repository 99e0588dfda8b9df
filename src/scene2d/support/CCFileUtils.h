#pragma once
#include <string>

// Resource names to bundle paths, with the "-hd" variants of double-resolution screens.
class CCFileUtils {
 public:
  static std::string fullPathFromRelativePath(const std::string& relPath);
  // With a content scale factor of exactly 2, the "-hd" sibling of `path` when
  // that file exists; otherwise `path` unchanged.
  static std::string getDoubleResolutionImage(const std::string& path);
};

// With a content scale factor of 2, `path` without any "-hd" in its last
// component, so that both names share one texture-cache key.
std::string ccRemoveHDSuffixFromFile(const std::string& path);
