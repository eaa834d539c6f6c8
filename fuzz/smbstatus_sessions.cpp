// The reader of Samba's sessions and open files on any bytes: first a share name
// (FuzzedDataProvider's string, ended by a backslash and one more byte), then the report.
// Properties: a reading keeps at most the records it may; the open files of a share asked for
// all lie on it; what the service sends of a reading reads back as the same number of records.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "fuzz/property.h"
#include "platform/status_service/record_wire.h"
#include "platform/status_service/samba_sessions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string share = input.ConsumeRandomLengthString(64);
  const std::string report = input.ConsumeRemainingBytesAsString();
  const std::vector<platform::SambaShare> shares{{"public", "/srv/public", ""}, {"docs", "/srv/docs/", ""}};
  const auto sessions = status_service::SessionsFromStatus(report);
  const auto files = status_service::OpenFilesFromStatus(report, shares, share);
  fuzz::Require(sessions.records.size() <= platform::kMostServerRecords, "at most the records a reading may keep");
  fuzz::Require(sessions.Read() || sessions.records.empty(), "a failed reading has no records");
  const auto* wanted = share.empty() ? nullptr : platform::FindSambaShare(shares, share);
  for (const auto& file : files.records) {
    fuzz::Require(wanted == nullptr || file.share == wanted->name, "the open files of a share lie on it");
  }
  const auto sent = status_service::DecodeSessions(status_service::EncodeReading(sessions, 1u << 24));
  fuzz::Require(sent.outcome == sessions.outcome && sent.records.size() == sessions.records.size(),
                "a reading reads back whole from the wire");
  return 0;
}
