#include "CCTexture2D.h"

#include "CGImage.h"
#include "NSStringDrawing.h"
#include "TextureTestFixture.h"
#include "UIFont.h"

namespace {
Ptr<CCTexture2D> textureFrom(CGImage* image) {
  auto texture = makeObject<CCTexture2D>();
  return texture->initWithImage(image) ? texture : nullptr;
}

// 3 x 2: top row red, green, blue; bottom row white, half-transparent red, clear.
std::vector<unsigned char> sixPixels() {
  return {255, 0,   0,   255, 0,   255, 0, 255, 0, 0, 255, 255,
          255, 255, 255, 255, 255, 0,   0, 128, 0, 0, 0,   0};
}
}  // namespace

using CCTexture2DTest = TextureTest;

TEST_F(CCTexture2DTest, ImageSizesRoundUpToPowersOfTwo) {
  auto image = UIImage::imageWithContentsOfFile(writeFilled("a.png", 300, 200, {1, 2, 3, 255}));
  auto texture = makeObject<CCTexture2D>();
  ASSERT_TRUE(texture->initWithImage(image.get()));
  EXPECT_EQ(texture->pixelsWide(), 512u);
  EXPECT_EQ(texture->pixelsHigh(), 256u);
  EXPECT_EQ(texture->contentSizeInPixels(), CGSizeMake(300, 200));
  EXPECT_FLOAT_EQ(texture->maxS(), 0.5859375f);
  EXPECT_FLOAT_EQ(texture->maxT(), 0.78125f);
  EXPECT_NE(texture->name(), 0u);
  EXPECT_TRUE(glIsTexture(texture->name()));
  __ccContentScaleFactor = 2;
  EXPECT_EQ(texture->contentSize(), CGSizeMake(150, 100));
  EXPECT_NE(texture->description().find("| Dimensions = 512x256 | Coordinates = (0.59, 0.78)>"),
            std::string::npos);

  // The GL name goes with the texture.
  GLuint name = texture->name();
  texture = nullptr;
  EXPECT_FALSE(glIsTexture(name));
}

TEST_F(CCTexture2DTest, ImageLiesInTheTopLeftPremultipliedWhenItHasAlpha) {
  auto image = CGImage::imageWithRGBA(3, 2, sixPixels().data(), true);
  auto texture = textureFrom(image.get());
  ASSERT_TRUE(texture);
  EXPECT_EQ(texture->pixelFormat(), kCCTexture2DPixelFormat_RGBA8888);
  EXPECT_TRUE(texture->hasPremultipliedAlpha());
  // Each image pixel becomes a 10 x 10 cell; the image's top row is drawn on top.
  drawTexture(texture, CGRectMake(0, 0, 30, 20));
  EXPECT_TRUE(colourNear(pixel(5, 15), {255, 0, 0}));
  EXPECT_TRUE(colourNear(pixel(15, 15), {0, 255, 0}));
  EXPECT_TRUE(colourNear(pixel(25, 15), {0, 0, 255}));
  EXPECT_TRUE(colourNear(pixel(5, 5), {255, 255, 255}));
  EXPECT_TRUE(colourNear(pixel(15, 5), {128, 0, 0}));  // premultiplied by 128/255
  EXPECT_EQ(pixel(15, 5)[3], 128);
  EXPECT_TRUE(colourNear(pixel(25, 5), {0, 0, 0}));

  // At a point, the used part is drawn one texel per unit: rows 0 and 1.
  glEnable(GL_TEXTURE_2D);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  texture->drawAtPoint(CGPointMake(40, 30));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisable(GL_TEXTURE_2D);
  EXPECT_TRUE(colourNear(pixel(40, 31), {255, 0, 0}));
  EXPECT_TRUE(colourNear(pixel(42, 31), {0, 0, 255}));
  EXPECT_TRUE(colourNear(pixel(40, 30), {255, 255, 255}));
  EXPECT_TRUE(colourNear(pixel(43, 31), {0, 0, 0}));  // the texture's unused column
  EXPECT_TRUE(colourNear(pixel(40, 32), {0, 0, 0}));
}

