#include "CC3VertexArrayMeshModel.h"

#include "CC3Node.h"
#include "CC3NodeVisitor.h"

Ptr<CC3VertexArrayMeshModel> CC3VertexArrayMeshModel::mesh() {
  return makeMesh<CC3VertexArrayMeshModel>(nextMeshTag(), std::nullopt);
}

Ptr<CC3VertexArrayMeshModel> CC3VertexArrayMeshModel::meshWithTag(GLuint tag) {
  return makeMesh<CC3VertexArrayMeshModel>(tag, std::nullopt);
}

Ptr<CC3VertexArrayMeshModel> CC3VertexArrayMeshModel::meshWithName(
    std::optional<std::string> name) {
  return makeMesh<CC3VertexArrayMeshModel>(nextMeshTag(), std::move(name));
}

Ptr<CC3VertexArrayMeshModel> CC3VertexArrayMeshModel::meshWithTag(GLuint tag,
                                                                  std::optional<std::string> name) {
  return makeMesh<CC3VertexArrayMeshModel>(tag, std::move(name));
}

CC3Box CC3VertexArrayMeshModel::boundingBox() {
  return vertexLocations_ ? vertexLocations_->boundingBox() : kCC3BoxZero;
}

Ptr<CC3NodeBoundingVolume> CC3VertexArrayMeshModel::defaultBoundingVolume() {
  auto sequence = CC3NodeTighteningBoundingVolumeSequence::boundingVolume();
  sequence->addBoundingVolume(CC3VertexLocationsSphericalBoundingVolume::boundingVolume());
  sequence->addBoundingVolume(CC3VertexLocationsBoundingBoxVolume::boundingVolume());
  return sequence;
}

// MARK: GL buffers

void CC3VertexArrayMeshModel::createGLBuffers() {
  if (vertexLocations_) vertexLocations_->createGLBuffer();
  if (interleaveVertices_) {
    GLuint shared = vertexLocations_ ? vertexLocations_->bufferID() : 0;
    forEachAttributeArray([shared](CC3VertexArray* array) { array->setBufferID(shared); });
  } else {
    forEachAttributeArray([](CC3VertexArray* array) { array->createGLBuffer(); });
  }
  if (vertexIndices_) vertexIndices_->createGLBuffer();
}

void CC3VertexArrayMeshModel::deleteGLBuffers() {
  if (vertexLocations_) vertexLocations_->deleteGLBuffer();
  if (interleaveVertices_) {
    // The shared buffer is gone; deleting its name again could hit a new buffer.
    forEachAttributeArray([](CC3VertexArray* array) { array->setBufferID(0); });
  } else {
    forEachAttributeArray([](CC3VertexArray* array) { array->deleteGLBuffer(); });
  }
  if (vertexIndices_) vertexIndices_->deleteGLBuffer();
}

void CC3VertexArrayMeshModel::releaseRedundantData() {
  if (vertexLocations_) vertexLocations_->releaseRedundantData();
  forEachAttributeArray([](CC3VertexArray* array) { array->releaseRedundantData(); });
  if (vertexIndices_) vertexIndices_->releaseRedundantData();
  // Arrays reading the locations' freed block must not keep its address.
  if (interleaveVertices_ && vertexLocations_ && !vertexLocations_->elements())
    forEachAttributeArray([](CC3VertexArray* array) { array->setElements(nullptr); });
}

// MARK: drawing

void CC3VertexArrayMeshModel::bindGLWithVisitor(CC3NodeDrawingVisitor* visitor) {
  bool decorate = visitor->shouldDecorateNode();
  if (vertexLocations_) vertexLocations_->bindWithVisitor(visitor);

  if (vertexNormals_ && decorate)
    vertexNormals_->bindWithVisitor(visitor);
  else
    CC3VertexNormals::unbind();

  if (vertexColors_ && decorate)
    vertexColors_->bindWithVisitor(visitor);
  else
    CC3VertexColors::unbind();

  if (vertexTextureCoordinates_ && decorate)
    vertexTextureCoordinates_->bindWithVisitor(visitor);
  else
    CC3VertexTextureCoordinates::unbind();

  if (vertexIndices_)
    vertexIndices_->bindWithVisitor(visitor);
  else
    CC3VertexIndices::unbind();
}

void CC3VertexArrayMeshModel::drawVerticesWithVisitor(CC3NodeDrawingVisitor* visitor) {
  if (vertexIndices_)
    vertexIndices_->drawWithVisitor(visitor);
  else if (vertexLocations_)
    vertexLocations_->drawWithVisitor(visitor);
}

void CC3VertexArrayMeshModel::resetSwitching() {
  CC3MeshModel::resetSwitching();
  CC3VertexLocations::resetSwitching();
  CC3VertexNormals::resetSwitching();
  CC3VertexColors::resetSwitching();
  CC3VertexTextureCoordinates::resetSwitching();
  CC3VertexIndices::resetSwitching();
}

void CC3VertexArrayMeshModel::populateFrom(const CC3Identifiable* another) {
  CC3MeshModel::populateFrom(another);
  const auto* other = dynamic_cast<const CC3VertexArrayMeshModel*>(another);
  if (!other) return;
  // Meshes are shared between node copies; a mesh copy shares its arrays.
  vertexLocations_ = other->vertexLocations_;
  vertexNormals_ = other->vertexNormals_;
  vertexColors_ = other->vertexColors_;
  vertexTextureCoordinates_ = other->vertexTextureCoordinates_;
  vertexIndices_ = other->vertexIndices_;
  interleaveVertices_ = other->interleaveVertices_;
}
