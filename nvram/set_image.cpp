// The lines are found with memchr and checked as they are indexed; each key
// is compared with the one before, so a file in order (as every commit
// writes it) needs no sort, and one out of order is sorted once.
#include "nvram/set_image.h"

#include <algorithm>
#include <cstring>

#include "nvram/file_format.h"
#include "nvram/line_format.h"

namespace nvram {
namespace {

// Plain memcmp order, as std::string's; without string_view's compare, whose
// extra steps cost as much as the comparison of two short keys.
bool key_before(std::string_view a, std::string_view b) {
  int order = memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  return order != 0 ? order < 0 : a.size() < b.size();
}

const char *find(const char *from, const char *end, char wanted) {
  return static_cast<const char *>(memchr(from, wanted, end - from));
}

}  // namespace

Status SetImage::parse(FileBytes file) {
  file_ = std::move(file);
  unescaped_.clear();
  entries_.clear();
  Status problem = check_seal(file_.view());
  if (problem.is_ok()) problem = index_lines();
  if (!problem.is_ok()) *this = SetImage();
  return problem;
}

SetImage SetImage::of(const Values &values) {
  SetImage image;
  // Cannot fail: encode_set writes only sealed files of well-formed lines
  // (the fuzz target nvram_set_file checks that round trip).
  static_cast<void>(image.parse(FileBytes(encode_set(values))));
  return image;
}

Status SetImage::index_lines() {
  const std::string_view text = file_.view();
  const char *line = text.data() + kHeaderSize;
  const char *end = text.data() + text.size();
  if (find(line, end, '\0')) return Status::error("malformed line");
  // The next backslash of the body: only the lines holding one are unescaped.
  const char *backslash = find(line, end, '\\');
  if (!backslash) backslash = end;
  bool sorted = true;
  while (line < end) {
    const char *newline = find(line, end, '\n');
    if (!newline) return Status::error("last line has no newline");
    const char *equals = find(line, newline, '=');
    if (!equals || equals == line) return Status::error("malformed line");
    Entry entry = {static_cast<uint32_t>(line - text.data()), static_cast<uint32_t>(equals - line),
                   static_cast<uint32_t>(equals + 1 - text.data()),
                   static_cast<uint32_t>(newline - equals - 1)};
    if (backslash < newline) {
      std::string_view escaped = value_of(entry);
      entry.value_at = static_cast<uint32_t>(text.size() + unescaped_.size());
      if (!append_unescaped(escaped, unescaped_).is_ok()) return Status::error("malformed line");
      entry.value_size = static_cast<uint32_t>(text.size() + unescaped_.size() - entry.value_at);
      backslash = find(newline, end, '\\');
      if (!backslash) backslash = end;
    }
    if (sorted && !entries_.empty()) sorted = key_before(key_of(entries_.back()), key_of(entry));
    entries_.push_back(entry);
    line = newline + 1;
  }
  if (sorted) return Status::ok();
  auto by_key = [this](const Entry &a, const Entry &b) { return key_before(key_of(a), key_of(b)); };
  std::sort(entries_.begin(), entries_.end(), by_key);
  auto same_key = [this](const Entry &a, const Entry &b) { return key_of(a) == key_of(b); };
  if (std::adjacent_find(entries_.begin(), entries_.end(), same_key) != entries_.end()) {
    return Status::error("duplicate key");
  }
  return Status::ok();
}

std::string_view SetImage::value_of(const Entry &entry) const {
  const std::string_view text = file_.view();
  if (entry.value_at < text.size()) return {text.data() + entry.value_at, entry.value_size};
  return {unescaped_.data() + (entry.value_at - text.size()), entry.value_size};
}

std::string_view SetImage::value(std::string_view key) const {
  auto found = std::lower_bound(entries_.begin(), entries_.end(), key,
                                [this](const Entry &entry, std::string_view wanted) {
                                  return key_before(key_of(entry), wanted);
                                });
  if (found == entries_.end() || key_of(*found) != key) return {};
  return value_of(*found);
}

Values SetImage::values() const {
  Values values;
  for (const Entry &entry : entries_) {
    values.emplace_hint(values.end(), key_of(entry), value_of(entry));
  }
  return values;
}

}  // namespace nvram
