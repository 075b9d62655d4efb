// Rows of files stored in RGB: the samples are copied, not converted.
#include "jpeg/rgb_components.h"

#if defined(MQ_JPEG_SSE2)
#include <emmintrin.h>
#endif

namespace jpeg::detail {

bool components_are_rgb(const DecoderState& d) {
  if (d.components != 3) return false;
  // The evidence in this order: an Adobe segment's transform, then a JFIF segment (whose data
  // is YCbCr by definition), then the component ids.
  if (d.adobe_transform >= 0) return d.adobe_transform == 0;
  if (d.jfif) return false;
  return d.comp[0].id == 'R' && d.comp[1].id == 'G' && d.comp[2].id == 'B';
}

namespace {

// The common layout, one block of each component per MCU: eight pixels from three block rows.
void copy_rgb_row_h1v1(const DecoderState& d, std::int32_t y, std::uint8_t* out) {
  const std::uint8_t* mcu = d.samples + 8 * y;
  for (std::int32_t m = 0; m < d.mcus_per_row; ++m) {
#if defined(MQ_JPEG_SSE2)
    const __m128i zero = _mm_setzero_si128();
    const __m128i red = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mcu));
    const __m128i green = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mcu + 64));
    const __m128i blue = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mcu + 128));
    const __m128i red_green = _mm_unpacklo_epi8(red, green);
    const __m128i blue_zero = _mm_unpacklo_epi8(blue, zero);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(red_green, blue_zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16),
                     _mm_unpackhi_epi16(red_green, blue_zero));
#else
    for (std::int32_t x = 0; x < 8; ++x) {
      out[4 * x] = mcu[x];
      out[4 * x + 1] = mcu[64 + x];
      out[4 * x + 2] = mcu[128 + x];
      out[4 * x + 3] = 0;
    }
#endif
    out += 32;
    mcu += 192;
  }
}

}  // namespace

void copy_rgb_rows(DecoderState& d, std::int32_t y) {
  // The first component fills h × v blocks of each MCU (in rows of h), the other two one
  // block each, right after it.
  const std::int32_t h = d.comp[0].h;
  const std::int32_t v = d.comp[0].v;
  if (h == 1 && v == 1) {
    copy_rgb_row_h1v1(d, y, d.line1);
    return;
  }
  const std::int32_t second = 64 * h * v;
  const std::int32_t third = second + 64;
  for (std::int32_t row = y; row < y + v; ++row) {
    std::uint8_t* out = row == y ? d.line1 : d.line2;
    const std::uint8_t* mcu = d.samples;
    for (std::int32_t m = 0; m < d.mcus_per_row; ++m) {
      for (std::int32_t x = 0; x < d.mcu_width; ++x) {
        const std::int32_t first = 64 * ((row / 8) * h + x / 8) + 8 * (row % 8) + x % 8;
        const std::int32_t other = 8 * (row / v) + x / h;
        out[0] = mcu[first];
        out[1] = mcu[second + other];
        out[2] = mcu[third + other];
        out[3] = 0;
        out += 4;
      }
      mcu += 64 * d.blocks_per_mcu;
    }
  }
}

}  // namespace jpeg::detail
