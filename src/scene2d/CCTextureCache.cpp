#include "CCTextureCache.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "Assert.h"
#include "CCConfiguration.h"
#include "CCFileUtils.h"
#include "FreedMemory.h"
#include "Log.h"
#include "NSRunLoop.h"
#include "UIImage.h"
#include "ZipUtils.h"

namespace {
CCTextureCache* gShared = nullptr;

bool endsWithNoCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - long(suffix.size()),
                    [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

bool isPVRPath(const std::string& path) {
  return endsWithNoCase(path, ".pvr") || endsWithNoCase(path, ".pvr.gz") ||
         endsWithNoCase(path, ".pvr.ccz");
}
}  // namespace

CCTextureCache* CCTextureCache::sharedTextureCache() {
  if (!gShared) new CCTextureCache();
  return gShared;
}

void CCTextureCache::purgeSharedTextureCache() {
  if (gShared) gShared->release();
}

CCTextureCache::CCTextureCache() {
  CCAssert(gShared == nullptr, "Attempted to allocate a second instance of a singleton.");
  gShared = this;
}

CCTextureCache::~CCTextureCache() {
  {
    std::lock_guard lock(queueLock_);
    stopLoader_ = true;
  }
  queueSignal_.notify_all();
  if (loader_.joinable()) loader_.join();
  if (gShared == this) gShared = nullptr;
}

std::size_t CCTextureCache::count() const {
  std::lock_guard lock(dictLock_);
  return textures_.size();
}

std::string CCTextureCache::description() const {
  std::lock_guard lock(dictLock_);
  std::string keys = "(";
  for (const auto& [key, texture] : textures_) keys += (keys.size() > 1 ? ", " : "") + key;
  keys += ")";
  return objectAddressPrefix(this) + " | num of textures =  " + std::to_string(textures_.size()) +
         " | keys: " + keys + ">";
}

Ptr<CCTexture2D> CCTextureCache::addImage(const std::string& path) {
  CCAssert(!path.empty(), "TextureCache: fileimage MUST not be nill");
  return loadImage(path, false);
}

Ptr<CCTexture2D> CCTextureCache::loadImage(const std::string& path, bool finishUpload) {
  std::string key = ccRemoveHDSuffixFromFile(path);
  if (auto found = textureForKey(key)) return found;
  if (isPVRPath(path)) return addPVRImage(path);
  if (!claimLoading(key)) return textureForKey(key);
  Ptr<CCTexture2D> texture;
  if (auto image = UIImage::imageWithContentsOfFile(CCFileUtils::fullPathFromRelativePath(key))) {
    texture = makeObject<CCTexture2D>();
    if (!texture->initWithImage(image.get())) texture = nullptr;
  }
  // Another context may draw with it as soon as it is in the dictionary.
  if (texture && finishUpload) glFinish();
  publish(key, texture);
  return texture;
}

bool CCTextureCache::claimLoading(const std::string& key) {
  std::unique_lock lock(loadingLock_);
  loadingDone_.wait(lock, [&] { return loading_.count(key) == 0; });
  if (textureForKey(key)) return false;  // made by the other thread while this one waited
  loading_.insert(key);
  return true;
}

void CCTextureCache::publish(const std::string& key, const Ptr<CCTexture2D>& texture) {
  if (texture) {
    std::lock_guard lock(dictLock_);
    textures_[key] = texture;
  }
  {
    std::lock_guard lock(loadingLock_);
    loading_.erase(key);
  }
  loadingDone_.notify_all();
}

Ptr<CCTexture2D> CCTextureCache::addPVRImage(const std::string& path) {
  CCAssert(!path.empty(), "TextureCache: fileimage MUST not be nill");
  std::lock_guard lock(dictLock_);
  std::string key = ccRemoveHDSuffixFromFile(path);
  if (auto found = textures_.find(key); found != textures_.end()) return found->second;
  auto texture = makeObject<CCTexture2D>();
  if (!texture->initWithPVRFile(CCFileUtils::fullPathFromRelativePath(key))) return nullptr;
  textures_[key] = texture;
  return texture;
}

Ptr<CCTexture2D> CCTextureCache::addPVRTCImage(const std::string& path, int bpp, bool hasAlpha,
                                               int width) {
  CCAssert(!path.empty(), "TextureCache: fileimage MUST not be nill");
  CCAssert(bpp == 2 || bpp == 4, "TextureCache: bpp must be either 2 or 4");
  std::lock_guard lock(dictLock_);
  std::string key = ccRemoveHDSuffixFromFile(path);
  if (auto found = textures_.find(key); found != textures_.end()) return found->second;
  unsigned char* data = nullptr;
  int length = ccLoadFileIntoMemory(CCFileUtils::fullPathFromRelativePath(key).c_str(), &data);
  if (length < 0) return nullptr;
  // The raw data must cover the square the caller announces.
  long long needed = std::max(32LL, (long long)bpp * width * width / 8);
  auto texture = makeObject<CCTexture2D>();
  bool ok =
      width > 0 && length >= needed && texture->initWithPVRTCData(data, 0, bpp, hasAlpha, width);
  std::free(data);
  if (!ok) return nullptr;
  textures_[key] = texture;
  return texture;
}

Ptr<CCTexture2D> CCTextureCache::addCGImage(CGImage* image, const std::string& key) {
  CCAssert(image, "TextureCache: image MUST not be nill");
  std::lock_guard lock(dictLock_);
  if (!key.empty())
    if (auto found = textures_.find(key); found != textures_.end()) return found->second;
  auto texture = makeObject<CCTexture2D>();
  if (!texture->initWithImage(image)) return nullptr;
  if (!key.empty()) textures_[key] = texture;
  return texture;
}

Ptr<CCTexture2D> CCTextureCache::textureForKey(const std::string& key) {
  std::lock_guard lock(dictLock_);
  auto found = textures_.find(key);
  return found == textures_.end() ? nullptr : found->second;
}

void CCTextureCache::removeTexture(CCTexture2D* texture) {
  if (!texture) return;
  std::lock_guard lock(dictLock_);
  std::erase_if(textures_, [texture](const auto& entry) { return entry.second.get() == texture; });
}

void CCTextureCache::removeTextureForKey(const std::string& key) {
  std::lock_guard lock(dictLock_);
  textures_.erase(key);
}

void CCTextureCache::removeAllTextures() {
  std::lock_guard lock(dictLock_);
  textures_.clear();
}

bool CCTextureCache::removeUnusedTextureForKey(const std::string& key) {
  std::lock_guard lock(dictLock_);
  auto found = textures_.find(key);
  if (found == textures_.end() || found->second->retainCount() != 1) return false;
  textures_.erase(found);
  return true;
}

void CCTextureCache::removeUnusedTextures() {
  std::lock_guard lock(dictLock_);
  std::erase_if(textures_, [](const auto& entry) {
    if (entry.second->retainCount() != 1) return false;
    CCLOG("removing unused texture: %s", entry.first.c_str());
    return true;
  });
}

void CCTextureCache::addImageAsync(const std::string& path, NSObject* target,
                                   Selector<CCTexture2D*> selector) {
  CCAssert(!path.empty(), "TextureCache: fileimage MUST not be nill");
  auto request = std::make_shared<AsyncRequest>(AsyncRequest{path, target, selector});
  if (auto cached = textureForKey(ccRemoveHDSuffixFromFile(path))) {
    NSRunLoop::mainRunLoop().postToMainThread([request, cached] {
      if (request->target && request->selector) request->selector(request->target, cached.get());
    });
    return;
  }
  queueRequest(request, EAGLContext::currentContext());
}

void CCTextureCache::prefetchImage(const std::string& path) {
  CCAssert(!path.empty(), "TextureCache: fileimage MUST not be nill");
  if (textureForKey(ccRemoveHDSuffixFromFile(path))) return;
  // A picture that is not there would only cost the loader a failed read.
  std::error_code missing;
  if (!std::filesystem::exists(CCFileUtils::fullPathFromRelativePath(path), missing)) return;
  // Without a GL context there is no share group to load into, and no one to tell.
  if (EAGLContext* current = EAGLContext::currentContext())
    queueRequest(std::make_shared<AsyncRequest>(AsyncRequest{path, nullptr, {}}), current);
}

void CCTextureCache::cancelPendingPrefetches() {
  std::lock_guard lock(queueLock_);
  std::erase_if(queue_, [](const auto& request) { return !request->target; });
}

void CCTextureCache::queueRequest(std::shared_ptr<AsyncRequest> request, EAGLContext* current) {
  if (!current) {
    // Without a GL context there is no share group to load into.
    NSRunLoop::mainRunLoop().postToMainThread([request] {
      if (request->target && request->selector) request->selector(request->target, nullptr);
    });
    return;
  }
  // The loader reads the GL limits; they are read here, on the main thread, first.
  CCConfiguration::sharedConfiguration();
  {
    std::lock_guard lock(queueLock_);
    queue_.push_back(std::move(request));
    if (!loader_.joinable()) startLoader(current->sharegroup());
  }
  queueSignal_.notify_one();
}

void CCTextureCache::startLoader(EAGLSharegroup* sharegroup) {
  loader_ = std::thread(&CCTextureCache::loaderMain, this, Ptr<EAGLSharegroup>(sharegroup));
}

Ptr<EAGLContext> CCTextureCache::makeLoaderContext(EAGLSharegroup* sharegroup) {
  std::lock_guard lock(contextLock_);
  Ptr<EAGLContext> context = EAGLContext::contextWithAPI(kEAGLRenderingAPIOpenGLES1, sharegroup);
  if (context && !EAGLContext::setCurrentContext(context.get())) context = nullptr;
  // Tried again for every batch; said once.
  if (!context)
    logWarningOnce("loader-context",
                   "texture loader: cannot create a GL context in the view's share group");
  return context;
}

std::shared_ptr<CCTextureCache::AsyncRequest> CCTextureCache::nextRequest(bool wait) {
  std::unique_lock lock(queueLock_);
  if (wait) queueSignal_.wait(lock, [this] { return stopLoader_ || !queue_.empty(); });
  if (stopLoader_ || queue_.empty()) return nullptr;
  std::shared_ptr<AsyncRequest> request = std::move(queue_.front());
  queue_.pop_front();
  return request;
}

void CCTextureCache::loaderMain(Ptr<EAGLSharegroup> sharegroup) {
  // The loader's GL context lives while there is work: the loader rests between
  // turns, and an idle context holds megabytes.
  while (std::shared_ptr<AsyncRequest> request = nextRequest(true)) {
    Ptr<EAGLContext> context = makeLoaderContext(sharegroup.get());
    for (; request; request = nextRequest(false)) {
      Ptr<CCTexture2D> texture;
      if (context) {
        std::lock_guard lock(contextLock_);
        texture = loadImage(request->path, true);
      }
      // Both references move into the call, so they are released on the main thread.
      NSRunLoop::mainRunLoop().postToMainThread(
          [request = std::move(request), texture = std::move(texture)] {
            if (request->target && request->selector)
              request->selector(request->target, texture.get());
          });
    }
    if (context) {
      std::lock_guard lock(contextLock_);
      EAGLContext::setCurrentContext(nullptr);
      context = nullptr;
    }
    // The decoded pictures are in the GL now; their buffers need not stay resident.
    FreedMemory::returnToSystem();
  }
}
