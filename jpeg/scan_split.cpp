// The worker of a split scan, its store of coefficients, and the caller's search for the MCU
// where the two decodes meet. The worker's coefficients go into chunks of memory in order, an
// MCU at a time: per block of a component the transforms read, its DC difference, then (but at
// 1x1, where the DC is all) the number of further coefficients kept and their values, in zigzag
// order of the positions the block's transform reads, up to the block's last coded position.
#include "jpeg/scan_split.h"

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

#include "jpeg/huffman.h"
#include "jpeg/input.h"
#include "jpeg/scan_setup.h"
#include "jpeg/sequential_scan.h"

namespace jpeg::detail {

namespace {

// MCUs the worker decodes at a time once past its first rows.
constexpr std::int32_t kBatchMcus = 16;
// The store's chunks, and the most of them in use at once: a chunk the caller has read is
// written again, so that the store takes fresh pages only while the worker is ahead (each of
// them a page fault, which costs more than the copy into it, on a virtual machine many times).
constexpr std::int32_t kChunkBytes = 1 << 20;
constexpr std::int32_t kPoolChunks = 32;

// Chunks kept from one split decode for the next. Fresh memory is faulted in page by page, and
// on a virtual machine those faults cost about as much as the decoding that fills the pages: a
// decoder that decodes one photo after another would pay them on every photo.
// A measurement build may set MQ_JPEG_SPLIT_CACHED_CHUNKS to 0 to see each decode's own store.
#if !defined(MQ_JPEG_SPLIT_CACHED_CHUNKS)
#define MQ_JPEG_SPLIT_CACHED_CHUNKS 8
#endif
constexpr std::int32_t kCachedChunks = MQ_JPEG_SPLIT_CACHED_CHUNKS;
std::mutex chunk_cache_mutex;
std::uint8_t* chunk_cache[kCachedChunks > 0 ? kCachedChunks : 1] = {};
std::int32_t chunks_cached = 0;

std::uint8_t* allocate_chunk() {
  {
    std::lock_guard lock(chunk_cache_mutex);
    if (chunks_cached > 0) return chunk_cache[--chunks_cached];
  }
  return static_cast<std::uint8_t*>(std::malloc(kChunkBytes));
}

void release_chunk(std::uint8_t* chunk) {
  if (chunk == nullptr) return;
  {
    std::lock_guard lock(chunk_cache_mutex);
    if (chunks_cached < kCachedChunks) {
      chunk_cache[chunks_cached++] = chunk;
      return;
    }
  }
  std::free(chunk);
}

// The most one MCU takes in the store: per block a DC difference, a count and 63 values.
constexpr std::int32_t kMaxMcuBytes = kMaxBlocksPerMcu * (2 + 1 + 63 * 2);

// How long the caller spins for the worker before it sleeps (as in row_pipeline.cpp).
constexpr std::int32_t kCallerSpins = 1 << 11;

inline void spin_pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// Everything the decoding of the next MCU depends on but the DC predictors.
struct ReaderState {
  std::uint8_t* cursor = nullptr;
  std::int32_t available = 0;
  bool at_end = false;
  std::int32_t end_toggle = 0;
  std::uint64_t bits = 0;
  std::int32_t count = 0;
  std::int32_t padding = 0;
  std::int32_t mcus_left = 0;
  std::int32_t next_rst = 0;
};

ReaderState save(const DecoderState& d) {
  return ReaderState{d.cursor,      d.available,     d.at_end,    d.end_toggle, d.bits64,
                     d.bit_count64, d.padding_bytes, d.mcus_left, d.next_rst};
}

void restore(DecoderState& d, const ReaderState& r) {
  d.cursor = r.cursor;
  d.available = r.available;
  d.at_end = r.at_end;
  d.end_toggle = r.end_toggle;
  d.bits64 = r.bits;
  d.bit_count64 = r.count;
  d.padding_bytes = r.padding;
  d.mcus_left = r.mcus_left;
  d.next_rst = r.next_rst;
}

// The position of the fast reader's next bit: its byte's address times 8 plus the bits of that
// byte already taken. The bits it holds came from the bytes right before the cursor, unstuffed
// (every FF it took was followed by the stuffed 00 it skipped). 0 once it has made up bytes in
// front of a marker, whose bits are not in the input.
std::uint64_t position(const DecoderState& d) {
  if (d.padding_bytes != 0) return 0;
  const std::uint8_t* p = d.cursor;
  const std::int32_t bytes = (d.bit_count64 + 7) >> 3;
  for (std::int32_t i = 0; i < bytes; ++i) p -= p[-1] == 0x00 && p[-2] == 0xFF ? 2 : 1;
  return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p)) * 8 +
         static_cast<std::uint64_t>(8 * bytes - d.bit_count64);
}

