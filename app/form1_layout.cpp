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
#include "app/report_columns.h"
#include "chart/qt/chart_widget.h"
#include "core/polling_run.h"
#include "core/version.h"
#include "core/window/form_layout.h"

namespace {

using namespace core::form1;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

template <typename Widget>
Widget* PlaceAt(Widget* widget, Place place) {
  widget->setGeometry(place.left, place.top, place.width, place.height);
  return widget;
}

QPushButton* PlaceButton(const Control& button, QWidget* parent) {
  return PlaceAt(new QPushButton(Utf8(button.caption), parent), button.place);
}

// Labels size themselves to their text.
QLabel* PlaceLabel(const QString& caption, QWidget* parent, Place place) {
  auto* label = new QLabel(caption, parent);
  label->move(place.left, place.top);
  label->adjustSize();
  return label;
}

QLabel* PlaceLabel(const Control& label, QWidget* parent) { return PlaceLabel(Utf8(label.caption), parent, label.place); }

TListBox* PlaceListBox(QWidget* parent, Place place) {
  auto* list_box = PlaceAt(new TListBox(parent), place);
  list_box->SetItemHeight(kListItemHeight);
  return list_box;
}

QFont PixelFont(const Font& chosen) {
  QFont font(Utf8(chosen.face));
  font.setPixelSize(chosen.pixel_height);
  return font;
}

}  // namespace

void TForm1::BuildLayout() {
  setWindowTitle(Utf8(kTitle));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFont(PixelFont(kFont));
  QPalette button_face = palette();
  button_face.setColor(QPalette::Window, button_face.color(QPalette::Button));
  setPalette(button_face);
  setAutoFillBackground(true);

  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  button1_ = PlaceButton(kButton1, client);
  button1_->setFont(PixelFont(kButton1Font));
  label1_ = PlaceLabel(kLabel1, client);
  list_box2_ = PlaceListBox(client, kListBox2);
  list_box2_->setContextMenuPolicy(Qt::CustomContextMenu);
  button3_ = PlaceButton(kButton3, client);
  label5_ = PlaceLabel(QString::fromStdString(core::VersionLabelText()), client, kLabel5);

  page_control1_ = PlaceAt(new QTabWidget(client), kPageControl1);
  tab_sheet1_ = new QWidget;
  tab_sheet2_ = new QWidget;
  tab_sheet3_ = new QWidget;
  page_control1_->addTab(tab_sheet1_, Utf8(kPages[0]));
  page_control1_->addTab(tab_sheet2_, Utf8(kPages[1]));
  page_control1_->addTab(tab_sheet3_, Utf8(kPages[2]));
  page_control1_->setCurrentIndex(0);

  list_view1_items_ = new ConnectionTableModel(logic_.Table(), this);
  list_view1_ = PlaceAt(new QTreeView(tab_sheet1_), kListView1);
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
  new ReportColumns(*list_view1_);

  BuildListPage();
  chart1_widget_ = PlaceAt(new TChartWidget(tab_sheet3_), kChart1);
  chart1_ = &chart1_widget_->Chart();
  series1_ = &ConfigureHistoryChart(*chart1_);

  BuildMenus();
  SetTabOrder();
  setFixedSize(sizeHint());
  move(kLeft, kTop);
}

void TForm1::BuildListPage() {
  label3_ = PlaceLabel(kLabel3, tab_sheet2_);
  list_box1_ = PlaceListBox(tab_sheet2_, kListBox1);
  button2_ = PlaceButton(kButton2, tab_sheet2_);
  label4_ = PlaceLabel(kLabel4, tab_sheet2_);
  list_box3_ = PlaceListBox(tab_sheet2_, kListBox3);
  label2_ = PlaceLabel(kLabel2, tab_sheet2_);
  edit1_ = PlaceAt(new QLineEdit(QString::fromLatin1(core::kDefaultIntervalMinutes), tab_sheet2_), kEdit1);
}

void TForm1::BuildMenus() {
  n1_ = menuBar()->addMenu(Utf8(kN1));
  n2_ = n1_->addAction(Utf8(kN2.caption));
  n6_ = n1_->addAction(Utf8(kN6.caption));
  n4_ = n1_->addAction(Utf8(kN4.caption));
  popup_menu1_ = new QMenu(this);
  n3_ = popup_menu1_->addAction(Utf8(kN3.caption));
  n5_ = popup_menu1_->addAction(Utf8(kN5.caption));
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
