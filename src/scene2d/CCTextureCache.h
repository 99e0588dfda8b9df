#pragma once
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
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
  // Loads the picture on the loader thread with nothing to call back: a later
  // addImage finds it ready. Nothing happens when it is cached already.
  void prefetchImage(const std::string& path);
  // Drops the prefetches the loader has not started yet.
  void cancelPendingPrefetches();
  Ptr<CCTexture2D> addCGImage(CGImage* image, const std::string& key);
  Ptr<CCTexture2D> addPVRImage(const std::string& path);
  Ptr<CCTexture2D> addPVRTCImage(const std::string& path, int bpp, bool hasAlpha, int width);
  Ptr<CCTexture2D> textureForKey(const std::string& key);

  void removeTexture(CCTexture2D* texture);
  void removeTextureForKey(const std::string& key);
  // Drops the texture under `key` when nobody but the cache holds it; true when it went.
  bool removeUnusedTextureForKey(const std::string& key);
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
  // Decoding and uploading run outside dictLock_, so that the main thread's
  // look-ups never wait for the loader; a key is claimed while it loads, so
  // that two threads never make the same texture.
  Ptr<CCTexture2D> loadImage(const std::string& path, bool finishUpload);
  bool claimLoading(const std::string& key);
  void publish(const std::string& key, const Ptr<CCTexture2D>& texture);
  void queueRequest(std::shared_ptr<AsyncRequest> request, EAGLContext* current);
  void startLoader(EAGLSharegroup* sharegroup);
  void loaderMain(Ptr<EAGLSharegroup> sharegroup);
  Ptr<EAGLContext> makeLoaderContext(EAGLSharegroup* sharegroup);
  // The next queued request, or null when stopping (or, without `wait`, when none is queued).
  std::shared_ptr<AsyncRequest> nextRequest(bool wait);

  std::map<std::string, Ptr<CCTexture2D>> textures_;
  mutable std::recursive_mutex dictLock_;
  std::mutex loadingLock_;
  std::condition_variable loadingDone_;
  std::set<std::string> loading_;
  std::mutex contextLock_;
  // Loader thread and its queue.
  std::mutex queueLock_;
  std::condition_variable queueSignal_;
  std::deque<std::shared_ptr<AsyncRequest>> queue_;
  bool stopLoader_ = false;
  std::thread loader_;
};