TEST_F(CCTexture2DTest, OpaqueImageIsNotPremultipliedAndStaysOpaque) {
  auto image = CGImage::imageWithRGBA(3, 2, sixPixels().data(), false);
  auto texture = textureFrom(image.get());
  ASSERT_TRUE(texture);
  EXPECT_FALSE(texture->hasPremultipliedAlpha());
  drawTexture(texture, CGRectMake(0, 0, 30, 20));
  // The "clear" pixel's alpha is ignored: its colour is drawn opaque.
  EXPECT_TRUE(colourNear(pixel(15, 5), {255, 0, 0}));
  EXPECT_EQ(pixel(15, 5)[3], 255);
  EXPECT_EQ(pixel(25, 5)[3], 255);
}

TEST_F(CCTexture2DTest, SixteenBitFormatsAndMasks) {
  std::vector<unsigned char> orange = {255, 128, 0, 255};
  CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA4444);
  auto image = CGImage::imageWithRGBA(1, 1, orange.data(), true);
  auto t4444 = textureFrom(image.get());
  ASSERT_TRUE(t4444);
  EXPECT_EQ(t4444->pixelFormat(), kCCTexture2DPixelFormat_RGBA4444);
  drawTexture(t4444, CGRectMake(0, 0, 8, 8));
  EXPECT_TRUE(colourNear(pixel(4, 4), {255, 136, 0}));  // 4 bits: 0x8 -> 0x88

  CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGB5A1);
  std::vector<unsigned char> greenish = {0, 200, 100, 200};
  auto t5551 = textureFrom(CGImage::imageWithRGBA(1, 1, greenish.data(), true).get());
  ASSERT_TRUE(t5551);
  drawTexture(t5551, CGRectMake(10, 0, 8, 8));
  // Premultiplied (0, 157, 78) at 5 bits: 19 -> 156, 9 -> 74; alpha 200 >> 7 = 1.
  EXPECT_TRUE(colourNear(pixel(14, 4), {0, 156, 74}, 3));
  EXPECT_EQ(pixel(14, 4)[3], 255);

  // Fewer than 8 bits per component and no alpha: RGB565 whatever the default.
  CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA8888);
  static const unsigned char greyPNG[] = {
      0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
      0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x04, 0x00, 0x00, 0x00,
      0x00, 0xff, 0x8e, 0x76, 0x54, 0x00, 0x00, 0x00, 0x0a, 0x49, 0x44, 0x41, 0x54, 0x78,
      0x9c, 0x63, 0xf8, 0x00, 0x00, 0x00, 0xf2, 0x00, 0xf1, 0x9c, 0xf1, 0x1d, 0xe6, 0x00,
      0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
  auto grey = CGImage::imageWithData({std::begin(greyPNG), std::end(greyPNG)});
  ASSERT_TRUE(grey);
  ASSERT_EQ(grey->bitsPerComponent(), 4u);
  auto t565 = textureFrom(grey.get());
  ASSERT_TRUE(t565);
  EXPECT_EQ(t565->pixelFormat(), kCCTexture2DPixelFormat_RGB565);
  EXPECT_FALSE(t565->hasPremultipliedAlpha());

  // A mask (no colour space) becomes alpha only.
  unsigned char alpha[4] = {0, 255, 255, 0};
  auto mask = textureFrom(CGImage::maskWithAlpha(2, 2, alpha).get());
  ASSERT_TRUE(mask);
  EXPECT_EQ(mask->pixelFormat(), kCCTexture2DPixelFormat_A8);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 0, 1);
  drawTexture(mask, CGRectMake(20, 0, 20, 20));
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  EXPECT_TRUE(colourNear(pixel(25, 15), {0, 0, 0}));      // top-left: alpha 0
  EXPECT_TRUE(colourNear(pixel(35, 15), {255, 255, 0}));  // top-right: alpha 255
}

