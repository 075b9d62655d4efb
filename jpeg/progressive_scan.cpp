// Progressive scans (T.81 G.1.2) and multi-scan sequential files, decoded into a store of the
// whole image's coefficients: per component a plane of DC values and a plane of 64-value blocks.
#include "jpeg/progressive_scan.h"

#include <cstring>
#include <limits>

#include "jpeg/huffman.h"
#include "jpeg/markers.h"
#include "jpeg/scan_pipeline.h"
#include "jpeg/scan_setup.h"

namespace jpeg::detail {

namespace {

inline std::int16_t low16(std::uint32_t v) {
  return static_cast<std::int16_t>(v);
}

// Points p at its part of the store, which starts at next, and moves next past it.
void place_plane(Plane& p, std::uint8_t*& next, std::int32_t width, std::int32_t height,
                 std::int32_t element_size) {
  p.width = width;
  p.height = height;
  p.element_size = element_size;
  p.data = next;
  next += static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
          static_cast<std::size_t>(element_size);
}

std::int16_t* element(const Plane& p, std::int32_t x, std::int32_t y) {
  if (x >= p.width || y >= p.height) fail(BlockOutOfRange);
  const std::size_t index =
      static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) + static_cast<std::size_t>(x);
  return reinterpret_cast<std::int16_t*>(p.data + index * static_cast<std::size_t>(p.element_size));
}

// The end mark of a block: positions from it on hold zeros. It lives in the block's element 0,
// which the store never uses for a coefficient (the DC values have their own plane).
inline void extend_end(std::int16_t* block, std::int32_t k) {
  if (k + 1 > block[0]) block[0] = static_cast<std::int16_t>(k + 1);
}

// The block decoders read through the 64-bit reader, kept in a local by decode_scan. It
// decodes the same symbols and bits as the 32-bit reader, only with fewer refills.

// T.81 G.1.2.1: DC first scan.
inline void decode_dc_first(DecoderState& d, FastBits& b, std::int32_t j, std::int16_t* dc) {
  FrameComponent& c = d.comp[d.block_comp[j]];
  fast_fill(d, b);
  const std::int32_t s = fast_decode_symbol(b, *d.block_dc[j]);
  if (s > 16) fail(CorruptData);
  if (s != 0) c.predictor += static_cast<std::uint32_t>(extend(fast_get_bits(b, s), s));
  *dc = low16(c.predictor << d.al);
}

// T.81 G.1.2.1: DC refinement, one bit per block.
inline void decode_dc_refine(DecoderState& d, FastBits& b, std::int16_t* dc) {
  fast_fill(d, b);
  if (fast_get_bits(b, 1) != 0) *dc = static_cast<std::int16_t>(*dc | (1 << d.al));
}

// T.81 G.1.2.2: AC first scan of the band Ss..Se, with EOB runs across blocks.
inline void decode_ac_first(DecoderState& d, FastBits& b, std::int32_t j, std::int16_t* block) {
  const HuffmanLookup& ac = *d.block_ac[j];
  const std::int32_t al = d.al;
  const std::int32_t se = d.se;
  for (std::int32_t k = d.ss; k <= se; ++k) {
    fast_fill(d, b);
    const std::uint32_t entry = ac.with_value[b.acc >> (64 - kPeekBits)];
    if (entry != 0 && (entry & (kWithValueEob | kWithValueZrl)) == 0) {
      const std::int32_t len = static_cast<std::int32_t>(entry & 0xFF);
      k += static_cast<std::int32_t>((entry >> 8) & 0xFF);
      if (k > 63) fail(CorruptData);
      b.acc <<= len;
      b.count -= len;
      const auto value = static_cast<std::int32_t>(static_cast<std::int16_t>(entry >> 16));
      block[kZigzag[k]] = low16(static_cast<std::uint32_t>(value) << al);
      extend_end(block, k);
      continue;
    }
    const std::int32_t rs = fast_decode_symbol(b, ac);
    const std::int32_t r = rs >> 4;
    const std::int32_t s = rs & 15;
    if (s != 0) {
      k += r;
      if (k > 63) fail(CorruptData);
      block[kZigzag[k]] = low16(static_cast<std::uint32_t>(extend(fast_get_bits(b, s), s)) << al);
      extend_end(block, k);
    } else if (r == 15) {
      k += 15;
      if (k > 63) fail(CorruptData);
    } else {
      d.eob_run = (1 << r) + fast_get_bits(b, r) - 1;
      return;
    }
  }
}

// A correction bit for a coefficient already known to be non-zero (T.81 G.1.2.3).
inline void refine(DecoderState& d, FastBits& b, std::int16_t& z, std::int32_t p1,
                   std::int32_t m1) {
  fast_fill(d, b);
  // Without a branch on the bit: correction bits are as good as random.
  const std::int32_t zi = z;
  const std::int32_t bit = fast_get_bits(b, 1);
  const std::int32_t change = bit & ((zi & p1) == 0 ? 1 : 0);
  z = static_cast<std::int16_t>(zi + change * (zi >= 0 ? p1 : m1));
}

// T.81 G.1.2.3: AC refinement: new coefficients of magnitude 1 and correction bits.
inline void decode_ac_refine(DecoderState& d, FastBits& b, std::int32_t j, std::int16_t* block) {
  const std::int32_t p1 = 1 << d.al;
  const std::int32_t m1 = -p1;
  const std::int32_t se = d.se;
  std::int32_t k = d.ss;
  if (d.eob_run == 0) {
    const HuffmanLookup& ac = *d.block_ac[j];
    while (k <= se) {
      fast_fill(d, b);
      const std::int32_t rs = fast_decode_symbol(b, ac);
      std::int32_t r = rs >> 4;
      const std::int32_t s = rs & 15;
      std::int32_t value = 0;
      if (s == 0 && r < 15) {
        d.eob_run = (1 << r) + fast_get_bits(b, r);
        break;
      }
      if (s != 0) {
        if (s != 1) fail(CorruptData);
        value = fast_get_bits(b, 1) != 0 ? p1 : m1;
      }
      while (k <= se) {
        std::int16_t& z = block[kZigzag[k]];
        if (z != 0) {
          refine(d, b, z, p1, m1);
        } else if (--r < 0) {
          break;
        }
        ++k;
      }
      if (value != 0 && k <= 63) {
        block[kZigzag[k]] = static_cast<std::int16_t>(value);
        extend_end(block, k);
      }
      ++k;
    }
  }
  if (d.eob_run > 0) {
    // Inside an end-of-band run only non-zero coefficients read bits, and none lie past the end.
    const std::int32_t last = se < block[0] - 1 ? se : block[0] - 1;
    for (; k <= last; ++k) {
      std::int16_t& z = block[kZigzag[k]];
      if (z != 0) refine(d, b, z, p1, m1);
    }
    --d.eob_run;
  }
}

// A whole block of a sequential scan (T.81 F.2.2), stored unquantised like progressive data.
inline void decode_sequential_block(DecoderState& d, FastBits& b, std::int32_t j, std::int16_t* dc,
                                    std::int16_t* block) {
  decode_dc_first(d, b, j, dc);
  std::memset(block, 0, 64 * sizeof(std::int16_t));
  const HuffmanLookup& ac = *d.block_ac[j];
  std::int32_t k = 1;
  while (k <= 63) {
    fast_fill(d, b);
    const std::int32_t rs = fast_decode_symbol(b, ac);
    const std::int32_t r = rs >> 4;
    const std::int32_t s = rs & 15;
    if (s != 0) {
      if (k + r > 63) fail(CorruptData);
      k += r;
      block[kZigzag[k]] = static_cast<std::int16_t>(extend(fast_get_bits(b, s), s));
      ++k;
    } else if (r == 15) {
      if (k + 15 > 63) fail(CorruptData);
      k += 16;
    } else {
      break;
    }
  }
  block[0] = static_cast<std::int16_t>(k);
}

enum class ScanKind { sequential, dc_first, dc_refine, ac_first, ac_refine };

// Runs the block decoder of the scan kind over every block of the current scan, in MCU order.
template <ScanKind kind>
void decode_scan(DecoderState& d) {
  FastBits b{d.bits64, d.bit_count64};
  std::int32_t base[4] = {};
  for (std::int32_t row = 0; row < d.scan_mcu_rows; ++row) {
    if (d.scan_job != nullptr) scan_row_reached(d, row);
    std::int32_t column[4] = {};
    for (std::int32_t m = 0; m < d.scan_mcus_per_row; ++m) {
      if (d.restart_interval != 0 && d.mcus_left == 0) {
        process_restart(d, true);
        b = FastBits{d.bits64, d.bit_count64};
      }
      std::int32_t h = 0;
      std::int32_t v = 0;
      for (std::int32_t j = 0; j < d.scan_blocks_per_mcu; ++j) {
        const std::int32_t i = d.block_comp[j];
        const FrameComponent& c = d.comp[i];
        const std::int32_t x = column[i] + h;
        const std::int32_t y = base[i] + v;
        if constexpr (kind == ScanKind::dc_first) {
          decode_dc_first(d, b, j, element(c.dc_plane, x, y));
        } else if constexpr (kind == ScanKind::dc_refine) {
          decode_dc_refine(d, b, element(c.dc_plane, x, y));
        } else if constexpr (kind == ScanKind::ac_first) {
          if (d.eob_run > 0) {
            --d.eob_run;  // inside an EOB run the block keeps its coefficients
          } else {
            decode_ac_first(d, b, j, element(c.ac_plane, x, y));
          }
        } else if constexpr (kind == ScanKind::ac_refine) {
          decode_ac_refine(d, b, j, element(c.ac_plane, x, y));
        } else {
          decode_sequential_block(d, b, j, element(c.dc_plane, x, y), element(c.ac_plane, x, y));
        }
        if (d.ns == 1) {
          ++column[i];
        } else if (++h == c.h) {
          h = 0;
          if (++v == c.v) {
            v = 0;
            column[i] += c.h;
          }
        }
      }
      --d.mcus_left;
    }
    if (d.ns == 1) {
      ++base[d.scan_comp[0]];
    } else {
      for (std::int32_t s = 0; s < d.ns; ++s) base[d.scan_comp[s]] += d.comp[d.scan_comp[s]].v;
    }
  }
  d.bits64 = b.acc;
  d.bit_count64 = b.count;
}

// Whether the output reads only the DC of the component's blocks: at 1/8 a block transformed to
// one sample is its DC / 8 (idct_reduced.cpp), while 4:2:0 chroma there still takes a 2x2
// transform. The AC scans of such a component are skipped and it has no plane of AC coefficients.
bool reads_dc_only(const DecoderState& d, std::int32_t i) {
  return d.progressive && d.scale != 1 && d.block_size[i] == 1;
}

// T.81 G.1.1.1.1: the band and successive approximation of a progressive scan.
void check_band(const DecoderState& d) {
  if (d.se < d.ss || d.se > 63) fail(ProgressiveScanRange);
  if (d.ss != 0 && d.ns != 1) fail(ProgressiveScanRange);
  if (d.ss == 0 && d.se != 0) fail(ProgressiveScanRange);
  if (d.ah != 0 && d.al != d.ah - 1) fail(SuccessiveApproximation);
  // Shifts of 14 and more leave nothing of a 16-bit coefficient (T.81 allows Al up to 13).
  if (d.al >= 14) fail(ProgressiveScanRange);
}

}  // namespace

