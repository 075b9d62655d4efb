// Remainders by a divisor fixed for a whole effect run, computed by one multiplication
// instead of a division (Granlund and Montgomery, "Division by invariant integers using
// multiplication", 1994), exact for every dividend below 2^31; and forms in 32-bit arithmetic
// only for the generator's 16-bit draws, which 128-bit vectors (WebAssembly's) take four at a
// time where a 64-bit product would leave the loop scalar.
#pragma once

#include <algorithm>
#include <cstdint>

// Loops over whole batches get AVX-512 and AVX2 builds besides the plain one, picked by what
// the processor has (on x86-64 Linux with GCC, where the loader chooses between the builds).
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define MQ_BATCH_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define MQ_BATCH_CLONES
#endif

// Two vectors at a time in clang's builds: the 32-bit remainders are long chains of
// multiplications, which one vector alone leaves waiting.
#if defined(__clang__)
#define MQ_BATCH_INTERLEAVE _Pragma("clang loop interleave_count(2)")
#else
#define MQ_BATCH_INTERLEAVE
#endif

namespace engine {

// Whether the batch loops take the 32-bit forms below (FastMod::reduce16, OffsetMod), which
// need more operations than FastMod::reduce's 64-bit product: WebAssembly's vectors have no
// cheap 64-bit product, which would leave those loops scalar; x86's have one.
#if defined(__wasm__)
inline constexpr bool kNarrowBatchLoops = true;
#else
inline constexpr bool kNarrowBatchLoops = false;
#endif

class FastMod {
 public:
  // divisor >= 1 (0 counts as 1); divisors of 2^31 and more leave every dividend below 2^31
  // unchanged.
  explicit FastMod(std::uint64_t divisor) {
    if (divisor == 0) divisor = 1;
    // For a dividend below 2^31 a divisor of 2^31 or more acts as 2^31.
    small_divisor_ = static_cast<std::uint32_t>(std::min(divisor, std::uint64_t{1} << 31));
    if (divisor <= (1u << 16)) small_multiplier_ = (1u << 16) / small_divisor_;
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

  // value mod divisor for value < 2^16, in 32-bit arithmetic. With m = floor(2^16 / d) >
  // 2^16 / d - 1, value * m / 2^16 lies in (value / d - 1, value / d]: its whole part is the
  // quotient or one less, so r < 2d, and min(r, r - d) subtracts d once if r >= d (below d,
  // r - d wraps above r). A divisor above 2^16 has m = 0 and leaves the value as it is.
  std::uint32_t reduce16(std::uint32_t value) const {
    const std::uint32_t r = value - ((value * small_multiplier_) >> 16) * small_divisor_;
    return std::min(r, r - small_divisor_);
  }

  // value mod divisor for a generator's draw (below 2^16), in the form the batch loops take.
  std::uint32_t reduce_draw(std::uint32_t value) const {
    if constexpr (kNarrowBatchLoops) return reduce16(value);
    return reduce(value);
  }

  // Whether the divisor is a power of two, whose remainder is value & mask().
  bool is_mask() const { return mask_ != 0xFFFFFFFFu; }
  std::uint32_t mask() const { return mask_; }

 private:
  std::uint32_t multiplier_ = 0;  // 0: the identity (divisors of 2^31 and more)
  std::uint32_t shift_ = 0;
  std::uint32_t divisor_ = 0;
  std::uint32_t mask_ = 0xFFFFFFFFu;    // divisor - 1 for a power of two: the quicker path
  std::uint32_t small_multiplier_ = 0;  // floor(2^16 / divisor), 0 above 2^16
  std::uint32_t small_divisor_ = 1;     // min(divisor, 2^31)
};

// ((small + total) & 0x7FFFFFFF) mod divisor for small < 2^17 and a total fixed for many
// values, in 32-bit arithmetic. small mod d comes as in FastMod::reduce16, from the quotient of
// small / 2; the total is reduced once, and once more for the sums that pass 2^31, which the
// mask takes off. Every number stays below 2^32; min(r, r - k) subtracts k once if r >= k,
// for r < 2k.
class OffsetMod {
 public:
  OffsetMod(std::uint64_t divisor, std::uint32_t total) {
    // For a value below 2^31 a divisor of 2^31 or more acts as 2^31.
    const std::uint64_t d = std::clamp(divisor, std::uint64_t{1}, std::uint64_t{1} << 31);
    const std::uint32_t low = total & 0x7FFFFFFFu;
    divisor_ = static_cast<std::uint32_t>(d);
    twice_ = static_cast<std::uint32_t>(2 * d);  // 0 for 2^31, whose multiplier is 0
    if (d <= (1u << 16)) multiplier_ = static_cast<std::uint32_t>((1u << 16) / d);
    if (d > 4) near_multiplier_ = static_cast<std::uint32_t>((1u << 17) / d);
    total_rem_ = static_cast<std::uint32_t>(low % d);
    const auto wrapped = static_cast<std::uint32_t>((low + d - (std::uint64_t{1} << 31) % d) % d);
    wrap_step_ = wrapped - total_rem_;
    last_unwrapped_ = static_cast<std::int32_t>(0x7FFFFFFFu - low);
  }

  std::uint32_t reduce(std::uint32_t small) const {
    // small - 2dq with q the quotient of small / 2 by d or one less: below 4d <= 2^18 for
    // d <= 2^16; for larger d, q = 0 and small < 2^17 < 2d.
    std::uint32_t r = small - (((small >> 1) * multiplier_) >> 16) * twice_;
    r = std::min(r, r - twice_);
    r = std::min(r, r - divisor_);  // small mod d
    // A signed comparison (one instruction where an unsigned one takes three): small and
    // last_unwrapped_ both lie in [0, 2^31). The step wraps round to the other total.
    const std::uint32_t wraps = static_cast<std::int32_t>(small) > last_unwrapped_ ? ~0u : 0u;
    r += total_rem_ + (wraps & wrap_step_);
    return std::min(r, r - divisor_);
  }

  // Whether reduce_near gives reduce's results: d > 4 and no small below 2^17 takes the sum
  // to 2^31 (the common case: totals mostly lie far below 2^31, regions are wide).
  bool near() const { return divisor_ > 4 && last_unwrapped_ >= (1 << 17) - 1; }

  // The same with fewer operations, while near(). With m = floor(2^17 / d) > 2^17 / d - 1,
  // small * m / 2^17 lies in (small / d - 1, small / d], as in FastMod::reduce16; d > 4 keeps
  // small * m below 2^34 / 5 < 2^32.
  std::uint32_t reduce_near(std::uint32_t small) const {
    std::uint32_t r = small - ((small * near_multiplier_) >> 17) * divisor_;
    r = std::min(r, r - divisor_) + total_rem_;
    return std::min(r, r - divisor_);
  }

 private:
  std::uint32_t divisor_ = 1;          // min(divisor, 2^31), at least 1
  std::uint32_t twice_ = 2;            // 2 * divisor_ mod 2^32
  std::uint32_t multiplier_ = 0;       // floor(2^16 / divisor_), 0 above 2^16
  std::uint32_t near_multiplier_ = 0;  // floor(2^17 / divisor_) for divisor_ > 4
  std::uint32_t total_rem_ = 0;        // (total & 0x7FFFFFFF) mod d
  std::uint32_t wrap_step_ = 0;        // from total_rem_ to ((total & 0x7FFFFFFF) - 2^31) mod d
  std::int32_t last_unwrapped_ = 0;    // the largest small whose sum with the total is below 2^31
};

}  // namespace engine
