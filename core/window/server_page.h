// The logic of the page "Сеансы и файлы": reads who is connected and what is open off the
// window's thread, keeps the last readings sorted as the user asked and gives them to the
// page's owner-data lists as rows (core/server_rows.h makes the cells, only for the rows a list
// draws). The share box lists "Все шары" and then the computer's shares; the open files listed
// are the chosen share's.
//
// Every method runs on the window's thread; readings come back through the Poster. A reading
// asked while one runs is read once more after it ends (asked many times: still once), so a
// slow server never piles readings up and the lists never show an older reading after a newer
// one. A reading that fails empties its list and says why in the status line (access denied
// with the system's advice); it opens no box, since the page reads again at every tick.
// Nothing here throws.
#pragma once

#include <memory>

#include "core/window/event_loop.h"
#include "core/window/server_page_view.h"
#include "platform/server_sessions.h"
#include "rtl/string_list.h"
#include "rtl/text.h"

namespace core {

// Where the page's readings come from; called on the page's reading thread.
class ServerReader {
 public:
  virtual ~ServerReader() = default;
  virtual platform::SessionReading ReadSessions() = 0;
  // "" for all shares.
  virtual platform::OpenFileReading ReadOpenFiles(const rtl::Text& share) = 0;
};

// platform::ReadSessions and platform::ReadOpenFiles: the system's file server.
ServerReader& SystemServerReader();

class ServerPage {
 public:
  static const char kAllShares[];  // "Все шары" (UTF-8)

  // `view`, `poster` and `reader` outlive the page; the constructor asks nothing of the view.
  ServerPage(ServerPageView& view, Poster& poster, ServerReader& reader = SystemServerReader());
  // Waits for a reading that runs (at most the reader's own time limit); its result is dropped.
  ~ServerPage();
  ServerPage(const ServerPage&) = delete;
  ServerPage& operator=(const ServerPage&) = delete;

  // The share box gets "Все шары" and then `shares`. The share chosen before stays chosen when
  // it is still there; otherwise "Все шары" is.
  void SetShares(const rtl::StringList& shares);
  // The window is shown: both lists show their columns, empty until the first reading.
  void ShowColumns();
  // "Обновить", the page shown, a tick while it is shown: sessions and open files read again.
  void Refresh();
  // Another share chosen: its open files are read (the sessions are not).
  void ShareChosen();
  // A header click: the list's rows sorted by the clicked column, ascending; the same column
  // again turns the order round. Later readings keep the order. Before any click the rows keep
  // the order the server gave.
  void SortSessions();
  void SortOpenFiles();

  // Who the readings asked from now on come from; nullptr restores SystemServerReader().
  void SetReader(ServerReader* reader);
  // The window closes: the reading that runs and the one asked after it are dropped, and
  // neither reaches the lists. A later request reads again.
  void DropReadings();

  // What the lists show now.
  const ReportRows& SessionRows() const;
  const ReportRows& OpenFileRows() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace core
