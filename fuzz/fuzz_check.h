#pragma once

#include <cstdlib>

// A promise the code under test broke: abort, so that the fuzzer keeps the input.
inline void Check(bool holds) {
  if (!holds) std::abort();
}
