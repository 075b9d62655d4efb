// Timing of several decoders on the same input, alternating in rounds so that a noisy machine
// slows them alike.
#pragma once

#include <functional>
#include <vector>

namespace bench {

// The times of one decoder's rounds in milliseconds; failed once a decode failed.
struct Timing {
  std::vector<double> ms;
  bool failed = false;
  double min() const;
  double median() const;
};

// Times the decoders in rounds, each round decoding once with every decoder (the order rotated
// from round to round); runs rounds, or about a second's worth when runs is 0. An untimed
// warm-up round comes first.
void time_in_rounds(const std::vector<std::function<bool()>>& decoders,
                    std::vector<Timing>& timings, long runs);

}  // namespace bench
