// The local computer's share names, in the order the system reports them, in the window
// code page. Windows asks NETAPI32.DLL (NetShareEnum at level 2, and at level 1, which needs
// no administrator rights, when level 2 is refused with access denied); Linux asks the local
// Samba configuration. Every failure leaves the list empty and reports nothing; whatever
// the system handed out is given back.
#pragma once

#include "rtl/string_list.h"

namespace platform {

// Empties target, then appends one name per share.
// Linux: the services of the Samba configuration in configuration order ("testparm -s"),
// "global" left out, then the user-defined shares ("net usershare list") not already
// listed, then "IPC$". The configuration file is SHAREMON_SMB_CONF when that variable is
// set, else Samba's default. Names are converted from UTF-8; a character Windows-1251
// cannot hold becomes "?".
void EnumerateShares(rtl::StringList& target);

}  // namespace platform
