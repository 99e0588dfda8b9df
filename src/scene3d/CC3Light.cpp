#include "CC3Light.h"

#include <algorithm>
#include <cstdio>

#include "Assert.h"
#include "CC3OpenGLES11Engine.h"

namespace {

GLuint poolStartIndex = 0;

// Sized once from the platform's light count, on first use. A count of 0
// means GL could not answer (no context yet): asked again next time rather
// than leaving the pool empty for the life of the process.
std::vector<GLubyte>& indexPool() {
  static std::vector<GLubyte> pool;
  if (pool.empty()) {
    GLint maxLights = CC3OpenGLES11Engine::engine()->platform()->maxLights()->value();
    if (maxLights > 0) pool.assign(std::size_t(maxLights), 0);
  }
  return pool;
}

}  // namespace

// MARK: creation

Ptr<CC3Light> CC3Light::node() {
  return nodeWithName(std::nullopt);
}

Ptr<CC3Light> CC3Light::nodeWithTag(GLuint tag) {
  return makeNode<CC3Light>(tag, std::nullopt);
}

Ptr<CC3Light> CC3Light::nodeWithName(std::optional<std::string> name) {
  return makeNode<CC3Light>(nextNodeTag(), std::move(name));
}

Ptr<CC3Light> CC3Light::nodeWithTag(GLuint tag, std::optional<std::string> name) {
  return makeNode<CC3Light>(tag, std::move(name));
}

CC3Light::~CC3Light() {
  if (lightIndex_ == kNoLightIndex) return;
  // Through the light's own tracker: the shared engine may already be gone.
  if (gles11LightCap_) gles11LightCap_->disable();
  std::vector<GLubyte>& pool = indexPool();
  if (lightIndex_ < pool.size()) pool[lightIndex_] = 0;
}

bool CC3Light::initWithTag(GLuint tag, std::optional<std::string> name) {
  if (!CC3TargettingNode::initWithTag(tag, std::move(name))) return false;
  homogeneousLocation_ = kCC3Vec4Zero;
  ambientColor_ = {0, 0, 0, 1};
  diffuseColor_ = {1, 1, 1, 1};
  specularColor_ = {1, 1, 1, 1};
  spotCutoffAngle_ = 180.0f;
  isDirectionalOnly_ = true;
  // A light initialised twice keeps the index it already holds.
  if (lightIndex_ == kNoLightIndex) {
    lightIndex_ = nextLightIndex();
    if (lightIndex_ == kNoLightIndex) return true;
    CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
    gles11Light_ = engine->lighting()->lightAt(lightIndex_);
    gles11LightCap_ = engine->serverCapabilities()->lightAt(lightIndex_);
  }
  return true;
}

void CC3Light::populateFrom(const CC3Identifiable* another) {
  CC3TargettingNode::populateFrom(another);
  const auto* other = dynamic_cast<const CC3Light*>(another);
  if (!other) return;
  // The GL light index and its trackers stay the copy's own.
  homogeneousLocation_ = other->homogeneousLocation_;
  ambientColor_ = other->ambientColor_;
  diffuseColor_ = other->diffuseColor_;
  specularColor_ = other->specularColor_;
  spotCutoffAngle_ = other->spotCutoffAngle_;
  isDirectionalOnly_ = other->isDirectionalOnly_;
}

void CC3Light::setIsDirectionalOnly(bool directionalOnly) {
  isDirectionalOnly_ = directionalOnly;
  DrawRevision::bump();
  homogeneousLocation_.w = directionalOnly ? 0.0f : 1.0f;
}

// MARK: transform

bool CC3Light::isTransformRigid() const {
  return !parent_ || parent_->isTransformRigid();
}

void CC3Light::applyTranslation() {
  CC3TargettingNode::applyTranslation();
  homogeneousLocation_ = CC3Vec4FromCC3Vec3(globalLocation_, isDirectionalOnly_ ? 0.0f : 1.0f);
}

void CC3Light::applyScaling() {
  // A light has no size: its scale never enters its transform.
  globalScale_ = parent_ ? parent_->globalScale() : kCC3Vec3Unit;
}

// MARK: drawing

void CC3Light::turnOn() {
  if (!gles11LightCap_ || !gles11Light_) return;
  if (!visible()) {
    gles11LightCap_->disable();
    return;
  }
  gles11LightCap_->enable();
  applyLocation();
  applyDirection();
  applyColor();
}

void CC3Light::applyLocation() {
  gles11Light_->position()->setValue(homogeneousLocation_);
}

void CC3Light::applyDirection() {
  gles11Light_->spotDirection()->setValue(forwardDirection());
  gles11Light_->spotCutoffAngle()->setValue(spotCutoffAngle_);
}

void CC3Light::applyColor() {
  gles11Light_->ambientColor()->setValue(ambientColor_);
  gles11Light_->diffuseColor()->setValue(diffuseColor_);
  gles11Light_->specularColor()->setValue(specularColor_);
}

// MARK: the light index pool

GLuint CC3Light::lightPoolStartIndex() {
  return poolStartIndex;
}

void CC3Light::setLightPoolStartIndex(GLuint index) {
  poolStartIndex = index;
}

const std::vector<GLubyte>& CC3Light::lightIndexPool() {
  return indexPool();
}

GLuint CC3Light::lightCount() {
  GLuint taken = 0;
  for (GLubyte slot : indexPool()) taken += slot ? 1 : 0;
  return poolStartIndex + taken;
}

void CC3Light::disableReservedLights() {
  CC3OpenGLES11ServerCapabilities* caps = CC3OpenGLES11Engine::engine()->serverCapabilities();
  GLuint reserved = std::min(poolStartIndex, caps->lightCount());
  for (GLuint i = 0; i < reserved; ++i) caps->lightAt(i)->disable();
}

GLuint CC3Light::nextLightIndex() {
  std::vector<GLubyte>& pool = indexPool();
  for (std::size_t i = poolStartIndex; i < pool.size(); ++i) {
    if (!pool[i]) {
      pool[i] = 1;
      return GLuint(i);
    }
  }
  char message[64];
  std::snprintf(message, sizeof message, "Too many lights. Only %u lights may be created.",
                unsigned(pool.size()));
  CCAssert(false, message);
  return kNoLightIndex;
}

void CC3Light::returnLightIndex(GLuint index) {
  std::vector<GLubyte>& pool = indexPool();
  if (index >= pool.size()) return;
  pool[index] = 0;
  CC3OpenGLES11Engine::engine()->serverCapabilities()->lightAt(index)->disable();
}

// MARK: descriptions

std::string CC3Light::fullDescription() {
  char angle[32];
  std::snprintf(angle, sizeof angle, "%.2f", double(spotCutoffAngle_));
  return CC3TargettingNode::fullDescription() +
         ", homoLoc: " + NSStringFromCC3Vec4(homogeneousLocation_) +
         ", ambient: " + NSStringFromCCC4F(ambientColor_) +
         ", diffuse: " + NSStringFromCCC4F(diffuseColor_) +
         ", specular: " + NSStringFromCCC4F(specularColor_) + ", spotAngle: " + angle;
}
