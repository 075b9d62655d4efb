// Resources compiled into the program, for the platforms whose executables carry no
// resource section. The build generates the table (see resources/CMakeLists.txt).
#pragma once

#include <cstdint>
#include <span>

namespace platform {

// One resource: its integer id, its type name and its bytes (static storage).
struct EmbeddedResource {
  int id;
  const char* type;
  const unsigned char* data;
  std::uint32_t size;
};

// The resources of this program, in the generated source linked into it.
std::span<const EmbeddedResource> embedded_resources();

}  // namespace platform
