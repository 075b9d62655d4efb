// Two-thread decoding of progressive scans. One mutex guards the reading of the file's segments
// (on the decoder's own state, by whichever thread next looks for a scan), the window of scans
// read ahead, the rows each running scan has done and the first failure; each scan decodes on a
// state of its own, from its own copies of its Huffman tables, and writes the shared store only
// where no other running scan writes, or behind it.
#include "jpeg/scan_pipeline.h"

#include <climits>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "jpeg/huffman.h"
#include "jpeg/input.h"
#include "jpeg/markers.h"
#include "jpeg/progressive_scan.h"
#include "jpeg/scan_setup.h"

namespace jpeg::detail {

struct ScanPipeline;

// A scan read ahead and waiting for a thread, or being decoded by one; a record of the window.
struct ScanJob {
  ScanPipeline* pipeline = nullptr;
  DecoderState state;       // the decoder's state when the scan began, its input the scan
  HuffmanLookup tables[4];  // the scan's tables as they were when it began
  // Guarded by the pipeline's mutex from here on.
  enum class Stage { free, ready, running } stage = Stage::free;
  std::int64_t index = -1;        // the scan's place among the file's scans
  std::int32_t bytes = 0;         // of entropy-coded data, a measure of its work
  bool dc = false;                // writes DC planes (otherwise AC planes)
  std::uint32_t components = 0;   // a bit per component it writes
  std::int32_t rows_done_px = 0;  // pixel rows of the frame it has finished
};

// Scans read ahead at most: cjpeg's scripts have ten, and the largest, the luma's last
// refinement, should start as soon as the one it follows has.
inline constexpr std::int32_t kWindow = 12;

struct ScanPipeline {
  std::mutex mutex;
  std::condition_variable progress;  // rows done, a scan ended, or a failure
  std::int32_t waiting = 0;          // threads waiting on progress
  std::unique_ptr<ScanJob> jobs[kWindow];
  const std::uint8_t* input_begin = nullptr;
  const std::uint8_t* input_end = nullptr;
  std::int64_t next_index = 0;  // the index of the next scan to be read
  bool at_eoi = false;
  // The first failure in file order: the index of the scan it belongs to, its code and offset.
  std::int64_t failed_index = INT64_MAX;
  std::int32_t failure = 0;
  std::int64_t failure_offset = 0;
};

namespace {

bool inside(const ScanPipeline& p, const std::uint8_t* at) {
  const auto a = reinterpret_cast<std::uintptr_t>(at);
  return a >= reinterpret_cast<std::uintptr_t>(p.input_begin) &&
         a <= reinterpret_cast<std::uintptr_t>(p.input_end);
}

// Pixel rows of the frame that one MCU row of the scan covers.
std::int32_t row_height_px(const DecoderState& s) {
  return 8 * (s.ns == 1 ? s.vmax / s.comp[s.scan_comp[0]].v : s.vmax);
}

// Keeps the earliest failure in file order. Under the mutex.
void record_failure(ScanPipeline& p, std::int64_t index, std::int32_t code, std::int64_t offset) {
  if (index >= p.failed_index) return;
  p.failed_index = index;
  p.failure = code;
  p.failure_offset = offset;
}

// Points the job's state at the scan's bytes, from begin up to and with the marker that ends it
// (end), with the file offsets of the decoder's own input, and gives it its own tables.
void set_up_job(const DecoderState& d, const ScanPipeline& p, ScanJob& job,
                const std::uint8_t* begin, const std::uint8_t* end) {
  DecoderState& s = job.state;
  s = d;
  s.cursor = const_cast<std::uint8_t*>(begin);
  s.available = static_cast<std::int32_t>(end - begin);
  s.at_end = true;
  s.stream_bytes = d.stream_bytes - (p.input_end - end);
  s.pipeline = nullptr;
  s.scan_job = &job;
  const bool dc = !d.progressive || d.ss == 0;
  std::int32_t copies = 0;
  for (std::int32_t j = 0; j < s.scan_blocks_per_mcu; ++j) {
    const HuffmanLookup* original = dc ? d.block_dc[j] : d.block_ac[j];
    const HuffmanLookup*& table = dc ? s.block_dc[j] : s.block_ac[j];
    (dc ? s.block_ac[j] : s.block_dc[j]) = nullptr;  // not read by the scan
    // Each distinct table is copied once: the blocks of a component share theirs.
    std::int32_t k = 0;
    while (k < j && (dc ? d.block_dc[k] : d.block_ac[k]) != original) ++k;
    if (k < j) {
      table = dc ? s.block_dc[k] : s.block_ac[k];
    } else if (original != nullptr && copies < 4) {
      std::memcpy(&job.tables[copies], original, sizeof(HuffmanLookup));
      table = &job.tables[copies++];
    }
  }
  job.bytes = s.available;
  job.dc = dc;
  job.components = 0;
  for (std::int32_t j = 0; j < s.ns; ++j) job.components |= 1u << s.scan_comp[j];
}

// Reads the segments up to the next scan that must be decoded and sets the job up for it
// (skipping, on this thread, the scans the output does not need); false at EOI. Under the mutex.
bool read_next_scan(DecoderState& d, ScanPipeline& p, ScanJob& job) {
  while (true) {
    const std::int32_t m = next_marker(d);
    if (m == 0xD9) return false;
    if (m != 0xDA) fail(UnexpectedMarker);
    read_scan_header(d);
    compute_scan_geometry(d);
    const std::uint8_t* begin = inside(p, d.cursor) ? d.cursor : p.input_end;
    prepare_scan(d, true);
    if (!scan_needed(d)) {
      skip_scan(d);
      ++p.next_index;
      continue;
    }
    // The job checks the restart markers, as decoding on one thread would, in its turn.
    skip_scan(d, false);
    const std::uint8_t* end =
        inside(p, d.cursor) && p.input_end - d.cursor >= 2 ? d.cursor + 2 : p.input_end;
    set_up_job(d, p, job, begin, end);
    return true;
  }
}

// After its last MCU a scan decoded on one thread goes on to the marker reader, which refuses
// a restart marker there; the job's input ends with the marker that follows the scan.
void check_end_of_scan(DecoderState& s) {
  while (true) {
    if (next_byte(s) != 0xFF) continue;
    std::uint8_t b = 0;
    do {
      b = next_byte(s);
    } while (b == 0xFF);
    if (b == 0x00) continue;
    if (b >= 0xD0 && b <= 0xD7) fail(UnexpectedMarker);
    return;
  }
}

bool conflict(const ScanJob& a, const ScanJob& b) {
  return a.dc == b.dc && (a.components & b.components) != 0;
}

// Whether every earlier scan that writes what the job writes has done the pixel rows it needs
// (all of them for a scan not yet started). Under the mutex.
bool predecessors_done(const ScanPipeline& p, const ScanJob& job, std::int32_t needed_px) {
  for (const auto& other : p.jobs) {
    if (other->stage == ScanJob::Stage::free || other->index >= job.index) continue;
    if (!conflict(job, *other)) continue;
    if (other->stage == ScanJob::Stage::ready || other->rows_done_px < needed_px) return false;
  }
  return true;
}

// Reads scans ahead into the free records, then picks the ready scan with the most data among
// those whose predecessors have all started (the earliest ready one always qualifies, so that a
// scan only ever follows running ones); null when none is left. Under the mutex.
ScanJob* next_job(DecoderState& d, ScanPipeline& p) {
  for (auto& record : p.jobs) {
    if (p.at_eoi || p.next_index >= p.failed_index) break;
    if (record->stage != ScanJob::Stage::free) continue;
    try {
      if (!read_next_scan(d, p, *record)) {
        p.at_eoi = true;
        break;
      }
    } catch (const Failure& f) {
      record_failure(p, p.next_index, f.code, d.stream_bytes - d.available);
      break;
    } catch (...) {
      record_failure(p, p.next_index, ReadFailed, d.stream_bytes - d.available);
      break;
    }
    record->index = p.next_index++;
    record->stage = ScanJob::Stage::ready;
  }
  ScanJob* pick = nullptr;
  for (auto& record : p.jobs) {
    ScanJob& job = *record;
    if (job.stage != ScanJob::Stage::ready || job.index >= p.failed_index) continue;
    bool startable = true;
    for (const auto& other : p.jobs) {
      if (other->stage == ScanJob::Stage::ready && other->index < job.index &&
          conflict(job, *other)) {
        startable = false;
      }
    }
    if (startable && (pick == nullptr || job.bytes > pick->bytes)) pick = &job;
  }
  return pick;
}

// The loop of each thread: take a scan, decode it, until none is left before EOI or a failure.
void run_scans(DecoderState& d, ScanPipeline& p) {
  while (true) {
    ScanJob* job = nullptr;
    {
      std::lock_guard lock(p.mutex);
      job = next_job(d, p);
      if (job == nullptr) return;
      job->stage = ScanJob::Stage::running;
      job->rows_done_px = 0;
    }
    std::int32_t code = 0;
    std::int64_t offset = 0;
    try {
      enter_entropy_mode(job->state, true);
      decode_scan_into_store(job->state);
      check_end_of_scan(job->state);
    } catch (const Failure& f) {
      code = f.code;
      offset = job->state.stream_bytes - job->state.available;
    } catch (...) {
      code = ReadFailed;
      offset = job->state.stream_bytes - job->state.available;
    }
    {
      std::lock_guard lock(p.mutex);
      job->stage = ScanJob::Stage::free;
      job->rows_done_px = INT_MAX;
      if (code != 0) record_failure(p, job->index, code, offset);
    }
    p.progress.notify_all();
  }
}

}  // namespace

void scan_row_reached(DecoderState& d, std::int32_t row) {
  ScanJob& job = *d.scan_job;
  ScanPipeline& p = *job.pipeline;
  const std::int32_t height = row_height_px(d);
  const std::int32_t needed = (row + 1) * height;
  bool wake = false;
  {
    std::unique_lock lock(p.mutex);
    job.rows_done_px = row * height;
    wake = p.waiting > 0;
    const auto ready = [&] {
      return job.index > p.failed_index || predecessors_done(p, job, needed);
    };
    if (!ready()) {
      if (wake) p.progress.notify_all();
      wake = false;
      ++p.waiting;
      p.progress.wait(lock, ready);
      --p.waiting;
    }
    // A failure before this scan ends the decode: its bytes no longer matter.
    if (job.index > p.failed_index) fail(CorruptData);
  }
  if (wake) p.progress.notify_all();
}

bool decode_scans_on_two_threads(DecoderState& d) {
#if defined(MQ_JPEG_NO_THREADS)
  // A build without threads (WebAssembly in the browser) decodes on the caller's thread.
  return false;
#endif
  if (d.threads < 2 || !d.progressive) return false;
  if (static_cast<std::int64_t>(d.width) * d.height < d.pipeline_min_pixels) return false;
  ScanPipeline p;
  for (auto& record : p.jobs) {
    record.reset(new (std::nothrow) ScanJob());
    if (record == nullptr) return false;
    record->pipeline = &p;
  }
  struct Input {
    std::uint8_t* block = nullptr;
    ~Input() { std::free(block); }
  } input;
  // A stream over memory is read in place; any other is read into one block first.
  if (!read_rest_in_place(d)) {
    std::int32_t size = 0;
    read_rest_of_input(d, input.block, size);
  }
  p.input_begin = d.cursor;
  p.input_end = d.cursor + d.available;
  std::thread worker;
  try {
    worker = std::thread(run_scans, std::ref(d), std::ref(p));
  } catch (...) {
    // No thread: the caller's thread takes every scan.
  }
  run_scans(d, p);
  if (worker.joinable()) worker.join();
  if (p.failure != 0) {
    // Reported at the offset where the failing scan stopped, as on one thread.
    d.stream_bytes = p.failure_offset;
    d.available = 0;
    fail(p.failure);
  }
  return true;
}

}  // namespace jpeg::detail
