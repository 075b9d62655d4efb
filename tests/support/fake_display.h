// The memory display of the tests and tools: injected faults for every failure the display
// code reacts to, a count and the flags of every call, live-object counting so that a test
// can prove nothing leaked, and a log of misuses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/emulated/memory_display.h"
#include "platform/emulated/memory_tap.h"

namespace test_support {

using platform::emulated::Kind;
using platform::emulated::Op;

class FakeDisplaySystem : public platform::emulated::MemoryDisplaySystem,
                          private platform::emulated::MemoryTap {
 public:
  FakeDisplaySystem() { set_tap(this); }

  // --- Faults ---
  // The calls of op after the next skip ones fail with code, times times (-1: for ever).
  void fail(Op op, platform::HResult code, int skip = 0, int times = 1);
  void clear_faults() { faults_.clear(); }

  // --- Observation ---
  int live_objects() const;
  int live(Kind kind) const { return live_[static_cast<int>(kind)]; }
  int calls(Op op) const { return calls_[static_cast<int>(op)]; }
  // The flags of every call of op so far, in order (memory_tap.h says which); empty for
  // operations that take no flags.
  const std::vector<std::uint32_t>& flags_of(Op op) const { return flags_[static_cast<int>(op)]; }
  // Every description handed to create_surface, in order.
  const std::vector<platform::SurfaceDesc>& surface_requests() const { return surface_requests_; }
  // Forgets the recorded flags and surface requests, keeping the lists' storage, so that a
  // long run's records cost no memory. Call counts, live objects and misuses stay.
  void clear_records();
  // API misuse seen, with a line of text each; a correct caller leaves this empty.
  const std::vector<std::string>& misuses() const { return misuses_; }

 private:
  struct Fault {
    Op op;
    platform::HResult code;
    int skip;
    int times;
  };
  platform::HResult enter(Op op) override;
  platform::HResult enter(Op op, std::uint32_t flags) override;
  void surface_requested(const platform::SurfaceDesc& desc) override {
    surface_requests_.push_back(desc);
  }
  void live(Kind kind, int delta) override { live_[static_cast<int>(kind)] += delta; }
  void misuse(const char* what) override { misuses_.emplace_back(what); }

  std::vector<Fault> faults_;
  int calls_[static_cast<int>(Op::kCount)] = {};
  std::vector<std::uint32_t> flags_[static_cast<int>(Op::kCount)];
  std::vector<platform::SurfaceDesc> surface_requests_;
  int live_[static_cast<int>(Kind::kCount)] = {};
  std::vector<std::string> misuses_;
};

}  // namespace test_support
