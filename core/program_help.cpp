#include "core/program_help.h"

#include <algorithm>

#include "core/version.h"

namespace core {
namespace {

bool Has(const HelpFacts& facts, HelpFace face) {
  return std::find(facts.faces.begin(), facts.faces.end(), face) != facts.faces.end();
}

std::string UsageLines(const HelpFacts& facts) {
  const std::pair<HelpFace, std::string> usages[] = {
      {HelpFace::kWindow, "[TABLEFILE]"},
      {HelpFace::kPoll, PollUsageLine(facts.poll_options)},
      {HelpFace::kListShares, "--list-shares"},
      {HelpFace::kProbe, "--probe NAME"},
      {HelpFace::kRender, "--render TABLEFILE --share NAME --out FILE.png [--size WxH]"},
  };
  std::string lines;
  for (const auto& [face, usage] : usages) {
    if (Has(facts, face)) lines += (lines.empty() ? "Usage: sharemon " : "  or:  sharemon ") + usage + "\n";
  }
  return lines;
}

std::string OptionLines(const HelpFacts& facts) {
  const bool metrics = facts.poll_options == PollOptionSet::kAll;
  const std::pair<HelpFace, std::string> options[] = {
      {HelpFace::kPoll, metrics ? "  --poll         poll the watch list without a window, write the table files and serve\n"
                                  "                 Prometheus metrics (its options below)\n"
                                : "  --poll         poll the watch list without a window and write the table files (its\n"
                                  "                 options below)\n"},
      {HelpFace::kListShares, "  --list-shares  print the computer's shares, one name per line\n"},
      {HelpFace::kProbe, "  --probe NAME   print how many users the share NAME has, a tab and their names\n"},
      {HelpFace::kRender,
       "  --render       draw the history of the share NAME in TABLEFILE as a PNG file\n"
       "                 (817x250 pixels unless --size says otherwise)\n"},
  };
  std::string lines = "Options:\n";
  for (const auto& [face, text] : options) {
    if (Has(facts, face)) lines += text;
  }
  return lines + "  -h, --help     print this help\n  --version      print the version\n\n";
}

}  // namespace

std::string ProgramHelp(const HelpFacts& facts) {
  std::string help = UsageLines(facts) + "\n";
  help += "Watches how many users are connected to the shares of this computer's file server";
  help += std::string(facts.server) + ":\n";
  help +=
      "keeps a watch list, polls every watched share at a set interval, keeps a table of the counts,\n"
      "saves it as a comma-separated text file and charts one share's history.\n"
      "\n";
  if (Has(facts, HelpFace::kWindow)) {
    help +=
        "Without options the window opens (its interface is in Russian); a TABLEFILE is loaded as\n"
        "its command \"Загрузить файл\" loads one.\n"
        "\n";
  }
  return help + OptionLines(facts) + std::string(facts.more);
}

FaceOutput VersionOutput() { return {0, std::string("sharemon ") + kProgramVersion + "\n", ""}; }

}  // namespace core
