#include "app/help_face.h"

#include <string>

#include "app/poll_face.h"
#include "core/program_help.h"
#include "platform/data_directory.h"
#include "platform/standard_streams.h"
#include "platform/status_service/status_protocol.h"

int RunHelp(int /*argc*/, char* /*argv*/[]) {
  using core::HelpFace;
  std::string more(platform::DataDirectoryHelp());
  more += "The users of a share come from the status service sharemond, which only the members of its\ngroup (";
  more += status_service::kDefaultSocketGroup;
  more += ") may ask; netshare NAME prints the report it gives for one share.\n\n";
  const std::string help = core::ProgramHelp({
      {HelpFace::kWindow, HelpFace::kPoll, HelpFace::kListShares, HelpFace::kProbe, HelpFace::kRender},
      core::PollOptionSet::kAll,
      " (Samba)",
      more,
  });
  platform::Write(platform::Stream::kOut, help + "Polling without a window (--poll):\n" + PollHelpText());
  return 0;
}

int RunVersion(int /*argc*/, char* /*argv*/[]) { return core::PrintFaceOutput(core::VersionOutput()); }
