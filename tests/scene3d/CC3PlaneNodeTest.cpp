#include <gtest/gtest.h>

#include <cmath>

#include "CC3BoxNode.h"
#include "CC3LineNode.h"
#include "CC3MeshTestSupport.h"
#include "CC3NodeVisitor.h"
#include "CC3PictureFitting.h"
#include "CC3PlaneNode.h"
#include "CC3Texture.h"

namespace {

CC3VertexLocations* locationsOf(CC3MeshNode* node) {
  return node->vertexArrayMesh()->vertexLocations();
}

void expectCorners(CC3MeshNode* node, std::array<CC3Vec3, 4> expected) {
  CC3VertexLocations* locations = locationsOf(node);
  ASSERT_EQ(locations->elementCount(), 4u);
  for (GLuint i = 0; i < 4; ++i) EXPECT_VEC3_NEAR(locations->locationAt(i), expected[i], 1e-6f);
}

CC3NodeTighteningBoundingVolumeSequence* sequenceOf(CC3Node* node) {
  return dynamic_cast<CC3NodeTighteningBoundingVolumeSequence*>(node->boundingVolume());
}

}  // namespace

TEST(CC3PlaneNodeTest, RectangleCornersNormalsAndDerivedNames) {
  LeakScope leaks;
  auto plane = CC3PlaneNode::nodeWithName("leaf");
  plane->populateAsRectangleWithSize(CGSizeMake(100, 50), CGPointMake(50, 0));
  expectCorners(plane, {{{50, 50, 0}, {-50, 50, 0}, {50, 0, 0}, {-50, 0, 0}}});

  CC3VertexArrayMeshModel* mesh = plane->vertexArrayMesh();
  ASSERT_NE(mesh, nullptr);
  EXPECT_TRUE(mesh->interleaveVertices());
  EXPECT_EQ(mesh->vertexLocations()->elementStride(), 32u);
  EXPECT_EQ(mesh->vertexLocations()->drawingMode(), GLenum(GL_TRIANGLE_STRIP));
  EXPECT_TRUE(mesh->vertexLocations()->elementsAreRetained());
  ASSERT_NE(mesh->vertexNormals(), nullptr);
  EXPECT_FALSE(mesh->vertexNormals()->elementsAreRetained());
  EXPECT_EQ(mesh->vertexNormals()->elements(), mesh->vertexLocations()->elements());
  for (GLuint i = 0; i < 4; ++i)
    EXPECT_EQ(mesh->vertexNormals()->normalAt(i), kCC3Vec3UnitZPositive);
  EXPECT_EQ(mesh->vertexTextureCoordinates(), nullptr);
  EXPECT_EQ(plane->material(), nullptr);
  EXPECT_EQ(mesh->name(), std::optional<std::string>("leaf-Mesh"));
  EXPECT_EQ(mesh->vertexLocations()->name(), std::optional<std::string>("leaf-Locations"));
  EXPECT_EQ(mesh->vertexNormals()->name(), std::optional<std::string>("leaf-Normals"));

  auto centred = CC3PlaneNode::nodeWithName("leaf");
  centred->populateAsCenteredRectangleWithSize(CGSizeMake(100, 50));
  expectCorners(centred, {{{50, 25, 0}, {-50, 25, 0}, {50, -25, 0}, {-50, -25, 0}}});
  // The same node name gives the same derived names; tags stay unique.
  EXPECT_EQ(centred->vertexArrayMesh()->name(), mesh->name());
  EXPECT_NE(centred->vertexArrayMesh()->tag(), mesh->tag());
  EXPECT_TRUE(plane->isMeshNode());
  EXPECT_TRUE(plane->hasLocalContent());
}

