// board-probe: runs one operation of the shipped daemon code on the virtual
// board, for the board tests' journeys that no daemon starts by itself.
//   board-probe ping-gateway       prints ping_gateway()'s result
//   board-probe repeater-session   start_wps(WPS_AS_REPEATER), then lets the
//                                  poll run until the session reboots the board
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "boardutil/uplink.h"
#include "buttond/buttond.h"

int main(int argc, char **argv) {
  if (argc == 2 && strcmp(argv[1], "ping-gateway") == 0) {
    printf("%d\n", ping_gateway());
    return 0;
  }
  if (argc == 2 && strcmp(argv[1], "repeater-session") == 0) {
    printf("start_wps %d\n", start_wps(WPS_AS_REPEATER));
    fflush(stdout);
    for (;;) pause();  // the poll runs in the SIGALRM handler
  }
  fprintf(stderr, "usage: board-probe ping-gateway|repeater-session\n");
  return 2;
}
