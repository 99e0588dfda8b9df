#include <gtest/gtest.h>

#include "CC3MeshTestSupport.h"
#include "CC3Node.h"
#include "CC3NodeVisitor.h"
#include "CC3VertexArrayMeshModel.h"
#include "CC3VertexArrays.h"

namespace {

// Four texture coordinates laid out as a rectangle's are.
Ptr<CC3VertexTextureCoordinates> rectangleTexCoords() {
  auto tc = CC3VertexTextureCoordinates::vertexArray();
  tc->allocateElements(4);
  const ccTex2F coords[4] = {{1, 1}, {0, 1}, {1, 0}, {0, 0}};
  for (GLuint i = 0; i < 4; ++i) tc->setTexCoord2F(coords[i], i);
  return tc;
}

void expectTexCoords(CC3VertexTextureCoordinates* tc, std::array<ccTex2F, 4> expected) {
  for (GLuint i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(tc->texCoord2FAt(i).u, expected[i].u) << "vertex " << i;
    EXPECT_FLOAT_EQ(tc->texCoord2FAt(i).v, expected[i].v) << "vertex " << i;
  }
}

}  // namespace

TEST(CC3VertexArraysTest, ElementsOwnershipAndAddressing) {
  LeakScope leaks;
  auto locations = CC3VertexLocations::vertexArrayWithName("locs");
  EXPECT_EQ(locations->elementStride(), 12u);  // three floats, packed
  EXPECT_EQ(locations->elementSize(), 3);
  locations->setElementStride(32);
  GLvoid* block = locations->allocateElements(4);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(locations->elementsAreRetained());
  EXPECT_EQ(locations->elementCount(), 4u);
  EXPECT_EQ(static_cast<char*>(locations->addressOfElement(3)), static_cast<char*>(block) + 96);
  EXPECT_EQ(locations->locationAt(2), kCC3Vec3Zero);  // zeroed

  auto normals = CC3VertexNormals::vertexArray();
  normals->setElements(block);
  normals->setElementStride(32);
  normals->setElementCount(4);
  normals->setElementOffset(12);
  EXPECT_FALSE(normals->elementsAreRetained());
  normals->setNormal({0, 0, 1}, 1);
  EXPECT_EQ(static_cast<char*>(normals->addressOfElement(1)), static_cast<char*>(block) + 44);
  locations->setLocation({1, 2, 3}, 1);
  EXPECT_EQ(locations->locationAt(1), (CC3Vec3{1, 2, 3}));
  EXPECT_EQ(normals->normalAt(1), (CC3Vec3{0, 0, 1}));

  EXPECT_ASSERTION(locations->addressOfElement(4), "Element index is beyond the element count.");

  // A count of zero frees the owned block; the address is then refused.
  EXPECT_EQ(locations->allocateElements(0), nullptr);
  EXPECT_FALSE(locations->elementsAreRetained());
  EXPECT_ASSERTION(locations->addressOfElement(0), "Elements are no longer in application memory.");

  // Texture coordinates and colours have their own element sizes.
  EXPECT_EQ(CC3VertexTextureCoordinates::vertexArray()->elementStride(), 8u);
  EXPECT_EQ(CC3VertexColors::vertexArray()->elementStride(), 16u);
  auto indices = CC3VertexIndices::vertexArray();
  EXPECT_EQ(indices->elementStride(), 2u);
  indices->allocateElements(3);
  indices->setIndex(65535, 2);
  EXPECT_EQ(indices->indexAt(2), 65535u);
}

TEST(CC3VertexArraysTest, TagsComeFromTheVertexArrayFamily) {
  LeakScope leaks;
  auto a = CC3VertexLocations::vertexArray();
  auto b = CC3VertexNormals::vertexArray();
  auto mesh = CC3VertexArrayMeshModel::mesh();
  auto c = CC3VertexIndices::vertexArray();
  EXPECT_EQ(b->tag(), a->tag() + 1);
  EXPECT_EQ(c->tag(), b->tag() + 1);
}

