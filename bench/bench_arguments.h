#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>

namespace vexa::bench {

// "[count] [--tsv]": how many rounds or seconds, and whether to print one
// "measure<TAB>value" line each for a before/after table.
struct Arguments {
  int count;
  bool tsv = false;
};

inline Arguments ParseArguments(int argc, char** argv, int default_count) {
  Arguments arguments{default_count};
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--tsv") {
      arguments.tsv = true;
    } else {
      arguments.count = std::max(1, std::atoi(argv[i]));
    }
  }
  return arguments;
}

}  // namespace vexa::bench
