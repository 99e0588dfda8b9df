#pragma once
#include <string>

#include "CC3Frustum.h"
#include "CC3TargettingNode.h"
#include "CGGeometry.h"

class CC3ViewportManager;
class CC3World;

// The node the world is seen through. Its lens (field of view, clipping
// distances and zoom, which is its scale) and the viewport's aspect give the
// perspective projection; its global transform, less any scale, and the
// device's rotation give the view matrix; both give the frustum's planes.
class CC3Camera : public CC3TargettingNode {
 public:
  static Ptr<CC3Camera> node();
  static Ptr<CC3Camera> nodeWithTag(GLuint tag);
  static Ptr<CC3Camera> nodeWithName(std::optional<std::string> name);
  static Ptr<CC3Camera> nodeWithTag(GLuint tag, std::optional<std::string> name);
  ~CC3Camera() override;

  using CC3TargettingNode::initWithTag;
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;

  // Set and cleared by the world; not retained.
  CC3World* world() const { return world_; }
  void setWorld(CC3World* world) { world_ = world; }
  // The world's; null while the camera is in no world.
  CC3ViewportManager* viewportManager() const;

  CC3GLMatrix* modelviewMatrix() const { return modelviewMatrix_.get(); }
  CC3GLMatrix* projectionMatrix() const { return frustum_->projectionMatrix(); }
  CC3Frustum* frustum() const { return frustum_.get(); }

  // Degrees, the full vertical angle.
  GLfloat fieldOfView() const { return fieldOfView_; }
  void setFieldOfView(GLfloat degrees);
  GLfloat nearClippingPlane() const { return nearClippingPlane_; }
  void setNearClippingPlane(GLfloat distance);
  GLfloat farClippingPlane() const { return farClippingPlane_; }
  void setFarClippingPlane(GLfloat distance);
  // The camera's scale is its zoom: it changes the projection, never the transform.
  void setScale(CC3Vec3 scale) override;

  bool isProjectionDirty() const { return isProjectionDirty_; }
  void markProjectionDirty() {
    isProjectionDirty_ = true;
    DrawRevision::bump();
  }

  // Once per update pass: follow the target, then rebuild whichever of the
  // projection and the frustum planes is out of date.
  void buildPerspective();

  // Around the drawing of the world: the projection and view matrices go on
  // top of GL's stacks, and come off again.
  void open();
  void close();

  // Sets and returns the node's projected location.
  CC3Vec3 projectNode(CC3Node* node);
  // x, y in the layer's 2D points; z the signed distance from the camera,
  // negative behind it.
  CC3Vec3 projectLocation(CC3Vec3 location);
  // The unit direction, in world coordinates, of the ray from the camera
  // through a 2D point of the layer.
  CC3Vec3 unprojectPoint(CGPoint point);
  // Where that ray meets a plane, with the ray's parameter in w.
  CC3Vec4 unprojectPoint(CGPoint point, CC3Plane plane);

  bool isTransformRigid() const override;
  void buildTransformMatrix() override;
  void populateFrom(const CC3Identifiable* another) override;
  std::string fullDescription() override;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3Camera(); }
  void applyScaling() override;

  void buildProjectionMatrix();
  void buildFrustumPlanes();
  void buildModelViewMatrix();
  CC3Viewport viewport() const;

  CC3World* world_ = nullptr;  // not retained
  Ptr<CC3GLMatrix> modelviewMatrix_;
  Ptr<CC3Frustum> frustum_;
  GLfloat fieldOfView_ = 45.0f;
  GLfloat nearClippingPlane_ = 0.5f;
  GLfloat farClippingPlane_ = 1000.0f;
  bool isProjectionDirty_ = false;
};
