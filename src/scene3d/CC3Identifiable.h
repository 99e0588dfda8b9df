#pragma once
#include <GLES/gl.h>

#include <cstdint>
#include <optional>
#include <string>

#include "NSObject.h"

struct NSZone;

// Families of objects that draw their tags from separate counters, so that
// creating textures or materials does not move the tags given to nodes.
enum class CC3TagFamily {
  Identifiable,
  Node,
  Material,
  MeshModel,
  Texture,
  VertexArray,
  Resource,
};

// An object with a numeric tag and an optional name. Objects are made in
// two steps, like the rest of the engine: construct, then an initialiser.
class CC3Identifiable : public NSObject {
 public:
  CC3Identifiable() = default;
  ~CC3Identifiable() override;

  // All initialisers end in initWithTag(tag, name); the plain forms take a
  // fresh tag from this object's family.
  bool init();
  bool initWithTag(GLuint tag);
  bool initWithName(std::optional<std::string> name);
  virtual bool initWithTag(GLuint tag, std::optional<std::string> name);

  GLuint tag() const { return tag_; }
  void setTag(GLuint tag) { tag_ = tag; }
  const std::optional<std::string>& name() const { return name_; }
  void setName(std::optional<std::string> name) { name_ = std::move(name); }

  // The counter this object's tags come from; subclasses of another family
  // override it.
  virtual CC3TagFamily tagFamily() const { return CC3TagFamily::Identifiable; }
  GLuint nextTag() const { return nextTagInFamily(tagFamily()); }

  static GLuint nextTagInFamily(CC3TagFamily family);
  static void resetTagAllocation(CC3TagFamily family);
  // Live initialised identifiable objects in the process.
  static std::int64_t instanceCount();

  // Copies take a fresh tag; the plain copy keeps the name. The caller owns
  // the reference that copyWithZone returns.
  Ptr<CC3Identifiable> copy() const { return copyWithName(name_); }
  Ptr<CC3Identifiable> copyWithName(std::optional<std::string> name) const;
  virtual CC3Identifiable* copyWithZone(NSZone* zone, std::optional<std::string> name) const;
  // Copies this object's state (not its tag or name) from another of its class.
  virtual void populateFrom(const CC3Identifiable* another);

  std::string description() const override;

 protected:
  // A new, uninitialised object of the receiver's class; every concrete
  // subclass overrides it so that copies keep their class.
  virtual CC3Identifiable* newInstance() const { return new CC3Identifiable(); }

 private:
  GLuint tag_ = 0;
  std::optional<std::string> name_;
  bool counted_ = false;
};

// "Unnamed" stands in for an absent name in descriptions.
std::string CC3NameOrUnnamed(const std::optional<std::string>& name);
