#include "platform/netshare/share_report.h"

#include <algorithm>

#include "rtl/console_text.h"
#include "rtl/text.h"

namespace netshare {
namespace {

constexpr std::size_t kLabelWidth = 29;

// Built in Windows-1251, where one character is one byte as in code page 866, so padding by
// bytes pads by characters.
rtl::Text Line(const char* label_utf8, const std::string& value_utf8) {
  rtl::Text line = rtl::Windows1251FromUtf8(label_utf8);
  line.resize(std::max(line.size(), kLabelWidth), ' ');
  return line + rtl::Windows1251FromUtf8(value_utf8);
}

std::string Console(const rtl::Text& text) { return rtl::ConsoleTextFromWindows1251(text); }

std::string ConsoleLines(const std::vector<const char*>& lines_utf8) {
  rtl::Text text;
  for (const char* line : lines_utf8) text += rtl::Windows1251FromUtf8(line) + "\r\n";
  return Console(text);
}

}  // namespace

std::string ShareReport(const std::string& name, const std::string& path, const std::string& remark,
                        const std::vector<Connection>& connections) {
  std::string users;
  for (const auto& connection : connections) users += connection.user + "@" + connection.machine + " ";
  rtl::Text text;
  text += Line("Имя общего ресурса", name) + "\r\n";
  text += Line("Путь", path) + "\r\n";
  text += Line("Заметка", remark) + "\r\n";
  text += Line("Максимум пользователей", "Нет ограничения") + "\r\n";
  text += Line("Пользователи", users) + "\r\n\r\n\r\n";
  text += Line("Кэширование", "Кэширование документов вручную") + "\r\n";
  text += rtl::Windows1251FromUtf8("Команда выполнена успешно.") + "\r\n\r\n";
  return Console(text);
}

std::string AccessDeniedReport() { return ConsoleLines({"Системная ошибка 5.", "", "Отказано в доступе.", ""}); }

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
