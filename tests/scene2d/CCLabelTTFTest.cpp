#include "CCLabelTTF.h"

#include "NSStringDrawing.h"
#include "TextureTestFixture.h"
#include "UIFont.h"

using CCLabelTTFTest = TextureTest;

TEST_F(CCLabelTTFTest, BoxedLabelKeepsItsBoxAndWrapsInside) {
  auto label = CCLabelTTF::labelWithString(
      "a rather long line of text that cannot fit in two hundred points", CGSizeMake(200, 50),
      UITextAlignmentLeft, "ArialRoundedMTBold", 20);
  ASSERT_TRUE(label);
  EXPECT_EQ(label->contentSize(), CGSizeMake(200, 50));
  ASSERT_TRUE(label->texture());
  EXPECT_EQ(label->texture()->pixelFormat(), kCCTexture2DPixelFormat_A8);
  EXPECT_EQ(label->texture()->pixelsWide(), 256u);
  EXPECT_EQ(label->texture()->pixelsHigh(), 64u);
  // Text textures are not premultiplied: straight blending, colour kept.
  EXPECT_EQ(label->blendFunc(), (ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
  label->setOpacity(100);
  EXPECT_EQ(label->quad().tl.colors, ccc4(255, 255, 255, 100));

  label->setString("short");
  EXPECT_EQ(label->contentSize(), CGSizeMake(200, 50));
  EXPECT_EQ(label->string(), "short");
  EXPECT_NE(label->description().find("| FontName = ArialRoundedMTBold, FontSize = 20.0>"),
            std::string::npos);
}

TEST_F(CCLabelTTFTest, FittingLabelTakesTheTextsOwnSize) {
  auto font = UIFont::fontWithName("Marker Felt", 32);
  auto label = CCLabelTTF::labelWithString("60.0", "Marker Felt", 32);
  ASSERT_TRUE(label);
  EXPECT_EQ(label->contentSize(), NSStringDrawing::sizeWithFont("60.0", *font));
  CGSize before = label->contentSize();
  label->setString("60.0 fps, and more");
  EXPECT_GT(label->contentSize().width, before.width);
  EXPECT_EQ(label->contentSize().height, before.height);
  EXPECT_EQ(label->texture()->contentSizeInPixels(), label->contentSize());
}

TEST_F(CCLabelTTFTest, DoubleResolutionDoublesPixelsNotPoints) {
  __ccContentScaleFactor = 2;
  auto label = CCLabelTTF::labelWithString("Hi", CGSizeMake(100, 30), UITextAlignmentCenter,
                                           "ArialRoundedMTBold", 15);
  ASSERT_TRUE(label);
  EXPECT_FLOAT_EQ(label->fontSize(), 30);
  EXPECT_EQ(label->dimensions(), CGSizeMake(200, 60));
  EXPECT_EQ(label->texture()->contentSizeInPixels(), CGSizeMake(200, 60));
  EXPECT_EQ(label->contentSize(), CGSizeMake(100, 30));
  EXPECT_EQ(label->contentSizeInPixels(), CGSizeMake(200, 60));
}

TEST_F(CCLabelTTFTest, UnknownFontLeavesAnEmptyLabelAndPlainInitIsRefused) {
  auto label = CCLabelTTF::labelWithString("text", "Nonexistent Font", 12);
  ASSERT_TRUE(label);
  EXPECT_FALSE(label->texture());
  EXPECT_EQ(label->contentSize(), CGSizeZero);
  EXPECT_ASSERTION(label->init(), "CCLabelTTF: Init not supported. Use initWithString");
}

TEST_F(CCLabelTTFTest, HighlightRendersAColourTextureOnlyWhenItChanges) {
  auto label = CCLabelTTF::labelWithString("Рыжик и звёздочка", CGSizeMake(300, 40),
                                           UITextAlignmentLeft, "ArialRoundedMTBold", 20);
  ASSERT_TRUE(label);
  CCTexture2D* plain = label->texture();
  label->setHighlight(11, 13, ccc3(255, 186, 64));
  CCTexture2D* lit = label->texture();
  ASSERT_NE(lit, plain);
  EXPECT_EQ(lit->pixelFormat(), kCCTexture2DPixelFormat_RGBA8888);
  EXPECT_TRUE(lit->hasPremultipliedAlpha());
  EXPECT_EQ(lit->contentSizeInPixels(), CGSizeMake(300, 40));
  EXPECT_EQ(label->contentSize(), CGSizeMake(300, 40));
  // Premultiplied: the label's opacity scales its colour too.
  EXPECT_EQ(label->blendFunc(), (ccBlendFunc{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
  label->setOpacity(128);
  EXPECT_EQ(label->quad().tl.colors, ccc4(128, 128, 128, 128));

  label->setHighlight(11, 13, ccc3(255, 186, 64));
  EXPECT_EQ(label->texture(), lit) << "the same word again renders nothing";
  label->setHighlight(14, 100, ccc3(255, 186, 64));  // clipped to the text
  ASSERT_TRUE(label->highlight());
  EXPECT_EQ(label->highlight()->end, label->string().size());
  EXPECT_NE(label->texture(), lit);

  label->clearHighlight();
  EXPECT_FALSE(label->highlight());
  EXPECT_EQ(label->texture()->pixelFormat(), kCCTexture2DPixelFormat_A8);
  EXPECT_EQ(label->blendFunc(), (ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
  EXPECT_EQ(label->quad().tl.colors, ccc4(255, 255, 255, 128));
  CCTexture2D* cleared = label->texture();
  label->clearHighlight();
  EXPECT_EQ(label->texture(), cleared);

  // An empty part is no highlight; a new text drops the old one's.
  label->setHighlight(5, 5, ccc3(255, 0, 0));
  EXPECT_FALSE(label->highlight());
  label->setHighlight(0, 10, ccc3(255, 0, 0));
  label->setString("Бублик");
  EXPECT_FALSE(label->highlight());
  EXPECT_EQ(label->texture()->pixelFormat(), kCCTexture2DPixelFormat_A8);
}

TEST_F(CCLabelTTFTest, FittingLabelKeepsItsSizeWhenHighlighted) {
  auto label = CCLabelTTF::labelWithString("go home", "ArialRoundedMTBold", 20);
  ASSERT_TRUE(label);
  const CGSize size = label->contentSize();
  label->setHighlight(3, 7, ccc3(255, 186, 64));
  EXPECT_EQ(label->texture()->pixelFormat(), kCCTexture2DPixelFormat_RGBA8888);
  EXPECT_EQ(label->contentSize(), size);
}
