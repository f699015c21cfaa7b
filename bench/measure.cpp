// Runs one command and prints what it cost: wall seconds from the start of the
// child to its end, the CPU seconds it used (user and system, its own children
// included) and its peak resident memory in kilobytes, on one line. Standard
// input is at its end (/dev/null); standard output and error go to a file.
//
//   measure [-C FOLDER] [-o OUTPUT] COMMAND [ARGUMENTS...]
//
// The peer benchmark runs every tool through it, so that each measurement
// carries the same small cost of starting a process and nothing else.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

double Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

int Usage() {
  std::fprintf(stderr, "usage: measure [-C FOLDER] [-o OUTPUT] COMMAND [ARGUMENTS...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const char* folder = nullptr;
  const char* output = "/dev/null";
  int first = 1;
  while (first + 1 < argc && argv[first][0] == '-') {
    if (std::strcmp(argv[first], "-C") == 0) {
      folder = argv[first + 1];
    } else if (std::strcmp(argv[first], "-o") == 0) {
      output = argv[first + 1];
    } else {
      return Usage();
    }
    first += 2;
  }
  if (first >= argc) return Usage();

  double start = Now();
  pid_t child = fork();
  if (child < 0) {
    std::perror("fork");
    return 1;
  }
  if (child == 0) {
    if (folder && chdir(folder) != 0) _exit(126);
    int in = open("/dev/null", O_RDONLY);
    int out = open(output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) _exit(126);
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    execvp(argv[first], argv + first);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) < 0) {
    std::perror("wait4");
    return 1;
  }
  double wall = Now() - start;
  double cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
               usage.ru_stime.tv_usec * 1e-6;
  std::printf("%.6f %.6f %ld\n", wall, cpu, usage.ru_maxrss);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "measure: %s ended with status %d\n", argv[first], status);
    return 1;
  }
  return 0;
}
