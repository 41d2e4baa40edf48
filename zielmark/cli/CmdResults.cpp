#include "Commands.h"

#include <cstdio>

int RunResults(int, char**) {
  std::fprintf(stderr, "zielmark-cli results: not available yet\n");
  return 2;
}
