#include "CC3MeshModel.h"

#include "CC3Node.h"
#include "CC3NodeVisitor.h"

Ptr<CC3MeshModel> CC3MeshModel::mesh() {
  return makeMesh<CC3MeshModel>(nextMeshTag(), std::nullopt);
}

Ptr<CC3MeshModel> CC3MeshModel::meshWithTag(GLuint tag) {
  return makeMesh<CC3MeshModel>(tag, std::nullopt);
}

Ptr<CC3MeshModel> CC3MeshModel::meshWithName(std::optional<std::string> name) {
  return makeMesh<CC3MeshModel>(nextMeshTag(), std::move(name));
}

Ptr<CC3MeshModel> CC3MeshModel::meshWithTag(GLuint tag, std::optional<std::string> name) {
  return makeMesh<CC3MeshModel>(tag, std::move(name));
}

bool CC3MeshModel::switchingMesh() {
  bool switching = tag() != lastBoundTag_;
  lastBoundTag_ = tag();
  return switching;
}

void CC3MeshModel::drawWithVisitor(CC3NodeDrawingVisitor* visitor) {
  if (switchingMesh()) bindGLWithVisitor(visitor);
  drawVerticesWithVisitor(visitor);
  // An undecorated pass leaves normals, colours and texture coordinates
  // switched off, so the next decorated draw must bind this mesh again.
  if (!visitor->shouldDecorateNode()) resetSwitching();
}
