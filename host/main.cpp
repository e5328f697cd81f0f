// vael-host: a console program that plays the renderer's part toward a shader DLL, so that
// the DLL can be run, looked at and timed without the renderer. Its work comes as subcommands.
#include <cstring>
#include <iostream>
#include <span>
#include <string>

#include "host/command_line.h"
#include "host/commands.h"

namespace {

struct Subcommand {
  const char* name;
  int (*run)(std::span<char* const> arguments);
  const char* summary;
};

constexpr Subcommand kSubcommands[] = {
    {"preview", RunPreview, "renders a rounded cube shaded by the DLL into a PNG or BMP"},
    {"bench", RunBench, "times the DLL's shading against calling the samplers directly"},
    {"edit", RunEdit, "opens the DLL's settings dialog on a parameter string, prints the result"},
    {"sheet", RunSheet, "renders a grid of previews over threshold and sharpness, labelled"},
    {"morph", RunMorph, "renders a strip of previews morphing from one string to another"},
};

void PrintUsage() {
  std::cout << "usage: vael-host SUBCOMMAND [options]\n\nsubcommands:\n";
  for (const Subcommand& subcommand : kSubcommands)
    std::cout << "  " << subcommand.name << std::string(10 - std::strlen(subcommand.name), ' ')
              << subcommand.summary << '\n';
  std::cout << "\nvael-host SUBCOMMAND --help tells a subcommand's options.\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::span<char* const> arguments(argv, static_cast<std::size_t>(argc));
  if (arguments.size() < 2) return Report(kExitUsage, "no subcommand given (see vael-host --help)");
  const std::string name = arguments[1];
  if (name == "--help") {
    PrintUsage();
    return kExitSuccess;
  }
  for (const Subcommand& subcommand : kSubcommands)
    if (name == subcommand.name) return subcommand.run(arguments.subspan(2));
  return Report(kExitUsage, "unknown subcommand '" + name + "' (see vael-host --help)");
}