TEST_F(CCTexture2DTest, RefusalsAndAssertions) {
  GLint maxSize = CCConfiguration::sharedConfiguration()->maxTextureSize();
  ASSERT_GT(maxSize, 0);
  std::vector<unsigned char> row(std::size_t(maxSize + 1) * 4, 255);
  auto wide = CGImage::imageWithRGBA(std::size_t(maxSize) + 1, 1, row.data(), true);
  EXPECT_FALSE(makeObject<CCTexture2D>()->initWithImage(wide.get()));

  CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_Automatic);
  auto image = CGImage::imageWithRGBA(3, 2, sixPixels().data(), true);
  EXPECT_ASSERTION(makeObject<CCTexture2D>()->initWithImage(image.get()), "Invalid pixel format");
  CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA8888);

  unsigned char data[9 * 4] = {};
  auto npot = makeObject<CCTexture2D>();
  npot->initWithData(data, kCCTexture2DPixelFormat_RGBA8888, 3, 3, CGSizeMake(3, 3));
  EXPECT_ASSERTION(npot->setTexParameters({GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_CLAMP_TO_EDGE}),
                   "GL_CLAMP_TO_EDGE should be used in NPOT textures");
  EXPECT_ASSERTION(npot->generateMipmap(), "Mimpap texture only works in POT textures");
  EXPECT_ASSERTION(npot->initWithData(data, kCCTexture2DPixelFormat_Automatic, 4, 4, CGSizeZero),
                   "");
  EXPECT_ASSERTION(makeObject<CCTexture2D>()->initWithString("x", CGSizeMake(4, 4),
                                                             UITextAlignmentLeft, nullptr),
                   "Invalid font");
  EXPECT_FALSE(makeObject<CCTexture2D>()->initWithString("x", "No Such Font", 12));
  // No PVRTC on this GL: refused, not uploaded.
  if (!CCConfiguration::sharedConfiguration()->supportsPVRTC()) {
    unsigned char block[32] = {};
    EXPECT_FALSE(makeObject<CCTexture2D>()->initWithPVRTCData(block, 0, 4, true, 8));
  }
}

TEST_F(CCTexture2DTest, TextTextureHasInkWhereTheTextIs) {
  auto font = UIFont::fontWithName("ArialRoundedMTBold", 30);
  CGSize own = NSStringDrawing::sizeWithFont("IIII", *font);
  auto fitting = makeObject<CCTexture2D>();
  ASSERT_TRUE(fitting->initWithString("IIII", "ArialRoundedMTBold", 30));
  EXPECT_EQ(fitting->pixelFormat(), kCCTexture2DPixelFormat_A8);
  EXPECT_EQ(fitting->contentSizeInPixels(), own);
  EXPECT_EQ(fitting->pixelsHigh(), 64u);  // 36 rounded up
  EXPECT_FALSE(fitting->hasPremultipliedAlpha());

  // Right-aligned in a 60 x 40 box: ink at the right of the box, none at its left.
  auto boxed = makeObject<CCTexture2D>();
  ASSERT_TRUE(boxed->initWithString("I", CGSizeMake(60, 40), UITextAlignmentRight,
                                    "ArialRoundedMTBold", 30));
  EXPECT_EQ(boxed->contentSizeInPixels(), CGSizeMake(60, 40));
  EXPECT_EQ(boxed->pixelsWide(), 64u);
  EXPECT_EQ(boxed->pixelsHigh(), 64u);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  drawTexture(boxed, CGRectMake(0, 0, 60, 40));
  glDisable(GL_BLEND);
  int leftInk = 0, rightInk = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 30; ++x) leftInk += pixel(x, y)[0] > 128;
    for (int x = 45; x < 60; ++x) rightInk += pixel(x, y)[0] > 128;
  }
  EXPECT_EQ(leftInk, 0);
  EXPECT_GT(rightInk, 20);
}
