#include "GLRecorder.h"

#include <GLES/glext.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

extern "C" GLboolean __real_glIsEnabled(GLenum cap);
extern "C" void __real_glGetIntegerv(GLenum name, GLint* values);

namespace {
const std::thread::id kMainThread = std::this_thread::get_id();

bool onMainThread() {
  return std::this_thread::get_id() == kMainThread;
}
}  // namespace

std::size_t glTypeBytes(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
      return 2;
    case GL_FLOAT:
    case GL_FIXED:
    case GL_UNSIGNED_INT:
      return 4;
    default:
      return 0;
  }
}

GLRecorder& GLRecorder::shared() {
  static GLRecorder recorder;
  return recorder;
}

void GLRecorder::begin() {
  calls_.clear();
  arrays_.clear();
  pictureTexture_ = 0;
  pictureBlend_[0] = GL_ONE;
  pictureBlend_[1] = GL_ONE_MINUS_SRC_ALPHA;
  blendNoted_ = false;
  for (GLenum c :
       {GLenum(GL_BLEND), GLenum(GL_DEPTH_TEST), GLenum(GL_LIGHTING), GLenum(GL_TEXTURE_2D)})
    capabilitiesAtStart_[c] = __real_glIsEnabled(c);
  // Arrays enabled before the frame stay enabled into it.
  for (GLenum a : {GLenum(GL_VERTEX_ARRAY), GLenum(GL_NORMAL_ARRAY), GLenum(GL_COLOR_ARRAY),
                   GLenum(GL_TEXTURE_COORD_ARRAY), GLenum(GL_POINT_SIZE_ARRAY_OES)})
    array(a).enabled = __real_glIsEnabled(a);
  recording_ = true;
}

void GLRecorder::end() {
  recording_ = false;
}

GLRecorder::ClientArray& GLRecorder::array(GLenum which) {
  const std::uint64_t unit = which == GL_TEXTURE_COORD_ARRAY ? clientUnit_ : 0;
  return arrays_[(std::uint64_t(which) << 32) | unit];
}

void GLRecorder::add(const char* name, std::string key, std::string value,
                     std::function<void()> replay) {
  if (!recording_ || !onMainThread()) return;
  calls_.push_back({name, std::move(key), std::move(value), std::move(replay)});
}

void GLRecorder::addArrayPointer(const char* name, GLenum which, GLint size, GLenum type,
                                 GLsizei stride, const void* pointer,
                                 std::function<void(const void*)> set) {
  if (!recording_ || !onMainThread()) return;
  std::string value(reinterpret_cast<const char*>(&pointer), sizeof pointer);
  value += std::to_string(size) + "," + std::to_string(type) + "," + std::to_string(stride) + "," +
           std::to_string(arrayBuffer_);
  const std::string key = std::string("array ") + std::to_string(which);
  if (arrayBuffer_) {
    // An offset into a buffer object, which stays where it is.
    add(name, key, value, [set, pointer] { set(pointer); });
    return;
  }
  ClientArray& a = array(which);
  a.source = pointer;
  a.elementBytes = std::size_t(size) * glTypeBytes(type);
  a.stride = stride ? std::size_t(stride) : a.elementBytes;
  a.copy = std::make_shared<std::vector<std::uint8_t>>();
  add(name, key, value, [set, copy = a.copy] { set(copy->data()); });
}

void GLRecorder::clientState(GLenum which, bool enabled) {
  if (recording_ && onMainThread()) array(which).enabled = enabled;
}

void GLRecorder::bindBuffer(GLenum target, GLuint buffer) {
  if (!onMainThread()) return;
  (target == GL_ARRAY_BUFFER ? arrayBuffer_ : elementBuffer_) = buffer;
}

