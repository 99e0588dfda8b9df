#include "CC3Material.h"

#include <cstdio>

#include "CC3Foundation.h"
#include "CC3OpenGLES11Engine.h"
#include "DrawRevision.h"

namespace {

// Colours may leave 0..1 (tints, lighting maths); a byte must not wrap.
GLubyte byteFromFloat(GLfloat f) {
  if (!(f > 0.0f)) return 0;
  if (f >= 1.0f) return 255;
  return static_cast<GLubyte>(f * 255.0f);
}

}  // namespace

Ptr<CC3Material> CC3Material::material() {
  return materialWithTag(nextMaterialTag(), std::nullopt);
}

Ptr<CC3Material> CC3Material::materialWithTag(GLuint tag) {
  return materialWithTag(tag, std::nullopt);
}

Ptr<CC3Material> CC3Material::materialWithName(std::optional<std::string> name) {
  return materialWithTag(nextMaterialTag(), std::move(name));
}

Ptr<CC3Material> CC3Material::materialWithTag(GLuint tag, std::optional<std::string> name) {
  auto aMaterial = makeObject<CC3Material>();
  aMaterial->initWithTag(tag, std::move(name));
  return aMaterial;
}

Ptr<CC3Material> CC3Material::shiny() {
  auto aMaterial = material();
  aMaterial->setSpecularColor(kCCC4FWhite);
  aMaterial->setShininess(75.0f);
  return aMaterial;
}

Ptr<CC3Material> CC3Material::shinyWhite() {
  auto aMaterial = shiny();
  aMaterial->setDiffuseColor(kCCC4FWhite);
  return aMaterial;
}

bool CC3Material::initWithTag(GLuint tag, std::optional<std::string> name) {
  if (!CC3Identifiable::initWithTag(tag, std::move(name))) return false;
  sourceBlend_ = defaultSourceBlend_;
  destinationBlend_ = defaultDestinationBlend_;
  checkIsOpaque();
  return true;
}

// A picture swapped on a plane changes the frame like any setter.
void CC3Material::setTexture(CC3Texture* texture) {
  DrawRevision::bump();
  texture_ = texture;
}

// MARK: colours and blending

void CC3Material::setAmbientColor(ccColor4F color) {
  DrawRevision::bump();
  ambientColor_ = color;
  checkIsOpaque();
}

void CC3Material::setDiffuseColor(ccColor4F color) {
  DrawRevision::bump();
  diffuseColor_ = color;
  checkIsOpaque();
}

void CC3Material::setSpecularColor(ccColor4F color) {
  DrawRevision::bump();
  specularColor_ = color;
  checkIsOpaque();
}

void CC3Material::setEmissionColor(ccColor4F color) {
  DrawRevision::bump();
  emissionColor_ = color;
  checkIsOpaque();
}

void CC3Material::setSourceBlend(GLenum blend) {
  DrawRevision::bump();
  sourceBlend_ = blend;
  checkIsOpaque();
}

void CC3Material::setDestinationBlend(GLenum blend) {
  DrawRevision::bump();
  destinationBlend_ = blend;
  checkIsOpaque();
}

void CC3Material::setIsOpaque(bool opaque) {
  DrawRevision::bump();
  if (opaque) {
    sourceBlend_ = GL_ONE;
    destinationBlend_ = GL_ZERO;
  } else {
    // A premultiplied texture already carries its alpha in its colours.
    bool premultiplied = texture_ && texture_->hasPremultipliedAlpha();
    sourceBlend_ = (premultiplied && opacity() == 255) ? GL_ONE : GL_SRC_ALPHA;
    destinationBlend_ = GL_ONE_MINUS_SRC_ALPHA;
  }
  checkIsOpaque();
}

GLubyte CC3Material::opacity() const {
  return byteFromFloat(diffuseColor_.a);
}

void CC3Material::setAlphas(GLfloat alpha) {
  DrawRevision::bump();
  ambientColor_.a = alpha;
  diffuseColor_.a = alpha;
  specularColor_.a = alpha;
  emissionColor_.a = alpha;
}

void CC3Material::setOpacity(GLubyte opacity) {
  DrawRevision::bump();
  setAlphas(CCColorFloatFromByte(opacity));
  if (opacity != 255) setIsOpaque(false);
  checkIsOpaque();
}

ccColor3B CC3Material::color() const {
  return {byteFromFloat(diffuseColor_.r), byteFromFloat(diffuseColor_.g),
          byteFromFloat(diffuseColor_.b)};
}

