// Seeds of the randomized tests: fixed by default so failures repeat; HARUVI_TEST_SEED
// (a number) shifts them all, to explore further from the command line.
#pragma once

#include <cstdlib>
#include <random>

namespace haruvi::test {

inline std::mt19937::result_type Seed(std::mt19937::result_type fixed) {
  const char* env = std::getenv("HARUVI_TEST_SEED");
  return env ? fixed + static_cast<std::mt19937::result_type>(std::strtoul(env, nullptr, 10)) : fixed;
}

}  // namespace haruvi::test
