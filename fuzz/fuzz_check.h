#pragma once
// The fuzz targets' oracle: a broken property is reported by name and ends
// the run, so libFuzzer keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

namespace kst_fuzz {

inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", property);
  std::abort();
}

}  // namespace kst_fuzz
