#include "platform/status_service/status_protocol.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "rtl/text.h"

namespace status_service {
namespace {

constexpr std::string_view kReportWord = "report ";
constexpr std::string_view kRefusedWord = "refused ";
constexpr std::string_view kSessionsLine = "sessions";
constexpr std::string_view kOpenFilesLine = "open-files";
constexpr std::string_view kOpenFilesWord = "open-files ";

bool IsControl(char32_t code_point) { return code_point < 0x20 || code_point == 0x7F; }

// A decimal number without sign or leading zeros, as the reply writes it; nothing otherwise.
std::optional<std::size_t> Decimal(std::string_view digits) {
  if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) return std::nullopt;
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

std::optional<Reply> ParseReportReply(std::string_view header, std::string_view body) {
  const auto blank = header.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const auto exit_code = Decimal(header.substr(0, blank));
  const auto length = Decimal(header.substr(blank + 1));
  if (!exit_code || !length || *exit_code > 255 || *length != body.size()) return std::nullopt;
  return Reply{false, static_cast<int>(*exit_code), std::string(body)};
}

bool IsPrintableAscii(std::string_view text) {
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

}  // namespace

std::string StatusSocketPath() {
  const char* path = std::getenv("SHAREMON_STATUS_SOCKET");
  return path != nullptr && *path != '\0' ? path : std::string(kDefaultSocketPath);
}

bool IsSendableShareName(std::string_view name) {
  // The longest request word, so that a name travels in every request that carries one.
  if (name.empty() || kOpenFilesWord.size() + name.size() + 1 > kMaxRequestBytes) return false;
  for (std::size_t pos = 0; pos < name.size();) {
    char32_t code_point = 0;
    const std::size_t length = rtl::DecodeUtf8(name, pos, code_point);
    if (length == 0 || IsControl(code_point)) return false;
    pos += length;
  }
  return true;
}

std::string EncodeRequest(std::string_view name, RequestKind kind) {
  switch (kind) {
    case RequestKind::kReport: break;
    case RequestKind::kSessions: return std::string(kSessionsLine) + "\n";
    case RequestKind::kOpenFiles: {
      std::string line(name.empty() ? kOpenFilesLine : kOpenFilesWord);
      line += name;
      line += '\n';
      return line;
    }
  }
  return std::string(kReportWord) + std::string(name) + "\n";
}

RequestProgress ProgressOf(std::string_view received) {
  const auto end = received.find('\n');
  if (end == std::string_view::npos) {
    return received.size() < kMaxRequestBytes ? RequestProgress::Incomplete : RequestProgress::TooLong;
  }
  return end < kMaxRequestBytes ? RequestProgress::Complete : RequestProgress::TooLong;
}

ParsedRequest ParseRequest(std::string_view request) {
  const auto end = request.find('\n');
  if (end == std::string_view::npos) return {"", "request without a line end", RequestKind::kReport};
  if (end + 1 > kMaxRequestBytes) return {"", "request too long", RequestKind::kReport};
  if (end + 1 != request.size()) return {"", "bytes after the request", RequestKind::kReport};
  const std::string_view line = request.substr(0, end);
  if (line == kSessionsLine) return {"", "", RequestKind::kSessions};
  if (line == kOpenFilesLine) return {"", "", RequestKind::kOpenFiles};
  const bool open_files = line.starts_with(kOpenFilesWord);
  if (!open_files && !line.starts_with(kReportWord)) return {"", "unknown request", RequestKind::kReport};
  const std::string_view name = line.substr(open_files ? kOpenFilesWord.size() : kReportWord.size());
  if (name.empty()) return {"", "empty share name", RequestKind::kReport};
  if (!IsSendableShareName(name)) return {"", "share name with control characters or invalid UTF-8", RequestKind::kReport};
  return {std::string(name), "", open_files ? RequestKind::kOpenFiles : RequestKind::kReport};
}

std::string EncodeReport(int exit_code, std::string_view report) {
  return std::string(kReportWord) + std::to_string(exit_code) + " " + std::to_string(report.size()) + "\n" +
         std::string(report);
}

std::string EncodeRefusal(std::string_view reason) { return std::string(kRefusedWord) + std::string(reason) + "\n"; }

std::optional<Reply> ParseReply(std::string_view bytes) {
  const auto end = bytes.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view header = bytes.substr(0, end);
  if (header.starts_with(kReportWord)) return ParseReportReply(header.substr(kReportWord.size()), bytes.substr(end + 1));
  const std::string_view reason = header.substr(std::min(header.size(), kRefusedWord.size()));
  if (!header.starts_with(kRefusedWord) || end + 1 != bytes.size() || reason.empty() || !IsPrintableAscii(reason)) {
    return std::nullopt;
  }
  return Reply{true, 0, std::string(reason)};
}

}  // namespace status_service