bool scan_needed(DecoderState& d) {
  if (d.progressive) check_band(d);
  // The whole scan is counted before it runs, so an over-long file is refused before the work;
  // a skipped scan counts as if decoded, so that the same files meet the budget.
  d.blocks_visited += std::int64_t{d.scan_mcu_rows} * d.scan_mcus_per_row * d.scan_blocks_per_mcu;
  if (d.blocks_visited > d.visit_budget) fail(TooManyScans);
  return !(d.progressive && d.ss != 0 && reads_dc_only(d, d.scan_comp[0]));
}

void decode_scan_into_store(DecoderState& d) {
  if (!d.progressive) {
    decode_scan<ScanKind::sequential>(d);
  } else if (d.ss == 0) {
    if (d.ah == 0) {
      decode_scan<ScanKind::dc_first>(d);
    } else {
      decode_scan<ScanKind::dc_refine>(d);
    }
  } else if (d.ah == 0) {
    decode_scan<ScanKind::ac_first>(d);
  } else {
    decode_scan<ScanKind::ac_refine>(d);
  }
}

void decode_into_store(DecoderState& d, bool first_scan_read) {
  // Every component's planes cover whole MCUs; a picture of one component has one block an MCU.
  std::int32_t plane_width[4] = {};
  std::int32_t plane_height[4] = {};
  std::uint64_t component_bytes[4] = {};
  std::int64_t store_blocks = 0;
  std::uint64_t held_bytes = 0;
  for (std::int32_t i = 0; i < d.components; ++i) {
    plane_width[i] = (d.components == 1 ? 1 : d.comp[i].h) * d.mcus_per_row;
    plane_height[i] = (d.components == 1 ? 1 : d.comp[i].v) * d.mcu_rows;
    const std::int64_t blocks = std::int64_t{plane_width[i]} * plane_height[i];
    store_blocks += blocks;
    component_bytes[i] = static_cast<std::uint64_t>(blocks) * (reads_dc_only(d, i) ? 2 : 130);
    held_bytes += component_bytes[i];
  }
  // Counted in 64 bits: on a 32-bit system a large frame's store does not fit size_t. The limits
  // apply to the whole store, so that a scale refuses the files that full size refuses.
  const std::uint64_t store_bytes = static_cast<std::uint64_t>(store_blocks) * 130;
  // A photo's store beyond the budget is refused as such on every system, before the limit of
  // a 32-bit address space comes into it.
  if (d.photo_sizes && store_bytes > static_cast<std::uint64_t>(kPhotoMemoryBudget)) {
    fail(ImageTooLarge);
  }
  if (store_bytes > std::numeric_limits<std::size_t>::max() / 2) fail(OutOfMemory);
  // A program that decodes picture after picture should get the same memory back each time
  // instead of fresh pages to fault in. C allocators hand large blocks straight back to the
  // system, up to a size they learn from what is freed (glibc: up to 32 MB), so the store is one
  // block while it is that small and one block per component above.
  const bool one_block = held_bytes <= (std::uint64_t{32} << 20);
  // The planes of blocks come first, each a whole number of 128-byte blocks from the start.
  std::uint8_t* next = nullptr;
  for (std::int32_t i = 0; i < d.components; ++i) {
    if (i == 0 || !one_block) {
      next = static_cast<std::uint8_t*>(allocate(d, one_block ? held_bytes : component_bytes[i]));
    }
    if (reads_dc_only(d, i)) {
      d.comp[i].ac_plane = Plane{};
    } else {
      place_plane(d.comp[i].ac_plane, next, plane_width[i], plane_height[i], 128);
    }
    if (!one_block) place_plane(d.comp[i].dc_plane, next, plane_width[i], plane_height[i], 2);
  }
  for (std::int32_t i = 0; i < d.components && one_block; ++i) {
    place_plane(d.comp[i].dc_plane, next, plane_width[i], plane_height[i], 2);
  }
  d.blocks_visited = 0;
  d.visit_budget = kMaxScanPasses * store_blocks;
  if (!first_scan_read && decode_scans_on_two_threads(d)) {
    finish_store(d);
    return;
  }
  bool have_scan = first_scan_read;
  while (true) {
    if (!have_scan) {
      const std::int32_t m = next_marker(d);
      if (m == 0xD9) break;
      if (m != 0xDA) fail(UnexpectedMarker);
      read_scan_header(d);
    }
    have_scan = false;
    compute_scan_geometry(d);
    prepare_scan(d, true);
    if (scan_needed(d)) {
      decode_scan_into_store(d);
    } else {
      skip_scan(d);
    }
  }
  finish_store(d);
}

