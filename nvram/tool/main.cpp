// The `nvram` tool: reads and changes the configuration store from the
// command line (commands.cpp).
#include "nvram/tool/commands.h"

int main(int argc, char **argv) { return nvram::run_tool(argc, argv); }
