// The main window's layout: every control at its place, with its caption, font and tab
// order, and the wiring of control events to the handlers.
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include "app/connection_table_model.h"
#include "app/form1.h"
#include "app/history_chart.h"
#include "app/list_box.h"
#include "chart/qt/chart_widget.h"
#include "core/polling_run.h"
#include "core/version.h"

namespace {

constexpr int kClientWidth = 1046;
constexpr int kClientHeight = 381;
constexpr int kLeft = 206;
constexpr int kTop = 126;
constexpr int kListItemHeight = 13;
// A new report column's width, as the list view gives it.
constexpr int kColumnWidth = 50;

// Every report column but the last sizes to its caption and values, so that the time of a
// row shows whole; the last keeps the width a new column gets. Called whenever the columns
// change, since the last column is another one after each change.
void FitReportColumns(QHeaderView& header) {
  const int count = header.count();
  for (int section = 0; section + 1 < count; ++section)
    header.setSectionResizeMode(section, QHeaderView::ResizeToContents);
  if (count == 0) return;
  header.setSectionResizeMode(count - 1, QHeaderView::Interactive);
  header.resizeSection(count - 1, kColumnWidth);
}

template <typename Control>
Control* Place(Control* control, int left, int top, int width, int height) {
  control->setGeometry(left, top, width, height);
  return control;
}

// Labels size themselves to their text.
QLabel* PlaceLabel(const QString& caption, QWidget* parent, int left, int top) {
  auto* label = new QLabel(caption, parent);
  label->move(left, top);
  label->adjustSize();
  return label;
}

TListBox* PlaceListBox(QWidget* parent, int left, int top, int width, int height) {
  auto* list_box = Place(new TListBox(parent), left, top, width, height);
  list_box->SetItemHeight(kListItemHeight);
  return list_box;
}

QFont PixelFont(const QString& family, int pixel_height) {
  QFont font(family);
  font.setPixelSize(pixel_height);
  return font;
}

}  // namespace

