// The runtime's errors: exception classes with the framework's fixed English texts.
// Messages are Windows-1251 text (they may quote file names or user input), and
// ErrorMessageForBox adds the full stop the error box shows.
#pragma once

#include <stdexcept>
#include <string>

#include "rtl/text.h"

namespace rtl {

// Base of every error the program reports through its error box.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const Text& message) : std::runtime_error(message) {}
};

// "List index out of bounds (%d)"
class ListIndexError : public Exception {
 public:
  explicit ListIndexError(long long index);
};

// "Cannot open file "%s". %s" — file name and the system's error text.
class FileOpenError : public Exception {
 public:
  FileOpenError(const Text& file_name, const Text& system_message);
};

// "Cannot create file "%s". %s" — file name and the reason it cannot be created or replaced.
class FileCreateError : public Exception {
 public:
  FileCreateError(const Text& file_name, const Text& reason);
};

// "'%s' is not a valid integer value"
class ConvertError : public Exception {
 public:
  using Exception::Exception;
  static ConvertError NotInteger(const Text& text);
};

// A file operation failed with a runtime file error code (2 "File not found", ...).
class InOutError : public Exception {
 public:
  explicit InOutError(int code);
  int Code() const { return code_; }

 private:
  int code_;
};

// The runtime's file error text for an error code: 2 "File not found", 3 "Invalid filename",
// 4 "Too many open files", 5 "File access denied", 100 "Read beyond end of file",
// 101 "Disk full", 106 "Invalid numeric input", any other "I/O error %d".
Text FileErrorText(int code);

// Whether the code has a text of its own above (2, 3, 4, 5, 100, 101, 106) rather than a number.
bool HasOwnFileErrorText(int code);

// Maps an errno value to the runtime's file error code (ENOENT -> 2, EACCES -> 5, ...).
int FileErrorCodeFromErrno(int error_number);

// The system's text for an errno value, as program text.
Text SystemErrorText(int error_number);

// The text an error box shows: the message with "." appended when its last byte
// sorts after "." (so "Disk full" gets one, "...)" and "a." do not).
Text ErrorMessageForBox(const Text& message);

}  // namespace rtl
