// The faults, counters and misuse log over the memory display.
#include "tests/support/fake_display.h"

namespace test_support {

void FakeDisplaySystem::fail(Op op, platform::HResult code, int skip, int times) {
  faults_.push_back({op, code, skip, times});
}

platform::HResult FakeDisplaySystem::enter(Op op, std::uint32_t flags) {
  flags_[static_cast<int>(op)].push_back(flags);
  return enter(op);
}

platform::HResult FakeDisplaySystem::enter(Op op) {
  calls_[static_cast<int>(op)]++;
  for (Fault& fault : faults_) {
    if (fault.op != op || fault.times == 0) continue;
    if (fault.skip > 0) {
      --fault.skip;
      continue;
    }
    if (fault.times > 0) --fault.times;
    return fault.code;
  }
  return platform::kS_OK;
}

int FakeDisplaySystem::live_objects() const {
  int total = 0;
  for (int count : live_) total += count;
  return total;
}

void FakeDisplaySystem::clear_records() {
  for (auto& flags : flags_) flags.clear();
  surface_requests_.clear();
}

}  // namespace test_support
