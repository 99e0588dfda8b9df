#pragma once
#include <cstdint>
#include <mutex>
#include <string>

#include "CC3Foundation.h"
#include "NSObject.h"

// One picture layer of a page as its layout line describes it.
class KstSpriteId : public NSObject {
 public:
  static Ptr<KstSpriteId> spriteId();
  bool init() { return true; }

  std::string className() const override { return "KstSpriteId"; }
  std::string description() const override;

  const std::string& identifier() const { return identifier_; }
  void setIdentifier(const std::string& identifier) { identifier_ = identifier; }
  std::int32_t layerId() const { return layerId_; }
  void setLayerId(std::int32_t layerId) { layerId_ = layerId; }
  // The vectors are copied whole under a lock so a reader never sees half of one.
  CC3Vec3 location() const;
  void setLocation(CC3Vec3 location);
  CC3Vec3 rotation() const;
  void setRotation(CC3Vec3 rotation);
  const std::string& path() const { return path_; }
  void setPath(const std::string& path) { path_ = path; }
  float width() const { return width_; }
  void setWidth(float width) { width_ = width; }
  float height() const { return height_; }
  void setHeight(float height) { height_ = height; }
  float widthScale() const { return widthScale_; }
  void setWidthScale(float widthScale) { widthScale_ = widthScale; }
  float heightScale() const { return heightScale_; }
  void setHeightScale(float heightScale) { heightScale_ = heightScale; }

 private:
  std::string identifier_;
  std::int32_t layerId_ = 0;
  CC3Vec3 location_;
  CC3Vec3 rotation_;
  std::string path_;
  float width_ = 0;
  float height_ = 0;
  float widthScale_ = 0;
  float heightScale_ = 0;
  mutable std::mutex vectorLock_;
};