TEST(CC3VertexArraysTest, TextureAlignmentScalesAndInverts) {
  LeakScope leaks;
  auto plain = rectangleTexCoords();
  plain->alignWithTextureMapSize(CGSizeMake(0.75f, 1));
  expectTexCoords(plain, {{{0.75f, 1}, {0, 1}, {0.75f, 0}, {0, 0}}});

  auto inverted = rectangleTexCoords();
  inverted->alignWithInvertedTextureMapSize(CGSizeMake(0.75f, 1));
  expectTexCoords(inverted, {{{0.75f, 0}, {0, 0}, {0.75f, 1}, {0, 1}}});

  auto tall = rectangleTexCoords();
  tall->alignWithInvertedTextureMapSize(CGSizeMake(1, 0.75f));
  expectTexCoords(tall, {{{1, 0}, {0, 0}, {1, 0.75f}, {0, 0.75f}}});

  // An image that fills its texture keeps its coordinates, and inverted it
  // is still flipped: top vertices sample its top row.
  auto full = rectangleTexCoords();
  full->alignWithTextureMapSize(CGSizeMake(1, 1));
  expectTexCoords(full, {{{1, 1}, {0, 1}, {1, 0}, {0, 0}}});
  auto fullInverted = rectangleTexCoords();
  fullInverted->alignWithInvertedTextureMapSize(CGSizeMake(1, 1));
  expectTexCoords(fullInverted, {{{1, 0}, {0, 0}, {1, 1}, {0, 1}}});

  // No texture: everything collapses to 0.
  auto none = rectangleTexCoords();
  none->alignWithTexture(nullptr);
  expectTexCoords(none, {{{0, 0}, {0, 0}, {0, 0}, {0, 0}}});
}

TEST(CC3VertexArraysTest, LocationsBoundingBoxIsBuiltOnceAndRefusesNonFloats) {
  LeakScope leaks;
  auto locations = CC3VertexLocations::vertexArray();
  locations->allocateElements(3);
  locations->setLocation({-1, 5, 2}, 0);
  locations->setLocation({3, -2, 2}, 1);
  locations->setLocation({0, 0, -4}, 2);
  EXPECT_TRUE(locations->boundingBoxNeedsBuilding());
  CC3Box box = locations->boundingBox();
  EXPECT_EQ(box.minimum, (CC3Vec3{-1, -2, -4}));
  EXPECT_EQ(box.maximum, (CC3Vec3{3, 5, 2}));
  EXPECT_EQ(locations->centerOfGeometry(), (CC3Vec3{1, 1.5f, -1}));
  EXPECT_FALSE(locations->boundingBoxNeedsBuilding());

  auto shorts = CC3VertexLocations::vertexArray();
  shorts->setElementType(GL_SHORT);
  shorts->allocateElements(2);
  EXPECT_ASSERTION(shorts->boundingBox(),
                   "CC3VertexLocations must have elementType GLFLOAT to build the bounding box");
}

TEST(CC3VertexArraysTest, StripLengthsAndFaceCounts) {
  LeakScope leaks;
  auto indices = CC3VertexIndices::vertexArray();
  GLuint lengths[3] = {4, 3, 5};
  indices->setStripLengths(lengths, 3, true);
  lengths[0] = 99;  // retained lengths are a copy
  EXPECT_EQ(indices->stripCount(), 3u);
  EXPECT_EQ(indices->stripLengths()[0], 4u);
  EXPECT_TRUE(indices->stripLengthsAreRetained());

  auto locations = CC3VertexLocations::vertexArray();
  EXPECT_EQ(locations->faceCountFromVertexCount(6), 4u);  // triangle strip
  locations->setDrawingMode(GL_TRIANGLES);
  EXPECT_EQ(locations->faceCountFromVertexCount(6), 2u);
  locations->setDrawingMode(GL_LINES);
  EXPECT_EQ(locations->faceCountFromVertexCount(6), 3u);
  locations->setDrawingMode(GL_LINE_STRIP);
  EXPECT_EQ(locations->faceCountFromVertexCount(6), 5u);
  EXPECT_EQ(locations->faceCountFromVertexCount(0), 0u);
}

using CC3VertexArraysGLTest = MeshGLTest;

TEST_F(CC3VertexArraysGLTest, InterleavedBuffersShareOneNameAndReleaseTheClientCopy) {
  LeakScope leaks;
  auto locations = CC3VertexLocations::vertexArray();
  locations->setElementStride(24);
  locations->allocateElements(3);
  locations->setLocation({1, 2, 3}, 2);
  auto normals = CC3VertexNormals::vertexArray();
  normals->setElements(locations->elements());
  normals->setElementStride(24);
  normals->setElementCount(3);
  normals->setElementOffset(12);
  auto mesh = CC3VertexArrayMeshModel::mesh();
  mesh->setInterleaveVertices(true);
  mesh->setVertexLocations(locations);
  mesh->setVertexNormals(normals);

  openPass();
  mesh->createGLBuffers();
  GLuint buffer = locations->bufferID();
  ASSERT_NE(buffer, 0u);
  EXPECT_TRUE(glIsBuffer(buffer));
  EXPECT_EQ(normals->bufferID(), buffer);
  GLint size = 0;
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  EXPECT_EQ(size, 72);
  // Creating again keeps the buffer.
  mesh->createGLBuffers();
  EXPECT_EQ(locations->bufferID(), buffer);

  // With the data in the buffer the client copy goes, and no array keeps its address.
  mesh->releaseRedundantData();
  EXPECT_EQ(locations->elements(), nullptr);
  EXPECT_EQ(normals->elements(), nullptr);
  EXPECT_ASSERTION(normals->normalAt(0), "Elements are no longer in application memory.");

  mesh->deleteGLBuffers();
  EXPECT_EQ(locations->bufferID(), 0u);
  EXPECT_EQ(normals->bufferID(), 0u);
  EXPECT_FALSE(glIsBuffer(buffer));
  closePass();
}

