#pragma once
#include "CC3MeshModel.h"
#include "CC3VertexArrays.h"

// A mesh made of vertex arrays: locations, and optionally normals, colours,
// texture coordinates and indices. Interleaved arrays share one block of
// memory, owned by the locations, and one GL buffer.
class CC3VertexArrayMeshModel : public CC3MeshModel {
 public:
  static Ptr<CC3VertexArrayMeshModel> mesh();
  static Ptr<CC3VertexArrayMeshModel> meshWithTag(GLuint tag);
  static Ptr<CC3VertexArrayMeshModel> meshWithName(std::optional<std::string> name);
  static Ptr<CC3VertexArrayMeshModel> meshWithTag(GLuint tag, std::optional<std::string> name);

  CC3VertexLocations* vertexLocations() const { return vertexLocations_.get(); }
  void setVertexLocations(CC3VertexLocations* locations) { vertexLocations_ = locations; }
  CC3VertexNormals* vertexNormals() const { return vertexNormals_.get(); }
  void setVertexNormals(CC3VertexNormals* normals) { vertexNormals_ = normals; }
  CC3VertexColors* vertexColors() const { return vertexColors_.get(); }
  void setVertexColors(CC3VertexColors* colors) { vertexColors_ = colors; }
  CC3VertexTextureCoordinates* vertexTextureCoordinates() const {
    return vertexTextureCoordinates_.get();
  }
  void setVertexTextureCoordinates(CC3VertexTextureCoordinates* texCoords) {
    vertexTextureCoordinates_ = texCoords;
  }
  CC3VertexIndices* vertexIndices() const { return vertexIndices_.get(); }
  void setVertexIndices(CC3VertexIndices* indices) { vertexIndices_ = indices; }
  bool interleaveVertices() const { return interleaveVertices_; }
  void setInterleaveVertices(bool interleave) { interleaveVertices_ = interleave; }

  bool hasNormals() const override { return vertexNormals_ != nullptr; }
  bool hasColors() const override { return vertexColors_ != nullptr; }
  CC3Box boundingBox() override;
  // A sphere then a box around the vertex locations.
  Ptr<CC3NodeBoundingVolume> defaultBoundingVolume() override;
  CC3BoundingVertexLocations* boundingVertexLocations() const override {
    return vertexLocations_.get();
  }

  void createGLBuffers() override;
  void deleteGLBuffers() override;
  void releaseRedundantData() override;

  void bindGLWithVisitor(CC3NodeDrawingVisitor* visitor) override;
  void drawVerticesWithVisitor(CC3NodeDrawingVisitor* visitor) override;

  // Forgets the mesh and every array bound last.
  static void resetSwitching();

  void populateFrom(const CC3Identifiable* another) override;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3VertexArrayMeshModel(); }

 private:
  // The arrays that share the locations' memory and buffer when interleaved.
  template <class F>
  void forEachAttributeArray(F f) const {
    if (vertexNormals_) f(vertexNormals_.get());
    if (vertexColors_) f(vertexColors_.get());
    if (vertexTextureCoordinates_) f(vertexTextureCoordinates_.get());
  }

  Ptr<CC3VertexLocations> vertexLocations_;
  Ptr<CC3VertexNormals> vertexNormals_;
  Ptr<CC3VertexColors> vertexColors_;
  Ptr<CC3VertexTextureCoordinates> vertexTextureCoordinates_;
  Ptr<CC3VertexIndices> vertexIndices_;
  bool interleaveVertices_ = false;
};
