#include "CCTextureCache.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "NSRunLoop.h"
#include "TextureTestFixture.h"

namespace {
class Receiver : public NSObject {
 public:
  void loaded(CCTexture2D* texture) {
    texture_ = texture;
    thread_ = std::this_thread::get_id();
    ++calls_;
  }
  Ptr<CCTexture2D> texture_;
  std::thread::id thread_;
  int calls_ = 0;
};

bool pumpUntil(const std::function<bool()>& done, double seconds = 20) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done() && std::chrono::steady_clock::now() < end) {
    NSRunLoop::mainRunLoop().runDue();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return done();
}
}  // namespace

using CCTextureCacheTest = TextureTest;

TEST_F(CCTextureCacheTest, SamePathSameTextureAndFailuresStoreNothing) {
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  std::string path = writeFilled("a.png", 10, 10, {255, 0, 0, 255});
  auto first = cache->addImage(path);
  ASSERT_TRUE(first);
  EXPECT_EQ(cache->addImage(path).get(), first.get());
  EXPECT_EQ(cache->textureForKey(path).get(), first.get());
  EXPECT_EQ(cache->count(), 1u);

  std::string broken = dir_.file("broken.png");
  std::ofstream(broken) << "not a picture";
  EXPECT_FALSE(cache->addImage(dir_.file("missing.png")));
  EXPECT_FALSE(cache->addImage(broken));
  EXPECT_EQ(cache->count(), 1u);
  EXPECT_NE(cache->description().find("| num of textures =  1 | keys: (" + path + ")>"),
            std::string::npos);
  EXPECT_ASSERTION(cache->addImage(""), "TextureCache: fileimage MUST not be nill");
  EXPECT_ASSERTION(new CCTextureCache(), "Attempted to allocate a second instance of a singleton.");
}

TEST_F(CCTextureCacheTest, DoubleResolutionNamesShareOneKey) {
  std::string normal = writeFilled("bg.png", 8, 8, {0, 0, 255, 255});
  std::string hd = writeFilled("bg-hd.png", 16, 16, {0, 0, 255, 255});
  __ccContentScaleFactor = 2;
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  auto texture = cache->addImage(normal);
  ASSERT_TRUE(texture);
  EXPECT_EQ(texture->contentSizeInPixels(), CGSizeMake(16, 16));  // the "-hd" file
  EXPECT_EQ(texture->contentSize(), CGSizeMake(8, 8));
  EXPECT_EQ(cache->addImage(hd).get(), texture.get());
  EXPECT_EQ(cache->count(), 1u);
}

TEST_F(CCTextureCacheTest, RemovingTextures) {
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  auto kept = cache->addImage(writeFilled("kept.png", 4, 4, {1, 1, 1, 255}));
  cache->addImage(writeFilled("dropped.png", 4, 4, {2, 2, 2, 255}));
  cache->removeUnusedTextures();
  EXPECT_EQ(cache->count(), 1u);
  EXPECT_EQ(cache->textureForKey(dir_.file("kept.png")).get(), kept.get());
  EXPECT_FALSE(cache->textureForKey(dir_.file("dropped.png")));

  std::vector<unsigned char> pixel = {9, 9, 9, 255};
  auto image = CGImage::imageWithRGBA(1, 1, pixel.data(), false);
  auto byKey = cache->addCGImage(image.get(), "one");
  EXPECT_EQ(cache->addCGImage(image.get(), "one").get(), byKey.get());
  auto unkeyed = cache->addCGImage(image.get(), "");
  EXPECT_NE(unkeyed.get(), byKey.get());
  EXPECT_EQ(cache->count(), 2u);
  cache->removeTexture(byKey.get());
  EXPECT_FALSE(cache->textureForKey("one"));
  cache->removeTextureForKey(dir_.file("kept.png"));
  EXPECT_EQ(cache->count(), 0u);
  EXPECT_ASSERTION(cache->addCGImage(nullptr, "x"), "TextureCache: image MUST not be nill");
}