TEST(CC3PlaneNodeTest, MeshGivesASphereThenBoxVolumeThatFollowsTheNode) {
  LeakScope leaks;
  auto plane = CC3PlaneNode::node();
  plane->populateAsCenteredRectangleWithSize(CGSizeMake(100, 50));
  CC3NodeTighteningBoundingVolumeSequence* sequence = sequenceOf(plane);
  ASSERT_NE(sequence, nullptr);
  ASSERT_EQ(sequence->volumeCount(), 2u);
  auto* sphere = dynamic_cast<CC3VertexLocationsSphericalBoundingVolume*>(sequence->volumeAt(0));
  auto* box = dynamic_cast<CC3VertexLocationsBoundingBoxVolume*>(sequence->volumeAt(1));
  ASSERT_TRUE(sphere && box);
  // Built as soon as the mesh was set.
  EXPECT_FALSE(sphere->volumeNeedsBuilding());
  EXPECT_NEAR(sphere->radius(), 55.9017f, 1e-3f);
  EXPECT_VEC3_NEAR(sphere->centerOfGeometry(), kCC3Vec3Zero, 1e-6f);
  EXPECT_EQ(box->boundingBox().minimum, (CC3Vec3{-50, -25, 0}));
  EXPECT_EQ(box->boundingBox().maximum, (CC3Vec3{50, 25, 0}));

  auto corner = CC3PlaneNode::node();
  corner->populateAsRectangleWithSize(CGSizeMake(100, 50), CGPointMake(0, 0));
  corner->setLocation({10, 0, 0});
  corner->setScale({1, 3, 1});
  corner->updateTransformMatrices();
  CC3NodeTighteningBoundingVolumeSequence* moved = sequenceOf(corner);
  EXPECT_VEC3_NEAR(moved->centerOfGeometry(), (CC3Vec3{50, 25, 0}), 1e-5f);
  EXPECT_VEC3_NEAR(moved->globalCenterOfGeometry(), (CC3Vec3{60, 75, 0}), 1e-4f);
  auto* movedSphere = dynamic_cast<CC3NodeSphericalBoundingVolume*>(moved->volumeAt(0));
  EXPECT_NEAR(movedSphere->globalRadius(), 3 * 55.9017f, 1e-2f);

  // A new mesh rebuilds the volume the node already has.
  corner->populateAsCenteredRectangleWithSize(CGSizeMake(10, 10));
  EXPECT_EQ(sequenceOf(corner), moved);
  EXPECT_NEAR(movedSphere->radius(), std::sqrt(50.0f), 1e-4f);
}

TEST(CC3PlaneNodeTest, PlaneRunsThroughTheGlobalVertices) {
  LeakScope leaks;
  auto plane = CC3PlaneNode::node();
  plane->populateAsCenteredRectangleWithSize(CGSizeMake(20, 10));
  plane->setLocation({5, 0, -30});
  plane->setRotation({0, 90, 0});
  plane->updateTransformMatrices();
  CC3Plane p = plane->plane();
  // Turned a quarter about y, the picture faces +x and stands at x = 5.
  EXPECT_NEAR(std::fabs(p.x), 1.0f, 1e-5f);
  EXPECT_NEAR(p.y, 0.0f, 1e-5f);
  EXPECT_NEAR(p.z, 0.0f, 1e-5f);
  for (GLuint i = 0; i < 4; ++i) {
    CC3Vec3 g = plane->transformMatrix()->transformLocation(locationsOf(plane)->locationAt(i));
    EXPECT_NEAR(p.x * g.x + p.y * g.y + p.z * g.z + p.w, 0.0f, 1e-4f) << "vertex " << i;
  }
  EXPECT_EQ(CC3PlaneNode::node()->plane(), kCC3Vec4Zero);  // no mesh
}

