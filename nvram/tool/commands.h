// The `nvram` command line: get, set, unset, show, commit and import on the
// sets of the store.
#ifndef NVRAM_TOOL_COMMANDS_H
#define NVRAM_TOOL_COMMANDS_H

namespace nvram {

// Exit status: 0, 1 when the store could not be written, 2 for bad input.
int run_tool(int argc, char **argv);

}  // namespace nvram

#endif
