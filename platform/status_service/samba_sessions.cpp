#include "platform/status_service/samba_sessions.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <deque>
#include <string>
#include <unordered_map>

namespace status_service {
namespace {

using Json = nlohmann::json;
using platform::OpenFileRecord;
using platform::ProtectionDegree;
using platform::SessionRecord;

// One open as Samba lists it, before it is joined to its session.
struct Open {
  OpenFileRecord record;
  std::string service_path;
  std::string session_key;  // serving process and user
};

struct Session {
  SessionRecord record;
  std::string id;
  std::string key;  // serving process and user
};

// What the report's tables hold, each entry taken out as soon as it has been read, so that no
// table is ever held whole (a map of 100,000 entries would cost more than linear time).
struct Tables {
  bool has_sessions = false;
  bool has_open_files = false;
  std::vector<Session> sessions;
  std::unordered_map<std::string, std::chrono::sys_seconds> first_connect;  // by session id
  // Chunked: a vector of 100,000 opens would be copied as it grows, in blocks the allocator
  // maps anew from the system each time.
  std::deque<Open> opens;
  bool truncated = false;
};

const Json* Member(const Json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(key);
  return found == object.end() ? nullptr : &*found;
}

std::string Text(const Json& object, const char* key) {
  const Json* value = Member(object, key);
  if (value == nullptr) return "";
  if (value->is_string()) return value->get<std::string>();
  return value->is_number() ? value->dump() : "";
}

bool Flag(const Json& object, const char* key) {
  const Json* value = Member(object, key);
  return value != nullptr && value->is_boolean() && value->get<bool>();
}

const Json& Part(const Json& object, const char* key) {
  static const Json kNothing;
  const Json* value = Member(object, key);
  return value == nullptr ? kNothing : *value;
}

// "2026-12-10T03:17:10.045874+00:00", with any offset from UTC; nothing for any other text.
std::optional<std::chrono::sys_seconds> IsoTime(const std::string& text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, consumed = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &year, &month, &day, &hour, &minute, &second,
                  &consumed) != 6) {
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)};
  if (!date.ok() || hour > 23 || minute > 59 || second > 60) return std::nullopt;
  const auto zone = text.find_first_of("+-Z", consumed);
  int sign = 1, offset_hours = 0, offset_minutes = 0;
  if (zone != std::string::npos && text[zone] != 'Z') {
    sign = text[zone] == '-' ? -1 : 1;
    if (std::sscanf(text.c_str() + zone + 1, "%2d:%2d", &offset_hours, &offset_minutes) != 2) return std::nullopt;
  }
  const auto offset = std::chrono::minutes(sign * (offset_hours * 60 + offset_minutes));
  return std::chrono::sys_days(date) + std::chrono::hours(hour) + std::chrono::minutes(minute) +
         std::chrono::seconds(second) - offset;
}

platform::Protection ProtectionOf(const Json& part) {
  static const std::unordered_map<std::string, ProtectionDegree> kDegrees{
      {"none", ProtectionDegree::kNone},
      {"partial", ProtectionDegree::kPartial},
      {"full", ProtectionDegree::kFull},
      {"anonymous", ProtectionDegree::kAnonymous}};
  const auto degree = kDegrees.find(Text(part, "degree"));
  const std::string cipher = Text(part, "cipher");
  return {degree == kDegrees.end() ? ProtectionDegree::kUnknown : degree->second, cipher == "-" ? "" : cipher};
}

std::string SessionKey(const Json& entry) { return Text(Part(entry, "server_id"), "pid") + "/" + Text(entry, "uid"); }

void TakeSession(Tables& tables, const Json& entry) {
  if (tables.sessions.size() == platform::kMostServerRecords) {
    tables.truncated = true;
    return;
  }
  SessionRecord record{Text(entry, "username"), Text(entry, "remote_machine"), Text(entry, "session_dialect"),
                       ProtectionOf(Part(entry, "encryption")), ProtectionOf(Part(entry, "signing")), {}, {}, {}};
  tables.sessions.push_back({std::move(record), Text(entry, "session_id"), SessionKey(entry)});
}

void TakeTreeConnection(Tables& tables, const Json& entry) {
  const auto connected_at = IsoTime(Text(entry, "connected_at"));
  if (!connected_at) return;
  const auto [earliest, added] = tables.first_connect.try_emplace(Text(entry, "session_id"), *connected_at);
  if (!added && *connected_at < earliest->second) earliest->second = *connected_at;
}

std::string Locks(const Json& open) {
  const std::string oplock = Text(Part(open, "oplock"), "text");
  if (!oplock.empty()) return oplock;
  const std::string lease = Text(Part(open, "lease"), "text");
  return lease.empty() ? "" : lease + " lease";
}

OpenFileRecord OpenRecord(const std::string& path, const Json& open) {
  const Json& access = Part(open, "access_mask");
  return {"",
          path,
          "",
          "",
          {Flag(access, "READ_DATA"), Flag(access, "WRITE_DATA") || Flag(access, "APPEND_DATA"), Flag(access, "DELETE")},
          Text(Part(open, "sharemode"), "text"),
          Locks(open),
          IsoTime(Text(open, "opened_at"))};
}

