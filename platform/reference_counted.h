// The one reference count of the display objects: add_ref and release of every backend's
// surfaces, clippers and DirectDraw objects, with a release past zero caught and reported.
#pragma once

#include <cstdint>

#include "platform/direct_draw.h"

namespace platform {

// Reports on standard error that a what was released more often than it was referenced.
void report_over_release(const char* what);

inline const char* object_name(const Surface*) {
  return "surface";
}
inline const char* object_name(const Clipper*) {
  return "clipper";
}
inline const char* object_name(const DirectDraw*) {
  return "DirectDraw object";
}

// Interface (Surface, Clipper or DirectDraw) with its add_ref and release: one reference at
// creation unless told otherwise, the object deletes itself when the last one goes, and a
// release with no reference left changes nothing and is reported, where a bare count would
// wrap past zero and the object would live on with four billion references.
template <typename Interface>
class ReferenceCounted : public Interface {
 public:
  std::uint32_t add_ref() final { return ++references_; }
  std::uint32_t release() final {
    if (references_ == 0) {
      over_released(object_name(static_cast<const Interface*>(this)));
      return 0;
    }
    if (--references_ == 0 && deleted_at_zero()) {
      delete this;
      return 0;
    }
    return references_;
  }
  std::uint32_t references() const { return references_; }

 protected:
  explicit ReferenceCounted(std::uint32_t initial_references = 1)
      : references_(initial_references) {}
  ~ReferenceCounted() override = default;

  // Tells of a release with no reference left; by default on standard error.
  virtual void over_released(const char* what) { report_over_release(what); }
  // False for an object whose life another one owns (the back buffer of a flipping chain,
  // which lives as long as its front surface): it is not deleted at zero references.
  virtual bool deleted_at_zero() const { return true; }

 private:
  std::uint32_t references_;
};

}  // namespace platform
