// A set as read from its committed file: the file's bytes kept whole, and a
// sorted index of where each key and value lies in them. Reading a set is
// one check of the file and one pass over its lines, with no allocation per
// key; a value that holds an escape is unescaped once, beside the file.
#ifndef NVRAM_SET_IMAGE_H
#define NVRAM_SET_IMAGE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "nvram/file_io.h"
#include "nvram/sets.h"
#include "nvram/status.h"

namespace nvram {

class SetImage {
 public:
  // Takes a file's bytes: ok when the file is sound, else an error saying
  // what is wrong with it, and the image is left empty. Any content is safe.
  Status parse(FileBytes file);
  // The image of the file encode_set writes for values (whose keys are
  // valid, as every key the store holds).
  static SetImage of(const Values &values);

  // "" for a key that is not set. Valid until the image changes.
  std::string_view value(std::string_view key) const;
  Values values() const;
  // The file's bytes, as parsed.
  std::string_view file() const { return file_.view(); }

 private:
  // Where a line's key and value lie: value_at counts from the file's start
  // into the file, and from the file's end into unescaped_.
  struct Entry {
    uint32_t key_at, key_size;
    uint32_t value_at, value_size;
  };
  Status index_lines();
  std::string_view key_of(const Entry &entry) const {
    return {file_.view().data() + entry.key_at, entry.key_size};
  }
  std::string_view value_of(const Entry &entry) const;

  FileBytes file_;
  std::string unescaped_;       // the values that held escapes, unescaped
  std::vector<Entry> entries_;  // sorted by key
};

}  // namespace nvram

#endif
