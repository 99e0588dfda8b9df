#include "CC3MeshNode.h"

#include "CC3NodeVisitor.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3Texture.h"
#include "DrawRevision.h"

namespace {

// One interleaved rectangle vertex: location, normal, texture coordinate.
struct RectangleVertex {
  CC3Vec3 location;
  CC3Vec3 normal;
  ccTex2F texCoord;
};
static_assert(sizeof(RectangleVertex) == 32);

// Location and normal of a lit vertex.
struct LitVertex {
  CC3Vec3 location;
  CC3Vec3 normal;
};

GLubyte byteFromFloat(GLfloat f) {
  if (!(f > 0.0f)) return 0;
  if (f >= 1.0f) return 255;
  return static_cast<GLubyte>(f * 255.0f);
}

}  // namespace

Ptr<CC3MeshNode> CC3MeshNode::node() {
  return makeNode<CC3MeshNode>(nextNodeTag(), std::nullopt);
}

Ptr<CC3MeshNode> CC3MeshNode::nodeWithTag(GLuint tag) {
  return makeNode<CC3MeshNode>(tag, std::nullopt);
}

Ptr<CC3MeshNode> CC3MeshNode::nodeWithName(std::optional<std::string> name) {
  return makeNode<CC3MeshNode>(nextNodeTag(), std::move(name));
}

Ptr<CC3MeshNode> CC3MeshNode::nodeWithTag(GLuint tag, std::optional<std::string> name) {
  return makeNode<CC3MeshNode>(tag, std::move(name));
}

CC3MeshNode::~CC3MeshNode() {
  // The volume reads the mesh through this node; it must not outlive either.
  setBoundingVolume(nullptr);
}

CC3VertexArrayMeshModel* CC3MeshNode::vertexArrayMesh() const {
  return dynamic_cast<CC3VertexArrayMeshModel*>(meshModel_.get());
}

void CC3MeshNode::setMeshModel(CC3MeshModel* mesh) {
  DrawRevision::bump();
  meshModel_ = mesh;
  if (boundingVolume_)
    boundingVolume_->buildVolume();
  else if (meshModel_)
    setBoundingVolume(meshModel_->defaultBoundingVolume());
}

void CC3MeshNode::setBoundingVolume(CC3NodeBoundingVolume* volume) {
  CC3Node::setBoundingVolume(volume);
  if (boundingVolume_) boundingVolume_->buildVolume();
}

CC3BoundingVertexLocations* CC3MeshNode::boundingVertexLocations() const {
  return meshModel_ ? meshModel_->boundingVertexLocations() : nullptr;
}

std::string CC3MeshNode::derivedName(const char* suffix) const {
  return CC3NameOrUnnamed(name()) + "-" + suffix;
}

// MARK: geometry

void CC3MeshNode::populateAsRectangleWithSize(CGSize size, CGPoint pivot) {
  GLfloat w = size.width, h = size.height, px = pivot.x, py = pivot.y;

  auto locations = CC3VertexLocations::vertexArrayWithName(derivedName("Locations"));
  locations->setDrawingMode(GL_TRIANGLE_STRIP);
  locations->setElementStride(sizeof(RectangleVertex));
  locations->setElementOffset(0);
  locations->allocateElements(4);
  // Top right, top left, bottom right, bottom left: two counter-clockwise
  // triangles as a strip, seen from +z.
  const CC3Vec3 corners[4] = {
      {w - px, h - py, 0}, {-px, h - py, 0}, {w - px, -py, 0}, {-px, -py, 0}};
  for (GLuint i = 0; i < 4; ++i) locations->setLocation(corners[i], i);

  auto normals = CC3VertexNormals::vertexArrayWithName(derivedName("Normals"));
  normals->setElements(locations->elements());
  normals->setElementStride(sizeof(RectangleVertex));
  normals->setElementCount(4);
  normals->setElementOffset(offsetof(RectangleVertex, normal));
  for (GLuint i = 0; i < 4; ++i) normals->setNormal(kCC3Vec3UnitZPositive, i);

  auto mesh = CC3VertexArrayMeshModel::meshWithName(derivedName("Mesh"));
  mesh->setInterleaveVertices(true);
  mesh->setVertexLocations(locations);
  mesh->setVertexNormals(normals);
  setMeshModel(mesh);
}

