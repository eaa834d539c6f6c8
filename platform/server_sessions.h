// Who is connected to this computer's shares and what they hold open, as the system's file
// server tells it: sessions and open files as plain records. Linux asks the status service
// (sharemond), which reads Samba's status; Windows asks NETAPI32.DLL (NetSessionEnum at level
// 502, NetFileEnum at level 3), which answers administrators only. Texts are program text
// (Windows-1251; a character it cannot hold becomes "?"); control characters, tabs, quotes and
// line breaks in names are kept as they are: escaping is for whoever prints them. A failed
// reading gives no records and says why; whatever the system handed out is given back.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "rtl/text.h"

namespace platform {

// How a reading ended.
enum class ServerReadOutcome {
  kRead,          // the records are the server's answer (none is an answer too)
  kAccessDenied,  // the caller may not see them (Windows: no administrator; Linux: not in the
                  // status service's group)
  kNoService,     // nothing answers (Linux: no status service; Windows: the server service stopped)
  kFailed,        // any other failure: the error says what
};

// A short fixed name of the outcome ("read", "access_denied", "no_service", "failed"), for log
// lines and metric labels.
const char* ServerReadOutcomeName(ServerReadOutcome outcome);

// How much of a session's traffic is signed or encrypted.
enum class ProtectionDegree {
  kUnknown,    // the system does not say (Windows)
  kNone,
  kPartial,    // some of it (Samba: signing or encryption offered, not required)
  kFull,
  kAnonymous,  // Samba: an anonymous session, which cannot be signed
};

// A short fixed name of the degree ("unknown", "none", "partial", "full", "anonymous"), for
// metric labels and the command line.
const char* ProtectionDegreeName(ProtectionDegree degree);

struct Protection {
  ProtectionDegree degree = ProtectionDegree::kUnknown;
  rtl::Text cipher;  // e.g. "AES-128-GCM"; "" when none or not told
};

struct SessionRecord {
  rtl::Text user;
  rtl::Text computer;  // the client's name or address as the server knows it
  // Linux: the dialect Samba speaks with the client ("SMB3_11", "NT1" for SMB1);
  // Windows: the client type the client gave.
  rtl::Text dialect;
  Protection encryption;
  Protection signing;
  std::optional<std::chrono::sys_seconds> connected_at;  // UTC; absent when not told
  std::optional<std::int64_t> idle_seconds;              // absent when the system does not give it
  std::optional<std::int32_t> open_files;                // absent when the system does not give it
};

// What an open asked for, as the client opened the file.
struct FileAccess {
  bool read = false;
  bool write = false;
  bool erase = false;  // delete
  bool operator==(const FileAccess&) const = default;
};

struct OpenFileRecord {
  rtl::Text share;     // "" when the system does not tell which share holds the file
  rtl::Text path;      // relative to the share, "/" between the parts (the share's own path
                       // when the share is not known)
  rtl::Text user;
  rtl::Text computer;  // "" when not told (Windows)
  FileAccess access;
  rtl::Text share_mode;  // what others may do meanwhile, e.g. "R", "RW", "RWD", "" for nothing
  rtl::Text locks;       // Linux: the oplock or lease ("BATCH", "RWH lease"); Windows: the lock count
  std::optional<std::chrono::sys_seconds> opened_at;  // UTC; absent when not told (Windows)
};

// The most records one reading gives; a reading of more keeps the first ones and says so.
inline constexpr std::size_t kMostServerRecords = 100000;

template <typename Record>
struct ServerReading {
  ServerReadOutcome outcome = ServerReadOutcome::kFailed;
  std::vector<Record> records;
  bool truncated = false;  // the server had more than kMostServerRecords (or more than an answer holds)
  // Not kRead: what went wrong and, where there is something to do, what to do (program text).
  rtl::Text error;

  bool Read() const { return outcome == ServerReadOutcome::kRead; }
};

using SessionReading = ServerReading<SessionRecord>;
using OpenFileReading = ServerReading<OpenFileRecord>;

// The sessions of this computer's file server. Blocks for at most the time the system's
// reader allows (Linux: the status service's client time limit); call it off the window's
// thread. May be called from any thread.
SessionReading ReadSessions();

// The files open on share (Windows-1251; "" for all shares). A share nobody holds a file of,
// or that does not exist, gives kRead and no records. Blocks like ReadSessions.
OpenFileReading ReadOpenFiles(const rtl::Text& share);

}  // namespace platform
