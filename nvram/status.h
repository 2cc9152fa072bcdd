// The one way the store says what went wrong: every operation that can
// fail returns a Status, and the caller at the top (a C entry point, the
// tool) reports it with report(), one line "nvram: ..." on standard error.
#ifndef NVRAM_STATUS_H
#define NVRAM_STATUS_H

#include <string>

namespace nvram {

class [[nodiscard]] Status {
 public:
  static Status ok() { return Status(Code::ok, {}); }
  // A file that does not exist; message says so in the system's words.
  static Status not_found(std::string message) {
    return Status(Code::not_found, std::move(message));
  }
  // Any other failure; the message is formatted as by printf, cut at 511
  // characters.
  static Status error(const char *format, ...) __attribute__((format(printf, 1, 2)));

  bool is_ok() const { return code_ == Code::ok; }
  bool is_not_found() const { return code_ == Code::not_found; }
  // What went wrong; empty for ok.
  const std::string &message() const { return message_; }

 private:
  enum class Code { ok, not_found, error };
  Status(Code code, std::string message) : code_(code), message_(std::move(message)) {}

  Code code_;
  std::string message_;
};

// Prints "nvram: " and the formatted message as one line on standard error.
void report(const char *format, ...) __attribute__((format(printf, 1, 2)));
// Prints the status's message the same way.
void report(const Status &status);

}  // namespace nvram

#endif
