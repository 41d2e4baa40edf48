// The commands of zielmark-cli. Each takes the arguments behind the command name (argv[0] is the
// command itself) and returns the process exit code: 0 done, 1 failed, 2 usage error.
#pragma once

int RunCheck(int argc, char** argv);
int RunPlan(int argc, char** argv);
int RunResults(int argc, char** argv);
int RunDispersion(int argc, char** argv);