void CC3MeshNode::populateAsCenteredRectangleWithSize(CGSize size) {
  populateAsRectangleWithSize(size, {size.width / 2, size.height / 2});
}

void CC3MeshNode::populateAsRectangleWithSize(CGSize size, CGPoint pivot, CC3Texture* texture,
                                              bool invert) {
  populateAsRectangleWithSize(size, pivot);
  CC3VertexArrayMeshModel* mesh = vertexArrayMesh();
  CC3VertexLocations* locations = mesh->vertexLocations();

  auto texCoords = CC3VertexTextureCoordinates::vertexArrayWithName(derivedName("Texture"));
  texCoords->setElements(locations->elements());
  texCoords->setElementStride(sizeof(RectangleVertex));
  texCoords->setElementCount(4);
  texCoords->setElementOffset(offsetof(RectangleVertex, texCoord));
  const ccTex2F coords[4] = {{1, 1}, {0, 1}, {1, 0}, {0, 0}};
  for (GLuint i = 0; i < 4; ++i) texCoords->setTexCoord2F(coords[i], i);
  if (invert)
    texCoords->alignWithInvertedTexture(texture);
  else
    texCoords->alignWithTexture(texture);
  mesh->setVertexTextureCoordinates(texCoords);

  auto aMaterial = CC3Material::materialWithName(derivedName("Material"));
  aMaterial->setTexture(texture);
  setMaterial(aMaterial);
}

void CC3MeshNode::populateAsCenteredRectangleWithSize(CGSize size, CC3Texture* texture,
                                                      bool invert) {
  populateAsRectangleWithSize(size, {size.width / 2, size.height / 2}, texture, invert);
}

void CC3MeshNode::populateAsSolidBox(CC3Box box) {
  const CC3Vec3 lo = box.minimum, hi = box.maximum;
  // Each face: its outward normal and four corners, counter-clockwise from outside.
  struct Face {
    CC3Vec3 normal;
    CC3Vec3 corners[4];
  };
  const Face faces[6] = {
      {{0, 0, 1}, {{lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}}},
      {{0, 0, -1},
       {{hi.x, lo.y, lo.z}, {lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}}},
      {{1, 0, 0}, {{hi.x, lo.y, hi.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}}},
      {{-1, 0, 0},
       {{lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z}, {lo.x, hi.y, lo.z}}},
      {{0, 1, 0}, {{lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}}},
      {{0, -1, 0},
       {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}}},
  };

  auto locations = CC3VertexLocations::vertexArrayWithName(derivedName("Locations"));
  locations->setDrawingMode(GL_TRIANGLES);
  locations->setElementStride(sizeof(LitVertex));
  locations->allocateElements(24);
  auto normals = CC3VertexNormals::vertexArrayWithName(derivedName("Normals"));
  normals->setElements(locations->elements());
  normals->setElementStride(sizeof(LitVertex));
  normals->setElementCount(24);
  normals->setElementOffset(offsetof(LitVertex, normal));
  auto indices = CC3VertexIndices::vertexArrayWithName(derivedName("Indices"));
  indices->setDrawingMode(GL_TRIANGLES);
  indices->allocateElements(36);

  for (GLuint f = 0; f < 6; ++f) {
    for (GLuint c = 0; c < 4; ++c) {
      locations->setLocation(faces[f].corners[c], f * 4 + c);
      normals->setNormal(faces[f].normal, f * 4 + c);
    }
    const GLuint quad[6] = {0, 1, 2, 0, 2, 3};
    for (GLuint k = 0; k < 6; ++k) indices->setIndex(f * 4 + quad[k], f * 6 + k);
  }

  auto mesh = CC3VertexArrayMeshModel::meshWithName(derivedName("Mesh"));
  mesh->setInterleaveVertices(true);
  mesh->setVertexLocations(locations);
  mesh->setVertexNormals(normals);
  mesh->setVertexIndices(indices);
  setMeshModel(mesh);
}