void GLRecorder::notePictureState() {
  if (!__real_glIsEnabled(GL_TEXTURE_2D)) return;
  GLint value = 0;
  __real_glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
  {
    std::lock_guard<std::mutex> lock(texturesLock_);
    if (!pictureTexture_ || textureAreas_[GLuint(value)] > textureAreas_[pictureTexture_])
      pictureTexture_ = GLuint(value);
  }
  if (blendNoted_ || !__real_glIsEnabled(GL_BLEND)) return;
  __real_glGetIntegerv(GL_BLEND_SRC, &value);
  pictureBlend_[0] = GLenum(value);
  __real_glGetIntegerv(GL_BLEND_DST, &value);
  pictureBlend_[1] = GLenum(value);
  blendNoted_ = true;
}

void GLRecorder::textureSize(GLuint texture, GLsizei width, GLsizei height) {
  std::lock_guard<std::mutex> lock(texturesLock_);
  textureAreas_[texture] = long(width) * long(height);
}

void GLRecorder::willDraw(GLsizei vertices) {
  if (!recording_ || !onMainThread() || vertices <= 0) return;
  notePictureState();
  for (auto& [id, a] : arrays_) {
    if (!a.enabled || !a.source || !a.copy) continue;
    const std::size_t bytes = std::size_t(vertices - 1) * a.stride + a.elementBytes;
    if (a.copy->size() >= bytes) continue;
    const auto* from = static_cast<const std::uint8_t*>(a.source);
    a.copy->assign(from, from + bytes);
  }
}

std::shared_ptr<std::vector<std::uint8_t>> GLRecorder::copyIndices(GLsizei count, GLenum type,
                                                                   const void* indices,
                                                                   GLsizei& vertices) {
  const std::size_t size = glTypeBytes(type);
  const auto* from = static_cast<const std::uint8_t*>(indices);
  auto copy = std::make_shared<std::vector<std::uint8_t>>(from, from + size * std::size_t(count));
  GLuint largest = 0;
  for (GLsizei i = 0; i < count; ++i) {
    GLuint index = 0;
    if (size == 1) index = from[i];
    if (size == 2) index = reinterpret_cast<const GLushort*>(indices)[i];
    if (size == 4) index = reinterpret_cast<const GLuint*>(indices)[i];
    largest = std::max(largest, index);
  }
  vertices = count > 0 ? GLsizei(largest) + 1 : 0;
  return copy;
}

void GLRecorder::replay() const {
  for (const Call& call : calls_)
    if (call.replay) call.replay();
}

void GLRecorder::replayWithout(GLenum capability) const {
  char key[32];
  std::snprintf(key, sizeof key, "cap 0x%04X", capability);
  glDisable(capability);
  // The engine may leave a capability on from frame to frame without saying so
  // again: the frame ends as it would have.
  bool on = __real_glIsEnabled(capability);
  if (auto it = capabilitiesAtStart_.find(capability); it != capabilitiesAtStart_.end())
    on = it->second;
  for (const Call& call : calls_) {
    if (call.key == key) on = call.value == "1";
    if (call.replay && !(call.key == key && call.value == "1")) call.replay();
  }
  if (on) glEnable(capability);
}

void GLRecorder::replayWithoutLastClear() const {
  const Call* last = nullptr;
  for (const Call& call : calls_)
    if (std::string(call.name) == "glClear") last = &call;
  for (const Call& call : calls_)
    if (call.replay && &call != last) call.replay();
}

std::map<std::string, int> GLRecorder::countsByName() const {
  std::map<std::string, int> counts;
  for (const Call& call : calls_) ++counts[call.name];
  return counts;
}

int GLRecorder::replayedCount() const {
  return int(std::count_if(calls_.begin(), calls_.end(),
                           [](const Call& call) { return bool(call.replay); }));
}

std::vector<std::string> GLRecorder::redundantStateCalls() const {
  std::map<std::string, std::string> state;
  std::vector<std::string> redundant;
  for (int pass = 0; pass < 2; ++pass) {
    for (const Call& call : calls_) {
      if (call.key.empty()) continue;
      auto [it, added] = state.emplace(call.key, call.value);
      if (!added && it->second == call.value) {
        // Counted once the first frame has set the scene.
        if (pass == 1) redundant.push_back(std::string(call.name) + " " + call.key);
      } else {
        it->second = call.value;
      }
    }
  }
  return redundant;
}
