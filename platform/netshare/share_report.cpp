#include "platform/netshare/share_report.h"

#include <algorithm>

#include "platform/share_report_layout.h"
#include "rtl/console_text.h"
#include "rtl/text.h"

namespace netshare {
namespace {

using namespace platform::share_report;

// Built in Windows-1251, where one character is one byte as in code page 866, so padding by
// bytes pads by characters.
rtl::Text Line(std::string_view label_utf8, const std::string& value_utf8) {
  rtl::Text line = rtl::Windows1251FromUtf8(std::string(label_utf8));
  line.resize(std::max(line.size(), kLabelWidth), ' ');
  return line + rtl::Windows1251FromUtf8(value_utf8);
}

std::string Console(const rtl::Text& text) { return rtl::ConsoleTextFromWindows1251(text); }

std::string ConsoleLines(const std::vector<std::string_view>& lines_utf8) {
  rtl::Text text;
  for (const auto line : lines_utf8) text += rtl::Windows1251FromUtf8(std::string(line)) + "\r\n";
  return Console(text);
}

// The probe counts only names of kShortestUserName characters or more (in the report's one
// byte per character); a shorter one, such as "a@::1", is padded so that it still counts.
std::string UserToken(const Connection& connection) {
  std::string token = connection.user + "@" + connection.machine;
  const std::size_t characters = rtl::Windows1251FromUtf8(token).size();
  if (characters < kShortestUserName) token.append(kShortestUserName - characters, '_');
  return token;
}

}  // namespace

std::string ShareReport(const std::string& name, const std::string& path, const std::string& remark,
                        const std::vector<Connection>& connections) {
  std::string users;
  for (const auto& connection : connections) users += UserToken(connection) + " ";
  rtl::Text text;
  text += Line("Имя общего ресурса", name) + "\r\n";
  text += Line("Путь", path) + "\r\n";
  text += Line("Заметка", remark) + "\r\n";
  text += Line("Максимум пользователей", "Нет ограничения") + "\r\n";
  text += Line(kUsersLabel, users) + std::string(kUsersSectionEnd);
  text += Line(kCachingLabel, "Кэширование документов вручную") + "\r\n";
  text += rtl::Windows1251FromUtf8("Команда выполнена успешно.") + "\r\n\r\n";
  return Console(text);
}

std::string AccessDeniedReport() { return ConsoleLines({kAccessDeniedLine, "", "Отказано в доступе.", ""}); }

std::string ServerNotRunningReport() {
  return ConsoleLines({"Системная ошибка 2114.", "", "Служба сервера не запущена.", ""});
}

std::string StatusUnreadableReport() {
  return ConsoleLines({"Не удается получить сведения о подключениях к серверу Samba.", ""});
}

std::string NoSuchShareReport() { return ConsoleLines({"Данный общий ресурс не существует.", ""}); }

std::string ConfigurationUnreadableReport() {
  return ConsoleLines({"Не удается прочитать конфигурацию сервера Samba.", ""});
}

std::string UsageReport() { return ConsoleLines({"Синтаксис: netshare ИМЯ_РЕСУРСА", ""}); }

}  // namespace netshare
