// The texts netshare prints: the report a Russian-language Windows system prints for its
// share query command, and its error texts, in code page 866 with CR LF line ends.
#pragma once

#include <string>
#include <vector>

#include "platform/netshare/share_connections.h"

namespace netshare {

// Laid out as platform/share_report_layout.h says; the users section holds "user@machine"
// plus one space per connection, a name shorter than the shortest counted one padded with
// "_". name, path and remark are UTF-8.
std::string ShareReport(const std::string& name, const std::string& path, const std::string& remark,
                        const std::vector<Connection>& connections);

// "Системная ошибка 5." and "Отказано в доступе.": the caller may not read the connections.
std::string AccessDeniedReport();

// "Системная ошибка 2114." and "Служба сервера не запущена.": the Samba server is not running.
std::string ServerNotRunningReport();

// The server's connections cannot be read (its status tool failed or did not answer in time).
std::string StatusUnreadableReport();

// The share is not among the server's shares.
std::string NoSuchShareReport();

// The server's configuration cannot be read.
std::string ConfigurationUnreadableReport();

// How to call the program.
std::string UsageReport();

}  // namespace netshare
