// The main window's layout: every control at its place, with its caption, font and tab
// order, and the one table of control events and the commands they run.
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
#include <algorithm>
#include <iterator>

#include "app/choice_combo_box.h"
#include "app/connection_table_model.h"
#include "app/form1.h"
#include "app/form_places.h"
#include "app/history_chart.h"
#include "app/list_box.h"
#include "app/report_columns.h"
#include "app/report_list_view.h"
#include "chart/qt/chart_widget.h"
#include "core/polling_run.h"
#include "core/version.h"
#include "core/window/form_layout.h"

namespace {

using namespace core::form1;

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

using core::WindowCommand;

// A control's signal and the command it runs; the control by its getter.
struct ControlEvent {
  void (*connect)(TForm1& form, WindowCommand command);
  WindowCommand command;
};

template <auto kControl, auto kSignal>
void Connect(TForm1& form, WindowCommand command) {
  QObject::connect((form.*kControl)(), kSignal, &form, [&form, command] { form.Logic().Execute(command); });
}

// The menu items' commands come with the items (core::form1::kN1Items, kPopupMenu1Items).
constexpr ControlEvent kEvents[] = {
    {Connect<&TForm1::Button1, &QPushButton::clicked>, WindowCommand::kStartStop},
    {Connect<&TForm1::Timer1Waits, &QTimer::timeout>, WindowCommand::kTimerWaitEnded},
    // ListBox1's selection, also when the double-click was on the users view (ListBox3).
    {Connect<&TForm1::ListBox1, &TListBox::DblClick>, WindowCommand::kAddSelectedShare},
    {Connect<&TForm1::ListBox3, &TListBox::DblClick>, WindowCommand::kAddSelectedShare},
    {Connect<&TForm1::Button2, &QPushButton::clicked>, WindowCommand::kCopyShareList},
    {Connect<&TForm1::Button3, &QPushButton::clicked>, WindowCommand::kClearWatchList},
    {Connect<&TForm1::ListBox2, &TListBox::Click>, WindowCommand::kShowHistory},
    {Connect<&TForm1::PageControl1, &QTabWidget::currentChanged>, WindowCommand::kPageChanged},
    {Connect<&TForm1::RefreshButton, &QPushButton::clicked>, WindowCommand::kRefreshServerPage},
    {Connect<&TForm1::OpenFilesShareBox, &ChoiceComboBox::Chosen>, WindowCommand::kChooseOpenFilesShare},
    {Connect<&TForm1::SessionsList, &ReportListView::HeaderClicked>, WindowCommand::kSortSessions},
    {Connect<&TForm1::OpenFilesList, &ReportListView::HeaderClicked>, WindowCommand::kSortOpenFiles},
};

}  // namespace

QWidget* TForm1::TabSheet1() const { return page_control1_->widget(0); }
QWidget* TForm1::TabSheet2() const { return page_control1_->widget(1); }
QWidget* TForm1::TabSheet3() const { return page_control1_->widget(2); }
QWidget* TForm1::TabSheet4() const { return page_control1_->widget(3); }

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
  for (const Page& page : kPages) page_control1_->addTab(new QWidget, Utf8(page.caption));
  page_control1_->setCurrentIndex(0);
  // First of the pages' controls: built after the others, it leaves Qt 6.4's setTabOrder, which
  // takes PageControl1 and every control inside it for one, a focus chain in pieces.
  server_page_.Build(*TabSheet4());

  list_view1_items_ = new ConnectionTableModel(logic_.Table(), this);
  list_view1_ = PlaceAt(new QTreeView(TabSheet1()), kListView1);
  list_view1_->setModel(list_view1_items_);
  ShapeAsReport(*list_view1_);
  list_view1_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  list_view1_->header()->setSectionsClickable(false);
  list_view1_->header()->setDefaultSectionSize(kColumnWidth);
  new ReportColumns(*list_view1_);

  BuildListPage();
  chart1_widget_ = PlaceAt(new TChartWidget(TabSheet3()), kChart1);
  chart1_ = &chart1_widget_->Chart();
  series1_ = &ConfigureHistoryChart(*chart1_);

  BuildMenus();
  SetTabOrder();
  setFixedSize(sizeHint());
  move(kLeft, kTop);
}

void TForm1::BuildListPage() {
  QWidget* sheet = TabSheet2();
  label3_ = PlaceLabel(kLabel3, sheet);
  list_box1_ = PlaceListBox(sheet, kListBox1);
  button2_ = PlaceButton(kButton2, sheet);
  label4_ = PlaceLabel(kLabel4, sheet);
  list_box3_ = PlaceListBox(sheet, kListBox3);
  label2_ = PlaceLabel(kLabel2, sheet);
  edit1_ = PlaceAt(new QLineEdit(QString::fromLatin1(core::kDefaultIntervalMinutes), sheet), kEdit1);
}

void TForm1::BuildMenus() {
  n1_ = menuBar()->addMenu(Utf8(kN1));
  AddMenuItems(*n1_, kN1Items);
  popup_menu1_ = new QMenu(this);
  AddMenuItems(*popup_menu1_, kPopupMenu1Items);
}

void TForm1::AddMenuItems(QMenu& menu, std::span<const MenuItem> items) {
  for (const MenuItem& item : items) {
    QAction* action = menu.addAction(Utf8(item.caption));
    connect(action, &QAction::triggered, this, [this, command = item.command] { logic_.Execute(command); });
    menu_items_[item.number] = action;
  }
}

QWidget* TForm1::Widget(Focusable control) const {
  const std::pair<Focusable, QWidget*> widgets[] = {
      {Focusable::kButton1, button1_},     {Focusable::kPageControl1, page_control1_},
      {Focusable::kListBox2, list_box2_},  {Focusable::kButton3, button3_},
      {Focusable::kListView1, list_view1_}, {Focusable::kListBox1, list_box1_},
      {Focusable::kButton2, button2_},     {Focusable::kEdit1, edit1_},
      {Focusable::kListBox3, list_box3_},  {Focusable::kRefreshButton, RefreshButton()},
      {Focusable::kSessionsList, SessionsList()}, {Focusable::kOpenFilesShareBox, OpenFilesShareBox()},
      {Focusable::kOpenFilesList, OpenFilesList()},
  };
  return std::find_if(std::begin(widgets), std::end(widgets), [&](const auto& w) { return w.first == control; })->second;
}

// Qt's chain passes over the controls of the pages not shown.
void TForm1::SetTabOrder() {
  for (QLabel* label : {label1_, label2_, label3_, label4_, label5_}) label->setFocusPolicy(Qt::NoFocus);
  const std::vector<Focusable> order = TabOrder(kEveryPage);
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(Widget(order[i - 1]), Widget(order[i]));
}

void TForm1::ConnectEvents() {
  for (const ControlEvent& event : kEvents) event.connect(*this, event.command);
  connect(list_box2_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& position) { popup_menu1_->popup(list_box2_->viewport()->mapToGlobal(position)); });
}
