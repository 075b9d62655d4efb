// The per-pixel model of the scenes used by the golden tests.
#include "tests/engine/reference_scene.h"

#include <algorithm>

namespace engine_test::reference {

namespace {

constexpr std::int64_t kW = 640;
constexpr std::int64_t kH = 480;

std::uint32_t lcg(std::uint32_t& state) {
  state =
      static_cast<std::uint32_t>((std::uint64_t{state} * 1686629717u + 907633385u) % 4294967296u);
  return state >> 16;
}

struct Rgb565 {
  std::int64_t r, g, b;  // raw channel values: 0..31, 0..63, 0..31
};

Rgb565 split(std::uint16_t p) {
  return Rgb565{p >> 11, (p >> 5) & 63, p & 31};
}

std::uint16_t join(std::int64_t r, std::int64_t g, std::int64_t b) {
  return static_cast<std::uint16_t>(r * 2048 + g * 32 + b);
}

std::int64_t clamp255(std::int64_t v) {
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Each channel brought to 8 bits (zeros below), the addend added, clamped, packed again.
std::uint16_t brighten(std::uint16_t p, std::int64_t add) {
  const Rgb565 c = split(p);
  return join(clamp255(c.r * 8 + add) / 8, clamp255(c.g * 4 + add) / 4,
              clamp255(c.b * 8 + add) / 8);
}

// Per channel: half the source plus half the destination plus the destination's low bit.
std::uint16_t half_blend(std::uint16_t dst, std::uint16_t src) {
  const Rgb565 d = split(dst);
  const Rgb565 s = split(src);
  return join(s.r / 2 + d.r / 2 + d.r % 2, s.g / 2 + d.g / 2 + d.g % 2,
              s.b / 2 + d.b / 2 + d.b % 2);
}

// The wrapping 32-bit signed sum, done in 64 bits and reduced.
std::int64_t wrap32(std::int64_t v) {
  std::int64_t m = v % 4294967296LL;
  if (m < 0) m += 4294967296LL;
  return m >= 2147483648LL ? m - 4294967296LL : m;
}

struct Header {
  std::int64_t bw = 0, bh = 0, density = 0, drift = 0, step_x = 0, step_y = 0, jitter_x = 0,
               jitter_y = 0, total_x = 0, total_y = 0;
  std::uint32_t pos = 0, jit = 0, seed = 0;
  std::uint32_t seed_offset = 0;  // seed = start + this at activation
};

struct Remap : Header {
  std::int64_t add = 0;
};

struct Move : Header {
  std::uint32_t off = 0, off_seed = 0;
  std::int64_t dx_min = 0, dx_max = 0, dy_min = 0, dy_max = 0;
};

struct Region {
  std::int64_t x0, x1, y0, y1;
  std::int64_t w() const { return x1 - x0 + 1; }
  std::int64_t h() const { return y1 - y0 + 1; }
};

std::int64_t count_of(const Region& r, const Header& h) {
  return ((r.w() * r.h()) / (h.bw * h.bh)) * h.density / 1000;
}

void preamble(Header& h) {
  if (h.drift == 0) return;
  h.pos = h.seed;
  h.total_x = wrap32(h.total_x + h.step_x);
  h.total_y = wrap32(h.total_y + h.step_y);
}

std::int64_t coordinate(Header& h, std::int64_t jitter, std::int64_t total) {
  std::int64_t v = lcg(h.pos);
  if (h.drift != 0) v = wrap32(v + static_cast<std::int64_t>(lcg(h.jit)) % (jitter + 1) + total);
  return v & 0x7FFFFFFF;
}

void run_remap(Frames& f, const Region& reg, Remap& m) {
  const std::int64_t count = count_of(reg, m);
  preamble(m);
  for (std::int64_t i = 0; i < count; ++i) {
    const std::int64_t x = coordinate(m, m.jitter_x, m.total_x) % reg.w() + reg.x0;
    const std::int64_t xe = std::min(x + m.bw - 1, reg.x1);
    const std::int64_t y = coordinate(m, m.jitter_y, m.total_y) % reg.h() + reg.y0;
    const std::int64_t ye = std::min(y + m.bh - 1, reg.y1);
    for (std::int64_t py = y; py <= ye; ++py) {
      for (std::int64_t px = x; px <= xe; ++px) {
        auto& p = f.work[static_cast<std::size_t>(py * kW + px)];
        p = brighten(p, m.add);
      }
    }
  }
}

// Moving blocks from the source picture, copied, offsets fresh every frame.
void run_move(Frames& f, const Region& reg, Move& m) {
  const std::int64_t count = count_of(reg, m);
  preamble(m);
  for (std::int64_t i = 0; i < count; ++i) {
    std::int64_t dx = m.dx_max;
    std::int64_t dy = m.dy_max;
    if (m.dx_max - m.dx_min > 0) dx = lcg(m.off) % (m.dx_max - m.dx_min + 1) + m.dx_min;
    if (m.dy_max - m.dy_min > 0) dy = lcg(m.off) % (m.dy_max - m.dy_min + 1) + m.dy_min;
    if (dx == 0 && dy == 0) continue;
    const std::int64_t cx = coordinate(m, m.jitter_x, m.total_x) % reg.w();
    const std::int64_t cy = coordinate(m, m.jitter_y, m.total_y) % reg.h();
    std::int64_t x = cx - m.bw / 2 + reg.x0;
    std::int64_t xe = x + m.bw - 1;
    std::int64_t y = cy - m.bh / 2 + reg.y0;
    std::int64_t ye = y + m.bh - 1;
    x = std::max(x, reg.x0);
    y = std::max(y, reg.y0);
    xe = std::min(xe, reg.x1);
    ye = std::min(ye, reg.y1);
    std::int64_t sx = x + dx, sxe = xe + dx, sy = y + dy, sye = ye + dy;
    if (dx > 0) {
      if (sx > reg.x1) continue;
      sxe = std::min(sxe, reg.x1);
    } else if (dx < 0) {
      if (sxe < reg.x0) continue;
      if (sx < reg.x0) {
        x += reg.x0 - sx;
        sx = reg.x0;
      }
    }
    if (dy > 0) {
      if (sy > reg.y1) continue;
      sye = std::min(sye, reg.y1);
    } else if (dy < 0) {
      if (sye < reg.y0) continue;
      if (sy < reg.y0) {
        y += reg.y0 - sy;
        sy = reg.y0;
      }
    }
    for (std::int64_t row = 0; row <= sye - sy; ++row) {
      for (std::int64_t col = 0; col <= sxe - sx; ++col) {
        f.work[static_cast<std::size_t>((y + row) * kW + x + col)] =
            f.source16[static_cast<std::size_t>((sy + row) * kW + sx + col)];
      }
    }
  }
}

void dither(Frames& f, const Region& reg) {
  // 5-6-5 and no noise: the widest channel has 6 bits, so 2 bits of noise centred on 1.
  const std::int64_t s = 6;
  const std::int64_t half = ((1 << (8 - s)) - 1) / 2;
  for (std::int64_t y = reg.y0; y <= reg.y1; ++y) {
    for (std::int64_t x = reg.x0; x <= reg.x1; ++x) {
      const std::int64_t d = ((lcg(f.dither_rng) & 0xFF) >> s) - half;
      const std::uint32_t v = f.image[static_cast<std::size_t>(y * kW + x)];
      const std::int64_t b = clamp255((v & 0xFF) + d);
      const std::int64_t g = clamp255(((v >> 8) & 0xFF) + d);
      const std::int64_t r = clamp255(((v >> 16) & 0xFF) + d);
      f.source16[static_cast<std::size_t>(y * kW + x)] = join(r >> 3, g >> 2, b >> 3);
    }
  }
}

enum class Restore { kNone, kBlend, kCopy };

struct Layer {
  Region reg{};
  std::uint32_t interval = 0, sleep = 0;
  Restore restore = Restore::kNone;
  Move* move = nullptr;
  std::vector<Remap*> remaps;
  bool first = true;
  std::uint32_t start = 0, last = 0;
};

// One paced step on the model clock `now`; true when it drew.
bool step(Frames& f, Layer& l, std::uint32_t& now) {
  if (l.first) {
    if (l.move != nullptr) {
      l.move->seed = l.start + l.move->seed_offset;
      l.move->off_seed = l.start + l.move->seed_offset + 1;
    }
    for (Remap* r : l.remaps) r->seed = l.start + r->seed_offset;
    dither(f, l.reg);
    l.first = false;
  } else {
    const std::uint32_t elapsed = now - l.last;
    if (elapsed < l.interval) {
      const std::uint32_t remaining = l.interval - elapsed;
      if (remaining > l.sleep) {
        now += l.sleep;
        return false;
      }
      now += remaining;
    }
  }
  l.last = now;
  for (std::int64_t y = l.reg.y0; y <= l.reg.y1; ++y) {
    for (std::int64_t x = l.reg.x0; x <= l.reg.x1; ++x) {
      const auto i = static_cast<std::size_t>(y * kW + x);
      if (l.restore == Restore::kCopy) f.work[i] = f.source16[i];
      if (l.restore == Restore::kBlend) f.work[i] = half_blend(f.work[i], f.source16[i]);
    }
  }
  if (l.move != nullptr) run_move(f, l.reg, *l.move);
  for (Remap* r : l.remaps) run_remap(f, l.reg, *r);
  return true;
}

}  // namespace

Frames make_frames(const std::uint32_t* image, const std::uint16_t* work) {
  const auto n = static_cast<std::size_t>(kW * kH);
  Frames f;
  f.image.assign(image, image + n);
  f.work.assign(work, work + n);
  f.source16.assign(n, 0);
  f.scratch.assign(n, 0);
  return f;
}

std::int32_t run_main_scene(Frames& f, std::uint32_t start_ms, std::int32_t tick_count) {
  Move move;
  move.bw = 3;
  move.bh = 2;
  move.density = 200;
  move.dx_max = 1;
  move.dy_max = 1;
  move.seed_offset = 30;

  Remap fine;
  fine.bw = fine.bh = 1;
  fine.density = 200;
  fine.drift = 1;
  fine.step_x = 1;
  fine.step_y = 3;
  fine.jitter_x = fine.jitter_y = 1;
  fine.add = 16;
  fine.seed_offset = 10;

  Remap coarse;
  coarse.bw = coarse.bh = 2;
  coarse.density = 100;
  coarse.drift = 1;
  coarse.step_x = 2;
  coarse.step_y = 6;
  coarse.jitter_x = coarse.jitter_y = 2;
  coarse.add = 16;
  coarse.seed_offset = 20;

  Remap sparkle;
  sparkle.bw = sparkle.bh = 1;
  sparkle.density = 1;
  sparkle.add = 64;
  sparkle.seed_offset = 10;

  Layer full;
  full.reg = Region{0, 639, 0, 479};
  full.interval = 200;
  full.sleep = 100;
  full.restore = Restore::kCopy;
  full.move = &move;
  full.remaps = {&fine, &coarse};
  full.start = start_ms;

  Layer strip;
  strip.reg = Region{0, 639, 400, 479};
  strip.interval = 100;
  strip.sleep = 100;
  strip.remaps = {&sparkle};
  strip.start = start_ms;

  std::uint32_t now = start_ms;
  std::int32_t frames = 0;
  for (std::int32_t t = 0; t < tick_count; ++t) {
    if (step(f, full, now)) ++frames;
    step(f, strip, now);
  }
  return frames;
}

std::int32_t run_info_scene(Frames& f, std::uint32_t start_ms, std::int32_t tick_count) {
  Layer info;
  info.reg = Region{40, 599, 40, 439};
  info.interval = 1000;
  info.sleep = 500;
  info.restore = Restore::kBlend;
  info.start = start_ms;
  std::uint32_t now = start_ms;
  std::int32_t frames = 0;
  for (std::int32_t t = 0; t < tick_count; ++t) {
    if (step(f, info, now)) ++frames;
  }
  return frames;
}

}  // namespace engine_test::reference
