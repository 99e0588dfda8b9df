#pragma once
#include <GLES/gl.h>

#include <optional>
#include <string>

#include "CC3BoundingVolumes.h"
#include "CC3Foundation.h"
#include "CC3Identifiable.h"

class CC3NodeDrawingVisitor;

// The geometry a mesh node draws. The base has none; it keeps the class-wide
// note of the mesh bound last, so that drawing the same mesh twice in a row
// binds it once.
class CC3MeshModel : public CC3Identifiable {
 public:
  static Ptr<CC3MeshModel> mesh();
  static Ptr<CC3MeshModel> meshWithTag(GLuint tag);
  static Ptr<CC3MeshModel> meshWithName(std::optional<std::string> name);
  static Ptr<CC3MeshModel> meshWithTag(GLuint tag, std::optional<std::string> name);

  CC3TagFamily tagFamily() const override { return CC3TagFamily::MeshModel; }
  static GLuint nextMeshTag() { return nextTagInFamily(CC3TagFamily::MeshModel); }
  static void resetMeshTagAllocation() { resetTagAllocation(CC3TagFamily::MeshModel); }

  virtual bool hasNormals() const { return false; }
  virtual bool hasColors() const { return false; }
  virtual CC3Box boundingBox() { return kCC3BoxZero; }
  // The volume a node showing this mesh starts with; none in the base.
  virtual Ptr<CC3NodeBoundingVolume> defaultBoundingVolume() { return nullptr; }
  // The locations the vertex-location volumes are built from.
  virtual CC3BoundingVertexLocations* boundingVertexLocations() const { return nullptr; }

  virtual void createGLBuffers() {}
  virtual void deleteGLBuffers() {}
  virtual void releaseRedundantData() {}

  // Binds (unless this mesh was bound last) and draws.
  void drawWithVisitor(CC3NodeDrawingVisitor* visitor);
  virtual void bindGLWithVisitor(CC3NodeDrawingVisitor*) {}
  virtual void drawVerticesWithVisitor(CC3NodeDrawingVisitor*) {}

  bool switchingMesh();
  static void resetSwitching() { lastBoundTag_ = 0; }

 protected:
  CC3Identifiable* newInstance() const override { return new CC3MeshModel(); }
  template <class T>
  static Ptr<T> makeMesh(GLuint tag, std::optional<std::string> name) {
    auto aMesh = makeObject<T>();
    aMesh->initWithTag(tag, std::move(name));
    return aMesh;
  }

 private:
  static inline GLuint lastBoundTag_ = 0;
};