void TakeFile(Tables& tables, const Json& file) {
  const std::string service_path = Text(file, "service_path");
  const std::string path = Text(file, "filename");
  const Json& opens = Part(file, "opens");
  if (!opens.is_object()) return;
  for (const auto& open : opens) {
    if (tables.opens.size() == platform::kMostServerRecords) {
      tables.truncated = true;
      return;
    }
    tables.opens.push_back({OpenRecord(path, open), service_path, SessionKey(open)});
  }
}

// Takes each entry of a table out as it ends (depth 2: report, table, entry) and drops what
// nests deeper than the report can.
Json::parser_callback_t EntryTaker(Tables& tables, std::string& table) {
  return [&tables, &table](int depth, Json::parse_event_t event, Json& parsed) {
    using Event = Json::parse_event_t;
    if (event == Event::object_start || event == Event::array_start) return depth < kMostStatusDepth;
    if (event == Event::key && depth == 1) {
      table = parsed.get<std::string>();
      tables.has_sessions |= table == "sessions";
      tables.has_open_files |= table == "open_files";
    }
    if (event != Event::object_end || depth != 2) return true;
    if (table == "sessions") TakeSession(tables, parsed);
    if (table == "tcons") TakeTreeConnection(tables, parsed);
    if (table == "open_files") TakeFile(tables, parsed);
    return false;
  };
}

// The tables of the report, or the reason it has none.
std::optional<Tables> ReadTables(std::string_view report, std::string& problem) {
  Tables tables;
  std::string table;
  const Json root = Json::parse(report.begin(), report.end(), EntryTaker(tables, table), false);
  if (root.is_discarded() || !root.is_object()) {
    problem = "the status report is not valid JSON";
    return std::nullopt;
  }
  return tables;
}

template <typename Record>
platform::ServerReading<Record> Failed(std::string problem) {
  return {platform::ServerReadOutcome::kFailed, {}, false, std::move(problem)};
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The first share of each path.
std::unordered_map<std::string, std::string> SharesByPath(const std::vector<platform::SambaShare>& shares) {
  std::unordered_map<std::string, std::string> by_path;
  for (const auto& share : shares) {
    if (!share.path.empty()) by_path.try_emplace(WithoutTrailingSlash(share.path), share.name);
  }
  return by_path;
}

std::unordered_map<std::string, const Session*> SessionsByKey(const Tables& tables) {
  std::unordered_map<std::string, const Session*> by_key;
  for (const auto& session : tables.sessions) by_key.try_emplace(session.key, &session);
  return by_key;
}

}  // namespace

platform::SessionReading SessionsFromStatus(std::string_view report) {
  std::string problem;
  auto tables = ReadTables(report, problem);
  if (!tables) return Failed<SessionRecord>(problem);
  if (!tables->has_sessions) return Failed<SessionRecord>("the status report has no sessions table");
  std::unordered_map<std::string, std::int32_t> open_counts;
  for (const auto& open : tables->opens) ++open_counts[open.session_key];
  platform::SessionReading reading{platform::ServerReadOutcome::kRead, {}, tables->truncated, ""};
  reading.records.reserve(tables->sessions.size());
  for (auto& session : tables->sessions) {
    const auto connected = tables->first_connect.find(session.id);
    if (connected != tables->first_connect.end()) session.record.connected_at = connected->second;
    const auto count = open_counts.find(session.key);
    session.record.open_files = count == open_counts.end() ? 0 : count->second;
    reading.records.push_back(std::move(session.record));
  }
  return reading;
}

platform::OpenFileReading OpenFilesFromStatus(std::string_view report, const std::vector<platform::SambaShare>& shares,
                                              std::string_view share) {
  std::string problem;
  auto tables = ReadTables(report, problem);
  if (!tables) return Failed<OpenFileRecord>(problem);
  if (!tables->has_open_files) return Failed<OpenFileRecord>("the status report has no open files table");
  platform::OpenFileReading reading{platform::ServerReadOutcome::kRead, {}, tables->truncated, ""};
  const platform::SambaShare* wanted = share.empty() ? nullptr : platform::FindSambaShare(shares, share);
  if (!share.empty() && wanted == nullptr) return reading;
  const auto shares_by_path = SharesByPath(shares);
  const auto sessions = SessionsByKey(*tables);
  reading.records.reserve(tables->opens.size());
  for (auto& open : tables->opens) {
    const auto holder = shares_by_path.find(WithoutTrailingSlash(open.service_path));
    open.record.share = holder == shares_by_path.end() ? "" : holder->second;
    if (wanted != nullptr && open.record.share != wanted->name) continue;
    if (holder == shares_by_path.end()) open.record.path = open.service_path + "/" + open.record.path;
    const auto session = sessions.find(open.session_key);
    open.record.user = session == sessions.end() ? open.session_key.substr(open.session_key.find('/') + 1)
                                                 : session->second->record.user;
    if (session != sessions.end()) open.record.computer = session->second->record.computer;
    reading.records.push_back(std::move(open.record));
  }
  return reading;
}

}  // namespace status_service
