// TForm1: the main window. It builds every control of the layout, owns the watch list
// (the entries of ListBox2), the accumulated users list and the program directory, and
// connects each control event to its handler; every handler runs inside the error guard.
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "core/accumulated_users.h"
#include "core/connection_table.h"
#include "rtl/text.h"

class ConnectionTableModel;
class PollingShell;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTreeView;
class TChart;
class TChartWidget;
class TFastLineSeries;
class TListBox;
class TTimer;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  // Builds the layout and runs FormCreate. FormShow runs when the window is first shown,
  // FormClose when it closes (by the title bar, "Выход" or a termination signal).
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Program-wide state (texts are Windows-1251).
  // Where splist.txt and the table files live, set by FormShow: the executable's directory,
  // or for an installed copy the user's data directory (app/data_directory.h).
  rtl::Text ProgramDirectory;
  core::AccumulatedUsers AccumulatedUsers;  // user tokens of every probe
  // The connection table ListView1 shows; the polling run, file loads, "Очистить" and
  // caption edits all change this one table.
  core::ConnectionTable& Table() { return table_; }
  const core::ConnectionTable& Table() const { return table_; }
  // The polling run with its probes (Button1, Timer1, "Пользователи").
  PollingShell& Polling() { return *polling_; }

  // The full name of a file in ProgramDirectory ("splist.txt" -> ProgramDirectory + "/splist.txt").
  rtl::Text ProgramFile(const rtl::Text& name) const;
  // Writes the watch list to splist.txt in ProgramDirectory; a failure shows the NoticeBox
  // "Ошибка сохранения списка". Does nothing before FormShow has taken ProgramDirectory.
  void SaveWatchList();
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
  QWidget* TabSheet1() const { return tab_sheet1_; }
  QWidget* TabSheet2() const { return tab_sheet2_; }
  QWidget* TabSheet3() const { return tab_sheet3_; }
  QTreeView* ListView1() const { return list_view1_; }
  // ListView1's model of Table().
  ConnectionTableModel* ListView1Items() const { return list_view1_items_; }
  QLineEdit* Edit1() const { return edit1_; }
  TChart* Chart1() const { return chart1_; }
  // The widget that shows Chart1.
  TChartWidget* Chart1Widget() const { return chart1_widget_; }
  TFastLineSeries* Series1() const { return series1_; }
  TTimer* Timer1() const { return timer1_; }
  QMenu* N1() const { return n1_; }
  QAction* N2() const { return n2_; }
  QAction* N4() const { return n4_; }
  QMenu* PopupMenu1() const { return popup_menu1_; }
  QAction* N3() const { return n3_; }
  QAction* N5() const { return n5_; }
  QAction* N6() const { return n6_; }

  // OpenDialog1: the full name of the chosen file, or nothing when cancelled.
  // No filter, no title, no initial directory.
  std::optional<rtl::Text> OpenDialog1Execute();
  // Replaces the dialog, so tests choose a file without a modal loop.
  void SetOpenDialogForTesting(std::function<std::optional<QString>()> dialog) {
    open_dialog_ = std::move(dialog);
  }

  // Handlers. Called directly they may throw; the window's events run them through Run.
  void FormCreate();
  void FormShow();
  void FormClose();
  void Button1Click();
  void Timer1Timer();
  void ListBox1DblClick();
  void Button2Click();
  void Button3Click();
  void ListBox2Click();
  void N2Click();
  void N3Click();
  void N4Click();
  void N5Click();
  void N6Click();

  // Runs a handler inside the error guard, as the window's events do.
  void Run(void (TForm1::*handler)());

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLayout();
  void BuildListPage();
  void BuildMenus();
  void SetTabOrder();
  void ConnectHandlers();

  core::ConnectionTable table_;
  std::unique_ptr<PollingShell> polling_;
  QString executable_file_name_;
  bool shown_ = false;
  bool closed_ = false;
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
  QWidget* tab_sheet1_ = nullptr;
  QWidget* tab_sheet2_ = nullptr;
  QWidget* tab_sheet3_ = nullptr;
  QTreeView* list_view1_ = nullptr;
  ConnectionTableModel* list_view1_items_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  TChart* chart1_ = nullptr;
  TChartWidget* chart1_widget_ = nullptr;
  TFastLineSeries* series1_ = nullptr;
  TTimer* timer1_ = nullptr;
  QMenu* n1_ = nullptr;
  QAction* n2_ = nullptr;
  QAction* n4_ = nullptr;
  QMenu* popup_menu1_ = nullptr;
  QAction* n3_ = nullptr;
  QAction* n5_ = nullptr;
  QAction* n6_ = nullptr;
};
