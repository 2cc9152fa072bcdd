// Non-interactive mode: runs a scenario file against the board and prints
// the timeline of what the daemons did.
#ifndef SIM_PANEL_SCENARIO_RUN_H
#define SIM_PANEL_SCENARIO_RUN_H

#include <string>

#include "sim/panel/board.h"

namespace panel {

// 0 when every action ran and every expectation was met; 1 when one failed
// or the board could not start; 2 for a file that cannot be read or parsed
// (reported with its line number on standard error).
int run_scenario(const BoardMaker &make_board, const std::string &path);

}  // namespace panel

#endif