TEST(CC3PlaneNodeTest, ColourAndOpacityGoToTheMaterialOrThePureColour) {
  LeakScope leaks;
  auto bare = CC3MeshNode::node();
  bare->setOpacity(128);
  EXPECT_FALSE(bare->isOpaque());
  // Making it translucent by flag still leaves its colour fully opaque.
  bare->setIsOpaque(false);
  EXPECT_FLOAT_EQ(bare->pureColor().a, 1.0f);
  EXPECT_TRUE(bare->isOpaque());
  bare->setColor({255, 128, 0});
  EXPECT_FLOAT_EQ(bare->pureColor().g, 128 / 255.0f);
  EXPECT_TRUE(bare->color() == (ccColor3B{255, 128, 0}));
  EXPECT_EQ(bare->opacity(), 255);

  auto dressed = CC3PlaneNode::node();
  dressed->populateAsCenteredRectangleWithSize(CGSizeMake(4, 4), nullptr, true);
  ASSERT_NE(dressed->material(), nullptr);
  auto child = CC3MeshNode::node();
  child->setMaterial(CC3Material::material());
  dressed->addChild(child);
  dressed->setIsOpaque(false);
  EXPECT_FALSE(dressed->material()->isOpaque());
  EXPECT_FALSE(child->isOpaque());  // passed on to the children
  EXPECT_FALSE(dressed->isOpaque());
  dressed->setColor({0, 0, 255});
  EXPECT_TRUE(dressed->material()->color() == (ccColor3B{0, 0, 255}));
  EXPECT_TRUE(child->color() == (ccColor3B{0, 0, 255}));
  dressed->setEmissionColor({0.5f, 0, 0, 1});
  EXPECT_FLOAT_EQ(dressed->emissionColor().r, 0.5f);
  EXPECT_FLOAT_EQ(child->material()->emissionColor().r, 0.5f);
  dressed->setOpacity(64);
  EXPECT_EQ(dressed->opacity(), 64);
  EXPECT_EQ(child->opacity(), 64);

  // Without a texture every texture coordinate is 0.
  CC3VertexTextureCoordinates* tc = dressed->vertexArrayMesh()->vertexTextureCoordinates();
  ASSERT_NE(tc, nullptr);
  for (GLuint i = 0; i < 4; ++i) EXPECT_EQ(tc->texCoord2FAt(i).u + tc->texCoord2FAt(i).v, 0.0f);
  EXPECT_EQ(dressed->material()->texture(), nullptr);
}

TEST(CC3PlaneNodeTest, CopySharesTheMeshAndCopiesTheMaterial) {
  LeakScope leaks;
  auto plane = CC3PlaneNode::nodeWithName("page");
  plane->populateAsCenteredRectangleWithSize(CGSizeMake(30, 40), nullptr, false);
  plane->setPureColor({0.1f, 0.2f, 0.3f, 1});
  plane->material()->setOpacity(100);
  auto copy = Ptr<CC3PlaneNode>(static_cast<CC3PlaneNode*>(plane->copy().get()));
  EXPECT_EQ(copy->meshModel(), plane->meshModel());
  ASSERT_NE(copy->material(), nullptr);
  EXPECT_NE(copy->material(), plane->material());
  EXPECT_EQ(copy->material()->opacity(), 100);
  EXPECT_FLOAT_EQ(copy->pureColor().b, 0.3f);
  auto* sphere = dynamic_cast<CC3NodeSphericalBoundingVolume*>(sequenceOf(copy)->volumeAt(0));
  ASSERT_NE(sphere, nullptr);
  EXPECT_EQ(sphere->node(), copy.get());
  EXPECT_NEAR(sphere->radius(), 25.0f, 1e-4f);
  // Changing the copy leaves the original alone.
  copy->setColor({255, 0, 0});
  EXPECT_FALSE(plane->material()->color() == (ccColor3B{255, 0, 0}));
}

// MARK: drawing

namespace {

class CC3PlaneNodeGLTest : public MeshGLTest {
 protected:
  void draw(CC3Node* node, bool decorate = true) {
    node->updateTransformMatrices();
    auto visitor = CC3NodeDrawingVisitor::visitor();
    visitor->setShouldDecorateNode(decorate);
    node->drawWithVisitor(visitor);
  }
};

const std::array<unsigned char, 4> kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255};

}  // namespace

