// The front panel: of the desk simulator (run inside the sandbox) or, with
// --board, of the virtual board in qemu-system-mipsel (run on the host);
// live in the terminal, or running a scenario file with --scenario.
#include <cstdio>
#include <memory>
#include <string_view>

#include "sim/panel/desk_board.h"
#include "sim/panel/interactive.h"
#include "sim/panel/scenario_run.h"
#include "sim/panel/virtual_board.h"

namespace {

// A scenario starts from erased flash, so from the factory store; the live
// panel keeps the board's flash from run to run.
panel::BoardMaker board_maker(bool virtual_board, bool fresh_flash) {
  if (!virtual_board) {
    return [](panel::Board::EventSink events) {
      return std::make_unique<panel::DeskBoard>(
          panel::Programs{PANEL_BUTTOND, PANEL_UPLINKD, PANEL_NVRAM}, std::move(events));
    };
  }
  return [fresh_flash](panel::Board::EventSink events) {
    board::VmOptions options{PANEL_SOURCE_DIR, PANEL_BOARD_DIR, PANEL_MIPSEL_BUILD, true,
                             fresh_flash};
    return std::make_unique<panel::VirtualBoard>(std::move(options), std::move(events));
  };
}

}  // namespace

int main(int argc, char **argv) {
  int arg = 1;
  const bool virtual_board = argc > arg && std::string_view(argv[arg]) == "--board";
  if (virtual_board) ++arg;
  if (argc == arg) return panel::run_interactive(board_maker(virtual_board, false));
  if (argc == arg + 2 && std::string_view(argv[arg]) == "--scenario") {
    return panel::run_scenario(board_maker(virtual_board, true), argv[arg + 1]);
  }
  std::fprintf(stderr, "usage: panel [--board] [--scenario FILE]\n");
  return 2;
}