void TForm1::BuildLayout() {
  setWindowTitle(QStringLiteral("Мониторинг количества подключений к сетевым ресурсам"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
  QPalette button_face = palette();
  button_face.setColor(QPalette::Window, button_face.color(QPalette::Button));
  setPalette(button_face);
  setAutoFillBackground(true);

  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  button1_ = Place(new QPushButton(QStringLiteral("Пуск"), client), 8, 8, 153, 25);
  button1_->setFont(PixelFont(QStringLiteral("Arial Narrow"), 11));
  label1_ = PlaceLabel(QStringLiteral("Список шар для наблюдения:"), client, 8, 39);
  list_box2_ = PlaceListBox(client, 8, 57, 153, 287);
  list_box2_->setContextMenuPolicy(Qt::CustomContextMenu);
  button3_ = Place(new QPushButton(QStringLiteral("Очистить"), client), 8, 348, 153, 25);
  label5_ = PlaceLabel(QStringLiteral("Version %1   Автор: И. Петров").arg(QLatin1String(kProgramVersion)), client, 829, 1);

  page_control1_ = Place(new QTabWidget(client), 168, 24, 873, 352);
  tab_sheet1_ = new QWidget;
  tab_sheet2_ = new QWidget;
  tab_sheet3_ = new QWidget;
  page_control1_->addTab(tab_sheet1_, QStringLiteral("Таблица с данными"));
  page_control1_->addTab(tab_sheet2_, QStringLiteral("Дополнительные данные"));
  page_control1_->addTab(tab_sheet3_, QStringLiteral("График"));
  page_control1_->setCurrentIndex(0);

  list_view1_items_ = new ConnectionTableModel(logic_.Table(), this);
  list_view1_ = Place(new QTreeView(tab_sheet1_), 8, 4, 865, 317);
  list_view1_->setModel(list_view1_items_);
  list_view1_->setRootIsDecorated(false);
  list_view1_->setItemsExpandable(false);
  list_view1_->setUniformRowHeights(true);
  list_view1_->setSortingEnabled(false);
  list_view1_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_view1_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_view1_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  list_view1_->header()->setSectionsClickable(false);
  list_view1_->header()->setSectionsMovable(false);
  list_view1_->header()->setStretchLastSection(false);
  list_view1_->header()->setDefaultSectionSize(kColumnWidth);
  QHeaderView* header = list_view1_->header();
  const auto fit = [header] { FitReportColumns(*header); };
  connect(list_view1_items_, &QAbstractItemModel::columnsInserted, header, fit);
  connect(list_view1_items_, &QAbstractItemModel::columnsRemoved, header, fit);
  connect(list_view1_items_, &QAbstractItemModel::modelReset, header, fit);

  BuildListPage();
  chart1_widget_ = Place(new TChartWidget(tab_sheet3_), 16, 8, 817, 250);
  chart1_ = &chart1_widget_->Chart();
  series1_ = &ConfigureHistoryChart(*chart1_);

  BuildMenus();
  SetTabOrder();
  setFixedSize(sizeHint());
  move(kLeft, kTop);
}

void TForm1::BuildListPage() {
  label3_ = PlaceLabel(QStringLiteral("Список шар компьютера"), tab_sheet2_, 8, 0);
  list_box1_ = PlaceListBox(tab_sheet2_, 0, 24, 177, 257);
  button2_ = Place(new QPushButton(QStringLiteral("Добавить в список наблюдения"), tab_sheet2_), 8, 288, 177, 25);
  label4_ = PlaceLabel(QStringLiteral("Список текущих пользователей"), tab_sheet2_, 208, 0);
  list_box3_ = PlaceListBox(tab_sheet2_, 200, 24, 177, 257);
  label2_ = PlaceLabel(QStringLiteral("Интервал опроса (мин):"), tab_sheet2_, 392, 24);
  edit1_ = Place(new QLineEdit(QString::fromLatin1(core::kDefaultIntervalMinutes), tab_sheet2_), 515, 22, 57, 21);
}

void TForm1::BuildMenus() {
  n1_ = menuBar()->addMenu(QStringLiteral("Меню"));
  n2_ = n1_->addAction(QStringLiteral("Загрузить файл"));
  n6_ = n1_->addAction(QStringLiteral("Сохранить таблицу"));
  n4_ = n1_->addAction(QStringLiteral("Выход"));
  popup_menu1_ = new QMenu(this);
  n3_ = popup_menu1_->addAction(QStringLiteral("Удалить"));
  n5_ = popup_menu1_->addAction(QStringLiteral("Пользователи"));
}

void TForm1::SetTabOrder() {
  for (QLabel* label : {label1_, label2_, label3_, label4_, label5_}) label->setFocusPolicy(Qt::NoFocus);
  setTabOrder(button1_, page_control1_);
  setTabOrder(page_control1_, list_box2_);
  setTabOrder(list_box2_, button3_);
  setTabOrder(list_box1_, button2_);
  setTabOrder(button2_, edit1_);
  setTabOrder(edit1_, list_box3_);
}

void TForm1::ConnectHandlers() {
  const auto handle = [this](void (TForm1::*handler)()) { return [this, handler] { Run(handler); }; };
  connect(button1_, &QPushButton::clicked, this, handle(&TForm1::Button1Click));
  connect(&timer1_waits_, &QTimer::timeout, this, handle(&TForm1::Timer1Timer));
  connect(list_box1_, &TListBox::DblClick, this, handle(&TForm1::ListBox1DblClick));
  connect(list_box3_, &TListBox::DblClick, this, handle(&TForm1::ListBox1DblClick));
  connect(button2_, &QPushButton::clicked, this, handle(&TForm1::Button2Click));
  connect(button3_, &QPushButton::clicked, this, handle(&TForm1::Button3Click));
  connect(list_box2_, &TListBox::Click, this, handle(&TForm1::ListBox2Click));
  connect(n2_, &QAction::triggered, this, handle(&TForm1::N2Click));
  connect(n6_, &QAction::triggered, this, handle(&TForm1::N6Click));
  connect(n3_, &QAction::triggered, this, handle(&TForm1::N3Click));
  connect(n4_, &QAction::triggered, this, handle(&TForm1::N4Click));
  connect(n5_, &QAction::triggered, this, handle(&TForm1::N5Click));
  connect(list_box2_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& position) { popup_menu1_->popup(list_box2_->viewport()->mapToGlobal(position)); });
}