// Where one of the worker's first MCUs began: the reader's position and restart state, and the
// MCU's place in the store.
struct Mark {
  std::uint64_t position;
  std::int32_t mcus_left;
  std::int32_t next_rst;
  std::int32_t chunk;
  std::int32_t offset;
};

// The share of the entropy-coded data the worker takes: a little over half, as the caller also
// transforms, converts and takes over every row (measured on 24 and 48 megapixel photos).
constexpr double kWorkerShare = 0.58;

}  // namespace

struct ScanSplit {
  DecoderState w;  // the worker's copy of the decoder's state
  std::thread worker;
  std::mutex mutex;
  std::condition_variable caller_wake;  // MCUs stored, or the worker ended
  std::condition_variable worker_wake;  // the meeting point found, or stop
  std::atomic<std::int32_t> done{0};    // MCUs the worker has stored
  std::atomic<bool> ended{false};       // the worker stores no more; end_state is set
  std::atomic<bool> stop{false};
  std::atomic<bool> caller_waiting{false};
  std::atomic<bool> parked{false};  // the worker waits at the scan's end for the meeting point
  // The caller's MCU index of the worker's first MCU, once the two have met.
  std::atomic<std::int32_t> offset{-1};
  std::atomic<std::int32_t> chunks_read{0};  // chunks the caller is done with
  ReaderState end_state;  // the worker's reader at the start of MCU `done` once it has ended

  // Geometry, fixed before the worker starts.
  const std::uint8_t* data = nullptr;      // the caller's input when the worker started
  const std::uint8_t* data_end = nullptr;  // the end of the stream's bytes
  const std::uint8_t* scan_end = nullptr;  // the marker after the scan's data (the worker's)
  std::int32_t total = 0;                  // MCUs of the scan
  std::int32_t window = 0;                 // the worker's first MCUs, each with its Mark
  Mark* marks = nullptr;
  std::int32_t size[4] = {};            // per component the transform size, 0 when unused
  std::uint8_t used[4][64] = {};        // natural positions the transform reads, zigzag order
  std::uint8_t used_below[4][65] = {};  // how many of them lie before zigzag position k
  // Chunk i of the store is pool[i % kPoolChunks]; the worker allocates each before `done`
  // counts an MCU in it.
  std::uint8_t* pool[kPoolChunks] = {};

  // The worker's own.
  std::int16_t* scratch = nullptr;
  std::uint8_t* scratch_high_water = nullptr;
  std::int32_t write_chunk = 0;
  std::int32_t write_offset = 0;

  // The caller's own.
  std::uint8_t* written = nullptr;  // per block of the row: the kept values last written
  bool met = false;
  bool given_up = false;
  std::int32_t rows_taken = 0;
  std::int32_t rows_from_worker = 0;
  std::int32_t probe = 0;  // the first mark not yet passed
  std::int32_t next_rel = 0;
  std::int32_t read_chunk = 0;
  std::int32_t read_offset = 0;

  ~ScanSplit() {
    delete[] marks;
    delete[] scratch;
    delete[] scratch_high_water;
    delete[] written;
    for (std::uint8_t* chunk : pool) release_chunk(chunk);
  }
};

