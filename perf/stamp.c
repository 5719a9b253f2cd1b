// Starts a program and writes every line of its stderr, stamped with the seconds since the launch.
// Usage: stamp LOG PROGRAM [ARGS...]. The first line of LOG is "pid <n>"; every other line is
// "<seconds since fork> <the program's line>", on the monotonic clock and flushed at once, so a
// watcher sees when the program wrote it. Exits with the program's status.
#define _POSIX_C_SOURCE 200809L
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: stamp LOG PROGRAM [ARGS...]\n");
    return 2;
  }
  FILE* log = fopen(argv[1], "w");
  if (!log) {
    perror(argv[1]);
    return 2;
  }
  int fds[2];
  if (pipe(fds) != 0) {
    perror("pipe");
    return 2;
  }
  const double start = now();
  const pid_t child = fork();
  if (child < 0) {
    perror("fork");
    return 2;
  }
  if (child == 0) {
    dup2(fds[1], 2);
    close(fds[0]);
    close(fds[1]);
    execvp(argv[2], argv + 2);
    perror(argv[2]);
    _exit(127);
  }
  close(fds[1]);
  fprintf(log, "pid %d\n", (int)child);
  fflush(log);
  FILE* in = fdopen(fds[0], "r");
  char line[4096];
  while (fgets(line, sizeof line, in)) {
    fprintf(log, "%.6f %s", now() - start, line);
    fflush(log);
  }
  int status = 0;
  waitpid(child, &status, 0);
  fclose(log);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
