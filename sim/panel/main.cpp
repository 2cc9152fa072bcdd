// The front panel: of the desk simulator (run inside the sandbox) or, with
// --board, of the virtual board in qemu-system-mipsel (run on the host),
// with --radio the radio image with real WPS peers (sim/radio/prepare.sh
// makes it); live in the terminal, or running a scenario file with
// --scenario.
#include <cstdio>
#include <memory>
#include <string_view>

#include "sim/panel/desk_board.h"
#include "sim/panel/interactive.h"
#include "sim/panel/scenario_run.h"
#include "sim/panel/virtual_board.h"

namespace {

struct Choice {
  bool virtual_board = false, radio = false;
};

// A scenario starts from erased flash, so from the factory store; the live
// panel keeps the board's flash from run to run. The radio image is made
// before the panel runs, so it is booted as it is.
panel::BoardMaker board_maker(Choice choice, bool fresh_flash) {
  if (!choice.virtual_board) {
    return [](panel::Board::EventSink events) {
      return std::make_unique<panel::DeskBoard>(
          panel::Programs{PANEL_BUTTOND, PANEL_UPLINKD, PANEL_NVRAM}, std::move(events));
    };
  }
  return [choice, fresh_flash](panel::Board::EventSink events) {
    board::VmOptions options{PANEL_SOURCE_DIR, choice.radio ? PANEL_RADIO_DIR : PANEL_BOARD_DIR,
                             PANEL_MIPSEL_BUILD, !choice.radio, fresh_flash};
    return std::make_unique<panel::VirtualBoard>(std::move(options), std::move(events),
                                                 choice.radio);
  };
}

}  // namespace

int main(int argc, char **argv) {
  int arg = 1;
  Choice choice;
  choice.virtual_board = argc > arg && std::string_view(argv[arg]) == "--board";
  if (choice.virtual_board) ++arg;
  choice.radio = choice.virtual_board && argc > arg && std::string_view(argv[arg]) == "--radio";
  if (choice.radio) ++arg;
  if (argc == arg) return panel::run_interactive(board_maker(choice, false));
  if (argc == arg + 2 && std::string_view(argv[arg]) == "--scenario") {
    return panel::run_scenario(board_maker(choice, true), argv[arg + 1]);
  }
  std::fprintf(stderr, "usage: panel [--board [--radio]] [--scenario FILE]\n");
  return 2;
}
