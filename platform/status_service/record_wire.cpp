#include "platform/status_service/record_wire.h"

#include <nlohmann/json.hpp>

#include <array>

namespace status_service {
namespace {

using Json = nlohmann::json;
using platform::OpenFileRecord;
using platform::ProtectionDegree;
using platform::ServerReadOutcome;
using platform::SessionRecord;

constexpr std::array kOutcomes{ServerReadOutcome::kRead, ServerReadOutcome::kAccessDenied,
                               ServerReadOutcome::kNoService, ServerReadOutcome::kFailed};
constexpr std::array kDegrees{ProtectionDegree::kUnknown, ProtectionDegree::kNone, ProtectionDegree::kPartial,
                              ProtectionDegree::kFull, ProtectionDegree::kAnonymous};

// Texts are sent as they are; bytes that are no UTF-8 become U+FFFD rather than failing the reply.
std::string Dumped(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

template <typename Number>
Json Optional(const std::optional<Number>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json Optional(const std::optional<std::chrono::sys_seconds>& time) {
  return time ? Json(time->time_since_epoch().count()) : Json(nullptr);
}

std::string AccessLetters(const platform::FileAccess& access) {
  std::string letters;
  for (const auto& [held, letter] : {std::pair{access.read, 'R'}, {access.write, 'W'}, {access.erase, 'D'}}) {
    if (held) letters += letter;
  }
  return letters;
}

Json Encoded(const SessionRecord& session) {
  return Json::array({session.user, session.computer, session.dialect,
                      platform::ProtectionDegreeName(session.encryption.degree), session.encryption.cipher,
                      platform::ProtectionDegreeName(session.signing.degree), session.signing.cipher,
                      Optional(session.connected_at), Optional(session.idle_seconds), Optional(session.open_files)});
}

Json Encoded(const OpenFileRecord& file) {
  return Json::array({file.share, file.path, file.user, file.computer, AccessLetters(file.access), file.share_mode,
                      file.locks, Optional(file.opened_at)});
}

template <typename Record>
std::string Encode(const platform::ServerReading<Record>& reading, std::size_t most_bytes) {
  std::string body = "{\"outcome\":" + Dumped(platform::ServerReadOutcomeName(reading.outcome)) +
                     ",\"error\":" + Dumped(reading.error) + ",\"records\":[";
  // Room for the closing part, which is at most this long.
  const std::size_t ending = std::string_view("],\"truncated\":false}").size();
  bool truncated = reading.truncated;
  for (const auto& record : reading.records) {
    std::string item(body.back() == '[' ? "" : ",");
    item += Dumped(Encoded(record));
    if (body.size() + item.size() + ending > most_bytes) {
      truncated = true;
      break;
    }
    body += item;
  }
  return body + "],\"truncated\":" + (truncated ? "true" : "false") + "}";
}

template <typename Value, std::size_t kCount, typename Name>
std::optional<Value> ByName(const std::array<Value, kCount>& values, Name name, const std::string& text) {
  for (const Value value : values) {
    if (text == name(value)) return value;
  }
  return std::nullopt;
}

std::optional<std::chrono::sys_seconds> Time(const Json& value) {
  if (value.is_null()) return std::nullopt;
  return std::chrono::sys_seconds(std::chrono::seconds(value.get<std::int64_t>()));
}

template <typename Count>
std::optional<Count> Number(const Json& value) {
  if (value.is_null()) return std::nullopt;
  return value.get<Count>();
}

platform::Protection ProtectionFrom(const Json& degree, const Json& cipher) {
  const auto known = ByName(kDegrees, platform::ProtectionDegreeName, degree.get<std::string>());
  return {known.value_or(ProtectionDegree::kUnknown), cipher.get<std::string>()};
}

void Decode(const Json& item, SessionRecord& session) {
  session = {item.at(0).get<std::string>(), item.at(1).get<std::string>(), item.at(2).get<std::string>(),
             ProtectionFrom(item.at(3), item.at(4)), ProtectionFrom(item.at(5), item.at(6)),
             Time(item.at(7)), Number<std::int64_t>(item.at(8)), Number<std::int32_t>(item.at(9))};
}

void Decode(const Json& item, OpenFileRecord& file) {
  const std::string access = item.at(4).get<std::string>();
  const auto holds = [&](char letter) { return access.find(letter) != std::string::npos; };
  file = {item.at(0).get<std::string>(), item.at(1).get<std::string>(), item.at(2).get<std::string>(),
          item.at(3).get<std::string>(), {holds('R'), holds('W'), holds('D')}, item.at(5).get<std::string>(),
          item.at(6).get<std::string>(), Time(item.at(7))};
}

template <typename Record>
platform::ServerReading<Record> DecodeBody(std::string_view body) {
  platform::ServerReading<Record> reading;
  try {
    const Json root = Json::parse(body);
    const auto outcome = ByName(kOutcomes, platform::ServerReadOutcomeName, root.at("outcome").get<std::string>());
    if (!outcome) throw std::invalid_argument("unknown outcome");
    reading.error = root.at("error").get<std::string>();
    reading.truncated = root.at("truncated").get<bool>();
    for (const auto& item : root.at("records")) Decode(item, reading.records.emplace_back());
    reading.outcome = *outcome;
  } catch (const std::exception& error) {
    return {ServerReadOutcome::kFailed, {}, false, std::string("the service's reply is malformed: ") + error.what()};
  }
  return reading;
}

}  // namespace

std::string EncodeReading(const platform::SessionReading& reading, std::size_t most_bytes) {
  return Encode(reading, most_bytes);
}

std::string EncodeReading(const platform::OpenFileReading& reading, std::size_t most_bytes) {
  return Encode(reading, most_bytes);
}

platform::SessionReading DecodeSessions(std::string_view body) { return DecodeBody<SessionRecord>(body); }

platform::OpenFileReading DecodeOpenFiles(std::string_view body) { return DecodeBody<OpenFileRecord>(body); }

}  // namespace status_service
