#include "CCSprite.h"

#include <cstdlib>

#include "CCLabelTTF.h"
#include "TextureTestFixture.h"

namespace {
// The director's drawing state: client arrays, texturing and premultiplied blending.
void drawScene(CCNode* node) {
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  node->visit();
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

std::array<GLint, 2> blendState() {
  std::array<GLint, 2> state{};
  glGetIntegerv(GL_BLEND_SRC, &state[0]);
  glGetIntegerv(GL_BLEND_DST, &state[1]);
  return state;
}
}  // namespace

class CCSpriteTest : public TextureTest {
 protected:
  CCSpriteTest() : TextureTest(256) {}
};

TEST_F(CCSpriteTest, DefaultsAndMissingFiles) {
  auto sprite = CCSprite::sprite();
  EXPECT_EQ(sprite->anchorPoint(), CGPointMake(0.5f, 0.5f));
  EXPECT_EQ(sprite->opacity(), 255);
  EXPECT_EQ(sprite->color(), ccWHITE);
  EXPECT_EQ(sprite->blendFunc(), (ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
  EXPECT_FALSE(sprite->doesOpacityModifyRGB());
  EXPECT_EQ(sprite->quad().tl.colors, ccc4(255, 255, 255, 255));
  EXPECT_FALSE(CCSprite::spriteWithFile(dir_.file("missing.png")));
  EXPECT_ASSERTION(CCSprite::spriteWithFile(""), "Invalid filename for sprite");
  EXPECT_ASSERTION(CCSprite::spriteWithTexture(nullptr), "Invalid texture for sprite");
  EXPECT_NE(
      sprite->description().find("| Rect = (0.00,0.00,0.00,0.00) | tag = -1 | atlasIndex = -1>"),
      std::string::npos);
}

TEST_F(CCSpriteTest, QuadFromA300By200Image) {
  auto sprite = CCSprite::spriteWithFile(writeFilled("s.png", 300, 200, {9, 9, 9, 255}));
  ASSERT_TRUE(sprite);
  EXPECT_EQ(sprite->contentSize(), CGSizeMake(300, 200));
  const auto& q = sprite->quad();
  EXPECT_EQ(q.bl.vertices.x, 0);
  EXPECT_EQ(q.bl.vertices.y, 0);
  EXPECT_EQ(q.tr.vertices.x, 300);
  EXPECT_EQ(q.tr.vertices.y, 200);
  EXPECT_FLOAT_EQ(q.bl.texCoords.u, 0);
  EXPECT_FLOAT_EQ(q.bl.texCoords.v, 0.78125f);
  EXPECT_FLOAT_EQ(q.tr.texCoords.u, 0.5859375f);
  EXPECT_FLOAT_EQ(q.tr.texCoords.v, 0);

  // Flipping swaps the u of left and right and leaves the vertices.
  sprite->setFlipX(true);
  EXPECT_FLOAT_EQ(q.bl.texCoords.u, 0.5859375f);
  EXPECT_FLOAT_EQ(q.tr.texCoords.u, 0);
  EXPECT_FLOAT_EQ(q.tl.texCoords.u, 0.5859375f);
  EXPECT_EQ(q.tr.vertices.x, 300);
  EXPECT_EQ(q.bl.vertices.x, 0);
  // The flip actions reach the sprite.
  CCFlipY::actionWithFlipY(true)->startWithTarget(sprite.get());
  EXPECT_TRUE(sprite->flipY());
  EXPECT_FLOAT_EQ(q.bl.texCoords.v, 0);
  EXPECT_FLOAT_EQ(q.tl.texCoords.v, 0.78125f);

  // A sub-rectangle in points at scale 2 is twice as many pixels.
  sprite->setFlipX(false);
  sprite->setFlipY(false);
  __ccContentScaleFactor = 2;
  sprite->setTextureRect(CGRectMake(10, 20, 50, 40));
  EXPECT_EQ(sprite->textureRectInPixels(), CGRectMake(20, 40, 100, 80));
  EXPECT_EQ(sprite->contentSize(), CGSizeMake(50, 40));
  EXPECT_FLOAT_EQ(q.tl.texCoords.u, 20.0f / 512);
  EXPECT_FLOAT_EQ(q.bl.texCoords.v, 120.0f / 256);
  EXPECT_EQ(q.tr.vertices.x, 100);

  // Stored rotated in the texture: the corners take the turned coordinates.
  __ccContentScaleFactor = 1;
  sprite->setTextureRectInPixels(CGRectMake(0, 0, 100, 50), true, CGSizeMake(100, 50));
  EXPECT_FLOAT_EQ(q.bl.texCoords.u, 0);
  EXPECT_FLOAT_EQ(q.bl.texCoords.v, 0);
  EXPECT_FLOAT_EQ(q.tr.texCoords.u, 50.0f / 512);
  EXPECT_FLOAT_EQ(q.tr.texCoords.v, 100.0f / 256);
}

TEST_F(CCSpriteTest, OpacityPremultipliesOnlyForPremultipliedTextures) {
  std::vector<unsigned char> white = {255, 255, 255, 255};
  auto withAlpha = CGImage::imageWithRGBA(1, 1, white.data(), true);
  auto opaque = CGImage::imageWithRGBA(1, 1, white.data(), false);
  auto premultiplied = CCSprite::spriteWithCGImage(withAlpha.get(), "alpha");
  auto straight = CCSprite::spriteWithCGImage(opaque.get(), "opaque");
  ASSERT_TRUE(premultiplied && straight);
  ASSERT_TRUE(premultiplied->texture()->hasPremultipliedAlpha());
  premultiplied->setOpacity(128);
  straight->setOpacity(128);
  EXPECT_EQ(premultiplied->quad().br.colors, ccc4(128, 128, 128, 128));
  EXPECT_EQ(straight->quad().br.colors, ccc4(255, 255, 255, 128));
  EXPECT_EQ(premultiplied->color(), ccWHITE);  // the colour as set

  premultiplied->setColor(ccc3(200, 100, 0));
  EXPECT_EQ(premultiplied->quad().tl.colors, ccc4(100, 50, 0, 128));
  premultiplied->setOpacityModifyRGB(false);
  EXPECT_EQ(premultiplied->quad().tl.colors, ccc4(200, 100, 0, 128));
}

TEST_F(CCSpriteTest, DefaultBlendDrawsWithoutBlendCallsAndOthersAreRestored) {
  std::vector<unsigned char> white = {255, 255, 255, 255};
  auto image = CGImage::imageWithRGBA(1, 1, white.data(), true);
  auto sprite = CCSprite::spriteWithCGImage(image.get(), "w");
  ASSERT_EQ(sprite->blendFunc(), (ccBlendFunc{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
  glEnableClientState(GL_VERTEX_ARRAY);
  glBlendFunc(GL_SRC_ALPHA, GL_ZERO);  // a marker the default blend must leave alone
  sprite->draw();
  EXPECT_EQ(blendState(), (std::array<GLint, 2>{GL_SRC_ALPHA, GL_ZERO}));
  sprite->setBlendFunc({GL_DST_COLOR, GL_ZERO});
  sprite->draw();
  EXPECT_EQ(blendState(), (std::array<GLint, 2>{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
  glDisableClientState(GL_VERTEX_ARRAY);
}

TEST_F(CCSpriteTest, HeadlessSceneShowsSpritesAndACyrillicLabel) {
  auto root = CCNode::node();
  // A 40 x 20 picture: left half red, right half blue.
  std::vector<unsigned char> rgba(40 * 20 * 4);
  for (int i = 0; i < 40 * 20; ++i) {
    bool left = (i % 40) < 20;
    rgba[std::size_t(i) * 4] = left ? 255 : 0;
    rgba[std::size_t(i) * 4 + 2] = left ? 0 : 255;
    rgba[std::size_t(i) * 4 + 3] = 255;
  }
  std::string path = writeImage("pair.png", 40, 20, rgba);
  auto plain = CCSprite::spriteWithFile(path);
  auto turned = CCSprite::spriteWithFile(path);
  ASSERT_TRUE(plain && turned);
  plain->setPosition(CGPointMake(60, 200));
  turned->setPosition(CGPointMake(200, 200));
  turned->setRotation(90);  // clockwise: the red half ends on top
  auto label = CCLabelTTF::labelWithString("Жили-были\nдед и баба", CGSizeMake(240, 80),
                                           UITextAlignmentLeft, "ArialRoundedMTBold", 24);
  ASSERT_TRUE(label && label->texture());
  label->setColor(ccc3(255, 255, 0));
  label->setPosition(CGPointMake(128, 60));
  root->addChild(plain);
  root->addChild(turned);
  root->addChild(label);
  drawScene(root);

  std::vector<unsigned char> shot = gl_.readAll();
  std::vector<unsigned char> upright(shot.size());
  for (int y = 0; y < 256; ++y)
    std::copy_n(&shot[std::size_t(255 - y) * 256 * 4], 256 * 4, &upright[std::size_t(y) * 256 * 4]);
  std::string error;
  if (const char* dir = std::getenv("LUMO_BINARY_DIR"))
    writePNG(std::string(dir) + "/sprites-and-label.png", upright.data(), 256, 256, error);

  EXPECT_TRUE(colourNear(pixel(50, 200), {255, 0, 0}));  // left half of the plain sprite
  EXPECT_TRUE(colourNear(pixel(70, 200), {0, 0, 255}));
  EXPECT_TRUE(colourNear(pixel(60, 225), {0, 0, 0}));     // outside it
  EXPECT_TRUE(colourNear(pixel(200, 210), {255, 0, 0}));  // turned: red above, blue below
  EXPECT_TRUE(colourNear(pixel(200, 190), {0, 0, 255}));
  EXPECT_TRUE(colourNear(pixel(215, 200), {0, 0, 0}));

  // The label's box spans x 8..248, y 20..100; its ink is yellow and in two lines.
  int inkTop = 0, inkBottom = 0, outside = 0, notYellow = 0;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      auto p = pixel(x, y);
      bool ink = p[0] > 200 && p[1] > 200;
      if (!ink) continue;
      notYellow += p[2] > 60;
      if (y >= 20 && y < 100 && x >= 8 && x < 248)
        (y >= 60 ? inkTop : inkBottom) += 1;
      else
        outside += 1;
    }
  EXPECT_GT(inkTop, 100);
  EXPECT_GT(inkBottom, 100);
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(notYellow, 0);
}
