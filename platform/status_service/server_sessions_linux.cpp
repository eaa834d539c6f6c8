// Linux: the sessions and open files come from the status service, which alone may read Samba's.
#include <pwd.h>
#include <unistd.h>

#include "platform/server_sessions.h"
#include "platform/status_service/record_wire.h"
#include "platform/status_service/status_client.h"

namespace platform {
namespace {

using Outcome = status_service::ServiceAnswer::Outcome;

std::string UserName() {
  const passwd* entry = getpwuid(geteuid());
  return entry != nullptr ? entry->pw_name : std::to_string(geteuid());
}

// What went wrong and what to do, in UTF-8, for an answer that holds no reading.
std::pair<ServerReadOutcome, std::string> Unanswered(const status_service::ServiceAnswer& answer,
                                                     const std::string& socket) {
  if (answer.outcome == Outcome::NotMember) {
    const std::string group = answer.group.empty() ? std::string(status_service::kDefaultSocketGroup) : answer.group;
    return {ServerReadOutcome::kAccessDenied,
            "Сеансы сервера Samba видны только группе " + group + " службы состояния sharemond. Добавьте "
            "пользователя в группу (sudo usermod -aG " + group + " " + UserName() + ") и войдите в систему заново."};
  }
  if (answer.outcome == Outcome::NoService) {
    return {ServerReadOutcome::kNoService, "Служба состояния sharemond не отвечает на сокете " + socket +
                                               ". Запустите её: sudo systemctl enable --now sharemond."};
  }
  return {ServerReadOutcome::kFailed, "Служба состояния sharemond не дала ответа: " + answer.problem};
}

// What the service itself says went wrong, before its reason (English, for the log).
std::string Lead(ServerReadOutcome outcome) {
  switch (outcome) {
    case ServerReadOutcome::kAccessDenied: return "Служба состояния sharemond не может читать Samba (работает не от root): ";
    case ServerReadOutcome::kNoService: return "Сервер Samba не запущен: ";
    default: return "Состояние сервера Samba не прочитано: ";
  }
}

rtl::Text Program(const std::string& utf8) { return rtl::Windows1251FromUtf8(utf8); }

void ToProgramText(SessionRecord& session) {
  for (auto* text : {&session.user, &session.computer, &session.dialect, &session.encryption.cipher,
                     &session.signing.cipher}) {
    *text = Program(*text);
  }
}

void ToProgramText(OpenFileRecord& file) {
  for (auto* text : {&file.share, &file.path, &file.user, &file.computer, &file.share_mode, &file.locks}) {
    *text = Program(*text);
  }
}

template <typename Record>
ServerReading<Record> Ask(const rtl::Text& share, status_service::RequestKind kind,
                          ServerReading<Record> (*decode)(std::string_view)) {
  const std::string socket = status_service::StatusSocketPath();
  const std::string name = rtl::Utf8FromWindows1251(share);
  // A name no request can carry names no share, so nobody holds a file on it.
  if (!name.empty() && !status_service::IsSendableShareName(name)) return {ServerReadOutcome::kRead, {}, false, ""};
  const auto answer = status_service::Ask(socket, name, kind);
  if (answer.outcome != Outcome::Answered) {
    const auto [outcome, error] = Unanswered(answer, socket);
    return {outcome, {}, false, Program(error)};
  }
  auto reading = decode(answer.report);
  if (!reading.Read()) reading.error = Program(Lead(reading.outcome) + reading.error);
  for (auto& record : reading.records) ToProgramText(record);
  return reading;
}

}  // namespace

SessionReading ReadSessions() { return Ask("", status_service::RequestKind::kSessions, status_service::DecodeSessions); }

OpenFileReading ReadOpenFiles(const rtl::Text& share) {
  return Ask(share, status_service::RequestKind::kOpenFiles, status_service::DecodeOpenFiles);
}

}  // namespace platform
