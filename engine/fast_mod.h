// Remainders by a divisor fixed for a whole effect run, computed by one multiplication
// instead of a division (Granlund and Montgomery, "Division by invariant integers using
// multiplication", 1994), exact for every dividend below 2^31.
#pragma once

#include <cstdint>

namespace engine {

class FastMod {
 public:
  // divisor >= 1 (0 counts as 1); divisors of 2^31 and more leave every dividend below 2^31
  // unchanged.
  explicit FastMod(std::uint64_t divisor) {
    if (divisor >= (std::uint64_t{1} << 31)) return;
    if (divisor == 0) divisor = 1;
    divisor_ = static_cast<std::uint32_t>(divisor);
    std::uint32_t l = 0;
    while ((std::uint64_t{1} << l) < divisor) ++l;
    // m * d lies in [2^(31+l), 2^(31+l) + 2^l], which makes (n * m) >> (31 + l) equal
    // n / d for all n < 2^31; m <= 2^32, so n * m fits in 64 bits.
    shift_ = 31 + l;
    multiplier_ = (std::uint64_t{1} << shift_) / divisor + 1;
  }

  // value mod divisor, for value < 2^31.
  std::uint32_t operator()(std::uint32_t value) const {
    const auto quotient = static_cast<std::uint32_t>((value * multiplier_) >> shift_);
    return value - quotient * divisor_;
  }

 private:
  std::uint64_t multiplier_ = 0;
  std::uint32_t shift_ = 0;
  std::uint32_t divisor_ = 0;
};

}  // namespace engine