TEST_F(CCTextureCacheTest, PVRPathsGoToThePVRReader) {
  std::vector<unsigned char> file(52 + 4, 0);
  file[4] = 2;      // height
  file[8] = 2;      // width
  file[16] = 0x1B;  // A8
  file[20] = 4;     // data length
  file[44] = 'P';
  file[45] = 'V';
  file[46] = 'R';
  file[47] = '!';
  std::string path = dir_.file("mask.PVR");
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), 56);
  auto texture = CCTextureCache::sharedTextureCache()->addImage(path);
  ASSERT_TRUE(texture);
  EXPECT_EQ(texture->pixelFormat(), kCCTexture2DPixelFormat_A8);
  EXPECT_EQ(CCTextureCache::sharedTextureCache()->addPVRImage(path).get(), texture.get());

  std::string raw = dir_.file("raw.pvrtc");
  std::ofstream(raw, std::ios::binary) << std::string(32, '\0');
  EXPECT_ASSERTION(CCTextureCache::sharedTextureCache()->addPVRTCImage(raw, 3, true, 8),
                   "TextureCache: bpp must be either 2 or 4");
  if (!CCConfiguration::sharedConfiguration()->supportsPVRTC()) {
    EXPECT_FALSE(CCTextureCache::sharedTextureCache()->addPVRTCImage(raw, 4, true, 8));
    EXPECT_FALSE(CCTextureCache::sharedTextureCache()->textureForKey(raw));
  }
}

TEST_F(CCTextureCacheTest, AsyncLoadDeliversOnTheMainThreadTheTextureALaterAddImageReturns) {
  std::string path = writeFilled("async.png", 20, 20, {0, 255, 0, 255});
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  auto receiver = makeObject<Receiver>();
  cache->addImageAsync(path, receiver.get(), SELECTOR(Receiver::loaded));
  EXPECT_EQ(receiver->calls_, 0);  // never delivered from inside the call
  ASSERT_TRUE(pumpUntil([&] { return receiver->calls_ > 0; }));
  EXPECT_EQ(receiver->calls_, 1);
  EXPECT_EQ(receiver->thread_, std::this_thread::get_id());
  ASSERT_TRUE(receiver->texture_);
  EXPECT_EQ(cache->addImage(path).get(), receiver->texture_.get());

  // Made in the loader's context, the texture draws in this one.
  drawTexture(receiver->texture_, CGRectMake(0, 0, 20, 20));
  EXPECT_TRUE(colourNear(pixel(10, 10), {0, 255, 0}));

  // A cached texture and a missing file are delivered too.
  auto again = makeObject<Receiver>();
  cache->addImageAsync(path, again.get(), SELECTOR(Receiver::loaded));
  cache->addImageAsync(dir_.file("missing.png"), again.get(), SELECTOR(Receiver::loaded));
  ASSERT_TRUE(pumpUntil([&] { return again->calls_ == 2; }));
  EXPECT_FALSE(again->texture_);  // the missing file came last
}

TEST_F(CCTextureCacheTest, APrefetchedPictureIsReadyWithoutItsFile) {
  std::string path = writeFilled("ahead.png", 40, 30, {0, 0, 255, 255});
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  cache->prefetchImage(path);
  ASSERT_TRUE(pumpUntil([&] { return cache->textureForKey(path) != nullptr; }));
  auto ready = cache->textureForKey(path);
  // The build finds it made: the file is not read again.
  std::filesystem::remove(path);
  EXPECT_EQ(cache->addImage(path).get(), ready.get());
  EXPECT_EQ(ready->contentSizeInPixels(), CGSizeMake(40, 30));
  drawTexture(ready, CGRectMake(0, 0, 40, 30));
  EXPECT_TRUE(colourNear(pixel(20, 15), {0, 0, 255}));

  // Prefetching what is cached queues nothing; a missing file stores nothing.
  cache->prefetchImage(path);
  cache->prefetchImage(dir_.file("missing.png"));
  auto marker = makeObject<Receiver>();
  cache->addImageAsync(path, marker.get(), SELECTOR(Receiver::loaded));
  ASSERT_TRUE(pumpUntil([&] { return marker->calls_ == 1; }));
  EXPECT_EQ(cache->count(), 1u);
  EXPECT_ASSERTION(cache->prefetchImage(""), "TextureCache: fileimage MUST not be nill");
}

// The loader lets its GL context go when its queue runs dry; later work gets a
// fresh one, and what it makes draws in the main context like the first.
TEST_F(CCTextureCacheTest, TheLoaderTakesUpWorkAgainAfterResting) {
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  const std::array<std::array<unsigned char, 4>, 3> colours{
      {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}}};
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const auto& c = colours[i];
    std::string path = writeFilled("rest" + std::to_string(i) + ".png", 16, 16, c);
    cache->prefetchImage(path);
    ASSERT_TRUE(pumpUntil([&] { return cache->textureForKey(path) != nullptr; })) << i;
    drawTexture(cache->textureForKey(path), CGRectMake(0, 0, 16, 16));
    EXPECT_TRUE(colourNear(pixel(8, 8), {int(c[0]), int(c[1]), int(c[2])})) << i;
  }
}

