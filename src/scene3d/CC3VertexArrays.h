#pragma once
#include <GLES/gl.h>

#include <optional>
#include <string>
#include <vector>

#include "CC3BoundingVolumes.h"
#include "CC3Foundation.h"
#include "CC3Identifiable.h"
#include "ccTypes.h"

class CC3NodeDrawingVisitor;

// One vertex attribute, held in client memory or in a GL buffer. Elements
// may be interleaved with other attributes: `elementOffset` is this
// attribute's place inside each element and `elementStride` the element size.
class CC3VertexArray : public CC3Identifiable {
 public:
  using CC3Identifiable::initWithTag;
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;
  CC3TagFamily tagFamily() const override { return CC3TagFamily::VertexArray; }
  static GLuint nextVertexArrayTag() { return nextTagInFamily(CC3TagFamily::VertexArray); }
  static void resetVertexArrayTagAllocation() { resetTagAllocation(CC3TagFamily::VertexArray); }
  ~CC3VertexArray() override;

  GLvoid* elements() const { return elements_; }
  // References memory the caller keeps alive; frees elements this array owned.
  void setElements(GLvoid* elements);
  // Zeroed, owned memory for `count` elements of `elementStride` bytes; a count
  // of 0 frees instead and answers null.
  GLvoid* allocateElements(GLuint count);
  void deallocateElements();
  bool elementsAreRetained() const { return elementsAreRetained_; }

  GLuint elementOffset() const { return elementOffset_; }
  void setElementOffset(GLuint offset) { elementOffset_ = offset; }
  GLuint elementCount() const { return elementCount_; }
  void setElementCount(GLuint count) { elementCount_ = count; }
  GLint elementSize() const { return elementSize_; }
  void setElementSize(GLint size) { elementSize_ = size; }
  GLenum elementType() const { return elementType_; }
  void setElementType(GLenum type) { elementType_ = type; }
  // Bytes from one element to the next: the packed size unless set.
  GLuint elementStride() const;
  void setElementStride(GLuint stride) { elementStride_ = stride; }

  GLuint bufferID() const { return bufferID_; }
  void setBufferID(GLuint buffer) { bufferID_ = buffer; }
  GLenum bufferUsage() const { return bufferUsage_; }
  void setBufferUsage(GLenum usage) { bufferUsage_ = usage; }
  bool shouldReleaseRedundantData() const { return shouldReleaseRedundantData_; }
  void setShouldReleaseRedundantData(bool release) { shouldReleaseRedundantData_ = release; }
  // GL_ARRAY_BUFFER, or GL_ELEMENT_ARRAY_BUFFER for indices.
  virtual GLenum bufferTarget() const { return GL_ARRAY_BUFFER; }

  // Address of an element's first component of this attribute.
  GLvoid* addressOfElement(GLuint index) const;

  // Uploads the elements into a new GL buffer; on a GL error the array stays
  // in client memory.
  void createGLBuffer();
  void deleteGLBuffer();
  // Frees owned client data once a buffer holds it.
  void releaseRedundantData();

  // Binds when this array was not the one bound last of its class.
  void bindWithVisitor(CC3NodeDrawingVisitor* visitor);
  void bindGL();
  // Whether binding would change anything; notes this array as bound. The
  // base class has no cache and always answers true.
  bool switchingArray();

  void populateFrom(const CC3Identifiable* another) override;

  // Bytes of one component of a GL type.
  static GLuint sizeOfGLType(GLenum type);

 protected:
  CC3Identifiable* newInstance() const override { return new CC3VertexArray(); }
  // The class-wide "bound last" tag, or null for no cache.
  virtual GLuint* lastBoundTagSlot() const { return nullptr; }
  // Hands the pointer to GL and enables the client array.
  virtual void bindPointer(const GLvoid*) {}

  template <class T>
  static Ptr<T> makeArray(GLuint tag, std::optional<std::string> name) {
    auto array = makeObject<T>();
    array->initWithTag(tag, std::move(name));
    return array;
  }

  GLvoid* elements_ = nullptr;
  GLuint elementOffset_ = 0;
  GLuint elementCount_ = 0;
  GLint elementSize_ = 3;
  GLenum elementType_ = GL_FLOAT;
  GLuint elementStride_ = 0;
  GLuint bufferID_ = 0;
  GLenum bufferUsage_ = GL_STATIC_DRAW;
  bool elementsAreRetained_ = false;
  bool shouldReleaseRedundantData_ = true;
};

