// What the stand-ins of the Windows tests hold and how a test steers them: net.exe, copied
// over the system's own, and NETAPI32.DLL, loaded beside the test program. Shared by the
// stand-ins and the tests, so both read the same table. Texts in UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/netshare/share_connections.h"

namespace standin {

inline std::string Utf8(const std::wstring& wide) {
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}

inline std::wstring Wide(const std::string& utf8) {
  const int length = static_cast<int>(utf8.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), size);
  return wide;
}

// One share that net.exe knows: "net share NAME" prints its report (code page 866, exit 0).
struct Share {
  std::string name;
  std::string path;
  std::vector<netshare::Connection> connections;
};

inline const std::vector<Share>& NetShares() {
  static const std::vector<Share> shares = [] {
    std::vector<Share> list = {
        {"public", "C:\\Shares\\public", {}},
        {"team", "D:\\team", {{"alice", "PC-01"}, {"bob", "PC-02"}}},
        {"Отчеты за год", "D:\\Бухгалтерия\\Отчеты", {{"Иванов", "БУХ-01"}, {"petrova", "PC-07"}}},
        {"R&D", "E:\\rnd", {{"carol", "LAB-1"}}},
        {"archive", "F:\\archive", {}},
    };
    // Sixty connections: a report of over a kilobyte.
    for (int i = 0; i < 60; ++i) list.back().connections.push_back({"user" + std::to_string(i), "HOST-" + std::to_string(i)});
    return list;
  }();
  return shares;
}

// The report net.exe prints is written in pieces of these sizes in turn, a few milliseconds
// apart, so that it reaches the reader in uneven parts.
inline const std::vector<std::size_t>& PieceSizes() {
  static const std::vector<std::size_t> sizes = {1, 17, 3, 90, 256, 40, 300, 7};
  return sizes;
}

// The environment variable naming the file net.exe appends one line per process to: its
// process id, its own path and each argument as received, separated by tabs.
inline constexpr wchar_t kNetLogVariable[] = L"SHAREMON_STANDIN_NET_LOG";

// Share names that make net.exe misbehave instead of printing a report.
// Prints kHungOutput, starts a child that sleeps (sharing its output), then sleeps itself.
inline constexpr char kHangName[] = "hang";
// Starts the sleeping child, which keeps the output open, and exits at once.
inline constexpr char kOrphanName[] = "orphan";
// Closes its output, starts the sleeping child without it, then sleeps.
inline constexpr char kQuietName[] = "quiet";
// Prints without end.
inline constexpr char kFloodName[] = "flood";
inline constexpr char kHungOutput[] = "Имя общего ресурса           ";
// Prints the report Windows gives a user who is no administrator ("Системная ошибка 5.").
inline constexpr char kDeniedName[] = "denied";
// Prints the report of a share with kSlowUser as its one user, kSlowMilliseconds late.
inline constexpr char kSlowName[] = "slow";
inline constexpr char kSlowUser[] = "carol";
inline constexpr DWORD kSlowMilliseconds = 1500;
// The argument that makes net.exe the sleeping child. The parent writes the child's line
// to the log (process id, path, this argument), so the line is there before the parent
// goes on.
inline constexpr wchar_t kSleepArgument[] = L"--sleep";

// The share list NETAPI32.DLL hands out, in this order (level 2 or level 1 records): each
// share's name and, at level 2, its folder. Ωmega lies inside public; IPC$ has no folder.
struct ListedShare {
  std::string name;
  std::string path;
};

inline const std::vector<ListedShare>& ListedShares() {
  static const std::vector<ListedShare> shares = {
      {"ADMIN$", "C:\\windows"},   {"C$", "C:\\"},                  {"IPC$", ""},
      {"Отчеты за год", "D:\\Бухгалтерия\\Отчеты"}, {"public", "C:\\Shares\\public"}, {"Ωmega", "C:\\Shares\\public\\Ωmega"},
  };
  return shares;
}

// The sessions NetSessionEnum hands out (level 502), in this order.
struct ListedSession {
  std::string computer;
  std::string user;
  std::string client_type;
  DWORD open_files;
  DWORD seconds;  // connected for
  DWORD idle_seconds;
};

inline const std::vector<ListedSession>& ListedSessions() {
  static const std::vector<ListedSession> sessions = {
      {"\\\\PC-01", "alice", "Windows 10 Pro 19045", 2, 3600, 60},
      {"\\\\БУХ-01", "Иванов", "SMB 3.1.1", 1, 86400, 0},
      {"LAB-1", "o'brien\t\"x\"\n", "", 0, 5, 5},
  };
  return sessions;
}

// The files NetFileEnum hands out (level 3), in this order.
struct ListedFile {
  std::string path;
  std::string user;
  DWORD permissions;  // PERM_FILE_* and ACCESS_DELETE bits
  DWORD locks;
};

inline const std::vector<ListedFile>& ListedFiles() {
  static const std::vector<ListedFile> files = {
      {"C:\\Shares\\public\\readme.txt", "alice", 0x1, 0},
      {"c:\\shares\\PUBLIC\\Ωmega\\plan.docx", "bob", 0x1 | 0x2, 2},
      {"C:\\Shares\\publications\\x.txt", "carol", 0x2 | 0x4, 0},
      {"D:\\Бухгалтерия\\Отчеты\\2025\\Итоги.xlsx", "Иванов", 0x1 | 0x10, 1},
      {"\\PIPE\\srvsvc", "alice", 0x1 | 0x2, 0},
      {"C:\\Shares\\public", "dave", 0x1, 0},
  };
  return files;
}

// How NETAPI32.DLL answers. NetShareEnum, per level: 0 hands out the first share_count
// shares of ListedShares, ERROR_MORE_DATA hands out half of those, any other result no
// buffer. NetSessionEnum and NetFileEnum: server_result 0 hands out their lists, each
// repeated `copies` times (0 counts as 1), any other result no buffer. A call with a resume
// handle gets at most page_size records (0: all) and ERROR_MORE_DATA while more are left.
struct NetApiBehaviour {
  DWORD level2_result = 0;
  DWORD level1_result = 0;
  DWORD share_count = 0;
  DWORD server_result = 0;
  DWORD page_size = 0;
  DWORD copies = 0;
};

// The environment variable that gives NETAPI32.DLL its behaviour when it is loaded, for a
// program the test cannot steer through the exports (sharemon.exe): the fields of
// NetApiBehaviour in order, as decimal numbers separated by commas; those left out are 0.
// Without it the share list is empty.
inline constexpr wchar_t kNetApiVariable[] = L"SHAREMON_STANDIN_NETAPI";

// What NETAPI32.DLL has seen since the last StandinBehave.
struct NetApiCounts {
  LONG level1_calls = 0;
  LONG level2_calls = 0;
  LONG other_calls = 0;    // another level, or not the local computer
  LONG buffers_given = 0;  // buffers handed out
  LONG buffers_freed = 0;  // of those, given back through NetApiBufferFree
  LONG unknown_frees = 0;  // NetApiBufferFree of anything else
};

// The DLL's extra exports, found with GetProcAddress under these names.
using BehaveFunction = void (*)(const NetApiBehaviour* behaviour);
using ReadCountsFunction = void (*)(NetApiCounts* counts);
inline constexpr char kBehaveExport[] = "StandinBehave";
inline constexpr char kReadCountsExport[] = "StandinReadCounts";

}  // namespace standin
