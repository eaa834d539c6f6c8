// "sharemon --help" and "sharemon --version", the same texts on Linux and Windows: the usage
// line and option help of each face a program has, what the program does, and then the
// paragraphs that are the program's own. The Linux package's manual page is made from this
// help (help2man), so it is the one description of the command line. Texts in UTF-8 with "\n"
// after each line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/command_faces.h"
#include "core/poll_options.h"

namespace core {

// The faces, in the order the help names them.
enum class HelpFace { kWindow, kPoll, kListShares, kProbe, kRender };

// What differs between the programs' helps.
struct HelpFacts {
  std::vector<HelpFace> faces;        // the faces the program has, in the order above
  PollOptionSet poll_options;         // those of --poll the program offers
  std::string_view server;            // the kind of file server, " (Samba)", or empty
  std::string_view more;              // the program's own paragraphs, each ending in a blank line
};

// The whole help in the form help2man reads: "Usage:" and "  or:" lines, a blank line, what
// the program does, its options, then facts.more.
std::string ProgramHelp(const HelpFacts& facts);

// "--version": "sharemon " + the version on standard output, exit code 0.
FaceOutput VersionOutput();

}  // namespace core
