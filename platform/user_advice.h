// What the program tells the user to do when the system refuses it something, in the terms of
// the system it runs on: on Linux the status service and its group, on Windows the
// administrator's rights. Texts in UTF-8; building them cannot fail.
#pragma once

#include <string>

namespace platform {

// The notice of a share query refused for want of rights: the count was not read, 0 goes into
// the table, and how a user gets the right to read a share's users on this system.
std::string AccessDeniedAdvice();

}  // namespace platform
