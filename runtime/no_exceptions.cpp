// The C++ runtime pieces our router programs use, for a build without
// exceptions: allocation failure and the standard library's error paths
// print a line and abort instead of throwing. Linked once into each program
// for the router, so that libstdc++'s unwinder and demangler stay out and
// the programs need only the C library.
#include <stdio.h>
#include <stdlib.h>

#include <new>

namespace {

[[noreturn]] void fail(const char *what) {
  fprintf(stderr, "fatal: %s\n", what);
  abort();
}

}  // namespace

void *operator new(size_t size) {
  void *memory = malloc(size == 0 ? 1 : size);
  if (memory == nullptr) fail("out of memory");
  return memory;
}

void *operator new[](size_t size) { return operator new(size); }
void operator delete(void *memory) noexcept { free(memory); }
void operator delete[](void *memory) noexcept { free(memory); }
void operator delete(void *memory, size_t) noexcept { free(memory); }
void operator delete[](void *memory, size_t) noexcept { free(memory); }

namespace std {

void __throw_bad_alloc() { fail("out of memory"); }
void __throw_bad_array_new_length() { fail("bad array length"); }
void __throw_length_error(const char *what) { fail(what); }
void __throw_logic_error(const char *what) { fail(what); }
void __throw_out_of_range(const char *what) { fail(what); }
void __throw_out_of_range_fmt(const char *what, ...) { fail(what); }
void __throw_invalid_argument(const char *what) { fail(what); }

}  // namespace std
