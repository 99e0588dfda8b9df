#pragma once
#include <GLES/gl.h>

#include <optional>
#include <string>

#include "CC3Identifiable.h"
#include "CC3Texture.h"
#include "ccTypes.h"

class CC3NodeDrawingVisitor;

// How a mesh's surface looks: four lighting colours, shininess, blending with
// what is drawn already, and an optional texture. Opaque exactly when the
// blend is (GL_ONE, GL_ZERO), which decides the draw group of its nodes.
class CC3Material : public CC3Identifiable {
 public:
  static Ptr<CC3Material> material();
  static Ptr<CC3Material> materialWithTag(GLuint tag);
  static Ptr<CC3Material> materialWithName(std::optional<std::string> name);
  static Ptr<CC3Material> materialWithTag(GLuint tag, std::optional<std::string> name);
  // White specular highlights with shininess 75; shinyWhite also has a white diffuse colour.
  static Ptr<CC3Material> shiny();
  static Ptr<CC3Material> shinyWhite();

  using CC3Identifiable::initWithTag;
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;
  CC3TagFamily tagFamily() const override { return CC3TagFamily::Material; }
  static GLuint nextMaterialTag() { return nextTagInFamily(CC3TagFamily::Material); }
  static void resetMaterialTagAllocation() { resetTagAllocation(CC3TagFamily::Material); }

  // Blend factors given to every material made from now on.
  static GLenum defaultSourceBlend() { return defaultSourceBlend_; }
  static void setDefaultSourceBlend(GLenum blend) { defaultSourceBlend_ = blend; }
  static GLenum defaultDestinationBlend() { return defaultDestinationBlend_; }
  static void setDefaultDestinationBlend(GLenum blend) { defaultDestinationBlend_ = blend; }

  CC3Texture* texture() const { return texture_.get(); }
  void setTexture(CC3Texture* texture);

  ccColor4F ambientColor() const { return ambientColor_; }
  void setAmbientColor(ccColor4F color);
  ccColor4F diffuseColor() const { return diffuseColor_; }
  void setDiffuseColor(ccColor4F color);
  ccColor4F specularColor() const { return specularColor_; }
  void setSpecularColor(ccColor4F color);
  ccColor4F emissionColor() const { return emissionColor_; }
  void setEmissionColor(ccColor4F color);
  GLfloat shininess() const { return shininess_; }
  void setShininess(GLfloat shininess) { shininess_ = shininess; }

  GLenum sourceBlend() const { return sourceBlend_; }
  void setSourceBlend(GLenum blend);
  GLenum destinationBlend() const { return destinationBlend_; }
  void setDestinationBlend(GLenum blend);
  bool isOpaque() const { return isOpaque_; }
  // Opaque: (GL_ONE, GL_ZERO). Translucent: alpha blending, with GL_ONE as
  // source for a premultiplied-alpha texture shown at full opacity.
  void setIsOpaque(bool opaque);

  // Diffuse alpha as 0..255. Below 255 the material also turns translucent.
  GLubyte opacity() const;
  void setOpacity(GLubyte opacity);
  // Diffuse red, green and blue as bytes; setting changes ambient and diffuse.
  ccColor3B color() const;
  void setColor(ccColor3B color);

  // Applies blend, colours and texture, unless this material was applied last.
  void draw();
  void applyBlend();
  void applyColors();
  void drawTexture();
  // Blending off, the switching cache forgotten, texturing off.
  static void unbind();
  static void resetSwitching();
  // Whether applying this material would change anything this pass; notes it as applied.
  bool switchingMaterial();

  void populateFrom(const CC3Identifiable* another) override;
  std::string fullDescription() const;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3Material(); }

 private:
  void checkIsOpaque() { isOpaque_ = sourceBlend_ == GL_ONE && destinationBlend_ == GL_ZERO; }
  void setAlphas(GLfloat alpha);

  static inline GLenum defaultSourceBlend_ = GL_ONE;
  static inline GLenum defaultDestinationBlend_ = GL_ZERO;
  static inline GLuint lastAppliedTag_ = 0;

  Ptr<CC3Texture> texture_;
  ccColor4F ambientColor_{0.2f, 0.2f, 0.2f, 1.0f};
  ccColor4F diffuseColor_{0.8f, 0.8f, 0.8f, 1.0f};
  ccColor4F specularColor_{0.0f, 0.0f, 0.0f, 1.0f};
  ccColor4F emissionColor_{0.0f, 0.0f, 0.0f, 1.0f};
  GLfloat shininess_ = 0;
  GLenum sourceBlend_ = GL_ONE;
  GLenum destinationBlend_ = GL_ZERO;
  bool isOpaque_ = true;
};

// "GL_SRC_ALPHA" and the like for blend factors.
std::string NSStringFromBlendFactor(GLenum factor);
