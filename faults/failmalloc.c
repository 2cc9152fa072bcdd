/* Preloaded by faults/run.sh: the FAIL_MALLOC_AT-th allocation of the
 * process (malloc, calloc, realloc; counted from 1) fails with ENOMEM. With
 * FAIL_MALLOC_COUNT=PATH the number of allocations is written to PATH at
 * exit, so the run knows how many points to try; with FAIL_MALLOC_HIT=PATH
 * the file PATH is created when the failure is injected. */
#include <errno.h>
#include <fcntl.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *old, size_t size);

static unsigned long allocations;
static long fail_at = -1;

static int fails_now(void) {
  if (fail_at < 0) {
    const char *at = getenv("FAIL_MALLOC_AT");
    fail_at = at != NULL ? atol(at) : 0;
  }
  if (++allocations != (unsigned long)fail_at) return 0;
  const char *hit = getenv("FAIL_MALLOC_HIT");
  if (hit != NULL) {
    int fd = open(hit, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) close(fd);
  }
  return 1;
}

void *malloc(size_t size) {
  if (fails_now()) {
    errno = ENOMEM;
    return NULL;
  }
  return __libc_malloc(size);
}

void *calloc(size_t count, size_t size) {
  if (fails_now()) {
    errno = ENOMEM;
    return NULL;
  }
  return __libc_calloc(count, size);
}

void *realloc(void *old, size_t size) {
  if (fails_now()) {
    errno = ENOMEM;
    return NULL;
  }
  return __libc_realloc(old, size);
}

__attribute__((destructor)) static void write_count(void) {
  const char *path = getenv("FAIL_MALLOC_COUNT");
  if (path == NULL) return;
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  char text[32];
  int length = snprintf(text, sizeof text, "%lu\n", allocations);
  if (length > 0) (void)!write(fd, text, (size_t)length);
  close(fd);
}
