#include "CC3VertexArrays.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "Assert.h"
#include "CC3Node.h"
#include "CC3NodeVisitor.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3Texture.h"

namespace {

template <class T>
T readAt(const GLvoid* address) {
  T value;
  std::memcpy(&value, address, sizeof value);
  return value;
}

template <class T>
void writeAt(GLvoid* address, const T& value) {
  std::memcpy(address, &value, sizeof value);
}

CC3OpenGLES11Engine* gles() {
  return CC3OpenGLES11Engine::engine();
}

}  // namespace

// MARK: CC3VertexArray

bool CC3VertexArray::initWithTag(GLuint tag, std::optional<std::string> name) {
  return CC3Identifiable::initWithTag(tag, std::move(name));
}

CC3VertexArray::~CC3VertexArray() {
  deallocateElements();
}

GLuint CC3VertexArray::sizeOfGLType(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
      return 2;
    case GL_FIXED:
    case GL_FLOAT:
      return 4;
    default:
      return 0;
  }
}

GLuint CC3VertexArray::elementStride() const {
  return elementStride_ ? elementStride_ : sizeOfGLType(elementType_) * GLuint(elementSize_);
}

void CC3VertexArray::setElements(GLvoid* elements) {
  deallocateElements();
  elements_ = elements;
}

GLvoid* CC3VertexArray::allocateElements(GLuint count) {
  deallocateElements();
  elementCount_ = count;
  if (count == 0) return nullptr;
  elements_ = std::calloc(count, elementStride());
  elementsAreRetained_ = elements_ != nullptr;
  return elements_;
}

void CC3VertexArray::deallocateElements() {
  if (!elementsAreRetained_) return;
  std::free(elements_);
  elements_ = nullptr;
  elementsAreRetained_ = false;
}

GLvoid* CC3VertexArray::addressOfElement(GLuint index) const {
  CCAssert(elements_ != nullptr, "Elements are no longer in application memory.");
  // Past the last element lies someone else's memory.
  CCAssert(index < elementCount_, "Element index is beyond the element count.");
  return static_cast<char*>(elements_) + elementOffset_ + std::size_t(index) * elementStride();
}

void CC3VertexArray::createGLBuffer() {
  if (bufferID_ || !elements_ || elementCount_ == 0) return;
  CC3OpenGLES11VertexArrays* vertices = gles()->vertices();
  // Errors left by earlier calls must not be taken for the upload's.
  vertices->clearErrors();
  bufferID_ = vertices->generateBuffer();
  CC3OpenGLES11StateTrackerArrayBufferBinding* binding = vertices->bufferBinding(bufferTarget());
  binding->setValue(bufferID_);
  binding->loadBufferData(elements_, GLsizeiptr(elementStride()) * elementCount_, bufferUsage_);
  if (vertices->takeError()) {
    vertices->deleteBuffer(bufferID_);
    bufferID_ = 0;
  }
  binding->unbind();
}

void CC3VertexArray::deleteGLBuffer() {
  if (!bufferID_) return;
  gles()->vertices()->deleteBuffer(bufferID_);
  bufferID_ = 0;
}

void CC3VertexArray::releaseRedundantData() {
  if (bufferID_ && shouldReleaseRedundantData_) deallocateElements();
}

bool CC3VertexArray::switchingArray() {
  GLuint* last = lastBoundTagSlot();
  if (!last) return true;
  bool switching = *last != tag();
  *last = tag();
  return switching;
}

void CC3VertexArray::bindWithVisitor(CC3NodeDrawingVisitor*) {
  if (switchingArray()) bindGL();
}

void CC3VertexArray::bindGL() {
  CC3OpenGLES11StateTrackerArrayBufferBinding* binding =
      gles()->vertices()->bufferBinding(bufferTarget());
  if (bufferID_) {
    binding->setValue(bufferID_);
    bindPointer(reinterpret_cast<const GLvoid*>(std::uintptr_t(elementOffset_)));
  } else if (elements_ && elementCount_) {
    binding->unbind();
    bindPointer(static_cast<const char*>(elements_) + elementOffset_);
  }
}

