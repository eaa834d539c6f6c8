// netshare NAME: prints, in code page 866, the report a Russian-language Windows system prints
// for its share query command ("net share NAME"), with the users section filled from the live
// state of the local Samba server. sharemon runs it for every probe of a share on Linux.
// Exit code 0 with the report, 2 with an error text, 1 for a wrong call.
//
// Samba shows its connections to root only, so netshare asks the status service (sharemond)
// when its socket is there and then runs no Samba tool itself. Without the service, root reads
// Samba directly; anyone else gets the access-denied report and a line on standard error
// saying what to do.
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/netshare/share_report.h"
#include "platform/netshare/share_status.h"
#include "platform/standard_streams.h"
#include "platform/status_service/status_client.h"
#include "platform/status_service/status_protocol.h"

namespace {

using Outcome = status_service::ServiceAnswer::Outcome;

// "netshare --help" (no share is called so); the installed manual page is made from it.
std::string Help() {
  using status_service::kDefaultSocketGroup, status_service::kDefaultSocketPath;
  return "Usage: netshare NAME\n"
         "\n"
         "Prints the report of the Samba share NAME in the form and code page (866) of the share query\n"
         "command of a Russian-language Windows system (net share NAME), with the users section filled\n"
         "from the live state of the local Samba server. sharemon runs it for every probe of a share.\n"
         "\n"
         "The report comes from the status service sharemond, on the socket SHAREMON_STATUS_SOCKET, else\n" +
         std::string(kDefaultSocketPath) + ", which only root and the members of the group " +
         std::string(kDefaultSocketGroup) +
         " may use.\n"
         "Without the service root reads Samba itself (the configuration SHAREMON_SMB_CONF, else Samba's\n"
         "default); anyone else gets the access-denied report and a line on standard error saying what\n"
         "to do.\n"
         "\n"
         "Exit status: 0 with the report, 2 with an error report, 1 when not called with one share name.\n";
}

int Print(const std::string& text, int exit_code) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  return exit_code;
}

std::string UserName() {
  const passwd* entry = getpwuid(geteuid());
  return entry != nullptr ? entry->pw_name : std::to_string(geteuid());
}

// The line that tells a user without rights why the connections stay unknown and what to do.
std::string AdviceFor(const status_service::ServiceAnswer& answer, const std::string& socket) {
  if (answer.outcome == Outcome::NotMember) {
    const std::string group(answer.group.empty() ? status_service::kDefaultSocketGroup : answer.group);
    return "netshare: not a member of group " + group + ", which may use the status service at " + socket +
           "; add the user (sudo usermod -aG " + group + " " + UserName() + ") and log in again.";
  }
  return "netshare: no status service at " + socket +
         ", and only root may read Samba's connections; start it (sudo systemctl start sharemond, or for a "
         "build tree sudo build/sharemond --socket-group \"$(id -gn)\").";
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) return Print(netshare::UsageReport(), 1);
  if (std::strcmp(argv[1], "--help") == 0) return Print(Help(), 0);
  // Samba's share names are UTF-8 text: a name that cannot travel to the service names no share.
  if (!status_service::IsSendableShareName(argv[1])) return Print(netshare::NoSuchShareReport(), 2);
  const std::string socket = status_service::StatusSocketPath();
  const auto answer = status_service::AskForReport(socket, argv[1]);
  if (answer.outcome == Outcome::Answered) return Print(answer.report, answer.exit_code);
  if (answer.outcome == Outcome::Failed) {
    platform::WriteErrorLine("netshare: the status service at " + socket + " failed: " + answer.problem);
    return Print(netshare::StatusUnreadableReport(), 2);
  }
  if (geteuid() != 0) {
    platform::WriteErrorLine(AdviceFor(answer, socket));
    return Print(netshare::AccessDeniedReport(), 2);
  }
  const auto reply = netshare::ReplyFor(netshare::ReadStatusSnapshot(platform::kToolTimeLimit), argv[1]);
  return Print(reply.report, reply.exit_code);
}
