#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>

namespace vexa::bench {

// "[count] [--tsv]": how many rounds or seconds, and whether to print one
// "measure<TAB>value" line each for a before/after table. Other options are
// the program's own.
struct Arguments {
  int count;
  bool tsv = false;
};

inline Arguments ParseArguments(int argc, char** argv, int default_count) {
  Arguments arguments{default_count};
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--tsv") {
      arguments.tsv = true;
    } else if (!argument.starts_with("--")) {
      arguments.count = std::max(1, std::atoi(argument.c_str()));
    }
  }
  return arguments;
}

}  // namespace vexa::bench