TEST_F(CC3PlaneNodeGLTest, InvertedPictureStandsUprightAndPaddingIsNotShown) {
  // 24 x 24 is stored in a 32 x 32 texture: only three quarters are picture.
  std::string path = writeHalves("halves.png", 24, 24, kRed, kBlue);
  LeakScope leaks;
  auto texture = CC3Texture::textureFromFile(path);
  ASSERT_TRUE(texture);
  ASSERT_FLOAT_EQ(texture->mapSize().width, 0.75f);

  auto upright = CC3PlaneNode::nodeWithName("upright");
  upright->populateAsCenteredRectangleWithSize(CGSizeMake(32, 32), texture, true);
  upright->setLocation({32, 32, 0});
  openPass();
  draw(upright);
  closePass();
  // Top rows red, bottom rows blue, right to the corners: no padding shows.
  EXPECT_TRUE(rgbNear(pixel(32, 44), {255, 0, 0}));
  EXPECT_TRUE(rgbNear(pixel(18, 46), {255, 0, 0}));
  EXPECT_TRUE(rgbNear(pixel(46, 46), {255, 0, 0}));
  EXPECT_TRUE(rgbNear(pixel(32, 20), {0, 0, 255}));
  EXPECT_TRUE(rgbNear(pixel(46, 18), {0, 0, 255}));
  EXPECT_TRUE(rgbNear(pixel(8, 8), {0, 0, 0}));  // outside the plane

  // Not inverted, the same picture shows upside down.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  auto flipped = CC3PlaneNode::node();
  flipped->populateAsCenteredRectangleWithSize(CGSizeMake(32, 32), texture, false);
  flipped->setLocation({32, 32, 0});
  openPass();
  draw(flipped);
  closePass();
  EXPECT_TRUE(rgbNear(pixel(32, 44), {0, 0, 255}));
  EXPECT_TRUE(rgbNear(pixel(32, 20), {255, 0, 0}));
  texture = nullptr;
  CCTextureCache::sharedTextureCache()->removeAllTextures();
}

TEST_F(CC3PlaneNodeGLTest, BareMeshDrawsUnlitInItsPureColourAndRestoresLighting) {
  LeakScope leaks;
  auto bare = CC3PlaneNode::node();
  bare->populateAsRectangleWithSize(CGSizeMake(20, 20), CGPointMake(0, 0));
  bare->setPureColor({0, 1, 0, 1});
  bare->setLocation({10, 10, 0});
  openPass();
  CC3OpenGLES11Engine::engine()->serverCapabilities()->lighting()->enable();
  draw(bare);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  // Normals present and a uniform scale: rescale, not normalise.
  EXPECT_TRUE(glIsEnabled(GL_RESCALE_NORMAL));
  EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
  EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
  bare->setScale({1, 2, 1});
  draw(bare);
  EXPECT_FALSE(glIsEnabled(GL_RESCALE_NORMAL));
  EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
  closePass();
  EXPECT_TRUE(rgbNear(pixel(20, 20), {0, 255, 0}));
  EXPECT_TRUE(rgbNear(pixel(20, 45), {0, 255, 0}));  // stretched to 40 high
  EXPECT_TRUE(rgbNear(pixel(5, 5), {0, 0, 0}));
}

