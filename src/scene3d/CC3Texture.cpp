#include "CC3Texture.h"

#include "CC3OpenGLES11Engine.h"
#include "CCTextureCache.h"
#include "DrawRevision.h"

namespace {

Ptr<CC3Texture> loaded(Ptr<CC3Texture> texture, bool ok) {
  return ok ? texture : nullptr;
}

}  // namespace

Ptr<CC3Texture> CC3Texture::textureFromFile(const std::string& fileName) {
  auto aTexture = makeObject<CC3Texture>();
  return loaded(aTexture, aTexture->initFromFile(fileName));
}

Ptr<CC3Texture> CC3Texture::textureWithTag(GLuint tag, const std::string& fileName) {
  auto aTexture = makeObject<CC3Texture>();
  return loaded(aTexture, aTexture->initWithTagFromFile(tag, fileName));
}

Ptr<CC3Texture> CC3Texture::textureWithName(std::optional<std::string> name,
                                            const std::string& fileName) {
  auto aTexture = makeObject<CC3Texture>();
  return loaded(aTexture, aTexture->initWithNameFromFile(std::move(name), fileName));
}

Ptr<CC3Texture> CC3Texture::textureWithTag(GLuint tag, std::optional<std::string> name,
                                           const std::string& fileName) {
  auto aTexture = makeObject<CC3Texture>();
  return loaded(aTexture, aTexture->initWithTagWithNameFromFile(tag, std::move(name), fileName));
}

bool CC3Texture::initFromFile(const std::string& fileName) {
  return initWithNameFromFile(fileName, fileName);
}

bool CC3Texture::initWithTagFromFile(GLuint tag, const std::string& fileName) {
  return initWithTagWithNameFromFile(tag, fileName, fileName);
}

bool CC3Texture::initWithNameFromFile(std::optional<std::string> name,
                                      const std::string& fileName) {
  return initWithTagWithNameFromFile(nextTag(), std::move(name), fileName);
}

bool CC3Texture::initWithTagWithNameFromFile(GLuint tag, std::optional<std::string> name,
                                             const std::string& fileName) {
  if (!initWithTag(tag, std::move(name))) return false;
  return loadTextureFile(fileName);
}

bool CC3Texture::loadTextureFile(const std::string& fileName) {
  setTexture(CCTextureCache::sharedTextureCache()->addImage(fileName));
  return texture_ != nullptr;
}

void CC3Texture::setTexture(CCTexture2D* texture) {
  DrawRevision::bump();
  texture_ = texture;
  if (texture_) texture_->setTexParameters(textureParameters_);
}

void CC3Texture::setTextureParameters(ccTexParams parameters) {
  DrawRevision::bump();
  textureParameters_ = parameters;
  if (texture_) texture_->setTexParameters(textureParameters_);
}

CGSize CC3Texture::mapSize() const {
  if (!texture_) return CGSizeZero;
  return CGSizeMake(texture_->maxS(), texture_->maxT());
}

bool CC3Texture::hasPremultipliedAlpha() const {
  return texture_ && texture_->hasPremultipliedAlpha();
}

void CC3Texture::draw() {
  bindGL();
}

void CC3Texture::bindGL() {
  if (!texture_) {
    unbind();
    return;
  }
  CC3OpenGLES11Engine* gles = CC3OpenGLES11Engine::engine();
  gles->serverCapabilities()->texture2D()->enable();
  gles->textures()->activeTexture()->setValue(textureChannel_);
  gles->textures()->clientActiveTexture()->setValue(textureChannel_);
  gles->textures()->textureBinding()->setValue(texture_->name());
}

void CC3Texture::unbind() {
  CC3OpenGLES11Engine::engine()->serverCapabilities()->texture2D()->disable();
}

void CC3Texture::populateFrom(const CC3Identifiable* another) {
  CC3Identifiable::populateFrom(another);
  const auto* other = dynamic_cast<const CC3Texture*>(another);
  if (!other) return;
  textureParameters_ = other->textureParameters_;
  textureChannel_ = other->textureChannel_;
  texture_ = other->texture_;
}

std::string CC3Texture::description() const {
  return CC3Identifiable::description() + " wrapping " +
         (texture_ ? texture_->description() : std::string("no texture"));
}
