// Each command is a row of a table: its name, the words it takes and the
// function that runs it; the words are checked before the store is touched.
#include "nvram/tool/commands.h"

#include <nvram.h>
#include <nvram_tool.h>
#include <stdarg.h>

#include <cstdio>
#include <string_view>

#include "nvram/sets.h"

namespace nvram {
namespace {

constexpr char kUsage[] =
    "usage: nvram get SET KEY | set SET KEY VALUE | unset SET KEY | show [SET] | commit SET |"
    " import SET FILE\n"
    "  SET: 0 (2860), 1 (rtdev) or 2 (wifi3); show prints and import reads KEY=VALUE lines"
    " (\\n stands for a newline, \\\\ for a backslash)\n";

// One line "nvram: ..." on standard error, written at once, as the store
// reports its failures.
__attribute__((format(printf, 1, 2))) void report(const char *format, ...) {
  char line[512];
  va_list arguments;
  va_start(arguments, format);
  vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  fprintf(stderr, "nvram: %s\n", line);
}

int usage() {
  fputs(kUsage, stderr);
  return 2;
}

// "0", "1", "2" or a set's name; -1 for anything else.
int parse_set(std::string_view word) {
  for (int index = 0; index < kSetCount; ++index) {
    if (word == kSetNames[index] || (word.size() == 1 && word[0] == '0' + index)) return index;
  }
  return -1;
}

// The store reports its own failures; a failed commit exits with 1.
int commit(int index) { return nvram_commit(index) == 0 ? 0 : 1; }

int run_get(int index, char **words) {
  printf("%s\n", nvram_bufget(index, words[0]));
  return 0;
}

int run_set(int index, char **words) {
  nvram_bufset(index, words[0], words[1]);
  return commit(index);
}

int run_unset(int index, char **words) {
  nvram_unset(index, words[0]);
  return commit(index);
}

int run_show(int index, char **) { return nvram_show(index, stdout) == 0 ? 0 : 1; }

int run_commit(int index, char **) { return commit(index); }

int run_import(int index, char **words) {
  if (nvram_import(index, words[0]) != 0) return usage();
  return commit(index);
}

struct Command {
  std::string_view name;
  const char *syntax;  // of the words after the command
  int count;           // of the words after SET
  bool key_first;
  int (*run)(int index, char **words);
};

constexpr Command kCommands[] = {
    {"get", "SET KEY", 1, true, run_get},     {"set", "SET KEY VALUE", 2, true, run_set},
    {"unset", "SET KEY", 1, true, run_unset}, {"show", "[SET]", 0, false, run_show},
    {"commit", "SET", 0, false, run_commit},  {"import", "SET FILE", 1, false, run_import},
};

int show_all() {
  for (int index = 0; index < kSetCount; ++index) {
    printf("# set %d (%.*s)\n", index, static_cast<int>(kSetNames[index].size()),
           kSetNames[index].data());
    run_show(index, nullptr);
  }
  return 0;
}

int run_command(const Command &command, int argc, char **argv) {
  int words = argc - 3;
  if (command.name == "show" && argc == 2) return show_all();
  if (words != command.count) {
    report("%s takes %s", argv[1], command.syntax);
    return usage();
  }
  int index = parse_set(argv[2]);
  if (index < 0) {
    report("unknown set '%s'", argv[2]);
    return usage();
  }
  if (command.key_first && !valid_key(argv[3])) {
    report("invalid key '%s': a key is not empty and has no '=' or newline", argv[3]);
    return usage();
  }
  return command.run(index, argv + 3);
}

}  // namespace

int run_tool(int argc, char **argv) {
  if (argc < 2) {
    report("no command");
    return usage();
  }
  for (const Command &command : kCommands) {
    if (command.name != argv[1]) continue;
    int status = run_command(command, argc, argv);
    if (fflush(stdout) != 0 || ferror(stdout)) {
      report("cannot write the output");
      return 1;
    }
    return status;
  }
  report("unknown command '%s'", argv[1]);
  return usage();
}

}  // namespace nvram
