// Storage of the four frame buffers.
#include "engine/frame_buffers.h"

namespace engine {

std::uint16_t working_frame[kFramePixels];
std::uint16_t source_picture[kFramePixels];
std::uint16_t scratch_frame[kFramePixels];
std::uint32_t source_image[kFramePixels];

}  // namespace engine
