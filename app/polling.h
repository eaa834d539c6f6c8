// The polling run: Button1 starts it (columns from the watch list, Timer1 armed) and stops it
// (table written to a file named after the date and time); every Timer1 tick probes each
// watched share and adds one table row of user counts.
#pragma once

#include <QString>
#include <cstdint>

#include "rtl/text.h"

class TForm1;

// Edit1's minutes as PollIntervalMs: minutes × 60 × 1000 in signed 32-bit arithmetic that
// wraps on overflow. The text is read by rtl::StrToInt (throws ConvertError
// "'%s' is not a valid integer value").
std::int32_t PollIntervalFromMinutes(const rtl::Text& minutes_text);

// The time text of the current time with every ":" replaced by ".".
rtl::Text FileTimeStamp();

// The table file of a stop now: TableFileName(ProgramDirectory, date text, FileTimeStamp()),
// the date and the time taken from two readings of the clock, the date first.
QString TableFileNameNow(const rtl::Text& program_directory);

// Button1 while idle: ListView1's columns become "Время" plus one per watch-list entry (rows
// stay), PollIntervalMs is read from Edit1, Timer1 is enabled with the interval it has and
// Button1 reads "Стоп". When Edit1 holds no number the columns are rebuilt and the error
// thrown before anything else changes.
void StartPollingRun(TForm1& form);

// Button1 while running, and closing the window while running: Timer1 stops, Button1 reads
// "Пуск", and the whole table is written to TableFileNameNow. A failed write throws (see
// SaveConnectionTable) with the run already stopped and the table unchanged.
void StopPollingRun(TForm1& form);

// One Timer1 tick. Timer1 takes PollIntervalMs as its interval when the two differ (a negative
// value never equals the unsigned interval; it is taken as the unsigned 32-bit interval). Then
// every watch-list entry of this moment is probed in order; the first count opens a row
// captioned date text + two spaces + time text, later ones append to it. A probe that throws
// ends the tick there; the row keeps the values added before.
void PollWatchedShares(TForm1& form);
