// The table whose file text is kept in golden/table_written_before.txt: what today's writer
// produced, checked against that file by the Linux tests and by the Windows tests under Wine,
// so both builds write the same bytes.
#pragma once

#include <string>

#include "core/connection_table.h"
#include "rtl/text.h"

inline core::ConnectionTable TableWrittenBefore() {
  const auto w = [](const std::string& utf8) { return rtl::Windows1251FromUtf8(utf8); };
  core::ConnectionTable table;
  table.AddColumns({w("Время"), "public", w("Отчеты"), "home_dir$"});
  table.AppendRows({{"08.12.2026  9:05:07", {"3", "0", "12"}},
                    {"08.12.2026  9:35:07", {"4", "1", "12"}},
                    {"09.12.2026  0:05:07", {"0", "0"}},
                    {"09.12.2026  0:35:07", {}},
                    {"09.12.2026  10:05:07", {"17", "2", "1"}}});
  return table;
}
