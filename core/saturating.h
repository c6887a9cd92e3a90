// Sums of sizes that stop at the largest value instead of wrapping around: an archive's
// declared sizes come from its own bytes and may add up past 2^64.
#pragma once

#include <cstdint>

namespace vx {

inline std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    return a > ~b ? ~std::uint64_t(0) : a + b;
}

}  // namespace vx
