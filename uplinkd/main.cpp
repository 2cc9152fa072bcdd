// uplinkd: decides the uplink and internet state in an endless loop and
// drives the internet LEDs from them.
#include "uplinkd/uplinkd.h"

int main() { return uplinkd_main(); }
