// The terminal of the interactive panel: raw keys, the alternate screen
// and a hidden cursor, restored on every way out (return, exit, a fatal
// signal; quit signals end the main loop, see quit_signals.h).
#ifndef SIM_PANEL_TERMINAL_H
#define SIM_PANEL_TERMINAL_H

#include <cstddef>
#include <string_view>

namespace panel {

class Terminal {
 public:
  // Takes over standard input and output; ok() is false when they are no
  // terminal.
  Terminal();
  ~Terminal();
  Terminal(const Terminal &) = delete;
  Terminal &operator=(const Terminal &) = delete;

  bool ok() const { return ok_; }
  // Gives the terminal back as it was (also done by the destructor).
  void close() { restore(); }
  // Waits up to timeout_ms for input: the number of bytes read, 0 on a
  // time-out or a signal, -1 when the input has ended.
  long read_keys(char *buffer, size_t size, int timeout_ms);
  void write(std::string_view text);
  void size(unsigned &columns, unsigned &rows) const;

 private:
  static void on_fatal_signal(int sig);
  static void restore();

  bool ok_ = false;
};

}  // namespace panel

#endif
