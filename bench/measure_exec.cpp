// bench-measure PROGRAM ARGS...: runs the program with its output discarded
// and prints its wall time, peak memory and exit status.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "bench/measure.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench-measure PROGRAM ARGS...\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) {
    std::perror("fork");
    return 2;
  }
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDOUT_FILENO);
    execvp(argv[1], argv + 1);
    std::perror(argv[1]);
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  const double seconds = bench::SecondsSince(start);
  bench::PrintResult(seconds, RUSAGE_CHILDREN);
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::printf(" status=%d\n", code);
  return 0;
}
