#include "CCConfiguration.h"

#include <GLES/glext.h>

#include <sstream>

#include "Assert.h"
#include "GLMultisample.h"
#include "UIDevice.h"

namespace {
CCConfiguration* gShared = nullptr;
}

CCConfiguration* CCConfiguration::sharedConfiguration() {
  if (!gShared) new CCConfiguration();
  return gShared;
}

void CCConfiguration::purgeSharedConfiguration() {
  if (gShared) gShared->release();
}

unsigned CCConfiguration::encodeOSVersion(const std::string& version) {
  unsigned parts[3] = {0, 0, 0};
  std::stringstream in(version);
  std::string item;
  for (int i = 0; i < 3 && std::getline(in, item, '.'); ++i)
    parts[i] = unsigned(std::strtoul(item.c_str(), nullptr, 10));
  return (parts[0] << 24) | (parts[1] << 16) | (parts[2] << 8);
}

CCConfiguration::CCConfiguration() {
  CCAssert(gShared == nullptr, "Attempted to allocate a second instance of a singleton.");
  gShared = this;
  OSVersion_ = encodeOSVersion(UIDevice::currentDevice().systemVersion());
  const GLubyte* extensions = glGetString(GL_EXTENSIONS);
  extensions_ = extensions ? reinterpret_cast<const char*>(extensions) : "";
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize_);
  glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &maxModelviewStackDepth_);
  if (OSVersion_ >= 0x04000000) maxSamplesAllowed_ = ccglMaxSamples();
  supportsPVRTC_ = checkForGLExtension("GL_IMG_texture_compression_pvrtc");
  supportsNPOT_ = checkForGLExtension("GL_APPLE_texture_2D_limited_npot");
  supportsBGRA8888_ = checkForGLExtension("GL_IMG_texture_format_BGRA8888") ||
                      checkForGLExtension("GL_APPLE_texture_format_BGRA8888");
  supportsDiscardFramebuffer_ = checkForGLExtension("GL_EXT_discard_framebuffer");
}

CCConfiguration::~CCConfiguration() {
  if (gShared == this) gShared = nullptr;
}

bool CCConfiguration::checkForGLExtension(const std::string& name) const {
  std::size_t start = 0;
  while (start <= extensions_.size()) {
    std::size_t end = extensions_.find(' ', start);
    if (end == std::string::npos) end = extensions_.size();
    if (extensions_.compare(start, end - start, name) == 0 && end - start == name.size())
      return true;
    start = end + 1;
  }
  return false;
}
