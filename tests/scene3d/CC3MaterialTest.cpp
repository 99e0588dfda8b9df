#include <gtest/gtest.h>

#include "CC3Material.h"
#include "CC3MeshTestSupport.h"
#include "CC3Node.h"
#include "CC3Texture.h"

namespace {

void expectColor(ccColor4F actual, ccColor4F expected) {
  EXPECT_FLOAT_EQ(actual.r, expected.r);
  EXPECT_FLOAT_EQ(actual.g, expected.g);
  EXPECT_FLOAT_EQ(actual.b, expected.b);
  EXPECT_FLOAT_EQ(actual.a, expected.a);
}

}  // namespace

TEST(CC3MaterialTest, OpacityAndBlendFollowTheOpaqueRule) {
  LeakScope leaks;
  auto m = CC3Material::material();
  EXPECT_TRUE(m->isOpaque());
  EXPECT_EQ(m->sourceBlend(), GLenum(GL_ONE));
  EXPECT_EQ(m->destinationBlend(), GLenum(GL_ZERO));
  EXPECT_EQ(m->opacity(), 255);

  // A colour's alpha alone never makes a material translucent.
  m->setDiffuseColor({1, 1, 1, 0.25f});
  EXPECT_TRUE(m->isOpaque());
  EXPECT_EQ(m->opacity(), 63);

  m->setOpacity(128);
  EXPECT_FALSE(m->isOpaque());
  EXPECT_EQ(m->sourceBlend(), GLenum(GL_SRC_ALPHA));
  EXPECT_EQ(m->destinationBlend(), GLenum(GL_ONE_MINUS_SRC_ALPHA));
  EXPECT_EQ(m->opacity(), 128);
  for (ccColor4F c : {m->ambientColor(), m->diffuseColor(), m->specularColor(), m->emissionColor()})
    EXPECT_FLOAT_EQ(c.a, 128 / 255.0f);

  // Full opacity restores the alphas but leaves the blend alone.
  m->setOpacity(255);
  EXPECT_FLOAT_EQ(m->diffuseColor().a, 1.0f);
  EXPECT_FALSE(m->isOpaque());
  m->setIsOpaque(true);
  EXPECT_TRUE(m->isOpaque());
  EXPECT_EQ(m->sourceBlend(), GLenum(GL_ONE));

  // Changing one factor by hand recomputes the flag.
  m->setDestinationBlend(GL_ONE);
  EXPECT_FALSE(m->isOpaque());
  m->setDestinationBlend(GL_ZERO);
  EXPECT_TRUE(m->isOpaque());

  // Out-of-range colours read as the nearest byte, never wrapped.
  m->setDiffuseColor({2.0f, -1.0f, 0.5f, 3.0f});
  EXPECT_EQ(m->opacity(), 255);
  EXPECT_EQ(m->color().r, 255);
  EXPECT_EQ(m->color().g, 0);
  EXPECT_EQ(m->color().b, 127);
}

TEST(CC3MaterialTest, ClassDefaultBlendReachesLaterMaterialsOnly) {
  LeakScope leaks;
  auto before = CC3Material::material();
  CC3Material::setDefaultSourceBlend(GL_SRC_ALPHA);
  CC3Material::setDefaultDestinationBlend(GL_ONE_MINUS_SRC_ALPHA);
  auto after = CC3Material::material();
  CC3Material::setDefaultSourceBlend(GL_ONE);
  CC3Material::setDefaultDestinationBlend(GL_ZERO);
  EXPECT_TRUE(before->isOpaque());
  EXPECT_FALSE(after->isOpaque());
  EXPECT_EQ(after->sourceBlend(), GLenum(GL_SRC_ALPHA));
}

TEST(CC3MaterialTest, ColorSetsAmbientAndDiffuseKeepingAlphas) {
  LeakScope leaks;
  auto m = CC3Material::materialWithName("paint");
  m->setAmbientColor({0.2f, 0.2f, 0.2f, 0.5f});
  m->setDiffuseColor({0.8f, 0.8f, 0.8f, 0.75f});
  m->setColor({255, 0, 0});
  expectColor(m->ambientColor(), {1, 0, 0, 0.5f});
  expectColor(m->diffuseColor(), {1, 0, 0, 0.75f});
  expectColor(m->specularColor(), {0, 0, 0, 1});
  EXPECT_TRUE(m->color() == (ccColor3B{255, 0, 0}));
  EXPECT_TRUE(m->isOpaque());

  auto shiny = CC3Material::shinyWhite();
  expectColor(shiny->specularColor(), {1, 1, 1, 1});
  expectColor(shiny->diffuseColor(), {1, 1, 1, 1});
  EXPECT_FLOAT_EQ(shiny->shininess(), 75.0f);

  m->setOpacity(128);
  std::string text = m->fullDescription();
  EXPECT_NE(text.find("CC3Material paint-"), std::string::npos) << text;
  EXPECT_NE(text.find(", shininess: 0.00, blend: (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA)"),
            std::string::npos)
      << text;
}