void CC3MeshNode::populateAsWireBox(CC3Box box) {
  const CC3Vec3 lo = box.minimum, hi = box.maximum;
  auto locations = CC3VertexLocations::vertexArrayWithName(derivedName("Locations"));
  locations->setDrawingMode(GL_LINES);
  locations->allocateElements(8);
  // Corner i has the maximum x when bit 2 is set, y bit 1, z bit 0.
  for (GLuint i = 0; i < 8; ++i)
    locations->setLocation({(i & 4) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 1) ? hi.z : lo.z},
                           i);
  auto indices = CC3VertexIndices::vertexArrayWithName(derivedName("Indices"));
  indices->setDrawingMode(GL_LINES);
  indices->allocateElements(24);
  const GLuint edges[24] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 2, 1, 3, 4, 6, 5, 7, 0, 4, 1, 5, 2, 6, 3, 7};
  for (GLuint k = 0; k < 24; ++k) indices->setIndex(edges[k], k);

  auto mesh = CC3VertexArrayMeshModel::meshWithName(derivedName("Mesh"));
  mesh->setVertexLocations(locations);
  mesh->setVertexIndices(indices);
  setMeshModel(mesh);
}

void CC3MeshNode::populateAsLineStripWith(GLuint vertexCount, CC3Vec3* vertices, bool retain) {
  auto locations = CC3VertexLocations::vertexArrayWithName(derivedName("Locations"));
  locations->setDrawingMode(GL_LINE_STRIP);
  if (retain) {
    locations->allocateElements(vertexCount);
    for (GLuint i = 0; i < vertexCount; ++i) locations->setLocation(vertices[i], i);
  } else {
    locations->setElements(vertices);
    locations->setElementCount(vertexCount);
  }
  auto mesh = CC3VertexArrayMeshModel::meshWithName(derivedName("Mesh"));
  mesh->setVertexLocations(locations);
  setMeshModel(mesh);
}

// MARK: colour

ccColor3B CC3MeshNode::color() const {
  if (material_) return material_->color();
  return {byteFromFloat(pureColor_.r), byteFromFloat(pureColor_.g), byteFromFloat(pureColor_.b)};
}

void CC3MeshNode::setColor(ccColor3B color) {
  if (material_) material_->setColor(color);
  pureColor_.r = CCColorFloatFromByte(color.r);
  pureColor_.g = CCColorFloatFromByte(color.g);
  pureColor_.b = CCColorFloatFromByte(color.b);
  CC3LocalContentNode::setColor(color);
}

GLubyte CC3MeshNode::opacity() const {
  return material_ ? material_->opacity() : byteFromFloat(pureColor_.a);
}

void CC3MeshNode::setOpacity(GLubyte opacity) {
  if (material_) material_->setOpacity(opacity);
  pureColor_.a = CCColorFloatFromByte(opacity);
  CC3LocalContentNode::setOpacity(opacity);
}

bool CC3MeshNode::isOpaque() const {
  return material_ ? material_->isOpaque() : pureColor_.a == 1.0f;
}

void CC3MeshNode::setIsOpaque(bool opaque) {
  if (material_) material_->setIsOpaque(opaque);
  pureColor_.a = 1.0f;
  CC3LocalContentNode::setIsOpaque(opaque);
}

ccColor4F CC3MeshNode::ambientColor() const {
  return material_ ? material_->ambientColor() : kCCC4FBlackTransparent;
}

void CC3MeshNode::setAmbientColor(ccColor4F color) {
  if (material_) material_->setAmbientColor(color);
  CC3LocalContentNode::setAmbientColor(color);
}

ccColor4F CC3MeshNode::diffuseColor() const {
  return material_ ? material_->diffuseColor() : kCCC4FBlackTransparent;
}

void CC3MeshNode::setDiffuseColor(ccColor4F color) {
  if (material_) material_->setDiffuseColor(color);
  CC3LocalContentNode::setDiffuseColor(color);
}

ccColor4F CC3MeshNode::specularColor() const {
  return material_ ? material_->specularColor() : kCCC4FBlackTransparent;
}

void CC3MeshNode::setSpecularColor(ccColor4F color) {
  if (material_) material_->setSpecularColor(color);
  CC3LocalContentNode::setSpecularColor(color);
}

ccColor4F CC3MeshNode::emissionColor() const {
  return material_ ? material_->emissionColor() : kCCC4FBlackTransparent;
}

