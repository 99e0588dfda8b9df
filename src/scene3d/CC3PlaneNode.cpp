#include "CC3PlaneNode.h"

#include "CC3GLMatrix.h"
#include "CC3PictureFitting.h"
#include "CC3PictureMesh.h"
#include "CC3Texture.h"

Ptr<CC3PlaneNode> CC3PlaneNode::node() {
  return makeNode<CC3PlaneNode>(nextNodeTag(), std::nullopt);
}

Ptr<CC3PlaneNode> CC3PlaneNode::nodeWithTag(GLuint tag) {
  return makeNode<CC3PlaneNode>(tag, std::nullopt);
}

Ptr<CC3PlaneNode> CC3PlaneNode::nodeWithName(std::optional<std::string> name) {
  return makeNode<CC3PlaneNode>(nextNodeTag(), std::move(name));
}

Ptr<CC3PlaneNode> CC3PlaneNode::nodeWithTag(GLuint tag, std::optional<std::string> name) {
  return makeNode<CC3PlaneNode>(tag, std::move(name));
}

CC3Plane CC3PlaneNode::plane() const {
  CC3VertexArrayMeshModel* mesh = vertexArrayMesh();
  CC3VertexLocations* locations = mesh ? mesh->vertexLocations() : nullptr;
  if (!locations || locations->elementCount() < 3) return kCC3Vec4Zero;
  CC3VertexIndices* indices = mesh->vertexIndices();
  CC3Vec3 points[3];
  for (GLuint i = 0; i < 3; ++i) {
    GLuint vertex = indices ? indices->indexAt(i) : i;
    points[i] = transformMatrix()->transformLocation(locations->locationAt(vertex));
  }
  return CC3PlaneFromPoints(points[0], points[1], points[2]);
}

void CC3PlaneNode::fitToPicture() {
  if (!CC3PictureFitting::enabled()) return;
  CCTexture2D* picture = pictureTexture();
  if (picture && !picture->hasAlpha() && opacity() == 255) setIsOpaque(true);
}

void CC3PlaneNode::trimToPicture() {
  CCTexture2D* picture = pictureTexture();
  if (!CC3PictureFitting::enabled() || !picture || !vertexArrayMesh()) return;
  setDrawingMeshModel(
      CC3PictureMesh::fittedTo(*vertexArrayMesh(), *picture, derivedName("Fitted")).get());
}

CCTexture2D* CC3PlaneNode::pictureTexture() const {
  CC3Texture* texture = material_ ? material_->texture() : nullptr;
  return texture ? texture->texture() : nullptr;
}