TEST(CC3MaterialTest, TagsComeFromTheirOwnFamily) {
  LeakScope leaks;
  auto a = CC3Material::material();
  auto node = CC3Node::node();
  auto b = CC3Material::material();
  auto c = CC3Node::node();
  EXPECT_EQ(b->tag(), a->tag() + 1);
  EXPECT_EQ(c->tag(), node->tag() + 1);
}

using CC3MaterialGLTest = MeshGLTest;

TEST_F(CC3MaterialGLTest, TexturesShareTheCachedImageAndReportTheirMapSize) {
  std::string path = writeFilled("wide.png", 1024, 768, {10, 20, 30, 255});
  {
    LeakScope leaks;
    auto first = CC3Texture::textureFromFile(path);
    auto second = CC3Texture::textureFromFile(path);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->tag(), second->tag());
    EXPECT_EQ(first->texture(), second->texture());
    EXPECT_EQ(first->name(), std::optional<std::string>(path));
    EXPECT_FLOAT_EQ(first->mapSize().width, 1.0f);
    EXPECT_FLOAT_EQ(first->mapSize().height, 0.75f);

    EXPECT_FALSE(CC3Texture::textureFromFile(dir_.file("missing.png")));
    auto named = CC3Texture::textureWithName("sky", path);
    EXPECT_EQ(named->name(), std::optional<std::string>("sky"));
    auto tagged = CC3Texture::textureWithTag(77, path);
    EXPECT_EQ(tagged->tag(), 77u);
    CCTextureCache::sharedTextureCache()->removeAllTextures();
  }
}

TEST_F(CC3MaterialGLTest, PremultipliedTextureTakesSourceOneOnlyAtFullOpacity) {
  std::string path = writeFilled("alpha.png", 8, 8, {255, 0, 0, 128});
  LeakScope leaks;
  auto texture = CC3Texture::textureFromFile(path);
  ASSERT_TRUE(texture);
  ASSERT_TRUE(texture->hasPremultipliedAlpha());
  auto m = CC3Material::material();
  m->setTexture(texture);
  m->setIsOpaque(false);
  EXPECT_EQ(m->sourceBlend(), GLenum(GL_ONE));
  EXPECT_EQ(m->destinationBlend(), GLenum(GL_ONE_MINUS_SRC_ALPHA));
  EXPECT_FALSE(m->isOpaque());
  m->setOpacity(200);
  EXPECT_EQ(m->sourceBlend(), GLenum(GL_SRC_ALPHA));

  // A copy has its own texture object around the same image, and the same look.
  auto copy = Ptr<CC3Material>(static_cast<CC3Material*>(m->copy().get()));
  EXPECT_NE(copy->tag(), m->tag());
  ASSERT_TRUE(copy->texture());
  EXPECT_NE(copy->texture(), m->texture());
  EXPECT_EQ(copy->texture()->texture(), m->texture()->texture());
  EXPECT_EQ(copy->opacity(), 200);
  EXPECT_EQ(copy->sourceBlend(), GLenum(GL_SRC_ALPHA));
  EXPECT_FALSE(copy->isOpaque());
  texture = nullptr;
  m = nullptr;
  copy = nullptr;
  CCTextureCache::sharedTextureCache()->removeAllTextures();
}

TEST_F(CC3MaterialGLTest, DrawingAppliesStateOncePerSwitchAndUnbindTurnsItOff) {
  std::string path = writeFilled("plain.png", 8, 8, {0, 255, 0, 255});
  auto texture = CC3Texture::textureFromFile(path);
  ASSERT_TRUE(texture);
  auto m = CC3Material::material();
  m->setTexture(texture);
  m->setOpacity(100);
  m->setDiffuseColor({0.5f, 0.25f, 1, 0.5f});

  openPass();
  m->draw();
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint bound = 0, src = 0, dst = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_BLEND_SRC, &src);
  glGetIntegerv(GL_BLEND_DST, &dst);
  EXPECT_EQ(GLuint(bound), texture->texture()->name());
  EXPECT_EQ(src, GL_SRC_ALPHA);
  EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
  GLfloat diffuse[4];
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  EXPECT_FLOAT_EQ(diffuse[1], 0.25f);
  GLint wrap = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
  EXPECT_EQ(wrap, GL_REPEAT);

  // The same material again within the pass makes no GL call at all.
  CC3OpenGLES11Calls::resetCounts();
  m->draw();
  EXPECT_EQ(CC3OpenGLES11Calls::setCount(), 0u);

  CC3Material::unbind();
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  // Unbinding forgot the material, so drawing it applies it again.
  m->draw();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

  // A material without a texture switches texturing off.
  auto plain = CC3Material::material();
  plain->draw();
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  closePass();
}
