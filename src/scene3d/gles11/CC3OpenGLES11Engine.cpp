#include "CC3OpenGLES11Engine.h"

#include "CCSharedServices.h"

namespace {
Ptr<CC3OpenGLES11Engine>& sharedEngine() {
  static Ptr<CC3OpenGLES11Engine> engine;
  return engine;
}

template <class Manager>
Ptr<Manager> initialized(Ptr<Manager> manager) {
  manager->init();
  return manager;
}
}  // namespace

CC3OpenGLES11Engine* CC3OpenGLES11Engine::engine() {
  Ptr<CC3OpenGLES11Engine>& engine = sharedEngine();
  if (!engine) {
    engine = makeObject<CC3OpenGLES11Engine>();
    CCSharedServices::addPurge(&CC3OpenGLES11Engine::purgeEngine);
    engine->init();
  }
  return engine.get();
}

void CC3OpenGLES11Engine::purgeEngine() {
  sharedEngine() = nullptr;
}

void CC3OpenGLES11Engine::close() {
  textures_->close();
  for (const auto& tracker : trackers()) {
    if (tracker.get() != textures_.get()) tracker->close();
  }
}

void CC3OpenGLES11Engine::initializeTrackers() {
  platform_ = initialized(makeObject<CC3OpenGLES11Platform>());
  serverCapabilities_ = initialized(makeObject<CC3OpenGLES11ServerCapabilities>(platform_.get()));
  clientCapabilities_ = initialized(makeObject<CC3OpenGLES11ClientCapabilities>());
  materials_ = initialized(makeObject<CC3OpenGLES11Materials>());
  textures_ = initialized(makeObject<CC3OpenGLES11Textures>());
  lighting_ = initialized(makeObject<CC3OpenGLES11Lighting>(platform_.get()));
  matrices_ = initialized(makeObject<CC3OpenGLES11Matrices>());
  vertices_ = initialized(makeObject<CC3OpenGLES11VertexArrays>());
  state_ = initialized(makeObject<CC3OpenGLES11State>());
  appExtensions_ = makeObject<CC3OpenGLES11StateTrackerManager>();
  appExtensions_->initMinimal();
  for (CC3OpenGLES11StateTracker* manager : std::initializer_list<CC3OpenGLES11StateTracker*>{
           platform_.get(), serverCapabilities_.get(), clientCapabilities_.get(), materials_.get(),
           textures_.get(), lighting_.get(), matrices_.get(), vertices_.get(), state_.get(),
           appExtensions_.get()}) {
    addTracker(manager);
  }
}
