// What the window logic asks of the window that shows it: the three lists, the interval text,
// the start/stop state, the page, the choice of a file to open, the two message boxes and
// closing. A
// shell (Qt, Win32) implements it over its controls; the logic names roles, not controls. The
// connection table is not shown through here: its view follows the table's observer. Texts are
// Windows-1251; every call comes on the window's thread.
#pragma once

#include <filesystem>
#include <optional>

#include "core/connection_table.h"
#include "core/window/server_page_view.h"
#include "rtl/string_list.h"
#include "rtl/text.h"

namespace core {

// A list of texts on the window (the watch list, the share list, the users view), one
// selection at most.
class EntryList {
 public:
  virtual ~EntryList() = default;
  virtual rtl::StringList Entries() const = 0;
  // Replaces every entry; the selection goes.
  virtual void SetEntries(const rtl::StringList& entries) = 0;
  virtual void AddEntry(const rtl::Text& entry) = 0;
  // Removes the entry at `index`, which lies inside the list; the selection goes.
  virtual void DeleteEntry(int index) = 0;
  // The selected entry's index, -1 when none is selected.
  virtual int ItemIndex() const = 0;
};

// The selected entry; rtl::ListIndexError "List index out of bounds (-1)" without a selection.
rtl::Text SelectedEntry(const EntryList& list);

// The window's pages, in page order.
enum class WindowPage { kTable, kSharesAndUsers, kChart, kSessionsAndFiles };

class WindowView {
 public:
  virtual ~WindowView() = default;

  virtual EntryList& WatchList() = 0;
  virtual EntryList& ShareList() = 0;
  virtual EntryList& UsersList() = 0;
  // The poll interval in minutes as typed.
  virtual rtl::Text IntervalText() const = 0;
  // The start/stop control shows whether a polling run is going.
  virtual void ShowRunning(bool running) = 0;
  virtual void ShowPage(WindowPage page) = 0;
  // The page shown now, which the user may have chosen by its tab.
  virtual WindowPage CurrentPage() const = 0;
  // The controls of the page "Сеансы и файлы".
  virtual ServerPageView& ServerPage() = 0;
  // Asks the user for a file to open; nothing when cancelled.
  virtual std::optional<std::filesystem::path> ChooseFileToOpen() = 0;
  // The modal boxes: an error (stop icon; the box adds the full stop) and a notice. They may
  // run a nested event loop, so posted closures can run before they return.
  virtual void ShowError(const rtl::Text& message) = 0;
  virtual void ShowNotice(const rtl::Text& message) = 0;
  // Closes the window as its title bar's button does, which asks WindowLogic::Close.
  virtual void CloseWindow() = 0;
  // Draws `share`'s history from `table` on the chart page. May throw; the chart keeps what
  // was drawn before the error.
  virtual void ShowShareHistory(const ConnectionTable& table, const rtl::Text& share) = 0;
};

}  // namespace core