void CC3MeshNode::setEmissionColor(ccColor4F color) {
  if (material_) material_->setEmissionColor(color);
  CC3LocalContentNode::setEmissionColor(color);
}

// MARK: graphics resources

void CC3MeshNode::createGLBuffers() {
  if (meshModel_) meshModel_->createGLBuffers();
  if (drawingMesh_) drawingMesh_->createGLBuffers();
  CC3LocalContentNode::createGLBuffers();
}

void CC3MeshNode::deleteGLBuffers() {
  if (meshModel_) meshModel_->deleteGLBuffers();
  if (drawingMesh_) drawingMesh_->deleteGLBuffers();
  CC3LocalContentNode::deleteGLBuffers();
}

void CC3MeshNode::releaseRedundantData() {
  if (meshModel_) meshModel_->releaseRedundantData();
  if (drawingMesh_) drawingMesh_->releaseRedundantData();
  CC3LocalContentNode::releaseRedundantData();
}

// MARK: drawing

void CC3MeshNode::drawLocalContentWithVisitor(CC3NodeDrawingVisitor* visitor) {
  CC3OpenGLES11StateTrackerServerCapability* lighting =
      CC3OpenGLES11Engine::engine()->serverCapabilities()->lighting();
  bool wasLighting = lighting->value();
  configureDrawingParameters(visitor);
  configureMaterialWithVisitor(visitor);
  // Picking paints the whole mesh: a touch anywhere on it finds the node.
  CC3MeshModel* mesh =
      drawingMesh_ && visitor->shouldDecorateNode() ? drawingMesh_.get() : meshModel_.get();
  if (mesh) mesh->drawWithVisitor(visitor);
  lighting->setValue(wasLighting);
}

void CC3MeshNode::configureDrawingParameters(CC3NodeDrawingVisitor* visitor) {
  configureNormalization(visitor);
  configureColoring(visitor);
}

void CC3MeshNode::configureNormalization(CC3NodeDrawingVisitor*) {
  CC3OpenGLES11ServerCapabilities* caps = CC3OpenGLES11Engine::engine()->serverCapabilities();
  bool hasNormals = meshModel_ && meshModel_->hasNormals();
  if (!hasNormals) {
    caps->rescaleNormal()->disable();
    caps->normalize()->disable();
  } else if (isUniformlyScaledGlobally()) {
    // A uniform scale keeps normals' directions; rescaling is the cheap fix.
    caps->rescaleNormal()->enable();
    caps->normalize()->disable();
  } else {
    caps->rescaleNormal()->disable();
    caps->normalize()->enable();
  }
}

void CC3MeshNode::configureColoring(CC3NodeDrawingVisitor*) {
  CC3OpenGLES11Engine::engine()->serverCapabilities()->colorMaterial()->setValue(
      meshModel_ && meshModel_->hasColors());
}

void CC3MeshNode::configureMaterialWithVisitor(CC3NodeDrawingVisitor* visitor) {
  if (!visitor->shouldDecorateNode()) {
    // Picking: the tag colour set by the visitor must stay.
    CC3Material::unbind();
    return;
  }
  if (material_) {
    material_->draw();
    return;
  }
  CC3Material::unbind();
  CC3OpenGLES11Engine* gles = CC3OpenGLES11Engine::engine();
  gles->serverCapabilities()->lighting()->disable();
  gles->state()->color()->setValue(pureColor_);
}

// MARK: copying and descriptions

void CC3MeshNode::populateFrom(const CC3Identifiable* another) {
  // The mesh first, so that the copied bounding volume builds from it.
  if (const auto* other = dynamic_cast<const CC3MeshNode*>(another)) {
    meshModel_ = other->meshModel_;
    drawingMesh_ = other->drawingMesh_;
    material_ = other->material_
                    ? Ptr<CC3Material>(static_cast<CC3Material*>(other->material_->copy().get()))
                    : nullptr;
    pureColor_ = other->pureColor_;
  }
  CC3LocalContentNode::populateFrom(another);
}

std::string CC3MeshNode::fullDescription() {
  return CC3LocalContentNode::fullDescription() +
         ", mesh: " + (meshModel_ ? meshModel_->description() : std::string("(null)")) +
         ", material: " + (material_ ? material_->description() : std::string("(null)"));
}