void CC3Material::setColor(ccColor3B color) {
  DrawRevision::bump();
  GLfloat r = CCColorFloatFromByte(color.r), g = CCColorFloatFromByte(color.g),
          b = CCColorFloatFromByte(color.b);
  ambientColor_ = {r, g, b, ambientColor_.a};
  diffuseColor_ = {r, g, b, diffuseColor_.a};
  checkIsOpaque();
}

// MARK: drawing

bool CC3Material::switchingMaterial() {
  bool switching = tag() != lastAppliedTag_;
  lastAppliedTag_ = tag();
  return switching;
}

void CC3Material::resetSwitching() {
  lastAppliedTag_ = 0;
}

void CC3Material::draw() {
  if (!switchingMaterial()) return;
  applyBlend();
  applyColors();
  drawTexture();
}

void CC3Material::applyBlend() {
  CC3OpenGLES11Engine* gles = CC3OpenGLES11Engine::engine();
  gles->serverCapabilities()->blend()->setValue(!isOpaque_);
  gles->materials()->blend()->applySource(sourceBlend_, destinationBlend_);
}

void CC3Material::applyColors() {
  CC3OpenGLES11Materials* materials = CC3OpenGLES11Engine::engine()->materials();
  materials->ambientColor()->setValue(ambientColor_);
  materials->diffuseColor()->setValue(diffuseColor_);
  materials->specularColor()->setValue(specularColor_);
  materials->emissionColor()->setValue(emissionColor_);
  materials->shininess()->setValue(shininess_);
}

void CC3Material::drawTexture() {
  if (texture_)
    texture_->draw();
  else
    CC3Texture::unbind();
}

void CC3Material::unbind() {
  CC3OpenGLES11Engine::engine()->serverCapabilities()->blend()->disable();
  resetSwitching();
  CC3Texture::unbind();
}

// MARK: copying and descriptions

void CC3Material::populateFrom(const CC3Identifiable* another) {
  CC3Identifiable::populateFrom(another);
  const auto* other = dynamic_cast<const CC3Material*>(another);
  if (!other) return;
  texture_ = other->texture_
                 ? Ptr<CC3Texture>(static_cast<CC3Texture*>(other->texture_->copy().get()))
                 : nullptr;
  ambientColor_ = other->ambientColor_;
  diffuseColor_ = other->diffuseColor_;
  specularColor_ = other->specularColor_;
  emissionColor_ = other->emissionColor_;
  shininess_ = other->shininess_;
  sourceBlend_ = other->sourceBlend_;
  destinationBlend_ = other->destinationBlend_;
  isOpaque_ = other->isOpaque_;
}

std::string CC3Material::fullDescription() const {
  char shininess[32];
  std::snprintf(shininess, sizeof shininess, "%.2f", shininess_);
  return description() + ", ambient: " + NSStringFromCCC4F(ambientColor_) +
         ", diffuse: " + NSStringFromCCC4F(diffuseColor_) +
         ", specular: " + NSStringFromCCC4F(specularColor_) +
         ", emission: " + NSStringFromCCC4F(emissionColor_) + ", shininess: " + shininess +
         ", blend: (" + NSStringFromBlendFactor(sourceBlend_) + ", " +
         NSStringFromBlendFactor(destinationBlend_) + ")";
}

std::string NSStringFromBlendFactor(GLenum factor) {
  switch (factor) {
    case GL_ZERO:
      return "GL_ZERO";
    case GL_ONE:
      return "GL_ONE";
    case GL_SRC_COLOR:
      return "GL_SRC_COLOR";
    case GL_ONE_MINUS_SRC_COLOR:
      return "GL_ONE_MINUS_SRC_COLOR";
    case GL_SRC_ALPHA:
      return "GL_SRC_ALPHA";
    case GL_ONE_MINUS_SRC_ALPHA:
      return "GL_ONE_MINUS_SRC_ALPHA";
    case GL_DST_ALPHA:
      return "GL_DST_ALPHA";
    case GL_ONE_MINUS_DST_ALPHA:
      return "GL_ONE_MINUS_DST_ALPHA";
    case GL_DST_COLOR:
      return "GL_DST_COLOR";
    case GL_ONE_MINUS_DST_COLOR:
      return "GL_ONE_MINUS_DST_COLOR";
    case GL_SRC_ALPHA_SATURATE:
      return "GL_SRC_ALPHA_SATURATE";
    default:
      return NSStringFromGLEnum(factor);
  }
}