TEST_F(CC3PlaneNodeGLTest, PickingPassThenNormalPassStillTexturesTheSameMesh) {
  // 16 x 16 fills its texture: inverted, it must still stand upright.
  std::string path = writeHalves("pick.png", 16, 16, kRed, kBlue);
  LeakScope leaks;
  auto texture = CC3Texture::textureFromFile(path);
  auto plane = CC3PlaneNode::node();
  plane->populateAsCenteredRectangleWithSize(CGSizeMake(32, 32), texture, true);
  plane->setLocation({32, 32, 0});

  openPass();
  // The picking pass paints in a flat tag colour, undecorated.
  CC3OpenGLES11Engine::engine()->state()->color()->setFixedValue({0, 255, 0, 255});
  draw(plane, false);
  glFinish();
  EXPECT_TRUE(rgbNear(pixel(32, 44), {0, 255, 0}));
  EXPECT_TRUE(rgbNear(pixel(32, 20), {0, 255, 0}));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  // The normal pass that follows in the same frame draws the picture over it.
  CC3OpenGLES11Engine::engine()->state()->color()->setValue({1, 1, 1, 1});
  glClear(GL_DEPTH_BUFFER_BIT);
  draw(plane, true);
  closePass();
  EXPECT_TRUE(rgbNear(pixel(32, 44), {255, 0, 0}));
  EXPECT_TRUE(rgbNear(pixel(32, 20), {0, 0, 255}));
  texture = nullptr;
  CCTextureCache::sharedTextureCache()->removeAllTextures();
}

TEST_F(CC3PlaneNodeGLTest, TranslucentPictureBlendsOverWhatIsDrawn) {
  std::string path = writeFilled("glass.png", 8, 8, {255, 0, 0, 255});
  LeakScope leaks;
  auto texture = CC3Texture::textureFromFile(path);
  auto back = CC3PlaneNode::node();
  back->populateAsCenteredRectangleWithSize(CGSizeMake(64, 64));
  back->setPureColor({0, 0, 1, 1});
  back->setLocation({32, 32, -10});
  auto glass = CC3PlaneNode::node();
  glass->populateAsCenteredRectangleWithSize(CGSizeMake(32, 32), texture, true);
  glass->setLocation({32, 32, 0});
  glass->setOpacity(128);
  ASSERT_FALSE(glass->isOpaque());
  openPass();
  draw(back);
  CC3OpenGLES11Engine::engine()->state()->color()->setValue({1, 1, 1, 0.5f});
  draw(glass);
  closePass();
  auto mixed = pixel(32, 32);
  EXPECT_NEAR(mixed[0], 128, 6);
  EXPECT_NEAR(mixed[2], 127, 6);
  EXPECT_TRUE(rgbNear(pixel(4, 4), {0, 0, 255}));
  texture = nullptr;
  CCTextureCache::sharedTextureCache()->removeAllTextures();
}

TEST_F(CC3PlaneNodeGLTest, BoxAndLineBuildersDraw) {
  LeakScope leaks;
  auto box = CC3BoxNode::node();
  box->populateAsSolidBox(CC3BoxMake(-8, -8, -8, 8, 8, 8));
  box->setPureColor({1, 1, 0, 1});
  box->setLocation({16, 16, 0});
  box->setRotation({30, 40, 0});  // any side faces out: all faces are drawn closed
  auto* boxMesh = box->vertexArrayMesh();
  EXPECT_EQ(boxMesh->vertexIndices()->elementCount(), 36u);
  for (GLuint i = 0; i < 36; ++i) EXPECT_LT(boxMesh->vertexIndices()->indexAt(i), 24u);

  auto wire = CC3MeshNode::node();
  wire->populateAsWireBox(CC3BoxMake(0, 0, 0, 20, 20, 0));
  wire->setPureColor({0, 1, 1, 1});
  wire->setLocation({40.5f, 40.5f, 0});  // edges through pixel centres

  CC3Vec3 points[2] = {{4, 60, 0}, {60, 60, 0}};
  auto line = CC3LineNode::node();
  line->populateAsLineStripWith(2, points, false);
  EXPECT_FALSE(locationsOf(line)->elementsAreRetained());
  line->setLineWidth(3);
  line->setPureColor({1, 0, 1, 1});

  openPass();
  glEnable(GL_CULL_FACE);
  draw(box);
  draw(wire);
  draw(line);
  GLfloat width = 0;
  glGetFloatv(GL_LINE_WIDTH, &width);
  EXPECT_FLOAT_EQ(width, 3.0f);
  glDisable(GL_CULL_FACE);
  closePass();
  EXPECT_TRUE(rgbNear(pixel(16, 16), {255, 255, 0}));
  EXPECT_TRUE(rgbNear(pixel(40, 50), {0, 255, 255}));  // left edge of the wire box
  EXPECT_TRUE(rgbNear(pixel(50, 50), {0, 0, 0}));      // its inside is empty
  EXPECT_TRUE(rgbNear(pixel(30, 60), {255, 0, 255}));
}