void finish_store(DecoderState& d) {
  // The output walks the MCUs of the layout: every component, in frame order.
  d.ns = d.components;
  for (std::int32_t i = 0; i < d.components; ++i) {
    d.scan_comp[i] = i;
    d.comp[i].out_row = 0;
    if (d.quant[d.comp[i].tq] == nullptr) fail(QuantTableMissing);
  }
  compute_scan_geometry(d);
}

void assemble_mcu_row(DecoderState& d) {
  std::int16_t* target = d.coef;
  std::int32_t column[4] = {};
  for (std::int32_t m = 0; m < d.scan_mcus_per_row; ++m) {
    std::int32_t h = 0;
    std::int32_t v = 0;
    for (std::int32_t j = 0; j < d.scan_blocks_per_mcu; ++j) {
      const std::int32_t i = d.block_comp[j];
      const FrameComponent& c = d.comp[i];
      const std::int32_t x = column[i] + h;
      const std::int32_t y = c.out_row + v;
      const std::int16_t* dc = element(c.dc_plane, x, y);
      if (c.ac_plane.data == nullptr) {
        // Only the DC is read (reads_dc_only); the rest of the block is left as it is.
        target[0] = d.fast_transform || *dc == 0
                        ? *dc
                        : low16(static_cast<std::uint32_t>(*dc) * d.quant[c.tq][0]);
      } else {
        std::memcpy(target, element(c.ac_plane, x, y), 64 * sizeof(std::int16_t));
        target[0] = *dc;
      }
      if (!d.fast_transform && c.ac_plane.data != nullptr) {
        const std::uint16_t* q = d.quant[c.tq];
        std::int32_t last = 63;
        while (last > 0 && target[kZigzag[last]] == 0) --last;
        for (std::int32_t k = last; k >= 0; --k) {
          std::int16_t& t = target[kZigzag[k]];
          if (t != 0) t = low16(static_cast<std::uint32_t>(t) * q[k]);
        }
      }
      target += 64;
      if (d.ns == 1) {
        ++column[i];
      } else if (++h == c.h) {
        h = 0;
        if (++v == c.v) {
          v = 0;
          column[i] += c.h;
        }
      }
    }
  }
  for (std::int32_t i = 0; i < d.ns; ++i) d.comp[i].out_row += d.ns == 1 ? 1 : d.comp[i].v;
}

}  // namespace jpeg::detail
