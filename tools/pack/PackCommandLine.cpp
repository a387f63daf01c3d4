#include "pack/PackCommandLine.h"

#include <algorithm>
#include <map>

const char* const kPackUsage =
    "usage: torvix-pack [--strict] ARCHIVE.zip FOLDER\n"
    "                                (build ARCHIVE.zip from the .xml and .preset files in FOLDER;\n"
    "                                 --strict refuses to pack when there are warnings)\n"
    "       torvix-pack --list ARCHIVE   (list the members, presets as text)\n"
    "       torvix-pack --explain FILE   (show the evaluation chain and buffers of a description)\n"
    "       torvix-pack --dot FILE       (write the graph of a description as Graphviz DOT)\n"
    "       torvix-pack --help           (print this text)\n";

namespace {

const std::map<std::string, PackCommandLine::Mode> kFileModes{{"--list", PackCommandLine::Mode::kList},
                                                              {"--explain", PackCommandLine::Mode::kExplain},
                                                              {"--dot", PackCommandLine::Mode::kDot}};

bool isOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

}  // namespace

PackCommandLine parsePackCommandLine(const std::vector<std::string>& arguments) {
  PackCommandLine command;
  if (std::any_of(arguments.begin(), arguments.end(),
                  [](const std::string& argument) { return argument == "--help" || argument == "-h"; }))
    return command;
  std::vector<std::string> operands;
  for (const std::string& argument : arguments) {
    const auto fileMode = kFileModes.find(argument);
    if (argument == "--strict") {
      command.strict = true;
    } else if (fileMode != kFileModes.end() && command.mode == PackCommandLine::Mode::kHelp) {
      command.mode = fileMode->second;
    } else if (isOption(argument)) {
      throw PackUsageError("unknown option " + argument);
    } else {
      operands.push_back(argument);
    }
  }
  const bool packs = command.mode == PackCommandLine::Mode::kHelp;
  if (operands.size() != (packs ? 2u : 1u)) throw PackUsageError("wrong number of arguments");
  if (command.strict && !packs) throw PackUsageError("--strict applies to packing only");
  if (packs) {
    command.mode = PackCommandLine::Mode::kPack;
    command.folder = operands[1];
  }
  command.target = operands[0];
  return command;
}
