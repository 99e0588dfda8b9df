#include "UIImage.h"

#include <cstdio>

#include "Log.h"

namespace {
enum class ReadResult { Read, Unreadable, TooLarge };

// A file over the picture file limit is not read at all.
ReadResult readFile(const std::string& path, std::vector<unsigned char>& data, long& size) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return ReadResult::Unreadable;
  size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  ReadResult result = ReadResult::Unreadable;
  if (size >= 0 && !::CGImage::refusalForFileSize(std::size_t(size)).empty()) {
    result = ReadResult::TooLarge;
  } else if (size >= 0 && std::fseek(file, 0, SEEK_SET) == 0) {
    data.resize(std::size_t(size));
    if (std::fread(data.data(), 1, data.size(), file) == data.size()) result = ReadResult::Read;
  }
  std::fclose(file);
  return result;
}
}  // namespace

Ptr<UIImage> UIImage::imageWithContentsOfFile(const std::string& path) {
  std::vector<unsigned char> data;
  long size = 0;
  // Asked for again at every visit of its page: each problem is said once.
  switch (readFile(path, data, size)) {
    case ReadResult::Unreadable:
      logWarningOnce("image:" + path, "cannot read image file " + path);
      return nullptr;
    case ReadResult::TooLarge:
      logWarningOnce("image:" + path,
                     "image " + path + ": " + ::CGImage::refusalForFileSize(std::size_t(size)));
      return nullptr;
    case ReadResult::Read:
      break;
  }
  // The decoder says (once) why it refuses the data.
  return imageWithCGImage(::CGImage::imageWithData(std::move(data), path).get());
}

Ptr<UIImage> UIImage::imageWithCGImage(::CGImage* image) {
  if (!image) return nullptr;
  auto result = Ptr<UIImage>::adopt(new UIImage());
  result->image_ = image;
  return result;
}
