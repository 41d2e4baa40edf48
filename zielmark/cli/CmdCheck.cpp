#include "Commands.h"

#include <cstdio>

int RunCheck(int, char**) {
  std::fprintf(stderr, "zielmark-cli check: not available yet\n");
  return 2;
}