void CC3VertexArray::populateFrom(const CC3Identifiable* another) {
  CC3Identifiable::populateFrom(another);
  const auto* other = dynamic_cast<const CC3VertexArray*>(another);
  if (!other) return;
  elementOffset_ = other->elementOffset_;
  elementSize_ = other->elementSize_;
  elementType_ = other->elementType_;
  elementStride_ = other->elementStride_;
  // Owned data is copied, so that the copy outlives the original; referenced
  // data stays referenced.
  if (other->elementsAreRetained_ && other->elements_) {
    allocateElements(other->elementCount_);
    if (elements_)
      std::memcpy(elements_, other->elements_, std::size_t(elementStride()) * elementCount_);
  } else {
    setElements(other->elements_);
    elementCount_ = other->elementCount_;
  }
  bufferID_ = other->bufferID_;
  bufferUsage_ = other->bufferUsage_;
  shouldReleaseRedundantData_ = other->shouldReleaseRedundantData_;
}

// MARK: CC3DrawableVertexArray

CC3DrawableVertexArray::~CC3DrawableVertexArray() {
  deallocateStripLengths();
}

void CC3DrawableVertexArray::deallocateStripLengths() {
  if (stripLengthsAreRetained_) delete[] stripLengths_;
  stripLengths_ = nullptr;
  stripLengthsAreRetained_ = false;
}

void CC3DrawableVertexArray::setStripLengths(GLuint* lengths, GLuint count, bool retain) {
  deallocateStripLengths();
  stripCount_ = lengths ? count : 0;
  if (!lengths) return;
  if (retain) {
    stripLengths_ = new GLuint[count];
    std::memcpy(stripLengths_, lengths, count * sizeof(GLuint));
    stripLengthsAreRetained_ = true;
  } else {
    stripLengths_ = lengths;
  }
}

void CC3DrawableVertexArray::drawWithVisitor(CC3NodeDrawingVisitor*) {
  // GL would read past the end of the data for a run beyond the last element.
  auto drawClamped = [this](GLuint start, GLuint length) {
    if (start >= elementCount_) return;
    drawFrom(start, std::min(length, elementCount_ - start));
  };
  if (stripCount_ == 0) {
    drawClamped(firstElement_, elementCount_);
    return;
  }
  GLuint start = firstElement_;
  for (GLuint i = 0; i < stripCount_; ++i) {
    drawClamped(start, stripLengths_[i]);
    start += stripLengths_[i];
  }
}

GLuint CC3DrawableVertexArray::faceCountFromVertexCount(GLuint n) const {
  switch (drawingMode_) {
    case GL_LINES:
      return n / 2;
    case GL_LINE_STRIP:
      return n > 0 ? n - 1 : 0;
    case GL_TRIANGLES:
      return n / 3;
    case GL_TRIANGLE_STRIP:
    case GL_TRIANGLE_FAN:
      return n > 1 ? n - 2 : 0;
    default:
      return n;
  }
}

void CC3DrawableVertexArray::populateFrom(const CC3Identifiable* another) {
  CC3VertexArray::populateFrom(another);
  const auto* other = dynamic_cast<const CC3DrawableVertexArray*>(another);
  if (!other) return;
  drawingMode_ = other->drawingMode_;
  firstElement_ = other->firstElement_;
  setStripLengths(other->stripLengths_, other->stripCount_, false);
}

// MARK: CC3VertexLocations

CC3Vec3 CC3VertexLocations::locationAt(GLuint index) const {
  return readAt<CC3Vec3>(addressOfElement(index));
}

void CC3VertexLocations::setLocation(CC3Vec3 location, GLuint index) {
  writeAt(addressOfElement(index), location);
  boundingBoxNeedsBuilding_ = true;
}

void CC3VertexLocations::buildBoundingBox() {
  CCAssert(elementType_ == GL_FLOAT,
           className() + " must have elementType GLFLOAT to build the bounding box");
  if (elementCount_ == 0) {
    boundingBox_ = kCC3BoxZero;
  } else {
    CC3Vec3 first = locationAt(0);
    CC3Vec3 lo = first, hi = first;
    for (GLuint i = 1; i < elementCount_; ++i) {
      CC3Vec3 v = locationAt(i);
      lo = CC3Vec3Minimize(lo, v);
      hi = CC3Vec3Maximize(hi, v);
    }
    boundingBox_ = CC3BoxFromMinMax(lo, hi);
  }
  centerOfGeometry_ =
      CC3Vec3ScaleUniform(CC3Vec3Add(boundingBox_.minimum, boundingBox_.maximum), 0.5f);
  boundingBoxNeedsBuilding_ = false;
}

CC3Box CC3VertexLocations::boundingBox() {
  if (boundingBoxNeedsBuilding_) buildBoundingBox();
  return boundingBox_;
}

