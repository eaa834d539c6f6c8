// What the tests of file reading and writing need from the system: special files (FIFOs,
// device nodes, sockets), a small file system that a test fills up, and calls that may block
// or run away, made in a child process with a time limit. Linux only. Mounting and device
// nodes need root; the tests that need them skip when the system refuses.
#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace special_files {

// The nodes the tests use: FIFO, character device (a private copy of a /dev node, so the
// real one is never at risk) and socket. False when the system refuses.
inline bool MakeFifo(const std::string& path) { return mkfifo(path.c_str(), 0644) == 0; }

inline bool MakeCharacterDevice(const std::string& path, unsigned major_number, unsigned minor_number) {
  return mknod(path.c_str(), S_IFCHR | 0666, makedev(major_number, minor_number)) == 0;
}

inline bool MakeSocket(const std::string& path) {
  const int handle = socket(AF_UNIX, SOCK_STREAM, 0);
  if (handle < 0) return false;
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::copy(path.begin(), path.end(), address.sun_path);
  const bool bound = bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(handle);
  return bound;
}

// What a name holds, links not followed: a node left alone keeps all three.
struct Node {
  mode_t type = 0;
  dev_t device = 0;  // the device a device node names
  ino_t inode = 0;
  bool operator==(const Node&) const = default;
};

inline std::optional<Node> NodeAt(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) return std::nullopt;
  return Node{static_cast<mode_t>(status.st_mode & S_IFMT), status.st_rdev, status.st_ino};
}

// A tmpfs of a few pages mounted on `directory` (made if missing) while the object lives.
class SmallTmpfs {
 public:
  explicit SmallTmpfs(std::string directory) : directory_(std::move(directory)) {
    std::filesystem::create_directories(directory_);
    mounted_ = mount("tmpfs", directory_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
  }
  ~SmallTmpfs() {
    if (mounted_) umount2(directory_.c_str(), MNT_DETACH);
  }
  SmallTmpfs(const SmallTmpfs&) = delete;
  SmallTmpfs& operator=(const SmallTmpfs&) = delete;

  bool Mounted() const { return mounted_; }
  std::string File(const std::string& name) const { return directory_ + "/" + name; }

  // Writes a filler file until the file system has no room left; true when it is full.
  bool Fill() const {
    const int handle = open(File("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (handle < 0) return false;
    const std::string block(4096, 'f');
    while (write(handle, block.data(), block.size()) > 0) {
    }
    const bool full = errno == ENOSPC;
    close(handle);
    return full;
  }

 private:
  std::string directory_;
  bool mounted_ = false;
};

// Runs `body` in a child process and returns its result, or nothing when the child did not
// finish within `seconds` (it is then ended) or died. For calls that, done wrong, block on a
// FIFO or read a device without end: the test stays bounded in time, and in memory as far
// as the build allows (the sanitizers reserve too much address space for a limit).
inline std::optional<std::string> RunInChild(const std::function<std::string()>& body, unsigned seconds) {
  int result_pipe[2];
  if (pipe2(result_pipe, O_CLOEXEC) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child == 0) {
    close(result_pipe[0]);
    alarm(seconds);
#ifndef __SANITIZE_ADDRESS__
    const rlimit memory{2ul << 30, 2ul << 30};
    setrlimit(RLIMIT_AS, &memory);
#endif
    const std::string result = body();
    const bool sent = write(result_pipe[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
    _exit(sent ? 0 : 1);
  }
  close(result_pipe[1]);
  std::string result;
  char buffer[4096];
  ssize_t count = 0;
  while ((count = read(result_pipe[0], buffer, sizeof buffer)) > 0) result.append(buffer, static_cast<size_t>(count));
  close(result_pipe[0]);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return std::nullopt;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return result;
}

}  // namespace special_files