TEST_F(CCTextureCacheTest, TheMainThreadAndTheLoaderNeverMakeOnePictureTwice) {
  std::vector<std::string> paths;
  for (int i = 0; i < 6; ++i)
    paths.push_back(writeFilled("race" + std::to_string(i) + ".png", 768, 768, {9, 9, 9, 255}));
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  // Each picture is asked for by the main thread while the loader decodes it:
  // the main thread must get the one texture the cache keeps.
  std::vector<Ptr<CCTexture2D>> made;
  for (const auto& path : paths) {
    cache->prefetchImage(path);
    made.push_back(cache->addImage(path));
  }
  ASSERT_TRUE(pumpUntil([&] { return cache->count() == paths.size(); }));
  for (std::size_t i = 0; i < paths.size(); ++i) {
    ASSERT_TRUE(made[i]);
    EXPECT_EQ(cache->textureForKey(paths[i]).get(), made[i].get()) << paths[i];
  }
}

TEST_F(CCTextureCacheTest, CancellingPrefetchesKeepsTheLoadsSomeoneWaitsFor) {
  std::vector<std::string> ahead;
  for (int i = 0; i < 8; ++i)
    ahead.push_back(writeFilled("p" + std::to_string(i) + ".png", 512, 512, {1, 2, 3, 255}));
  std::string wanted = writeFilled("wanted.png", 8, 8, {200, 0, 0, 255});
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  for (const auto& path : ahead) cache->prefetchImage(path);
  auto receiver = makeObject<Receiver>();
  cache->addImageAsync(wanted, receiver.get(), SELECTOR(Receiver::loaded));
  cache->cancelPendingPrefetches();
  ASSERT_TRUE(pumpUntil([&] { return receiver->calls_ == 1; }));
  ASSERT_TRUE(receiver->texture_);
  EXPECT_EQ(cache->textureForKey(wanted).get(), receiver->texture_.get());
  // The loader cannot have decoded all eight in the moment before the cancel.
  EXPECT_LT(cache->count(), ahead.size() + 1);
}

TEST_F(CCTextureCacheTest, OnlyAnUnusedTextureIsDroppedByKey) {
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  std::string used = writeFilled("used.png", 4, 4, {5, 5, 5, 255});
  std::string idle = writeFilled("idle.png", 4, 4, {6, 6, 6, 255});
  auto holder = cache->addImage(used);
  cache->addImage(idle);
  EXPECT_FALSE(cache->removeUnusedTextureForKey(used));
  EXPECT_TRUE(cache->removeUnusedTextureForKey(idle));
  EXPECT_FALSE(cache->removeUnusedTextureForKey(idle));
  EXPECT_FALSE(cache->removeUnusedTextureForKey("never.png"));
  EXPECT_EQ(cache->count(), 1u);
  holder = nullptr;
  EXPECT_TRUE(cache->removeUnusedTextureForKey(used));
  EXPECT_EQ(cache->count(), 0u);
}

TEST_F(CCTextureCacheTest, EachDamagedFileGivesNothingAndOneLoggedMessage) {
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  std::vector<unsigned char> rgba(64 * 64 * 4);
  for (std::size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<unsigned char>(i * 31);
  std::string png = writeImage("whole.png", 64, 64, rgba);
  std::ifstream in(png, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream(dir_.file("cut.png"), std::ios::binary) << bytes.substr(0, bytes.size() / 2);

  std::string pvr(52, '\0');
  pvr[4] = pvr[8] = 4;  // 4 x 4
  pvr[16] = 0x12;       // RGBA8888
  pvr[22] = 1;          // 65536 bytes of data announced, none present
  pvr.replace(44, 4, "PVR!");
  std::ofstream(dir_.file("short.pvr"), std::ios::binary) << pvr;
  // A CCZ announcing 1 GiB over a few bytes.
  std::string ccz = std::string("CCZ!") + std::string(4, '\0') + std::string(4, '\0') +
                    std::string("\x40\x00\x00\x00", 4) + std::string(8, 'x');
  ccz[7] = 2;
  std::ofstream(dir_.file("big.pvr.ccz"), std::ios::binary) << ccz;
  GLint maxSize = CCConfiguration::sharedConfiguration()->maxTextureSize();
  writeFilled("wide.png", maxSize + 1, 1, {1, 2, 3, 255});

  setLogLevel(LogLevel::Warning);
  for (const char* name : {"cut.png", "short.pvr", "big.pvr.ccz", "wide.png", "missing.png"}) {
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(cache->addImage(dir_.file(name))) << name;
    std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << name << ": " << log;
  }
  EXPECT_EQ(cache->count(), 0u);
}
