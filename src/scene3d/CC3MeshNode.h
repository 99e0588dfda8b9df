#pragma once
#include "CC3LocalContentNode.h"
#include "CC3Material.h"
#include "CC3MeshModel.h"
#include "CC3VertexArrayMeshModel.h"

class CC3Texture;

// A node that draws a mesh with a material, or without a material in a flat
// unlit colour. Colour and opacity go to the material.
class CC3MeshNode : public CC3LocalContentNode {
 public:
  static Ptr<CC3MeshNode> node();
  static Ptr<CC3MeshNode> nodeWithTag(GLuint tag);
  static Ptr<CC3MeshNode> nodeWithName(std::optional<std::string> name);
  static Ptr<CC3MeshNode> nodeWithTag(GLuint tag, std::optional<std::string> name);

  ~CC3MeshNode() override;

  bool isMeshNode() const override { return true; }

  CC3MeshModel* meshModel() const { return meshModel_.get(); }
  // Rebuilds the bounding volume, or takes the mesh's default one.
  virtual void setMeshModel(CC3MeshModel* mesh);
  CC3Material* material() const { return material_.get(); }
  void setMaterial(CC3Material* material) { material_ = material; }
  ccColor4F pureColor() const { return pureColor_; }
  void setPureColor(ccColor4F color) { pureColor_ = color; }
  // The mesh as a vertex-array mesh, or null.
  CC3VertexArrayMeshModel* vertexArrayMesh() const;
  // A mesh drawn in place of the mesh when the node is seen, covering part of
  // it; picking, bounds and every other use keep the mesh. Null: the mesh.
  CC3MeshModel* drawingMeshModel() const { return drawingMesh_.get(); }
  void setDrawingMeshModel(CC3MeshModel* mesh) { drawingMesh_ = mesh; }

  // Builds the volume at once.
  void setBoundingVolume(CC3NodeBoundingVolume* volume) override;
  CC3BoundingVertexLocations* boundingVertexLocations() const override;

  // MARK: geometry
  // A rectangle in the x-y plane facing +z whose pivot lies at the origin:
  // its lower-left corner is at (-pivot.x, -pivot.y).
  void populateAsRectangleWithSize(CGSize size, CGPoint pivot);
  void populateAsCenteredRectangleWithSize(CGSize size);
  // The same with texture coordinates fitted to the texture, and a material
  // holding it. `invert` shows an image stored top row first upright.
  void populateAsRectangleWithSize(CGSize size, CGPoint pivot, CC3Texture* texture, bool invert);
  void populateAsCenteredRectangleWithSize(CGSize size, CC3Texture* texture, bool invert);
  // A closed box with outward normals, drawn as triangles.
  void populateAsSolidBox(CC3Box box);
  // The twelve edges of a box, drawn as lines.
  void populateAsWireBox(CC3Box box);
  // A line strip through the points, copied when `retain` is set, else referenced.
  void populateAsLineStripWith(GLuint vertexCount, CC3Vec3* vertices, bool retain);

  // MARK: colour, through the material
  ccColor3B color() const override;
  void setColor(ccColor3B color) override;
  GLubyte opacity() const override;
  void setOpacity(GLubyte opacity) override;
  bool isOpaque() const override;
  void setIsOpaque(bool opaque) override;
  ccColor4F ambientColor() const override;
  void setAmbientColor(ccColor4F color) override;
  ccColor4F diffuseColor() const override;
  void setDiffuseColor(ccColor4F color) override;
  ccColor4F specularColor() const override;
  void setSpecularColor(ccColor4F color) override;
  ccColor4F emissionColor() const override;
  void setEmissionColor(ccColor4F color) override;

  // MARK: graphics resources
  void createGLBuffers() override;
  void deleteGLBuffers() override;
  void releaseRedundantData() override;

  // MARK: drawing
  void drawLocalContentWithVisitor(CC3NodeDrawingVisitor* visitor) override;

  void populateFrom(const CC3Identifiable* another) override;
  std::string fullDescription() override;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3MeshNode(); }

  void configureDrawingParameters(CC3NodeDrawingVisitor* visitor);
  void configureNormalization(CC3NodeDrawingVisitor* visitor);
  void configureColoring(CC3NodeDrawingVisitor* visitor);
  void configureMaterialWithVisitor(CC3NodeDrawingVisitor* visitor);

  // "<node name>-<suffix>", or just the suffix when the node has no name.
  std::string derivedName(const char* suffix) const;

  Ptr<CC3MeshModel> meshModel_;
  Ptr<CC3MeshModel> drawingMesh_;
  Ptr<CC3Material> material_;
  ccColor4F pureColor_{1, 1, 1, 1};
};
