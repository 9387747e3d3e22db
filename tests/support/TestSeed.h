#pragma once
#include <cstdint>
#include <random>

namespace ms::test {

// The seed of every random test in this process: MS_TEST_SEED when it is set (to replay a failure),
// otherwise a fresh one. The first call prints it, so every failure can be replayed.
unsigned testSeed();

// A generator for one random test: the process seed mixed with the test's own salt, so tests do
// not share one sequence and adding one test does not change the others.
inline std::mt19937 seededRng(unsigned salt) { return std::mt19937(testSeed() ^ (salt * 0x9E3779B9u)); }

}  // namespace ms::test
