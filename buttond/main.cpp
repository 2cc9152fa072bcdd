// buttond: watches the push button and runs WPS sessions and the factory reset.
#include "buttond/buttond.h"

int main() { return buttond_main(); }
