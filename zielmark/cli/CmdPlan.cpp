#include "Commands.h"

#include <cstdio>

int RunPlan(int, char**) {
  std::fprintf(stderr, "zielmark-cli plan: not available yet\n");
  return 2;
}
