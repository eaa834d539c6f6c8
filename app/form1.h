// TForm1: the main window. It builds every control of the layout, shows the window logic
// (core::WindowLogic, which owns the table, the watch list's file, the polling run and every
// command) through its controls, and maps each control event to a command the logic executes
// inside its error guard.
#pragma once

#include <QMainWindow>
#include <QString>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <span>

#include "app/server_page_controls.h"
#include "app/window_timer.h"
#include "core/connection_table.h"
#include "core/window/form_layout.h"
#include "core/window/window_logic.h"
#include "rtl/text.h"

class ChoiceComboBox;
class ConnectionTableModel;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTreeView;
class ReportListView;
class TChart;
class TChartWidget;
class TFastLineSeries;
class TListBox;

class TForm1 : public QMainWindow, private core::WindowView, private core::Poster {
  Q_OBJECT
 public:
  // Builds the layout. FormShow runs when the window is first shown; closing asks the logic
  // (by the title bar, "Выход" or a termination signal).
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  core::WindowLogic& Logic() { return logic_; }
  // The connection table ListView1 shows; the polling run, file loads, "Очистить" and
  // caption edits all change this one table.
  core::ConnectionTable& Table() { return logic_.Table(); }
  const core::ConnectionTable& Table() const { return logic_.Table(); }
  // Writes the watch list to splist.txt (the desktop session's end).
  void SaveWatchList() { logic_.SaveWatchList(); }
  // The executable whose data directory FormShow takes; tests point it elsewhere before showing.
  void SetExecutableFileName(const QString& file_name) { executable_file_name_ = file_name; }

  // Controls of the layout.
  QPushButton* Button1() const { return button1_; }
  QPushButton* Button2() const { return button2_; }
  QPushButton* Button3() const { return button3_; }
  QLabel* Label1() const { return label1_; }
  QLabel* Label2() const { return label2_; }
  QLabel* Label3() const { return label3_; }
  QLabel* Label4() const { return label4_; }
  QLabel* Label5() const { return label5_; }
  TListBox* ListBox1() const { return list_box1_; }
  TListBox* ListBox2() const { return list_box2_; }
  TListBox* ListBox3() const { return list_box3_; }
  QTabWidget* PageControl1() const { return page_control1_; }
  QWidget* TabSheet1() const;
  QWidget* TabSheet2() const;
  QWidget* TabSheet3() const;
  // The page "Сеансы и файлы".
  QWidget* TabSheet4() const;
  QTreeView* ListView1() const { return list_view1_; }
  // ListView1's model of Table().
  ConnectionTableModel* ListView1Items() const { return list_view1_items_; }
  QLineEdit* Edit1() const { return edit1_; }
  TChart* Chart1() const { return chart1_; }
  // The widget that shows Chart1.
  TChartWidget* Chart1Widget() const { return chart1_widget_; }
  TFastLineSeries* Series1() const { return series1_; }
  // The poll timer's state; its waits are Timer1Waits'.
  const core::IntervalTimer* Timer1() const { return &logic_.PollTimer(); }
  WindowTimer* Timer1Waits() { return &timer1_waits_; }
  QMenu* N1() const { return n1_; }
  QAction* N2() const { return menu_items_.at(core::form1::kN2.number); }
  QAction* N4() const { return menu_items_.at(core::form1::kN4.number); }
  QMenu* PopupMenu1() const { return popup_menu1_; }
  QAction* N3() const { return menu_items_.at(core::form1::kN3.number); }
  QAction* N5() const { return menu_items_.at(core::form1::kN5.number); }
  QAction* N6() const { return menu_items_.at(core::form1::kN6.number); }
  // The controls of the page "Сеансы и файлы".
  QPushButton* RefreshButton() const { return server_page_.RefreshButton(); }
  ReportListView* SessionsList() const { return server_page_.SessionsView(); }
  ChoiceComboBox* OpenFilesShareBox() const { return server_page_.ShareBox(); }
  ReportListView* OpenFilesList() const { return server_page_.OpenFilesView(); }
  QLabel* ServerStatus() const { return server_page_.StatusLine(); }
  QLabel* SessionsLabel() const { return server_page_.SessionsLabel(); }
  QLabel* OpenFilesLabel() const { return server_page_.OpenFilesLabel(); }

  // Replaces OpenDialog1, so tests choose a file without a modal loop.
  void SetOpenDialogForTesting(std::function<std::optional<QString>()> dialog) {
    open_dialog_ = std::move(dialog);
  }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLayout();
  void BuildListPage();
  void BuildMenus();
  void AddMenuItems(QMenu& menu, std::span<const core::form1::MenuItem> items);
  QWidget* Widget(core::form1::Focusable control) const;
  void SetTabOrder();
  void ConnectEvents();

  // The view of the logic.
  core::EntryList& WatchList() override;
  core::EntryList& ShareList() override;
  core::EntryList& UsersList() override;
  rtl::Text IntervalText() const override;
  void ShowRunning(bool running) override;
  // Says nothing of a tab change: only the user's choice of a tab is a command.
  void ShowPage(core::WindowPage page) override;
  core::WindowPage CurrentPage() const override;
  core::ServerPageView& ServerPage() override { return server_page_; }
  std::optional<std::filesystem::path> ChooseFileToOpen() override;
  void ShowError(const rtl::Text& message) override;
  void ShowNotice(const rtl::Text& message) override;
  void CloseWindow() override;
  void ShowShareHistory(const core::ConnectionTable& table, const rtl::Text& share) override;
  // The poster: through the event loop, dropped once the window is gone.
  void Post(std::function<void()> closure) override;

  WindowTimer timer1_waits_;
  // Before the logic, which takes it when it is made; its controls come with the layout.
  ServerPageControls server_page_;
  core::WindowLogic logic_{*this, *this, timer1_waits_};
  QString executable_file_name_;
  bool shown_ = false;
  std::function<std::optional<QString>()> open_dialog_;

  QPushButton* button1_ = nullptr;
  QPushButton* button2_ = nullptr;
  QPushButton* button3_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* label4_ = nullptr;
  QLabel* label5_ = nullptr;
  TListBox* list_box1_ = nullptr;
  TListBox* list_box2_ = nullptr;
  TListBox* list_box3_ = nullptr;
  QTabWidget* page_control1_ = nullptr;
  QTreeView* list_view1_ = nullptr;
  ConnectionTableModel* list_view1_items_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  TChart* chart1_ = nullptr;
  TChartWidget* chart1_widget_ = nullptr;
  TFastLineSeries* series1_ = nullptr;
  QMenu* n1_ = nullptr;
  QMenu* popup_menu1_ = nullptr;
  std::map<unsigned short, QAction*> menu_items_;  // by number
};
