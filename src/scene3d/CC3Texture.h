#pragma once
#include <GLES/gl.h>

#include <optional>
#include <string>

#include "CC3Identifiable.h"
#include "CCTexture2D.h"
#include "CGGeometry.h"

// A 2D-engine texture, shared through the texture cache, as the 3D engine
// binds it: with its own filtering and wrapping and on a chosen texture unit.
class CC3Texture : public CC3Identifiable {
 public:
  // Null when the file cannot be loaded. The name is the file name.
  static Ptr<CC3Texture> textureFromFile(const std::string& fileName);
  static Ptr<CC3Texture> textureWithTag(GLuint tag, const std::string& fileName);
  static Ptr<CC3Texture> textureWithName(std::optional<std::string> name,
                                         const std::string& fileName);
  static Ptr<CC3Texture> textureWithTag(GLuint tag, std::optional<std::string> name,
                                        const std::string& fileName);

  bool initFromFile(const std::string& fileName);
  bool initWithTagFromFile(GLuint tag, const std::string& fileName);
  bool initWithNameFromFile(std::optional<std::string> name, const std::string& fileName);
  bool initWithTagWithNameFromFile(GLuint tag, std::optional<std::string> name,
                                   const std::string& fileName);

  CC3TagFamily tagFamily() const override { return CC3TagFamily::Texture; }
  static GLuint nextTextureTag() { return nextTagInFamily(CC3TagFamily::Texture); }
  static void resetTextureTagAllocation() { resetTagAllocation(CC3TagFamily::Texture); }

  // Asks the shared texture cache for the image; true when a texture is now present.
  bool loadTextureFile(const std::string& fileName);

  CCTexture2D* texture() const { return texture_.get(); }
  void setTexture(CCTexture2D* texture);
  ccTexParams textureParameters() const { return textureParameters_; }
  void setTextureParameters(ccTexParams parameters);
  GLuint textureChannel() const { return textureChannel_; }
  void setTextureChannel(GLuint channel) { textureChannel_ = channel; }

  // The part of the allocated texture the image covers, (maxS, maxT); (0, 0)
  // without a texture.
  CGSize mapSize() const;
  bool hasPremultipliedAlpha() const;

  // Binds the texture to its unit, or unbinds textures when there is none.
  void draw();
  void bindGL();
  // Switches 2D texturing off.
  static void unbind();

  void populateFrom(const CC3Identifiable* another) override;
  std::string description() const override;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3Texture(); }

 private:
  Ptr<CCTexture2D> texture_;
  ccTexParams textureParameters_{GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT};
  GLuint textureChannel_ = 0;
};
