// The reader of the Samba server's JSON status report on any bytes: first a share name
// (FuzzedDataProvider's string, ended by a backslash and one more byte), then the report.
// Properties: a report that reads gives at most one connection per tree connection of the
// report, each joined to the share asked for.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "fuzz/property.h"
#include "platform/netshare/json_reader.h"
#include "platform/netshare/share_connections.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string share = input.ConsumeRandomLengthString(64);
  const std::string report = input.ConsumeRemainingBytesAsString();
  const auto document = netshare::ParseJson(report);
  const auto connections = netshare::ConnectionsFromJson(report, share);
  if (!connections) return 0;
  fuzz::Require(document.has_value(), "connections come only from a report that reads as JSON");
  const netshare::JsonValue* tree_connections = document->Member("tcons");
  const std::size_t most = tree_connections != nullptr ? tree_connections->members.size() : 0;
  fuzz::Require(connections->size() <= most, "at most one connection per tree connection");
  return 0;
}