// Class-side constructors for every vertex array class.
#define CC3_VERTEX_ARRAY_CONSTRUCTORS(Class)                                          \
  static Ptr<Class> vertexArray() {                                                   \
    return vertexArrayWithName(std::nullopt);                                         \
  }                                                                                   \
  static Ptr<Class> vertexArrayWithTag(GLuint tag) {                                  \
    return makeArray<Class>(tag, {});                                                 \
  }                                                                                   \
  static Ptr<Class> vertexArrayWithName(std::optional<std::string> name) {            \
    return makeArray<Class>(nextVertexArrayTag(), std::move(name));                   \
  }                                                                                   \
  static Ptr<Class> vertexArrayWithTag(GLuint tag, std::optional<std::string> name) { \
    return makeArray<Class>(tag, std::move(name));                                    \
  }

// An array that can draw itself: locations or indices, in strips or whole.
class CC3DrawableVertexArray : public CC3VertexArray {
 public:
  ~CC3DrawableVertexArray() override;

  GLenum drawingMode() const { return drawingMode_; }
  void setDrawingMode(GLenum mode) { drawingMode_ = mode; }
  GLuint stripCount() const { return stripCount_; }
  const GLuint* stripLengths() const { return stripLengths_; }
  // Copies the lengths when asked to retain them, else references them.
  void setStripLengths(GLuint* lengths, GLuint count, bool retain);
  bool stripLengthsAreRetained() const { return stripLengthsAreRetained_; }
  GLuint firstElement() const { return firstElement_; }
  void setFirstElement(GLuint first) { firstElement_ = first; }

  // All elements in one go, or strip after strip.
  virtual void drawWithVisitor(CC3NodeDrawingVisitor* visitor);
  // Faces that `vertexCount` vertices make in the drawing mode.
  GLuint faceCountFromVertexCount(GLuint vertexCount) const;

  void populateFrom(const CC3Identifiable* another) override;

 protected:
  virtual void drawFrom(GLuint start, GLuint length) = 0;
  void deallocateStripLengths();

  GLenum drawingMode_ = GL_TRIANGLE_STRIP;
  GLuint stripCount_ = 0;
  GLuint* stripLengths_ = nullptr;
  bool stripLengthsAreRetained_ = false;
  GLuint firstElement_ = 0;
};

class CC3VertexLocations : public CC3DrawableVertexArray, public CC3BoundingVertexLocations {
 public:
  CC3_VERTEX_ARRAY_CONSTRUCTORS(CC3VertexLocations)

  CC3Vec3 locationAt(GLuint index) const override;
  void setLocation(CC3Vec3 location, GLuint index);

  GLenum elementType() const override { return elementType_; }
  GLuint elementCount() const override { return elementCount_; }
  // Built once from the vertices on first request.
  CC3Box boundingBox() override;
  CC3Vec3 centerOfGeometry() override;
  bool boundingBoxNeedsBuilding() const { return boundingBoxNeedsBuilding_; }
  void markBoundingBoxDirty() { boundingBoxNeedsBuilding_ = true; }

  static void resetSwitching() { lastBoundTag_ = 0; }
  static void unbind();
  void populateFrom(const CC3Identifiable* another) override;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3VertexLocations(); }
  GLuint* lastBoundTagSlot() const override { return &lastBoundTag_; }
  void bindPointer(const GLvoid* pointer) override;
  void drawFrom(GLuint start, GLuint length) override;
  void buildBoundingBox();

 private:
  static inline GLuint lastBoundTag_ = 0;
  CC3Box boundingBox_ = kCC3BoxZero;
  CC3Vec3 centerOfGeometry_ = kCC3Vec3Zero;
  bool boundingBoxNeedsBuilding_ = true;
};

class CC3VertexNormals : public CC3VertexArray {
 public:
  CC3_VERTEX_ARRAY_CONSTRUCTORS(CC3VertexNormals)

  CC3Vec3 normalAt(GLuint index) const;
  void setNormal(CC3Vec3 normal, GLuint index);

  static void resetSwitching() { lastBoundTag_ = 0; }
  static void unbind();

