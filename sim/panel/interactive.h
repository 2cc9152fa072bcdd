// The live front panel in the terminal: keys act on the board, the frame
// is redrawn about 15 times a second until 'q' or a quit signal.
#ifndef SIM_PANEL_INTERACTIVE_H
#define SIM_PANEL_INTERACTIVE_H

#include "sim/panel/board.h"

namespace panel {

// Returns the panel's exit status.
int run_interactive(const BoardMaker &make_board);

}  // namespace panel

#endif
