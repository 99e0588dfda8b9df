#pragma once
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "CCTexture2D.h"
#include "CGImage.h"
#include "EAGLContext.h"
#include "NSObject.h"

// Loads each picture file once and hands out the same texture for the same
// path. Asynchronous loads run on one loader thread with its own GL context in
// the share group of the context current at the first request, and are
// delivered on the main thread.
class CCTextureCache : public NSObject {
 public:
  static CCTextureCache* sharedTextureCache();
  static void purgeSharedTextureCache();
  CCTextureCache();
  ~CCTextureCache() override;

  // The texture for a picture file, or null when it cannot be loaded.
  Ptr<CCTexture2D> addImage(const std::string& path);
  // Calls `selector` on `target` with the texture (null on failure) from the
  // main run loop; a cached texture is delivered at the next servicing.
  void addImageAsync(const std::string& path, NSObject* target, Selector<CCTexture2D*> selector);
  Ptr<CCTexture2D> addCGImage(CGImage* image, const std::string& key);
  Ptr<CCTexture2D> addPVRImage(const std::string& path);
  Ptr<CCTexture2D> addPVRTCImage(const std::string& path, int bpp, bool hasAlpha, int width);
  Ptr<CCTexture2D> textureForKey(const std::string& key);

  void removeTexture(CCTexture2D* texture);
  void removeTextureForKey(const std::string& key);
  void removeAllTextures();
  // Drops the textures nobody but the cache holds.
  void removeUnusedTextures();

  std::size_t count() const;
  std::string description() const override;

 private:
  struct AsyncRequest {
    std::string path;
    Ptr<NSObject> target;
    Selector<CCTexture2D*> selector;
  };
  void startLoader(EAGLSharegroup* sharegroup);
  void loaderMain(Ptr<EAGLSharegroup> sharegroup);

  std::map<std::string, Ptr<CCTexture2D>> textures_;
  mutable std::recursive_mutex dictLock_;
  std::mutex contextLock_;
  // Loader thread and its queue.
  std::mutex queueLock_;
  std::condition_variable queueSignal_;
  std::deque<std::shared_ptr<AsyncRequest>> queue_;
  bool stopLoader_ = false;
  std::thread loader_;
};
