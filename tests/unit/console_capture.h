// What this test process has written to the console so far. The sandbox
// copies console writes into its log asynchronously: a numbered mark is
// written last and awaited, and the marks are left out of the text.
#ifndef TESTS_UNIT_CONSOLE_CAPTURE_H
#define TESTS_UNIT_CONSOLE_CAPTURE_H

#include <string>

#include "boardutil/console.h"
#include "tests/support/testbed.h"

inline std::string console_so_far() {
  static unsigned marks = 0;
  std::string mark = "\x01mark " + std::to_string(++marks) + "\x01";
  console_print("%s", mark.c_str());
  if (!testbed::wait_for_text(testbed::kConsoleLog, mark)) return "(console mark never arrived)";
  std::string text = testbed::console();
  for (size_t at = text.find("\x01mark "); at != std::string::npos; at = text.find("\x01mark ")) {
    text.erase(at, text.find('\x01', at + 1) + 1 - at);
  }
  return text;
}

#endif
