// The Windows reading of sessions and open files: NETAPI32.DLL's NetSessionEnum (level 502)
// and NetFileEnum (level 3), with the shares' folders from NetShareEnum (level 2) to tell
// which share holds an open file.
#include <algorithm>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net_api.h"
#include "platform/server_sessions.h"
#include "platform/system_text.h"

namespace platform {
namespace {

// What one call asks for: the system answers ERROR_MORE_DATA past it and goes on from the
// resume handle at the next call.
constexpr DWORD kPageBytes = 64 * 1024;

struct PagesRead {
  DWORD result = NERR_Success;
  bool truncated = false;  // take refused a record
};

// Calls `call` (buffer, entries read, total entries) -> result until the system has handed
// out every record, handing each to take, which returns false when it can hold no more.
template <typename Record, typename Call, typename Take>
PagesRead ReadPages(const NetApi& api, Call call, Take take) {
  NetBuffer buffer(api);
  for (;;) {
    DWORD read = 0;
    DWORD total = 0;
    const DWORD result = call(buffer.Fill(), &read, &total);
    if (result != NERR_Success && result != ERROR_MORE_DATA) return {result};
    for (DWORD i = 0; i < read; ++i) {
      if (!take(buffer.Records<Record>()[i])) return {NERR_Success, true};
    }
    // A page of nothing would be asked for again without end.
    if (result == NERR_Success || read == 0) return {result};
  }
}

template <typename Record>
bool Append(std::vector<Record>& records, Record record) {
  if (records.size() >= kMostServerRecords) return false;
  records.push_back(std::move(record));
  return true;
}

rtl::Text Named(const wchar_t* wide) { return wide == nullptr ? rtl::Text() : ProgramText(wide); }

rtl::Text Message(const char* utf8) { return rtl::Windows1251FromUtf8(utf8); }

ServerReadOutcome OutcomeOf(DWORD result) {
  if (result == ERROR_ACCESS_DENIED) return ServerReadOutcome::kAccessDenied;
  if (result == NERR_ServerNotStarted) return ServerReadOutcome::kNoService;
  return ServerReadOutcome::kFailed;
}

rtl::Text ErrorText(DWORD result, const char* function) {
  if (result == ERROR_ACCESS_DENIED) {
    return Message("Нет доступа: сеансы и открытые файлы видит только администратор. Запустите sharemon "
                   "от имени администратора (щелчок правой кнопкой — «Запуск от имени администратора»).");
  }
  if (result == NERR_ServerNotStarted) {
    return Message("Служба «Сервер» (LanmanServer) не запущена: запустите её в оснастке «Службы» (services.msc).");
  }
  return rtl::Text(function) + Message(": ошибка Windows ") + std::to_string(result);
}

template <typename Record>
ServerReading<Record> Failure(DWORD result, const char* function) {
  ServerReading<Record> reading;
  reading.outcome = OutcomeOf(result);
  reading.error = ErrorText(result, function);
  return reading;
}

template <typename Record>
ServerReading<Record> Missing(const char* function) {
  ServerReading<Record> reading;
  reading.error = Message("Нет библиотеки NETAPI32.DLL или в ней нет функции ") + function;
  return reading;
}

template <typename Record>
ServerReading<Record> Finished(PagesRead pages, std::vector<Record> records, const char* function) {
  if (pages.result != NERR_Success) return Failure<Record>(pages.result, function);
  ServerReading<Record> reading;
  reading.outcome = ServerReadOutcome::kRead;
  reading.records = std::move(records);
  reading.truncated = pages.truncated;
  return reading;
}

// The server names a client in the UNC form, \\PC-01 or \\10.0.0.5; people know it without
// the backslashes.
rtl::Text ComputerName(const wchar_t* unc) {
  std::wstring_view name = unc == nullptr ? L"" : unc;
  while (name.starts_with(L'\\')) name.remove_prefix(1);
  return ProgramText(name);
}

SessionRecord SessionOf(const SESSION_INFO_502& info, std::chrono::sys_seconds now) {
  SessionRecord session;
  session.user = Named(info.sesi502_username);
  session.computer = ComputerName(info.sesi502_cname);
  session.dialect = Named(info.sesi502_cltype_name);
  session.connected_at = now - std::chrono::seconds(info.sesi502_time);
  session.idle_seconds = info.sesi502_idle_time;
  session.open_files = static_cast<std::int32_t>(info.sesi502_num_opens);
  return session;
}

// A share's name as the program shows it (Windows-1251, "?" for what it cannot hold), in
// wide characters, to be compared whatever the case of the letters.
std::wstring ShownName(const rtl::Text& name) { return WideFromUtf8(rtl::Utf8FromWindows1251(name)); }

// A share with a folder of its own (the interprocess share has none).
struct SharedFolder {
  rtl::Text name;
  std::wstring shown_name;
  std::wstring path;  // without a closing backslash: "C:" for "C:\"
};

bool SameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Whether path is folder or lies in it: "C:\data\a.txt" lies in "C:\data" (whatever the case
// of the letters), "C:\database\a.txt" does not.
bool LiesIn(std::wstring_view path, std::wstring_view folder) {
  return path.size() >= folder.size() && (path.size() == folder.size() || path[folder.size()] == L'\\') &&
         SameText(path.substr(0, folder.size()), folder);
}

bool AddFolder(const SHARE_INFO_2& info, std::vector<SharedFolder>& folders) {
  std::wstring path = info.shi2_path == nullptr ? L"" : info.shi2_path;
  if (path.ends_with(L'\\')) path.pop_back();
  if (path.empty()) return true;
  rtl::Text name = Named(info.shi2_netname);
  std::wstring shown_name = ShownName(name);
  return Append(folders, SharedFolder{std::move(name), std::move(shown_name), std::move(path)});
}

// The share whose folder holds path most closely, or null.
const SharedFolder* HoldingShare(std::wstring_view path, const std::vector<SharedFolder>& folders) {
  const SharedFolder* holder = nullptr;
  for (const auto& folder : folders) {
    if (LiesIn(path, folder.path) && (holder == nullptr || folder.path.size() > holder->path.size())) holder = &folder;
  }
  return holder;
}

// "" for the share's folder itself.
rtl::Text RelativePath(std::wstring_view path, const SharedFolder& folder) {
  rtl::Text relative = ProgramText(path.substr(std::min(path.size(), folder.path.size() + 1)));
  for (char& c : relative) c = c == '\\' ? '/' : c;
  return relative;
}

FileAccess AccessOf(DWORD permissions) {
  // The server reports create as a right of its own; what it creates, it writes.
  return {(permissions & PERM_FILE_READ) != 0, (permissions & (PERM_FILE_WRITE | PERM_FILE_CREATE)) != 0,
          (permissions & ACCESS_DELETE) != 0};
}

OpenFileRecord OpenFileOf(const FILE_INFO_3& info, const SharedFolder* holder) {
  const std::wstring_view path = info.fi3_pathname == nullptr ? L"" : info.fi3_pathname;
  OpenFileRecord file;
  file.share = holder != nullptr ? holder->name : rtl::Text();
  file.path = holder != nullptr ? RelativePath(path, *holder) : ProgramText(path);
  file.user = Named(info.fi3_username);
  file.access = AccessOf(info.fi3_permissions);
  file.locks = std::to_string(info.fi3_num_locks);
  return file;
}

PagesRead ReadFolders(const NetApi& api, std::vector<SharedFolder>& folders) {
  DWORD resume = 0;
  const auto call = [&](BYTE** buffer, DWORD* read, DWORD* total) {
    return api.share_enum(nullptr, 2, buffer, kPageBytes, read, total, &resume);
  };
  return ReadPages<SHARE_INFO_2>(api, call, [&](const SHARE_INFO_2& info) { return AddFolder(info, folders); });
}

PagesRead ReadFiles(const NetApi& api, const std::vector<SharedFolder>& folders, const rtl::Text& share,
                    std::vector<OpenFileRecord>& files) {
  DWORD_PTR resume = 0;
  const auto call = [&](BYTE** buffer, DWORD* read, DWORD* total) {
    return api.file_enum(nullptr, nullptr, nullptr, 3, buffer, kPageBytes, read, total, &resume);
  };
  const std::wstring wanted = ShownName(share);
  return ReadPages<FILE_INFO_3>(api, call, [&](const FILE_INFO_3& info) {
    const SharedFolder* holder = HoldingShare(info.fi3_pathname == nullptr ? L"" : info.fi3_pathname, folders);
    if (!share.empty() && (holder == nullptr || !SameText(holder->shown_name, wanted))) return true;
    return Append(files, OpenFileOf(info, holder));
  });
}

}  // namespace

SessionReading ReadSessions() {
  const NetApi api = LoadNetApi();
  if (api.session_enum == nullptr || api.buffer_free == nullptr) return Missing<SessionRecord>("NetSessionEnum");
  const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  std::vector<SessionRecord> sessions;
  DWORD resume = 0;
  const auto call = [&](BYTE** buffer, DWORD* read, DWORD* total) {
    return api.session_enum(nullptr, nullptr, nullptr, 502, buffer, kPageBytes, read, total, &resume);
  };
  const PagesRead pages = ReadPages<SESSION_INFO_502>(
      api, call, [&](const SESSION_INFO_502& info) { return Append(sessions, SessionOf(info, now)); });
  return Finished(pages, std::move(sessions), "NetSessionEnum");
}

OpenFileReading ReadOpenFiles(const rtl::Text& share) {
  const NetApi api = LoadNetApi();
  if (api.file_enum == nullptr || api.share_enum == nullptr || api.buffer_free == nullptr) {
    return Missing<OpenFileRecord>("NetFileEnum");
  }
  std::vector<SharedFolder> folders;
  const PagesRead listed = ReadFolders(api, folders);
  if (listed.result != NERR_Success) return Failure<OpenFileRecord>(listed.result, "NetShareEnum");
  std::vector<OpenFileRecord> files;
  const PagesRead pages = ReadFiles(api, folders, share, files);
  return Finished(pages, std::move(files), "NetFileEnum");
}

}  // namespace platform
