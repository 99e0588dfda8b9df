#include "UIImage.h"

#include <cstdio>

#include "Log.h"

namespace {
bool readFile(const std::string& path, std::vector<unsigned char>& data) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  bool ok = size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    data.resize(std::size_t(size));
    ok = std::fread(data.data(), 1, data.size(), file) == data.size();
  }
  std::fclose(file);
  return ok;
}
}  // namespace

Ptr<UIImage> UIImage::imageWithContentsOfFile(const std::string& path) {
  std::vector<unsigned char> data;
  if (!readFile(path, data)) {
    // Asked for again at every visit of its page: said once.
    logWarningOnce("image:" + path, "cannot read image file " + path);
    return nullptr;
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
