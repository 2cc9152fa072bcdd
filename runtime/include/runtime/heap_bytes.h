// An owned block of bytes on the heap, moved but never copied. It stands in
// for std::unique_ptr<char[]>, whose header pulls in iostreams, which
// libstdc++ cannot compile against musl.
#ifndef RUNTIME_HEAP_BYTES_H
#define RUNTIME_HEAP_BYTES_H

#include <stddef.h>

namespace routerd {

class heap_bytes {
 public:
  heap_bytes() = default;
  explicit heap_bytes(size_t size) : data_(new char[size]) {}
  heap_bytes(heap_bytes &&other) noexcept : data_(other.data_) { other.data_ = nullptr; }
  heap_bytes &operator=(heap_bytes &&other) noexcept {
    if (this != &other) {
      delete[] data_;
      data_ = other.data_;
      other.data_ = nullptr;
    }
    return *this;
  }
  heap_bytes(const heap_bytes &) = delete;
  heap_bytes &operator=(const heap_bytes &) = delete;
  ~heap_bytes() { delete[] data_; }

  char *get() const { return data_; }

 private:
  char *data_ = nullptr;
};

}  // namespace routerd

#endif
