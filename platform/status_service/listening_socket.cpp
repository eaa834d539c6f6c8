#include "platform/status_service/listening_socket.h"

#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>

namespace status_service {
namespace {

std::string Failure(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

bool SomeoneAnswers(const sockaddr_un& address) {
  Descriptor probe(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  return probe.IsOpen() && connect(probe.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

// Makes room for the socket file; "" when there is room.
std::string ClearPath(const std::string& path, const sockaddr_un& address) {
  std::error_code error;
  const auto directory = std::filesystem::path(path).parent_path();
  if (!directory.empty() && !std::filesystem::exists(directory, error)) {
    if (!std::filesystem::create_directories(directory, error)) return "cannot create " + directory.string();
    std::filesystem::permissions(directory, std::filesystem::perms(0755), error);
  }
  struct stat status{};
  if (lstat(path.c_str(), &status) != 0) return errno == ENOENT ? "" : Failure("cannot examine", path);
  if (!S_ISSOCK(status.st_mode)) return path + " exists and is no socket";
  if (SomeoneAnswers(address)) return "another service answers on " + path;
  if (unlink(path.c_str()) != 0) return Failure("cannot remove the stale socket", path);
  return "";
}

// Binds with every permission bit but the owner's masked, so that nobody else can connect
// before the file has its group and mode.
std::string Bind(int fd, const std::string& path, const sockaddr_un& address, gid_t gid) {
  const mode_t old_mask = umask(0177);
  const int bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  umask(old_mask);
  if (bound != 0) return Failure("cannot bind", path);
  if (chown(path.c_str(), static_cast<uid_t>(-1), gid) != 0) return Failure("cannot give the group to", path);
  if (chmod(path.c_str(), 0660) != 0) return Failure("cannot set the mode of", path);
  return "";
}

}  // namespace

std::optional<gid_t> GroupId(const std::string& name_or_number) {
  group entry{};
  group* found = nullptr;
  char buffer[16384];
  if (getgrnam_r(name_or_number.c_str(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
    return found->gr_gid;
  }
  gid_t number = 0;
  const auto* end = name_or_number.data() + name_or_number.size();
  const auto [stop, error] = std::from_chars(name_or_number.data(), end, number);
  if (name_or_number.empty() || error != std::errc() || stop != end) return std::nullopt;
  return number;
}

std::variant<ListeningSocket, std::string> OpenListeningSocket(const std::string& path, gid_t gid) {
  const auto address = UnixAddress(path);
  if (!address) return "socket path too long or empty: " + path;
  if (auto problem = ClearPath(path, *address); !problem.empty()) return problem;
  ListeningSocket listening{Descriptor(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)), 0};
  if (!listening.descriptor.IsOpen()) return Failure("cannot create a socket for", path);
  if (auto problem = Bind(listening.descriptor.Get(), path, *address, gid); !problem.empty()) {
    unlink(path.c_str());
    return problem;
  }
  struct stat status{};
  if (stat(path.c_str(), &status) != 0) return Failure("cannot examine", path);
  listening.inode = status.st_ino;
  if (listen(listening.descriptor.Get(), SOMAXCONN) != 0) return Failure("cannot listen on", path);
  return listening;
}

void RemoveSocketFile(const std::string& path, const ListeningSocket& socket) {
  struct stat status{};
  if (lstat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode) && status.st_ino == socket.inode) {
    unlink(path.c_str());
  }
}

}  // namespace status_service
