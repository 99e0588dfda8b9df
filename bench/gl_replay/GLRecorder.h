#pragma once
#include <GLES/gl.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Records the GL calls the main thread makes during one frame, with copies of
// everything they point at, so that the frame can be drawn again by a bare
// loop with no engine. The program is linked with the GL entry points wrapped
// (GLWrappers.cpp); calls from other threads pass through unrecorded.
class GLRecorder {
 public:
  struct Call {
    const char* name;
    // A state call's key ("cap 0x0BE2") and value; a repeated value for the same
    // key changes nothing. Empty for calls that are not plain state.
    std::string key, value;
    std::function<void()> replay;  // empty: counted, not replayed (queries, resources)
  };

  static GLRecorder& shared();

  void begin();
  void end();
  bool recording() const { return recording_; }
  const std::vector<Call>& calls() const { return calls_; }

  // Draws the recorded frame again: the replayable calls in their order.
  void replay() const;
  // The same with one capability kept off throughout: what that stage costs.
  void replayWithout(GLenum capability) const;
  // The same without the frame's last clear.
  void replayWithoutLastClear() const;

  // What the frame asked of GL, by function name.
  std::map<std::string, int> countsByName() const;
  // State calls that set what was already set, in a steady run of frames
  // (the frame repeated, so that what one frame leaves counts for the next).
  // Each such call as "glEnable cap 0x0BE2", in frame order.
  std::vector<std::string> redundantStateCalls() const;
  int replayedCount() const;
  // The largest texture the frame draws with and the blend factors of its
  // first blended textured draw: the state a floor frame draws its quad with.
  GLuint pictureTexture() const { return pictureTexture_; }
  GLenum pictureBlendSource() const { return pictureBlend_[0]; }
  GLenum pictureBlendDestination() const { return pictureBlend_[1]; }

  // Called by the wrappers.
  void add(const char* name, std::string key, std::string value, std::function<void()> replay);
  void count(const char* name) { add(name, {}, {}, nullptr); }
  // A texture's level 0 was given this size (any thread).
  void textureSize(GLuint texture, GLsizei width, GLsizei height);
  // A client-memory array pointer: the data is copied at each draw that reads it.
  void addArrayPointer(const char* name, GLenum array, GLint size, GLenum type, GLsizei stride,
                       const void* pointer, std::function<void(const void*)> set);
  void clientState(GLenum array, bool enabled);
  void clientActiveTexture(GLenum unit) { clientUnit_ = unit; }
  void bindBuffer(GLenum target, GLuint buffer);
  // Copies the client arrays' first `vertices` elements for the draw.
  void willDraw(GLsizei vertices);
  // The indices of a draw from client memory, copied; their largest value + 1 in `vertices`.
  std::shared_ptr<std::vector<std::uint8_t>> copyIndices(GLsizei count, GLenum type,
                                                         const void* indices, GLsizei& vertices);
  bool elementBufferBound() const { return elementBuffer_ != 0; }

 private:
  struct ClientArray {
    const void* source = nullptr;
    std::size_t elementBytes = 0, stride = 0;
    std::shared_ptr<std::vector<std::uint8_t>> copy;  // grows to what the draws read
    bool enabled = false;
  };
  ClientArray& array(GLenum array);
  std::map<GLenum, bool> capabilitiesAtStart_;
  bool recording_ = false;
  std::vector<Call> calls_;
  std::map<std::uint64_t, ClientArray> arrays_;  // by array and texture unit
  GLenum clientUnit_ = GL_TEXTURE0;
  GLuint arrayBuffer_ = 0, elementBuffer_ = 0;
  GLuint pictureTexture_ = 0;
  GLenum pictureBlend_[2] = {0, 0};
  bool blendNoted_ = false;
  std::mutex texturesLock_;
  std::map<GLuint, long> textureAreas_;
  void notePictureState();
};

// Bytes of a GL scalar type, 0 for an unknown type.
std::size_t glTypeBytes(GLenum type);
