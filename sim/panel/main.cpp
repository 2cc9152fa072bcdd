// The front panel of the simulated board: live in the terminal, or running
// a scenario file with --scenario. Runs inside the sandbox.
#include <cstdio>
#include <string_view>

#include "interactive.h"
#include "scenario_run.h"

int main(int argc, char **argv) {
  const panel::Programs programs{PANEL_BUTTOND, PANEL_UPLINKD, PANEL_NVRAM};
  if (argc == 1) return panel::run_interactive(programs);
  if (argc == 3 && std::string_view(argv[1]) == "--scenario") return panel::run_scenario(programs, argv[2]);
  std::fprintf(stderr, "usage: panel [--scenario FILE]\n");
  return 2;
}
