// The worker thread, its ring of coefficient rows (or reduced planes) and the hand-over between
// the two threads. One mutex guards the counters; the rows themselves are only touched by the
// thread that owns their slot at the time (the worker between taking a free slot and counting it
// decoded, the caller between taking it and giving it back), and the counters' hand-over orders
// the accesses.
#include "jpeg/row_pipeline.h"

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

#include "jpeg/progressive_scan.h"
#include "jpeg/scaled_output.h"
#include "jpeg/scan_split.h"
#include "jpeg/sequential_scan.h"

namespace jpeg::detail {

struct RowPipeline {
  std::mutex mutex;
  std::condition_variable worker_wake;  // room in the ring, or stop
  std::condition_variable caller_wake;  // rows decoded, or a failure
  std::int32_t decoded = 0;             // rows the worker has finished
  // decoded as the caller may read it without the lock while it spins (take_mcu_row), -1 after
  // a failure; in a cache line of its own, so that the spinning reads leave the rest alone.
  alignas(64) std::atomic<std::int32_t> decoded_seen{0};
  std::int32_t given_back = 0;  // rows the caller has finished with
  std::int32_t failure = 0;     // the worker's error code; row `decoded` failed
  bool stop = false;
  // A thread that has to wait sleeps until several rows have turned over, so that the threads
  // wake each other every few rows rather than on every row. -1: not sleeping.
  std::int32_t worker_needs = -1;  // the given_back count the sleeping worker waits for
  std::int32_t caller_needs = -1;  // the decoded count the sleeping caller waits for
  std::int32_t taken = 0;          // rows the caller has taken (the caller's thread only)
  std::int16_t* coef[kPipelineSlots] = {};
  std::uint8_t* high_water[kPipelineSlots] = {};
  // From the whole-image store the worker assembles and transforms each row, and a slot holds
  // the row's reduced planes instead (planes[slot][component]).
  bool from_store = false;
  std::uint8_t* planes[kPipelineSlots][3] = {};
  std::thread worker;
};

namespace {

// Rows a waiting thread lets turn over before it runs again: half the ring for the worker, and
// two rows for the caller, whose wait at the very end is then short.
constexpr std::int32_t kWorkerResume = kPipelineSlots / 2;
constexpr std::int32_t kCallerResume = 2;

// How long the caller spins for the next row before it sleeps, in pause instructions (about
// 60 microseconds on a recent x86-64, a row or two of entropy decoding). Where the caller is the
// faster, as on grey photos, it waits for every row or two: asleep, each wait costs the worker a
// wake-up call and leaves the caller's processor idle, on a virtual machine halted, and open to
// any other program; the wake-ups then cost more than the second thread saves.
constexpr std::int32_t kCallerSpins = 1 << 11;

inline void spin_pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

void decode_rows(DecoderState& d, RowPipeline& p) {
  for (std::int32_t row = 0; row < d.mcu_rows; ++row) {
    {
      std::unique_lock lock(p.mutex);
      if (!p.stop && row - p.given_back >= kPipelineSlots) {
        p.worker_needs = row - kPipelineSlots + kWorkerResume;
        p.worker_wake.wait(lock, [&] { return p.stop || p.given_back >= p.worker_needs; });
        p.worker_needs = -1;
      }
      if (p.stop) return;
    }
    const std::int32_t slot = row % kPipelineSlots;
    std::int32_t code = 0;
    try {
      if (p.from_store) {
        assemble_mcu_row(d);
        transform_mcu_row_scaled(d, d.coef, p.planes[slot]);
      } else if (d.fast_path) {
        decode_mcu_row_fast_into_zeros(d, p.coef[slot], p.high_water[slot]);
      } else {
        decode_mcu_row(d, p.coef[slot], p.high_water[slot]);
      }
    } catch (const Failure& f) {
      code = f.code;
    } catch (...) {
      code = ReadFailed;  // only the stream's own code can throw anything else
    }
    bool wake = false;
    {
      std::lock_guard lock(p.mutex);
      if (code != 0) {
        p.failure = code;
      } else {
        ++p.decoded;
      }
      p.decoded_seen.store(code != 0 ? -1 : p.decoded, std::memory_order_release);
      wake = p.caller_needs >= 0 && (code != 0 || p.decoded >= p.caller_needs);
    }
    if (wake) p.caller_wake.notify_one();
    if (code != 0) return;
  }
}

}  // namespace

void start_pipeline(DecoderState& d) {
#if defined(MQ_JPEG_NO_THREADS)
  // A build without threads (WebAssembly in the browser) decodes on the caller's thread.
  return;
#endif
  if (d.threads < 2 || d.mcu_rows < 2) return;
  // At a reduced size the caller's share is small: it decodes part of the scan too.
  if (start_split(d)) return;
  // From the store only a reduced size: there the worker's assembling and reduced transforms
  // weigh about as much as the caller's colour conversion and fit.
  if (d.store_mode && d.scale == 1) return;
  if (static_cast<std::int64_t>(d.width) * d.height < d.pipeline_min_pixels) return;
  // The first slot is the decoder's own row; the others come from the allocation table, so
  // that they are freed with everything else.
  std::int16_t* coef[kPipelineSlots] = {d.coef};
  std::uint8_t* high_water[kPipelineSlots] = {d.high_water};
  std::uint8_t* planes[kPipelineSlots][3] = {{d.plane[0], d.plane[1], d.plane[2]}};
  const auto blocks = static_cast<std::size_t>(d.blocks_per_row);
  for (std::int32_t s = 1; s < kPipelineSlots; ++s) {
    if (d.store_mode) {
      for (std::int32_t c = 0; c < d.plane_count; ++c) {
        planes[s][c] = static_cast<std::uint8_t*>(allocate(d, scaled_plane_bytes(d, c)));
      }
      continue;
    }
    coef[s] = static_cast<std::int16_t*>(allocate(d, blocks * 128));
    high_water[s] = static_cast<std::uint8_t*>(allocate(d, blocks));
    for (std::size_t b = 0; b < blocks; ++b) high_water[s][b] = 64;
  }
  auto* p = new (std::nothrow) RowPipeline();
  if (p == nullptr) return;
  p->from_store = d.store_mode;
  for (std::int32_t s = 0; s < kPipelineSlots; ++s) {
    p->coef[s] = coef[s];
    p->high_water[s] = high_water[s];
    for (std::int32_t c = 0; c < 3; ++c) p->planes[s][c] = planes[s][c];
  }
  d.pipeline = p;
  try {
    p->worker = std::thread(decode_rows, std::ref(d), std::ref(*p));
  } catch (...) {
    d.pipeline = nullptr;  // no thread: decode on the caller's thread as usual
    delete p;
  }
}

const std::int16_t* take_mcu_row(DecoderState& d) {
  RowPipeline& p = *d.pipeline;
  // From the store the row taken before is done with once the next is wanted.
  if (p.from_store && p.taken > 0) give_back_mcu_row(d);
  std::int32_t failure = 0;
  // A failure shows as -1, which ends the spin as a new row does.
  for (std::int32_t i = 0;
       i < kCallerSpins && p.decoded_seen.load(std::memory_order_acquire) == p.taken; ++i) {
    spin_pause();
  }
  {
    std::unique_lock lock(p.mutex);
    if (p.decoded == p.taken && p.failure == 0) {
      const std::int32_t wanted = p.taken + kCallerResume;
      p.caller_needs = wanted < d.mcu_rows ? wanted : d.mcu_rows;
      p.caller_wake.wait(lock, [&] { return p.failure != 0 || p.decoded >= p.caller_needs; });
      p.caller_needs = -1;
    }
    if (p.decoded == p.taken) failure = p.failure;
  }
  if (failure != 0) {
    stop_pipeline(d);
    fail(failure);
  }
  const std::int32_t row = p.taken++;
  if (row == d.mcu_rows - 1 && p.worker.joinable()) p.worker.join();
  const std::int32_t slot = row % kPipelineSlots;
  for (std::int32_t c = 0; c < 3; ++c) {
    if (p.from_store) d.plane[c] = p.planes[slot][c];
  }
  return p.from_store ? nullptr : p.coef[slot];
}

void give_back_mcu_row(DecoderState& d) {
  RowPipeline& p = *d.pipeline;
  if (d.fast_path && !p.from_store) {
    // The worker decodes into zeros (see decode_mcu_row_fast_into_zeros); the row is still in
    // this thread's cache.
    std::int16_t* coef = p.coef[(p.taken - 1) % kPipelineSlots];
    std::memset(coef, 0, static_cast<std::size_t>(d.blocks_per_row) * 64 * sizeof(std::int16_t));
  }
  bool wake = false;
  {
    std::lock_guard lock(p.mutex);
    ++p.given_back;
    wake = p.worker_needs >= 0 && p.given_back >= p.worker_needs;
  }
  if (wake) p.worker_wake.notify_one();
}

void stop_pipeline(DecoderState& d) {
  stop_split(d);
  RowPipeline* p = d.pipeline;
  if (p == nullptr) return;
  {
    std::lock_guard lock(p->mutex);
    p->stop = true;
  }
  p->worker_wake.notify_all();
  if (p->worker.joinable()) p->worker.join();
  d.pipeline = nullptr;
  delete p;
}

}  // namespace jpeg::detail
