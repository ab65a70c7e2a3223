// Host rates for the bindings' tests: ones the engine cannot be built at,
// which every binding refuses, and the edges of the rates it accepts.
#pragma once

#include <array>
#include <limits>

inline constexpr std::array<double, 8> kRefusedSampleRates{{0.0, -44100.0, std::numeric_limits<double>::quiet_NaN(),
                                                            std::numeric_limits<double>::infinity(), 1.0, 7999.0,
                                                            768001.0, 1.0e12}};
inline constexpr std::array<double, 2> kEdgeSampleRates{{8000.0, 768000.0}};