namespace {

void publish_done(ScanSplit& s, std::int32_t done) {
  s.done.store(done);
  if (s.caller_waiting.load()) {
    std::lock_guard lock(s.mutex);
    s.caller_wake.notify_one();
  }
}

void end_worker(ScanSplit& s, const ReaderState& state) {
  s.end_state = state;
  s.ended.store(true);
  std::lock_guard lock(s.mutex);
  s.caller_wake.notify_one();
}

// The first byte of the worker's data and the restart state there, or false when there is no
// place to start: a point the given share into the scan's data (which ends at its first marker
// but a restart marker), or with restart intervals the first interval that begins after it.
bool find_start(ScanSplit& s, DecoderState& w) {
  const std::uint8_t* p = s.data;
  const std::uint8_t* end = s.data_end;
  const std::uint8_t* scan_end = end;
  while (p < end) {
    const void* ff = std::memchr(p, 0xFF, static_cast<std::size_t>(end - p));
    if (ff == nullptr || static_cast<const std::uint8_t*>(ff) + 1 >= end) break;
    p = static_cast<const std::uint8_t*>(ff);
    const std::uint8_t b = p[1];
    if (b == 0x00 || (b >= 0xD0 && b <= 0xD7)) {
      p += 2;
    } else if (b == 0xFF) {
      p += 1;
    } else {
      scan_end = p;
      break;
    }
  }
  s.scan_end = scan_end;
  const auto length = scan_end - s.data;
  if (length < 256) return false;
  const std::uint8_t* start =
      s.data + static_cast<std::ptrdiff_t>(static_cast<double>(length) * (1.0 - kWorkerShare));
  if (w.restart_interval == 0) {
    while (start < scan_end && start[-1] == 0xFF) ++start;
    if (scan_end - start < 16) return false;
  } else {
    // The interval's first byte follows its marker.
    const std::uint8_t* q = start;
    while (true) {
      const void* ff = std::memchr(q, 0xFF, static_cast<std::size_t>(scan_end - q));
      if (ff == nullptr) return false;
      q = static_cast<const std::uint8_t*>(ff);
      if (q + 2 > scan_end) return false;
      if (q[1] >= 0xD0 && q[1] <= 0xD7) break;
      ++q;
    }
    w.next_rst = (q[1] - 0xD0 + 1) & 7;
    w.mcus_left = w.restart_interval;
    start = q + 2;
  }
  // Only ever read, as the caller's input is (input.h).
  w.cursor = const_cast<std::uint8_t*>(start);
  w.available = static_cast<std::int32_t>(end - start);
  w.at_end = true;
  w.end_toggle = 0;
  for (std::int32_t i = 0; i < w.components; ++i) w.comp[i].predictor = 0;
  enter_entropy_mode(w, true);
  return true;
}

// Makes room in the store for n more MCUs; false when the store is full or memory runs out.
bool make_room(ScanSplit& s, std::int32_t n) {
  std::int32_t chunk = s.write_chunk;
  std::int32_t offset = s.write_offset;
  for (std::int32_t i = 0; i < n; ++i) {
    if (offset + kMaxMcuBytes > kChunkBytes) {
      ++chunk;
      offset = 0;
    }
    offset += kMaxMcuBytes;
  }
  if (chunk == s.write_chunk) return true;
  if (chunk - s.chunks_read.load() >= kPoolChunks) return false;
  std::uint8_t*& memory = s.pool[chunk % kPoolChunks];
  if (memory == nullptr) memory = allocate_chunk();
  return memory != nullptr;
}

// Appends the n MCUs just decoded into the scratch blocks, the first of them the worker's MCU
// rel, to the store.
void store_mcus(ScanSplit& s, const DecoderState& w, std::int32_t rel, std::int32_t n,
                std::int16_t* last_dc) {
  const std::int32_t per_mcu = w.scan_blocks_per_mcu;
  const std::int16_t* block = s.scratch;
  const std::uint8_t* high_water = s.scratch_high_water;
  for (std::int32_t i = 0; i < n; ++i, ++rel) {
    if (s.write_offset + kMaxMcuBytes > kChunkBytes) {
      ++s.write_chunk;
      s.write_offset = 0;
    }
    std::uint8_t* const start = s.pool[s.write_chunk % kPoolChunks] + s.write_offset;
    std::uint8_t* out = start;
    // A restart sets the predictors to 0 in front of every interval; the worker began with one.
    if (w.restart_interval != 0 && rel % w.restart_interval == 0) {
      for (std::int32_t c = 0; c < 4; ++c) last_dc[c] = 0;
    }
    for (std::int32_t j = 0; j < per_mcu; ++j, block += 64, ++high_water) {
      const std::int32_t c = w.block_comp[j];
      if (s.size[c] == 0) continue;
      const auto difference = static_cast<std::int16_t>(static_cast<std::uint16_t>(block[0]) -
                                                        static_cast<std::uint16_t>(last_dc[c]));
      last_dc[c] = block[0];
      std::memcpy(out, &difference, 2);
      out += 2;
      if (s.size[c] == 1) continue;
      const std::int32_t kept = s.used_below[c][*high_water] - 1;
      *out++ = static_cast<std::uint8_t>(kept);
      const std::uint8_t* positions = s.used[c];
      for (std::int32_t t = 1; t <= kept; ++t, out += 2) std::memcpy(out, block + positions[t], 2);
    }
    s.write_offset += static_cast<std::int32_t>(out - start);
  }
}

// The worker's MCU limit: the MCUs the scan has after its first, once the caller has found
// where that one lies, and the whole scan's count before.
std::int32_t mcu_limit(const ScanSplit& s) {
  const std::int32_t offset = s.offset.load();
  return offset >= 0 ? s.total - offset : s.total;
}

// Whether the worker's reader has reached the marker after the scan's data (a restart marker only
// holds it until the next interval).
bool at_scan_end(const ScanSplit& s, const DecoderState& w) {
  return w.padding_bytes != 0 &&
         (w.cursor >= s.scan_end || w.cursor < s.data || w.cursor > s.data_end);
}

// Near the scan's end the worker may run past the last MCU it does not yet know of: it waits
// there until the caller has found the meeting point (or gave up).
void wait_for_offset(ScanSplit& s) {
  if (s.offset.load() >= 0) return;
  std::unique_lock lock(s.mutex);
  s.parked.store(true);
  s.caller_wake.notify_one();
  s.worker_wake.wait(lock, [&] { return s.offset.load() >= 0 || s.stop.load(); });
  s.parked.store(false);
}

void run_worker(ScanSplit& s) {
  DecoderState& w = s.w;
  std::int32_t rel = 0;
  std::int16_t last_dc[4] = {};
  std::uint32_t predictors[4] = {};
  try {
    if (!find_start(s, w)) {
      end_worker(s, save(w));
      return;
    }
  } catch (...) {
    end_worker(s, save(w));
    return;
  }
  // MCUs up to this one are decoded one at a time, so that a failure, or a batch that ran
  // past the scan's last MCU, ends the worker exactly where it happened.
  std::int32_t careful_until = 0;
  while (!s.stop.load(std::memory_order_relaxed)) {
    const bool single = rel < s.window || rel < careful_until;
    if (single && at_scan_end(s, w)) wait_for_offset(s);
    const std::int32_t limit = mcu_limit(s);
    if (rel >= limit || s.stop.load()) break;
    const std::int32_t n = single ? 1 : std::min(kBatchMcus, limit - rel);
    if (!make_room(s, n)) break;
    const ReaderState before = save(w);
    for (std::int32_t c = 0; c < w.components; ++c) predictors[c] = w.comp[c].predictor;
    bool failed = false;
    try {
      if (rel < s.window) {
        // The mark is taken where the MCU's decoding begins, after a restart in front of it.
        if (w.restart_interval != 0 && w.mcus_left == 0) process_restart(w, true);
        s.marks[rel] = Mark{position(w), w.mcus_left, w.next_rst, s.write_chunk, s.write_offset};
        if (s.write_offset + kMaxMcuBytes > kChunkBytes) {
          s.marks[rel].chunk = s.write_chunk + 1;
          s.marks[rel].offset = 0;
        }
      }
      decode_mcus_fast(w, s.scratch, s.scratch_high_water, n);
    } catch (...) {
      failed = true;
    }
    if (single && failed) {
      restore(w, before);
      break;
    }
    // A batch that reached the marker after the data may have run past the scan's last MCU.
    if (!single &&
        (failed || (at_scan_end(s, w) && (s.offset.load() < 0 || rel + n > mcu_limit(s))))) {
      restore(w, before);
      for (std::int32_t c = 0; c < w.components; ++c) w.comp[c].predictor = predictors[c];
      careful_until = rel + n;
      continue;
    }
    store_mcus(s, w, rel, n, last_dc);
    rel += n;
    publish_done(s, rel);
  }
  end_worker(s, save(w));
}

// The worker's reader, taken over by the caller; one that ran past the input reads the filler
// of its own copy of the buffer, which the caller's takes over too.
void take_over(DecoderState& d, const ScanSplit& s) {
  restore(d, s.end_state);
  const std::uint8_t* own = s.w.input;
  if (s.end_state.cursor >= own && s.end_state.cursor < own + sizeof s.w.input) {
    std::memcpy(d.input, own, sizeof d.input);
    d.cursor = d.input + (s.end_state.cursor - own);
  }
}

void give_up(ScanSplit& s) {
  s.given_up = true;
  {
    std::lock_guard lock(s.mutex);
    s.stop.store(true);
  }
  s.worker_wake.notify_one();
}

// Waits until the worker has stored `needed` MCUs or has ended; returns how many it has stored.
std::int32_t wait_for_mcus(ScanSplit& s, std::int32_t needed) {
  for (std::int32_t i = 0; i < kCallerSpins && s.done.load() < needed && !s.ended.load(); ++i) {
    spin_pause();
  }
  if (s.done.load() < needed && !s.ended.load()) {
    std::unique_lock lock(s.mutex);
    s.caller_waiting.store(true);
    s.caller_wake.wait(lock, [&] { return s.done.load() >= needed || s.ended.load(); });
    s.caller_waiting.store(false);
  }
  return s.done.load();
}

// At the start of a row the caller has not decoded yet: when its reader stands where one of the
// worker's marked MCUs began, the two have met.
void look_for_meeting(DecoderState& d, ScanSplit& s, std::int32_t row) {
  const ReaderState before = save(d);
  std::uint32_t predictors[4] = {};
  for (std::int32_t c = 0; c < d.components; ++c) predictors[c] = d.comp[c].predictor;
  if (d.restart_interval != 0 && d.mcus_left == 0) {
    // The row's decoding would begin with the restart; a failure belongs to that row.
    try {
      process_restart(d, true);
    } catch (const Failure&) {
      restore(d, before);
      for (std::int32_t c = 0; c < d.components; ++c) d.comp[c].predictor = predictors[c];
      give_up(s);
      return;
    }
  }
  const std::uint64_t here = position(d);
  if (here == 0) return;
  if (d.split_waits) {
    std::unique_lock lock(s.mutex);
    s.caller_waiting.store(true);
    s.caller_wake.wait(
        lock, [&] { return s.done.load() >= s.window || s.ended.load() || s.parked.load(); });
    s.caller_waiting.store(false);
  }
  const bool ended = s.ended.load();
  const std::int32_t seen = std::min(s.done.load(), s.window);
  while (s.probe < seen && s.marks[s.probe].position < here) ++s.probe;
  if (s.probe < seen) {
    const Mark& mark = s.marks[s.probe];
    if (mark.position != here) return;
    if (d.restart_interval != 0 && (mark.mcus_left != d.mcus_left || mark.next_rst != d.next_rst)) {
      return;
    }
    s.met = true;
    s.next_rel = s.probe;
    s.read_chunk = mark.chunk;
    s.read_offset = mark.offset;
    {
      std::lock_guard lock(s.mutex);
      s.offset.store(row * d.scan_mcus_per_row - s.probe);
    }
    s.worker_wake.notify_one();
    return;
  }
  if (ended || seen == s.window) give_up(s);
}

// Writes the count MCUs of the worker's next_rel on into the row from its MCU first on; mcu is
// the scan's index of that MCU.
void take_mcus(DecoderState& d, ScanSplit& s, std::int32_t first, std::int32_t count,
               std::int32_t mcu) {
  const std::int32_t per_mcu = d.scan_blocks_per_mcu;
  std::int16_t* block = d.coef + static_cast<std::ptrdiff_t>(first) * per_mcu * 64;
  std::uint8_t* written = s.written + static_cast<std::ptrdiff_t>(first) * per_mcu;
  for (std::int32_t i = 0; i < count; ++i, ++mcu) {
    if (s.read_offset + kMaxMcuBytes > kChunkBytes) {
      ++s.read_chunk;
      s.read_offset = 0;
      s.chunks_read.store(s.read_chunk);
    }
    const std::uint8_t* in = s.pool[s.read_chunk % kPoolChunks] + s.read_offset;
    const std::uint8_t* const start = in;
    if (d.restart_interval != 0 && mcu % d.restart_interval == 0) {
      for (std::int32_t c = 0; c < d.components; ++c) d.comp[c].predictor = 0;
    }
    for (std::int32_t j = 0; j < per_mcu; ++j, block += 64, ++written) {
      const std::int32_t c = d.block_comp[j];
      if (s.size[c] == 0) continue;
      std::int16_t difference;
      std::memcpy(&difference, in, 2);
      in += 2;
      d.comp[c].predictor += static_cast<std::uint32_t>(static_cast<std::int32_t>(difference));
      block[0] = static_cast<std::int16_t>(d.comp[c].predictor);
      if (s.size[c] == 1) continue;
      const std::int32_t kept = *in++;
      const std::uint8_t* positions = s.used[c];
      for (std::int32_t t = 1; t <= kept; ++t, in += 2) std::memcpy(block + positions[t], in, 2);
      for (std::int32_t t = kept + 1; t <= *written; ++t) block[positions[t]] = 0;
      *written = static_cast<std::uint8_t>(kept);
    }
    s.read_offset += static_cast<std::int32_t>(in - start);
  }
  s.next_rel += count;
}

}  // namespace

