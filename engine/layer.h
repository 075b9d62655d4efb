// A layer: one animated rectangle of the working frame with its pacing, its opacity, its
// effect records and its slot table, and the three kinds of effect records.
#pragma once

#include <cstdint>
#include <memory>

#include "display/pixel_format.h"
#include "platform/clock.h"

namespace engine {

// The fields every effect record begins with.
struct EffectHeader {
  std::int32_t block_w = 0;  // block size in pixels, >= 1 while the kind runs
  std::int32_t block_h = 0;
  std::int32_t density = 0;  // per mille of the blocks that would tile the region
  bool drift = false;        // positions restart from seed every frame and drift
  std::int32_t step_x = 0;   // added to the totals once per frame while drift is set
  std::int32_t step_y = 0;
  std::int32_t jitter_x = 0;  // jitter range of each block while drift is set
  std::int32_t jitter_y = 0;
  std::int32_t total_x = 0;  // accumulated drift, never reset by activation
  std::int32_t total_y = 0;
};

// Kind 1: blocks ANDed with a mask that clears low channel bits.
struct MaskRectParams : EffectHeader {
  std::uint32_t pos_rng = 0;
  std::uint32_t jitter_rng = 0;
  std::uint32_t seed = 0;
  std::uint32_t mask = 0;    // both halves equal; computed by Layer::set_pixel_format
  bool blend_after = false;  // blend the source picture in after the run
  std::int32_t clear_r = 0;  // low bits of each channel that mask clears
  std::int32_t clear_g = 0;
  std::int32_t clear_b = 0;
};

// Kinds 2 and 3: blocks passed through a 65536-entry colour table.
struct RemapParams : EffectHeader {
  // All fields zero and an owned, zeroed table.
  RemapParams();
  RemapParams(const RemapParams&) = delete;
  RemapParams& operator=(const RemapParams&) = delete;

  // Copies every field and the table entries of other into this record's own table, or
  // zeroes both when other is null; then raises the block size to at least 1x1.
  void assign(const RemapParams* other);
  // table[p] = p with add_r, add_g and add_b added to its channels, clamped to 0..255.
  void build_remap_table(const display::PixelLayout& pf);

  std::uint32_t pos_rng = 0;
  std::uint32_t jitter_rng = 0;
  std::uint32_t seed = 0;
  std::unique_ptr<std::uint16_t[]> table;
  bool blend_after = false;  // blend the source picture in after the run
  bool from_work = false;    // remap in place in the working frame
  std::int32_t add_r = 0;
  std::int32_t add_g = 0;
  std::int32_t add_b = 0;
};

// Where a moving block's pixels come from (MovingBlockParams::source). Any other value draws
// nothing, though the offsets and positions are still drawn.
inline constexpr std::int32_t kFromSourcePicture = 0;
// Read and written in place, so a block whose source overlaps it from the left or above smears.
inline constexpr std::int32_t kFromWorkingFrame = 1;
// Taken out into the scratch frame first, so the block moves without smearing.
inline constexpr std::int32_t kFromWorkingFrameViaScratch = 2;

// How a moving block's offsets change from frame to frame (MovingBlockParams::offset_mode).
inline constexpr std::int32_t kOffsetsFresh = 0;     // new offsets every frame
inline constexpr std::int32_t kOffsetsRepeated = 1;  // the same offsets every frame
// A random walk of each block index's stored offset; the arrays grow with the block count.
inline constexpr std::int32_t kOffsetsWalk = 2;
// The same walk over the arrays as they are (this and every higher mode): they never grow,
// and blocks beyond them take the range's maximum.
inline constexpr std::int32_t kOffsetsWalkFixedCount = 3;

// Kinds 4 and 5: blocks filled from a displaced piece of picture.
struct MovingBlockParams : EffectHeader {
  MovingBlockParams() = default;
  MovingBlockParams(const MovingBlockParams&) = delete;
  MovingBlockParams& operator=(const MovingBlockParams&) = delete;

  // Copies every field of other except offset_count and the offsets (or zeroes them when
  // other is null); then raises the block size to at least 1x1.
  void assign(const MovingBlockParams* other);
  // Gives both offset arrays n entries (n >= 0; a negative n keeps the current ones) and
  // zeroes them.
  void resize_offsets(std::int32_t n);
  void clear_offsets();

