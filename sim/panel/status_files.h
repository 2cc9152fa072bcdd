// The one-line status files under /tmp that the panel shows, and writes
// in the place of the firmware parts it plays (link watcher, internet
// checker).
#ifndef SIM_PANEL_STATUS_FILES_H
#define SIM_PANEL_STATUS_FILES_H

#include <optional>
#include <string>

namespace panel {

// The first line of the file (at most 64 bytes), or none when it is missing.
std::optional<std::string> read_status_file(const std::string &path);

// Replaces the file with "TEXT\n" in one step (a new file renamed over the
// old one), so a reader never sees it empty. False on failure.
bool write_status_file(const std::string &path, const std::string &text);

}  // namespace panel

#endif