bool start_split(DecoderState& d) {
#if defined(MQ_JPEG_NO_THREADS)
  return false;
#endif
  // Only at 1/8, where the store holds little more than one DC difference per block: at 1/2 and
  // 1/4 copying the coefficients through the store costs the two threads more than the split
  // saves, and the row pipeline is the faster (row_pipeline.h).
  if (d.threads < 2 || !d.fast_path || d.store_mode || d.scale != 8) return false;
  if (d.scan_mcu_rows < 4 || d.ns != d.components) return false;
  if (static_cast<std::int64_t>(d.width) * d.height < d.pipeline_min_pixels) return false;
  const std::int64_t total = std::int64_t{d.scan_mcus_per_row} * d.scan_mcu_rows;
  if (total > (std::int64_t{1} << 30)) return false;
  if (!read_rest_in_place(d)) return false;
  auto* s = new (std::nothrow) ScanSplit();
  if (s == nullptr) return false;
  s->w = d;
  s->data = d.cursor;
  s->data_end = d.cursor + d.available;
  s->total = static_cast<std::int32_t>(total);
  s->window = static_cast<std::int32_t>(
      std::min<std::int64_t>(total, std::int64_t{3} * d.scan_mcus_per_row + 256));
  for (std::int32_t c = 0; c < d.plane_count && c < 4; ++c) {
    const std::int32_t size = d.block_size[c];
    s->size[c] = size;
    // The transforms of a reduced size read no coefficient of a frequency whose weight is 0
    // there: 2, 4 and 6 at 2x2, 4 at 4x4 (idct_reduced.cpp).
    const std::uint32_t unused = size == 2 ? 0x54 : (size == 4 ? 0x10 : 0);
    std::int32_t n = 0;
    for (std::int32_t k = 0; k < 64; ++k) {
      s->used_below[c][k] = static_cast<std::uint8_t>(n);
      const std::int32_t natural = kZigzag[k];
      if ((unused >> (natural >> 3) & 1) == 0 && (unused >> (natural & 7) & 1) == 0) {
        s->used[c][n++] = static_cast<std::uint8_t>(natural);
      }
    }
    s->used_below[c][64] = static_cast<std::uint8_t>(n);
  }
  s->written = new (std::nothrow) std::uint8_t[static_cast<std::size_t>(d.blocks_per_row)];
  const auto per_batch = static_cast<std::size_t>(kBatchMcus * d.scan_blocks_per_mcu);
  s->marks = new (std::nothrow) Mark[static_cast<std::size_t>(s->window)];
  s->scratch = new (std::nothrow) std::int16_t[per_batch * 64];
  s->scratch_high_water = new (std::nothrow) std::uint8_t[per_batch];
  s->pool[0] = allocate_chunk();
  if (s->marks == nullptr || s->scratch == nullptr || s->scratch_high_water == nullptr ||
      s->written == nullptr || s->pool[0] == nullptr) {
    delete s;
    return false;
  }
  try {
    s->worker = std::thread(run_worker, std::ref(*s));
  } catch (...) {
    delete s;
    return false;
  }
  d.split = s;
  return true;
}

