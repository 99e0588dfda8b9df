#include "CC3PlaneNode.h"

#include "CC3GLMatrix.h"

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
