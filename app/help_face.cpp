#include "app/help_face.h"

#include <cstdio>
#include <string>

#include "app/poll_face.h"
#include "core/version.h"
#include "core/poll_options.h"
#include "platform/standard_streams.h"
#include "platform/status_service/status_protocol.h"

namespace {

// Usage lines in the form help2man reads: "Usage:" then "  or:" lines, a blank line, the text.
// The --poll line comes from the options' table, between the first usage line and these.
const char kOtherUsages[] =
    "  or:  sharemon --list-shares\n"
    "  or:  sharemon --probe NAME\n"
    "  or:  sharemon --render TABLEFILE --share NAME --out FILE.png [--size WxH]\n"
    "\n"
    "Watches how many users are connected to the shares of this computer's file server (Samba):\n"
    "keeps a watch list, polls every watched share at a set interval, keeps a table of the counts,\n"
    "saves it as a comma-separated text file and charts one share's history.\n"
    "\n"
    "Without options the window opens (its interface is in Russian); a TABLEFILE is loaded as\n"
    "its command \"Загрузить файл\" loads one.\n"
    "\n"
    "Options:\n"
    "  --poll         poll the watch list without a window, write the table files and serve\n"
    "                 Prometheus metrics (its options below)\n"
    "  --list-shares  print the computer's shares, one name per line\n"
    "  --probe NAME   print how many users the share NAME has, a tab and their names\n"
    "  --render       draw the history of the share NAME in TABLEFILE as a PNG file\n"
    "                 (817x250 pixels unless --size says otherwise)\n"
    "  -h, --help     print this help\n"
    "  --version      print the version\n"
    "\n"
    "Files: the watch list splist.txt and the table files list_<date>_<time>.txt lie in the data\n"
    "directory: beside the program when it runs from its build tree; for an installed copy the\n"
    "user's data directory, ~/.local/share/sharemon.\n"
    "\n"
    "The users of a share come from the status service sharemond, which only the members of its\n"
    "group (";
const char kAfterGroup[] =
    ") may ask; netshare NAME prints the report it gives for one share.\n"
    "\n"
    "Polling without a window (--poll):\n";

}  // namespace

int RunHelp(int /*argc*/, char* /*argv*/[]) {
  const std::string poll_usage = core::PollUsageLine(core::PollOptionSet::kAll);
  platform::Write(platform::Stream::kOut, "Usage: sharemon [TABLEFILE]\n  or:  sharemon " + poll_usage + "\n" +
                                              kOtherUsages + std::string(status_service::kDefaultSocketGroup) +
                                              kAfterGroup + PollHelpText());
  return 0;
}

int RunVersion(int /*argc*/, char* /*argv*/[]) {
  std::printf("sharemon %s\n", kProgramVersion);
  return 0;
}