void next_split_row(DecoderState& d) {
  ScanSplit& s = *d.split;
  const std::int32_t row = s.rows_taken++;
  const std::int32_t per_row = d.scan_mcus_per_row;
  if (!s.met) {
    decode_mcu_row_fast(d, d.coef, d.high_water);
    if (!s.given_up && row + 1 < d.scan_mcu_rows) look_for_meeting(d, s, row + 1);
    return;
  }
  if (s.rows_from_worker++ == 0) {
    // The row just decoded has been transformed by now. From here on only the positions the
    // transforms read are written.
    std::memset(d.coef, 0, static_cast<std::size_t>(d.blocks_per_row) * 64 * sizeof(std::int16_t));
    std::memset(s.written, 0, static_cast<std::size_t>(d.blocks_per_row));
  }
  std::int32_t m = 0;
  while (m < per_row) {
    const std::int32_t stored = wait_for_mcus(s, s.next_rel + per_row - m);
    if (stored <= s.next_rel) {
      // The worker ended before this MCU (a failure, or its store full): on from there alone.
      take_over(d, s);
      s.met = false;
      give_up(s);
      const std::int32_t per_mcu = d.scan_blocks_per_mcu;
      decode_mcus_fast(d, d.coef + static_cast<std::ptrdiff_t>(m) * per_mcu * 64,
                       d.high_water + static_cast<std::ptrdiff_t>(m) * per_mcu, per_row - m);
      return;
    }
    const std::int32_t count = std::min(stored - s.next_rel, per_row - m);
    take_mcus(d, s, m, count, row * per_row + m);
    m += count;
  }
  if (row + 1 == d.scan_mcu_rows) {
    // The worker ends right after the scan's last MCU; decoding goes on from where it stands.
    wait_for_mcus(s, s.total + 1);
    take_over(d, s);
  }
}

std::int32_t rows_from_worker(const DecoderState& d) {
  return d.split == nullptr ? 0 : d.split->rows_from_worker;
}

void stop_split(DecoderState& d) {
  ScanSplit* s = d.split;
  if (s == nullptr) return;
  {
    std::lock_guard lock(s->mutex);
    s->stop.store(true);
  }
  s->worker_wake.notify_one();
  if (s->worker.joinable()) s->worker.join();
  d.split = nullptr;
  delete s;
}

}  // namespace jpeg::detail
