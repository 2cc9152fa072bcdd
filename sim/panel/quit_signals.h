// SIGINT, SIGTERM, SIGHUP and SIGQUIT ask the panel to quit: they only set
// a flag (and interrupt a wait), and the main loop stops the board.
#ifndef SIM_PANEL_QUIT_SIGNALS_H
#define SIM_PANEL_QUIT_SIGNALS_H

namespace panel {

void install_quit_handlers();
bool quit_requested();

}  // namespace panel

#endif