CC3Vec3 CC3VertexLocations::centerOfGeometry() {
  if (boundingBoxNeedsBuilding_) buildBoundingBox();
  return centerOfGeometry_;
}

void CC3VertexLocations::unbind() {
  resetSwitching();
  gles()->clientCapabilities()->vertexArray()->disable();
}

void CC3VertexLocations::bindPointer(const GLvoid* pointer) {
  gles()->vertices()->locations()->useElementsAt(pointer, elementSize_, elementType_,
                                                 GLsizei(elementStride()));
  gles()->clientCapabilities()->vertexArray()->enable();
}

void CC3VertexLocations::drawFrom(GLuint start, GLuint length) {
  gles()->vertices()->drawVerticiesAs(drawingMode_, start, length);
}

void CC3VertexLocations::populateFrom(const CC3Identifiable* another) {
  CC3DrawableVertexArray::populateFrom(another);
  const auto* other = dynamic_cast<const CC3VertexLocations*>(another);
  if (!other) return;
  boundingBox_ = other->boundingBox_;
  centerOfGeometry_ = other->centerOfGeometry_;
  boundingBoxNeedsBuilding_ = other->boundingBoxNeedsBuilding_;
}

// MARK: CC3VertexNormals

CC3Vec3 CC3VertexNormals::normalAt(GLuint index) const {
  return readAt<CC3Vec3>(addressOfElement(index));
}

void CC3VertexNormals::setNormal(CC3Vec3 normal, GLuint index) {
  writeAt(addressOfElement(index), normal);
}

void CC3VertexNormals::unbind() {
  resetSwitching();
  gles()->clientCapabilities()->normalArray()->disable();
}

void CC3VertexNormals::bindPointer(const GLvoid* pointer) {
  gles()->vertices()->normals()->useElementsAt(pointer, 3, elementType_, GLsizei(elementStride()));
  gles()->clientCapabilities()->normalArray()->enable();
}

// MARK: CC3VertexColors

bool CC3VertexColors::initWithTag(GLuint tag, std::optional<std::string> name) {
  if (!CC3VertexArray::initWithTag(tag, std::move(name))) return false;
  elementSize_ = 4;
  return true;
}

ccColor4F CC3VertexColors::color4FAt(GLuint index) const {
  const GLvoid* address = addressOfElement(index);
  if (elementType_ == GL_UNSIGNED_BYTE) return CCC4FFromCCC4B(readAt<ccColor4B>(address));
  return readAt<ccColor4F>(address);
}

void CC3VertexColors::setColor4F(ccColor4F color, GLuint index) {
  GLvoid* address = addressOfElement(index);
  if (elementType_ == GL_UNSIGNED_BYTE)
    writeAt(address, CCC4BFromCCC4F(color));
  else
    writeAt(address, color);
}

void CC3VertexColors::unbind() {
  resetSwitching();
  gles()->clientCapabilities()->colorArray()->disable();
}

void CC3VertexColors::bindPointer(const GLvoid* pointer) {
  gles()->vertices()->colors()->useElementsAt(pointer, elementSize_, elementType_,
                                              GLsizei(elementStride()));
  gles()->clientCapabilities()->colorArray()->enable();
}

// MARK: CC3VertexTextureCoordinates

bool CC3VertexTextureCoordinates::initWithTag(GLuint tag, std::optional<std::string> name) {
  if (!CC3VertexArray::initWithTag(tag, std::move(name))) return false;
  elementSize_ = 2;
  return true;
}

ccTex2F CC3VertexTextureCoordinates::texCoord2FAt(GLuint index) const {
  return readAt<ccTex2F>(addressOfElement(index));
}

void CC3VertexTextureCoordinates::setTexCoord2F(ccTex2F texCoord, GLuint index) {
  writeAt(addressOfElement(index), texCoord);
}

void CC3VertexTextureCoordinates::align(CGSize mapSize, bool inverted) {
  // An image that fills its texture needs no scaling; it still needs the
  // flip, or a picture whose sides are powers of two would show upside down.
  if (!(mapSize.width < 1.0f) && !(mapSize.height < 1.0f)) {
    if (!inverted) return;
    mapSize = CGSizeMake(1, 1);
  }
  for (GLuint i = 0; i < elementCount_; ++i) {
    ccTex2F tc = texCoord2FAt(i);
    tc.u *= mapSize.width;
    tc.v = inverted ? GLfloat((1.0 - double(tc.v)) * double(mapSize.height))
                    : GLfloat(double(tc.v) * double(mapSize.height));
    setTexCoord2F(tc, i);
  }
}

