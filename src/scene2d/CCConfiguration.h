#pragma once
#include <GLES/gl.h>

#include <string>

#include "NSObject.h"

// What the GL and the OS offer, read once from the real GL.
class CCConfiguration : public NSObject {
 public:
  static CCConfiguration* sharedConfiguration();
  static void purgeSharedConfiguration();
  CCConfiguration();
  ~CCConfiguration() override;

  bool checkForGLExtension(const std::string& name) const;
  unsigned OSVersion() const { return OSVersion_; }
  GLint maxTextureSize() const { return maxTextureSize_; }
  GLint maxModelviewStackDepth() const { return maxModelviewStackDepth_; }
  GLint maxSamplesAllowed() const { return maxSamplesAllowed_; }
  bool supportsPVRTC() const { return supportsPVRTC_; }
  bool supportsNPOT() const { return supportsNPOT_; }
  bool supportsBGRA8888() const { return supportsBGRA8888_; }
  bool supportsDiscardFramebuffer() const { return supportsDiscardFramebuffer_; }

  // major * 2^24 + minor * 2^16 + patch * 2^8 of a "4.2.1" style version.
  static unsigned encodeOSVersion(const std::string& version);

 private:
  unsigned OSVersion_ = 0;
  GLint maxTextureSize_ = 0;
  GLint maxModelviewStackDepth_ = 0;
  GLint maxSamplesAllowed_ = 0;
  bool supportsPVRTC_ = false;
  bool supportsNPOT_ = false;
  bool supportsBGRA8888_ = false;
  bool supportsDiscardFramebuffer_ = false;
  std::string extensions_;
};
