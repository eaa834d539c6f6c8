#include "platform/netshare/share_connections.h"

#include <sstream>
#include <unordered_map>

#include "platform/netshare/json_reader.h"

namespace netshare {
namespace {

bool IsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

// The words of a text split at blanks.
std::vector<std::string> Words(std::string_view text) {
  std::istringstream stream{std::string(text)};
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

// When line is name + blanks + pid + blanks + machine ..., the row it describes.
std::optional<ServiceRow> RowFor(std::string_view line, const std::string& name) {
  if (!line.starts_with(name) || line.size() <= name.size() || line[name.size()] != ' ') return std::nullopt;
  const auto rest = Words(line.substr(name.size()));
  if (rest.size() < 2 || !IsDigits(rest[0])) return std::nullopt;
  return ServiceRow{name, rest[0], rest[1]};
}

// The sessions by id, looked up once per connection: a scan of the sessions for each one
// made a report of many connections quadratic. Of equal ids the first counts, as for Member.
std::unordered_map<std::string_view, const JsonValue*> SessionsById(const JsonValue* sessions) {
  std::unordered_map<std::string_view, const JsonValue*> index;
  if (sessions == nullptr) return index;
  index.reserve(sessions->members.size());
  for (const auto& [id, session] : sessions->members) index.try_emplace(id, &session);
  return index;
}

}  // namespace

std::optional<ConnectionsByService> ConnectionsFromJson(std::string_view report) {
  const auto document = ParseJson(report);
  if (!document || document->kind != JsonValue::Kind::Object) return std::nullopt;
  const JsonValue* sessions = document->Member("sessions");
  const JsonValue* tree_connections = document->Member("tcons");
  // A report without connections may leave out both tables.
  if (document->Member("version") == nullptr && sessions == nullptr && tree_connections == nullptr) {
    return std::nullopt;
  }
  ConnectionsByService connections;
  if (tree_connections == nullptr) return connections;
  const auto sessions_by_id = SessionsById(sessions);
  for (const auto& [id, connection] : tree_connections->members) {
    auto& of_service = connections[connection.MemberText("service")];
    const auto session = sessions_by_id.find(connection.MemberText("session_id"));
    if (session == sessions_by_id.end()) {
      of_service.push_back({"", connection.MemberText("machine")});
    } else {
      of_service.push_back({session->second->MemberText("username"), session->second->MemberText("remote_machine")});
    }
  }
  return connections;
}

std::optional<std::vector<Connection>> ConnectionsFromJson(std::string_view report, std::string_view share) {
  auto connections = ConnectionsFromJson(report);
  if (!connections) return std::nullopt;
  const auto found = connections->find(share);
  if (found == connections->end()) return std::vector<Connection>{};
  return std::move(found->second);
}

std::vector<ServiceRow> ParseServiceRows(std::string_view report, const std::vector<std::string>& share_names) {
  std::vector<ServiceRow> rows;
  for (const auto line : Lines(report)) {
    std::optional<ServiceRow> best;
    for (const auto& name : share_names) {
      if (best && best->service.size() >= name.size()) continue;
      if (auto row = RowFor(line, name)) best = std::move(row);
    }
    if (best) rows.push_back(std::move(*best));
  }
  return rows;
}

std::map<std::string, std::string> ParseProcessUsers(std::string_view report) {
  std::map<std::string, std::string> users;
  for (const auto line : Lines(report)) {
    const auto words = Words(line);
    if (words.size() >= 2 && IsDigits(words[0]) && IsDigits(words[1])) users.emplace(words[0], words[1]);
  }
  return users;
}

std::vector<Connection> JoinConnections(const std::vector<ServiceRow>& rows,
                                        const std::map<std::string, std::string>& process_users,
                                        std::string_view share,
                                        std::string (*user_name)(const std::string& user_id)) {
  std::vector<Connection> connections;
  for (const auto& row : rows) {
    if (row.service != share) continue;
    const auto user = process_users.find(row.pid);
    connections.push_back({user == process_users.end() ? "" : user_name(user->second), row.machine});
  }
  return connections;
}

}  // namespace netshare