void CC3VertexTextureCoordinates::alignWithTextureMapSize(CGSize mapSize) {
  align(mapSize, false);
}

void CC3VertexTextureCoordinates::alignWithInvertedTextureMapSize(CGSize mapSize) {
  align(mapSize, true);
}

void CC3VertexTextureCoordinates::alignWithTexture(CC3Texture* texture) {
  alignWithTextureMapSize(texture ? texture->mapSize() : CGSizeZero);
}

void CC3VertexTextureCoordinates::alignWithInvertedTexture(CC3Texture* texture) {
  alignWithInvertedTextureMapSize(texture ? texture->mapSize() : CGSizeZero);
}

void CC3VertexTextureCoordinates::unbind() {
  resetSwitching();
  gles()->clientCapabilities()->textureCoordArray()->disable();
}

void CC3VertexTextureCoordinates::bindPointer(const GLvoid* pointer) {
  gles()->vertices()->textureCoordinates()->useElementsAt(pointer, elementSize_, elementType_,
                                                          GLsizei(elementStride()));
  gles()->clientCapabilities()->textureCoordArray()->enable();
}

// MARK: CC3VertexPointSizes

bool CC3VertexPointSizes::initWithTag(GLuint tag, std::optional<std::string> name) {
  if (!CC3VertexArray::initWithTag(tag, std::move(name))) return false;
  elementSize_ = 1;
  return true;
}

void CC3VertexPointSizes::unbind() {
  resetSwitching();
  gles()->clientCapabilities()->pointSizeArrayOES()->disable();
}

void CC3VertexPointSizes::bindPointer(const GLvoid* pointer) {
  gles()->vertices()->pointSizes()->useElementsAt(pointer, 1, elementType_,
                                                  GLsizei(elementStride()));
  gles()->clientCapabilities()->pointSizeArrayOES()->enable();
}

// MARK: CC3VertexIndices

bool CC3VertexIndices::initWithTag(GLuint tag, std::optional<std::string> name) {
  if (!CC3DrawableVertexArray::initWithTag(tag, std::move(name))) return false;
  elementSize_ = 1;
  elementType_ = GL_UNSIGNED_SHORT;
  drawingMode_ = GL_TRIANGLES;
  return true;
}

GLuint CC3VertexIndices::indexAt(GLuint index) const {
  const GLvoid* address = addressOfElement(index);
  if (elementType_ == GL_UNSIGNED_BYTE) return readAt<GLubyte>(address);
  return readAt<GLushort>(address);
}

void CC3VertexIndices::setIndex(GLuint vertexIndex, GLuint index) {
  GLvoid* address = addressOfElement(index);
  if (elementType_ == GL_UNSIGNED_BYTE)
    writeAt(address, GLubyte(vertexIndex));
  else
    writeAt(address, GLushort(vertexIndex));
}

void CC3VertexIndices::unbind() {
  resetSwitching();
  gles()->vertices()->indexBuffer()->unbind();
}

const GLvoid* CC3VertexIndices::indexPointer(std::size_t offset) const {
  // In a buffer GL takes the offset itself in place of an address.
  if (bufferID_) return reinterpret_cast<const GLvoid*>(offset);
  return static_cast<const char*>(elements_) + offset;
}

void CC3VertexIndices::drawFrom(GLuint start, GLuint length) {
  if (!bufferID_ && !elements_) return;
  const GLvoid* indices = indexPointer(elementOffset_ + std::size_t(start) * elementStride());
  gles()->vertices()->drawIndicies(indices, length, elementType_, drawingMode_);
}

void CC3VertexRunLengthIndices::drawWithVisitor(CC3NodeDrawingVisitor*) {
  if (!elements_) return;
  GLuint i = firstElement_;
  while (i < elementCount_) {
    GLuint runLength = indexAt(i);
    // A run reaching past the data is cut where the data ends.
    GLuint available = elementCount_ - i - 1;
    if (runLength > available) runLength = available;
    if (runLength > 0) {
      const GLvoid* run = indexPointer(elementOffset_ + std::size_t(i + 1) * elementStride());
      gles()->vertices()->drawIndicies(run, runLength, elementType_, drawingMode_);
    }
    i += runLength + 1;
  }
}
