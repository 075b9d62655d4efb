// Remainders by a divisor fixed for a whole effect run, computed by one multiplication
// instead of a division (Granlund and Montgomery, "Division by invariant integers using
// multiplication", 1994), exact for every dividend below 2^31.
#pragma once

#include <cstdint>

// Loops over whole batches get AVX-512 and AVX2 builds besides the plain one, picked by what
// the processor has (on x86-64 Linux with GCC, where the loader chooses between the builds).
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define MQ_BATCH_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define MQ_BATCH_CLONES
#endif

namespace engine {

class FastMod {
 public:
  // divisor >= 1 (0 counts as 1); divisors of 2^31 and more leave every dividend below 2^31
  // unchanged.
  explicit FastMod(std::uint64_t divisor) {
    if (divisor == 0) divisor = 1;
    if (divisor >= (std::uint64_t{1} << 31)) return;
    const auto d = static_cast<std::uint32_t>(divisor);
    std::uint32_t l = 0;
    while ((std::uint64_t{1} << l) < divisor) ++l;
    divisor_ = d;
    shift_ = 31 + l;
    if ((d & (d - 1)) == 0) {
      // The quotient is a plain shift: n * 2^31 >> (31 + l).
      mask_ = d - 1;
      multiplier_ = std::uint32_t{1} << 31;
      return;
    }
    // With 2^(l-1) < d <= 2^l, m * d lies in [2^(31+l), 2^(31+l) + 2^l], which makes
    // (n * m) >> (31 + l) equal n / d for all n < 2^31; and m < 2^32.
    multiplier_ = static_cast<std::uint32_t>((std::uint64_t{1} << shift_) / divisor + 1);
  }

  // value mod divisor, for value < 2^31.
  std::uint32_t operator()(std::uint32_t value) const {
    if (mask_ != 0xFFFFFFFFu) return value & mask_;
    return reduce(value);
  }

  // The same without a branch on the divisor, for loops that vectorise: one multiplication
  // whatever the divisor (a divisor of 2^31 or more has multiplier 0, quotient 0).
  std::uint32_t reduce(std::uint32_t value) const {
    const auto quotient =
        static_cast<std::uint32_t>((static_cast<std::uint64_t>(value) * multiplier_) >> shift_);
    return value - quotient * divisor_;
  }

  // Whether the divisor is a power of two, whose remainder is value & mask().
  bool is_mask() const { return mask_ != 0xFFFFFFFFu; }
  std::uint32_t mask() const { return mask_; }

 private:
  std::uint32_t multiplier_ = 0;  // 0: the identity (divisors of 2^31 and more)
  std::uint32_t shift_ = 0;
  std::uint32_t divisor_ = 0;
  std::uint32_t mask_ = 0xFFFFFFFFu;  // divisor - 1 for a power of two: the quicker path
};

}  // namespace engine
