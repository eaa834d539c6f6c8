#include "rtl/errors.h"

#include <cerrno>
#include <cstring>

namespace rtl {

ListIndexError::ListIndexError(long long index)
    : Exception("List index out of bounds (" + std::to_string(index) + ")") {}

FileOpenError::FileOpenError(const Text& file_name, const Text& system_message)
    : Exception("Cannot open file \"" + file_name + "\". " + system_message) {}

FileCreateError::FileCreateError(const Text& file_name, const Text& reason)
    : Exception("Cannot create file \"" + file_name + "\". " + reason) {}

ConvertError ConvertError::NotInteger(const Text& text) {
  return ConvertError("'" + text + "' is not a valid integer value");
}

InOutError::InOutError(int code) : Exception(FileErrorText(code)), code_(code) {}

Text FileErrorText(int code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
  }
}

bool HasOwnFileErrorText(int code) {
  return code == 2 || code == 3 || code == 4 || code == 5 || code == 100 || code == 101 || code == 106;
}

int FileErrorCodeFromErrno(int error_number) {
  switch (error_number) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return 5;
#ifdef EDQUOT  // no disk quotas in the Windows C runtime
    case EDQUOT:
#endif
    case ENOSPC: return 101;
    // A device failure is a read or write fault, as the Windows codes name it (30);
    // passing EIO (5) through would show it as "File access denied".
    case EIO: return 30;
    default:
      // Other errno values that happen to equal a code with a text of its own would be
      // shown under that wrong text, so they go out as plain numbered I/O errors.
      return HasOwnFileErrorText(error_number) ? 1000 + error_number : error_number;
  }
}

Text SystemErrorText(int error_number) {
#ifdef _WIN32
  return std::strerror(error_number);
#else
  // Under a UTF-8 locale strerror may answer in the user's language, in UTF-8.
  return Windows1251FromUtf8(std::strerror(error_number));
#endif
}

Text ErrorMessageForBox(const Text& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
    return message + ".";
  }
  return message;
}

}  // namespace rtl