TEST_F(CC3VertexArraysGLTest, DataWithoutABufferStaysInClientMemory) {
  LeakScope leaks;
  auto locations = CC3VertexLocations::vertexArray();
  locations->allocateElements(2);
  locations->setShouldReleaseRedundantData(true);
  // No buffer was made, so nothing is redundant.
  locations->releaseRedundantData();
  EXPECT_NE(locations->elements(), nullptr);
  // An empty array makes no buffer.
  auto empty = CC3VertexNormals::vertexArray();
  openPass();
  empty->createGLBuffer();
  EXPECT_EQ(empty->bufferID(), 0u);
  locations->setShouldReleaseRedundantData(false);
  locations->createGLBuffer();
  EXPECT_NE(locations->bufferID(), 0u);
  locations->releaseRedundantData();
  EXPECT_NE(locations->elements(), nullptr);
  locations->deleteGLBuffer();
  closePass();
}

TEST(CC3VertexArraysTest, CopyOwnsACopyOfOwnedDataAndReferencesTheRest) {
  LeakScope leaks;
  Ptr<CC3VertexLocations> copy;
  {
    auto original = CC3VertexLocations::vertexArrayWithName("orig");
    original->allocateElements(2);
    original->setLocation({4, 5, 6}, 1);
    copy = Ptr<CC3VertexLocations>(static_cast<CC3VertexLocations*>(original->copy().get()));
    EXPECT_NE(copy->elements(), original->elements());
    EXPECT_NE(copy->tag(), original->tag());
  }
  // The original is gone; the copy still reads its own data.
  EXPECT_TRUE(copy->elementsAreRetained());
  EXPECT_EQ(copy->locationAt(1), (CC3Vec3{4, 5, 6}));

  CC3Vec3 shared[1] = {{1, 1, 1}};
  auto referencing = CC3VertexLocations::vertexArray();
  referencing->setElements(shared);
  referencing->setElementCount(1);
  auto second =
      Ptr<CC3VertexLocations>(static_cast<CC3VertexLocations*>(referencing->copy().get()));
  EXPECT_EQ(second->elements(), static_cast<GLvoid*>(shared));
  EXPECT_FALSE(second->elementsAreRetained());
}

TEST_F(CC3VertexArraysGLTest, StripsDrawInTurnAndNeverPastTheLastElement) {
  LeakScope leaks;
  // Two separate triangles as two strips of three: (4..20) and (40..60).
  auto locations = CC3VertexLocations::vertexArray();
  locations->allocateElements(6);
  const CC3Vec3 points[6] = {{4, 4, 0},   {20, 4, 0},  {4, 20, 0},
                             {40, 40, 0}, {60, 40, 0}, {40, 60, 0}};
  for (GLuint i = 0; i < 6; ++i) locations->setLocation(points[i], i);
  GLuint lengths[2] = {3, 3};
  locations->setStripLengths(lengths, 2, false);
  auto visitor = CC3NodeDrawingVisitor::visitor();

  openPass();
  CC3OpenGLES11Engine::engine()->state()->color()->setValue({1, 1, 1, 1});
  locations->bindGL();
  locations->drawWithVisitor(visitor);
  glFinish();
  EXPECT_EQ(pixel(8, 8)[0], 255);
  EXPECT_EQ(pixel(44, 44)[0], 255);
  EXPECT_EQ(pixel(30, 30)[0], 0);  // a single strip would have joined them

  // Runs that reach past the data are cut short or skipped (each draw is one counted call).
  GLuint tooLong[3] = {4, 4, 4};
  locations->setStripLengths(tooLong, 3, true);
  CC3OpenGLES11Calls::resetCounts();
  locations->drawWithVisitor(visitor);
  EXPECT_EQ(CC3OpenGLES11Calls::setCount(), 2u);  // 4, then the 2 left, then nothing
  locations->setStripLengths(nullptr, 0, false);
  locations->setFirstElement(7);
  CC3OpenGLES11Calls::resetCounts();
  locations->drawWithVisitor(visitor);
  EXPECT_EQ(CC3OpenGLES11Calls::setCount(), 0u);
  closePass();
}
