#pragma once
#include <cmath>
#include <cstdint>

namespace ms {

// Every real-to-integer conversion of the system: nearest integer, halves to the even neighbour.
inline int roundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// Geometry arithmetic is 16-bit: results wrap around like a signed 16-bit register.
inline int16_t wrap16(int v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }

}  // namespace ms