 protected:
  CC3Identifiable* newInstance() const override { return new CC3VertexNormals(); }
  GLuint* lastBoundTagSlot() const override { return &lastBoundTag_; }
  void bindPointer(const GLvoid* pointer) override;

 private:
  static inline GLuint lastBoundTag_ = 0;
};

// Per-vertex colours: four floats or four unsigned bytes.
class CC3VertexColors : public CC3VertexArray {
 public:
  CC3_VERTEX_ARRAY_CONSTRUCTORS(CC3VertexColors)
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;

  ccColor4F color4FAt(GLuint index) const;
  void setColor4F(ccColor4F color, GLuint index);

  static void resetSwitching() { lastBoundTag_ = 0; }
  static void unbind();

 protected:
  CC3Identifiable* newInstance() const override { return new CC3VertexColors(); }
  GLuint* lastBoundTagSlot() const override { return &lastBoundTag_; }
  void bindPointer(const GLvoid* pointer) override;

 private:
  static inline GLuint lastBoundTag_ = 0;
};

class CC3VertexTextureCoordinates : public CC3VertexArray {
 public:
  CC3_VERTEX_ARRAY_CONSTRUCTORS(CC3VertexTextureCoordinates)
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;

  ccTex2F texCoord2FAt(GLuint index) const;
  void setTexCoord2F(ccTex2F texCoord, GLuint index);

  // Scales the coordinates to the part of the texture the image covers; the
  // inverted forms also flip v, for images stored top row first (always, even
  // for an image that fills its texture).
  void alignWithTextureMapSize(CGSize mapSize);
  void alignWithInvertedTextureMapSize(CGSize mapSize);
  void alignWithTexture(class CC3Texture* texture);
  void alignWithInvertedTexture(class CC3Texture* texture);

  static void resetSwitching() { lastBoundTag_ = 0; }
  static void unbind();

 protected:
  CC3Identifiable* newInstance() const override { return new CC3VertexTextureCoordinates(); }
  GLuint* lastBoundTagSlot() const override { return &lastBoundTag_; }
  void bindPointer(const GLvoid* pointer) override;

 private:
  void align(CGSize mapSize, bool inverted);
  static inline GLuint lastBoundTag_ = 0;
};

class CC3VertexPointSizes : public CC3VertexArray {
 public:
  CC3_VERTEX_ARRAY_CONSTRUCTORS(CC3VertexPointSizes)
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;

  static void resetSwitching() { lastBoundTag_ = 0; }
  static void unbind();

 protected:
  CC3Identifiable* newInstance() const override { return new CC3VertexPointSizes(); }
  GLuint* lastBoundTagSlot() const override { return &lastBoundTag_; }
  void bindPointer(const GLvoid* pointer) override;

 private:
  static inline GLuint lastBoundTag_ = 0;
};

// Indices into the other arrays, as unsigned bytes or shorts; drawn as elements.
class CC3VertexIndices : public CC3DrawableVertexArray {
 public:
  CC3_VERTEX_ARRAY_CONSTRUCTORS(CC3VertexIndices)
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;

  GLenum bufferTarget() const override { return GL_ELEMENT_ARRAY_BUFFER; }
  GLuint indexAt(GLuint index) const;
  void setIndex(GLuint vertexIndex, GLuint index);

  static void resetSwitching() { lastBoundTag_ = 0; }
  static void unbind();

 protected:
  CC3Identifiable* newInstance() const override { return new CC3VertexIndices(); }
  GLuint* lastBoundTagSlot() const override { return &lastBoundTag_; }
  void bindPointer(const GLvoid*) override {}
  void drawFrom(GLuint start, GLuint length) override;
  const GLvoid* indexPointer(std::size_t byteOffset) const;

 private:
  static inline GLuint lastBoundTag_ = 0;
};

// Indices whose strips carry their own lengths: each run starts with its
// length, followed by that many indices.
class CC3VertexRunLengthIndices : public CC3VertexIndices {
 public:
  CC3_VERTEX_ARRAY_CONSTRUCTORS(CC3VertexRunLengthIndices)

  // Reads the runs from client memory, so it draws only before the data is released.
  void drawWithVisitor(CC3NodeDrawingVisitor* visitor) override;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3VertexRunLengthIndices(); }
};
