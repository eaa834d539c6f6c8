#include "app/polling.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>

#include "app/connection_table.h"
#include "app/form1.h"
#include "app/list_box.h"
#include "app/qt_text.h"
#include "app/table_file.h"
#include "app/user_probe.h"
#include "app/window_timer.h"
#include "rtl/date_time.h"
#include "rtl/integer.h"

std::int32_t PollIntervalFromMinutes(const rtl::Text& minutes_text) {
  const auto minutes = static_cast<std::uint32_t>(rtl::StrToInt(minutes_text));
  // Unsigned arithmetic wraps where signed arithmetic would be undefined.
  return static_cast<std::int32_t>(minutes * 60u * 1000u);
}

rtl::Text FileTimeStamp() {
  rtl::Text stamp = rtl::TimeText(rtl::Now());
  std::replace(stamp.begin(), stamp.end(), ':', '.');
  return stamp;
}

QString TableFileNameNow(const rtl::Text& program_directory) {
  const rtl::Text date = rtl::DateText(rtl::Now());
  return TableFileName(ToQString(program_directory), date, FileTimeStamp());
}

void StartPollingRun(TForm1& form) {
  ConnectionTableModel& table = *form.ListView1Items();
  table.ClearColumns();
  table.AddColumn(rtl::Windows1251FromUtf8("Время"));
  for (const rtl::Text& entry : form.ListBox2()->Entries()) table.AddColumn(entry);
  form.PollIntervalMs = PollIntervalFromMinutes(ToText(form.Edit1()->text()));
  form.Timer1()->SetEnabled(true);
  form.Button1()->setText(QStringLiteral("Стоп"));
}

void StopPollingRun(TForm1& form) {
  form.Timer1()->SetEnabled(false);
  form.Button1()->setText(QStringLiteral("Пуск"));
  SaveConnectionTable(form.ListView1Items()->Table(), TableFileNameNow(form.ProgramDirectory));
}

void PollWatchedShares(TForm1& form) {
  TTimer& timer = *form.Timer1();
  if (static_cast<std::int64_t>(timer.Interval()) != form.PollIntervalMs) {
    timer.SetInterval(static_cast<std::uint32_t>(form.PollIntervalMs));
  }
  ConnectionTableModel& table = *form.ListView1Items();
  TListBox& watch_list = *form.ListBox2();
  int row = -1;
  // The watch list may change between ticks, so its entries are read at each step.
  for (int i = 0; i < watch_list.Count(); ++i) {
    const std::int32_t count =
        CountUserTokens(QueryShareUsers(watch_list.Entry(i)), *form.ListBox3(), form.AccumulatedUsers);
    if (i == 0) {
      const rtl::Text date = rtl::DateText(rtl::Now());
      row = table.AddRow(date + "  " + rtl::TimeText(rtl::Now()));
    }
    table.AppendValue(row, std::to_string(count));
  }
}