TEST_F(CC3PlaneNodeGLTest, TrimmedPictureDrawsOnlyWhatShowsAndPicksTheWholePlane) {
  // 64 x 48 in a 64 x 64 texture: the top half transparent, the bottom red.
  std::string path = writeHalves("half.png", 64, 48, {0, 0, 0, 0}, {255, 0, 0, 255});
  LeakScope leaks;
  CCTexture2D::setRecordsAlphaCells(true);
  auto texture = CC3Texture::textureFromFile(path);
  CCTexture2D::setRecordsAlphaCells(false);
  auto back = CC3PlaneNode::node();
  back->populateAsCenteredRectangleWithSize(CGSizeMake(64, 64));
  back->setPureColor({0, 0, 1, 1});
  back->setLocation({32, 32, -10});
  const bool wasEnabled = CC3PictureFitting::enabled();
  const auto drawn = [&](bool fitted) {
    CC3PictureFitting::setEnabled(fitted);
    auto plane = CC3PlaneNode::node();
    plane->populateAsCenteredRectangleWithSize(CGSizeMake(64, 48), texture, true);
    plane->setIsOpaque(false);
    plane->trimToPicture();
    CC3PictureFitting::setEnabled(wasEnabled);
    plane->setLocation({32, 32, 0});
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    openPass();
    draw(back);
    draw(plane);
    closePass();
    std::vector<std::array<unsigned char, 4>> frame;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) frame.push_back(pixel(x, y));
    return std::make_pair(plane, frame);
  };
  auto [whole, wholeFrame] = drawn(false);
  auto [fitted, fittedFrame] = drawn(true);
  EXPECT_EQ(whole->drawingMeshModel(), nullptr);
  // The two lower rows of cells, one rectangle; the plane's own mesh stays whole.
  auto* drawing = dynamic_cast<CC3VertexArrayMeshModel*>(fitted->drawingMeshModel());
  ASSERT_NE(drawing, nullptr);
  EXPECT_EQ(drawing->vertexLocations()->elementCount(), 4u);
  EXPECT_EQ(fitted->vertexArrayMesh()->vertexLocations()->elementCount(), 4u);
  // The lower half covers the blue (lit without a lamp, the red comes out dark).
  EXPECT_FALSE(rgbNear(fittedFrame[20 * 64 + 32], {0, 0, 255}, 60));
  EXPECT_TRUE(rgbNear(fittedFrame[50 * 64 + 32], {0, 0, 255}));  // the upper half shows blue
  for (std::size_t i = 0; i < wholeFrame.size(); ++i)
    ASSERT_TRUE(rgbNear(fittedFrame[i], {wholeFrame[i][0], wholeFrame[i][1], wholeFrame[i][2]}, 1))
        << "pixel " << i % 64 << ", " << i / 64;

  // The picking pass paints the whole plane, the transparent half too.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  openPass();
  CC3OpenGLES11Engine::engine()->state()->color()->setFixedValue({0, 255, 0, 255});
  draw(fitted, false);
  closePass();
  EXPECT_TRUE(rgbNear(pixel(32, 50), {0, 255, 0}));
  EXPECT_TRUE(rgbNear(pixel(32, 20), {0, 255, 0}));
  whole = nullptr;
  fitted = nullptr;
  texture = nullptr;
  CCTextureCache::sharedTextureCache()->removeAllTextures();
}
