// The readers of the Samba server's text status reports ("smbstatus -S" and "smbstatus -p -n")
// and their join, on any bytes: up to four share names and the "-S" report as
// FuzzedDataProvider strings, then the "-p -n" report. Properties: every row belongs to one of
// the names, with a numeric process id and a machine word; every process maps a numeric id
// to a numeric user; the join keeps exactly the rows of the share asked for.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>

#include "fuzz/property.h"
#include "platform/netshare/share_connections.h"

namespace {

bool IsNumber(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string UserName(const std::string& user_id) { return "user" + user_id; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  std::vector<std::string> names(input.ConsumeIntegralInRange<std::size_t>(1, 4));
  for (std::string& name : names) name = input.ConsumeRandomLengthString(40);
  const std::string service_report = input.ConsumeRandomLengthString(1 << 16);
  const std::string process_report = input.ConsumeRemainingBytesAsString();

  const auto rows = netshare::ParseServiceRows(service_report, names);
  for (const auto& row : rows) {
    fuzz::Require(std::find(names.begin(), names.end(), row.service) != names.end(), "a row belongs to a name");
    fuzz::Require(IsNumber(row.pid), "a row's process id is a number");
    fuzz::Require(!row.machine.empty() && row.machine.find_first_of(" \t\n") == std::string::npos,
                  "a row's machine is one word");
  }
  const auto users = netshare::ParseProcessUsers(process_report);
  for (const auto& [process, user] : users) fuzz::Require(IsNumber(process) && IsNumber(user), "numeric ids");
  const auto connections = netshare::JoinConnections(rows, users, names[0], UserName);
  const auto of_share =
      std::count_if(rows.begin(), rows.end(), [&](const auto& row) { return row.service == names[0]; });
  fuzz::Require(static_cast<std::ptrdiff_t>(connections.size()) == of_share, "the join keeps the share's rows");
  return 0;
}