  std::uint32_t pos_rng = 0;
  std::uint32_t offset_rng = 0;
  std::uint32_t jitter_rng = 0;
  std::uint32_t seed = 0;
  std::uint32_t offset_seed = 0;
  std::int32_t offset_count = 0;
  std::unique_ptr<std::int16_t[]> offsets_x;  // random-walk offset of each block index
  std::unique_ptr<std::int16_t[]> offsets_y;
  bool blend_after = false;                  // blend the source picture in after the run
  std::int32_t source = kFromSourcePicture;  // one of the kFrom... values above
  bool blend = false;                        // blend 50% instead of copying
  std::int32_t offset_mode = kOffsetsFresh;  // one of the kOffsets... values above
  std::int32_t dx_min = 0;
  std::int32_t dx_max = 0;
  std::int32_t dy_min = 0;
  std::int32_t dy_max = 0;
  std::int32_t walk_x = 0;  // largest change of an offset per frame in the random walk
  std::int32_t walk_y = 0;
  bool reset_offsets = false;  // zero the offsets at each activation
};

// What a slot runs; the value is the kind's number.
enum class EffectKind : std::uint8_t {
  kNone = 0,
  kMaskRects = 1,
  kRemapA = 2,
  kRemapB = 3,
  kMoveA = 4,
  kMoveB = 5,
};

inline constexpr std::int32_t kSlotCount = 6;

// The frame buffers a layer works on: not owned, each width x height pixels with row
// stride width.
struct LayerFrames {
  std::uint16_t* work = nullptr;            // the working frame that is shown
  std::uint16_t* scratch = nullptr;         // intermediate for moving blocks
  std::uint16_t* source16 = nullptr;        // the dithered 16-bit picture restored from
  const std::uint32_t* source32 = nullptr;  // the 32-bit picture the dither reads
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// A layer's pacing, opacity, noise and slot table, given to Layer::configure.
struct LayerSetup {
  float opacity = 0.0f;          // 1 copies the source picture, above 0 blends it 50%, 0 leaves it
  std::int32_t interval_ms = 0;  // least time between the starts of two frames
  std::int32_t sleep_limit_ms = 0;  // longest wait inside one step
  std::int32_t noise = 0;           // widens the dither, clamped to 0..6
  // The slot (1..5; 0 = off; clamped to 0..5) of each effect kind.
  std::int32_t mask_slot = 0;
  std::int32_t remap_a_slot = 0;
  std::int32_t remap_b_slot = 0;
  std::int32_t move_a_slot = 0;
  std::int32_t move_b_slot = 0;
};

class Layer {
 public:
  // A 1x1 region at the top-left corner, inactive, no slots. Time comes from clock;
  // dither_rng is the dither generator the layers of a scene share. All three must outlive
  // the layer.
  Layer(const LayerFrames& frames, platform::Clock& clock, std::uint32_t& dither_rng);
  // A copy over the same buffers, clock and generator with its own tables and arrays,
  // always inactive.
  Layer(const Layer& other);
  Layer& operator=(const Layer&) = delete;
  ~Layer() = default;

  // The region, inclusive at both ends, clamped into the frame with x0 <= x1 and y0 <= y1.
  void set_region(std::int32_t left, std::int32_t right, std::int32_t top, std::int32_t bottom);
  // Copies the layout and derives the mask word and the blend words from it.
  void set_pixel_format(const display::PixelLayout& pf);
  // Opacity, pacing, noise and the slot table; a later kind given the same slot replaces
  // an earlier one.
  void configure(const LayerSetup& setup);
  void set_remaps(const RemapParams* a, const RemapParams* b);
  void set_moves(const MovingBlockParams* a, const MovingBlockParams* b);
  // Switches the layer on (returning its start time, now) or off (returning 0).
  std::uint32_t activate(bool on);
  // Switches the layer on with a given start time.
  void activate_at(std::uint32_t start);
  // Draws a frame if one is due, waiting at most sleep_ms for it; true if it drew.
  bool step();
  // Restores the region of the working frame from the source picture.
  void copy_source();
  // Blends the source picture 50% into the region of the working frame.
  void blend_source();

  display::PixelLayout format;
  std::int32_t width;
  std::int32_t height;
  std::uint16_t* source16;
  const std::uint32_t* source32;
  std::uint16_t* work;
  std::uint16_t* scratch;
  std::int32_t x0 = 0;
  std::int32_t x1 = 0;
  std::int32_t y0 = 0;
  std::int32_t y1 = 0;
  std::uint32_t interval_ms = 0;  // least time between the starts of two frames
  std::uint32_t sleep_ms = 0;     // longest wait inside one step
  std::int32_t noise = 0;         // 0..6, widens the dither of the conversion
  MaskRectParams mask_rects;
  RemapParams remap_a;
  RemapParams remap_b;
  MovingBlockParams move_a;
  MovingBlockParams move_b;
  float opacity = 0.0f;
  EffectKind slots[kSlotCount] = {};
  std::uint32_t halve_mask = 0;
  std::uint32_t low_bit_mask = 0;
  bool active = false;
  bool first_frame = false;  // the next step seeds the effects and converts the picture
  std::uint32_t start_ms = 0;
  std::uint32_t last_frame_ms = 0;
  std::int32_t duration_ms = 0;

 private:
  void run_slot(EffectKind kind);

  platform::Clock* clock_;
  std::uint32_t* dither_rng_;
};

}  // namespace engine
