// The main window's layout: places, captions, fonts, pages, menus and tab order.
#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include "app/choice_combo_box.h"
#include "app/form1.h"
#include "app/list_box.h"
#include "app/report_list_view.h"
#include "app/window_timer.h"
#include "chart/qt/chart_widget.h"
#include "qt_application.h"

namespace {

class form1_layout_test : public testing::Test {
 protected:
  QApplication& application_ = TestApplication();  // before any widget
  TForm1 form_;
};

struct Placement {
  const char* name;
  QWidget* control;
  QWidget* parent;
  QRect geometry;
};

TEST_F(form1_layout_test, every_control_sits_at_its_place) {
  const Placement placements[] = {
      {"Button1", form_.Button1(), form_.centralWidget(), {8, 8, 153, 25}},
      {"ListBox2", form_.ListBox2(), form_.centralWidget(), {8, 57, 153, 287}},
      {"Button3", form_.Button3(), form_.centralWidget(), {8, 348, 153, 25}},
      {"PageControl1", form_.PageControl1(), form_.centralWidget(), {168, 24, 873, 352}},
      {"ListView1", form_.ListView1(), form_.TabSheet1(), {8, 4, 865, 317}},
      {"ListBox1", form_.ListBox1(), form_.TabSheet2(), {0, 24, 177, 257}},
      {"Button2", form_.Button2(), form_.TabSheet2(), {8, 288, 177, 25}},
      {"ListBox3", form_.ListBox3(), form_.TabSheet2(), {200, 24, 177, 257}},
      {"Edit1", form_.Edit1(), form_.TabSheet2(), {515, 22, 57, 21}},
      {"Chart1", form_.Chart1Widget(), form_.TabSheet3(), {16, 8, 817, 250}},
      {"RefreshButton", form_.RefreshButton(), form_.TabSheet4(), {768, 2, 89, 25}},
      {"SessionsList", form_.SessionsList(), form_.TabSheet4(), {8, 30, 849, 112}},
      {"OpenFilesShareBox", form_.OpenFilesShareBox(), form_.TabSheet4(), {120, 150, 177, 21}},
      {"OpenFilesList", form_.OpenFilesList(), form_.TabSheet4(), {8, 176, 849, 104}},
      {"ServerStatus", form_.ServerStatus(), form_.TabSheet4(), {8, 284, 849, 39}},
  };
  for (const Placement& placement : placements) {
    SCOPED_TRACE(placement.name);
    EXPECT_EQ(placement.control->parentWidget(), placement.parent);
    EXPECT_EQ(placement.control->geometry(), placement.geometry);
  }
  const std::pair<QLabel*, QPoint> labels[] = {
      {form_.Label1(), {8, 39}}, {form_.Label5(), {829, 1}}, {form_.Label3(), {8, 0}},
      {form_.Label4(), {208, 0}}, {form_.Label2(), {392, 24}}, {form_.SessionsLabel(), {8, 6}},
      {form_.OpenFilesLabel(), {8, 154}},
  };
  for (const auto& [label, position] : labels) EXPECT_EQ(label->pos(), position) << label->text().toStdString();
}

TEST_F(form1_layout_test, window_has_its_caption_fixed_client_size_and_no_maximise) {
  EXPECT_EQ(form_.windowTitle(), QStringLiteral("Мониторинг количества подключений к сетевым ресурсам"));
  EXPECT_EQ(form_.centralWidget()->size(), QSize(1046, 381));
  EXPECT_EQ(form_.minimumSize(), form_.maximumSize());
  EXPECT_FALSE(form_.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form_.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(form_.pos(), QPoint(206, 126));
  EXPECT_EQ(form_.palette().color(QPalette::Window), form_.palette().color(QPalette::Button));
}

TEST_F(form1_layout_test, captions_and_initial_values) {
  EXPECT_EQ(form_.Button1()->text(), QStringLiteral("Пуск"));
  EXPECT_EQ(form_.Button2()->text(), QStringLiteral("Добавить в список наблюдения"));
  EXPECT_EQ(form_.Button3()->text(), QStringLiteral("Очистить"));
  EXPECT_EQ(form_.Label1()->text(), QStringLiteral("Список шар для наблюдения:"));
  EXPECT_EQ(form_.Label2()->text(), QStringLiteral("Интервал опроса (мин):"));
  EXPECT_EQ(form_.Label3()->text(), QStringLiteral("Список шар компьютера"));
  EXPECT_EQ(form_.Label4()->text(), QStringLiteral("Список текущих пользователей"));
  EXPECT_EQ(form_.SessionsLabel()->text(), QStringLiteral("Сеансы"));
  EXPECT_EQ(form_.OpenFilesLabel()->text(), QStringLiteral("Открытые файлы"));
  EXPECT_EQ(form_.RefreshButton()->text(), QStringLiteral("Обновить"));
  EXPECT_TRUE(form_.Label5()->text().startsWith(QStringLiteral("Version 1.3")));
  EXPECT_EQ(form_.Edit1()->text(), QStringLiteral("30"));
  EXPECT_EQ(form_.Timer1()->Interval(), 1000u);
  EXPECT_FALSE(form_.Timer1()->Enabled());
  EXPECT_EQ(form_.ListBox1()->Count() + form_.ListBox2()->Count() + form_.ListBox3()->Count(), 0);
  EXPECT_EQ(form_.ListView1()->model()->columnCount(), 0);
}

TEST_F(form1_layout_test, fonts_of_the_window_and_the_start_button) {
  EXPECT_EQ(form_.font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(form_.font().pixelSize(), 11);
  EXPECT_EQ(form_.Button1()->font().family(), QStringLiteral("Arial Narrow"));
  EXPECT_EQ(form_.Button1()->font().pixelSize(), 11);
  EXPECT_EQ(form_.Label1()->font().pixelSize(), 11);
}

TEST_F(form1_layout_test, four_pages_with_the_first_active) {
  QTabWidget* pages = form_.PageControl1();
  ASSERT_EQ(pages->count(), 4);
  EXPECT_EQ(pages->tabText(0), QStringLiteral("Таблица с данными"));
  EXPECT_EQ(pages->tabText(1), QStringLiteral("Дополнительные данные"));
  EXPECT_EQ(pages->tabText(2), QStringLiteral("График"));
  EXPECT_EQ(pages->tabText(3), QStringLiteral("Сеансы и файлы"));
  EXPECT_EQ(pages->widget(0), form_.TabSheet1());
  EXPECT_EQ(pages->widget(1), form_.TabSheet2());
  EXPECT_EQ(pages->widget(2), form_.TabSheet3());
  EXPECT_EQ(pages->widget(3), form_.TabSheet4());
  EXPECT_EQ(pages->currentIndex(), 0);
}

TEST_F(form1_layout_test, menus_carry_their_items) {
  EXPECT_EQ(form_.N1()->title(), QStringLiteral("Меню"));
  EXPECT_EQ(form_.N1()->actions(), (QList<QAction*>{form_.N2(), form_.N6(), form_.N4()}));
  EXPECT_EQ(form_.N2()->text(), QStringLiteral("Загрузить файл"));
  EXPECT_EQ(form_.N6()->text(), QStringLiteral("Сохранить таблицу"));
  EXPECT_EQ(form_.N4()->text(), QStringLiteral("Выход"));
  EXPECT_EQ(form_.PopupMenu1()->actions(), (QList<QAction*>{form_.N3(), form_.N5()}));
  EXPECT_EQ(form_.N3()->text(), QStringLiteral("Удалить"));
  EXPECT_EQ(form_.N5()->text(), QStringLiteral("Пользователи"));
  EXPECT_EQ(form_.ListBox2()->contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(form1_layout_test, list_view_is_an_unsorted_report_with_inert_header) {
  QTreeView* view = form_.ListView1();
  EXPECT_FALSE(view->isSortingEnabled());
  EXPECT_FALSE(view->header()->sectionsClickable());
  EXPECT_FALSE(view->rootIsDecorated());
  EXPECT_TRUE(view->editTriggers() & QAbstractItemView::EditKeyPressed);
}

TEST_F(form1_layout_test, list_boxes_are_single_selection_with_13_pixel_items) {
  for (TListBox* list_box : {form_.ListBox1(), form_.ListBox2(), form_.ListBox3()}) {
    EXPECT_EQ(list_box->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_FALSE(list_box->isSortingEnabled());
    list_box->AddEntry("x");
    EXPECT_EQ(list_box->sizeHintForRow(0), 13);
  }
}

// The order in which Tab visits the controls, among those named.
std::vector<QWidget*> TabSequence(QWidget* start, const std::vector<QWidget*>& named) {
  std::vector<QWidget*> sequence;
  QWidget* widget = start;
  do {
    for (QWidget* candidate : named) {
      if (widget == candidate || (candidate->focusProxy() != nullptr && widget == candidate->focusProxy())) {
        if (sequence.empty() || sequence.back() != candidate) sequence.push_back(candidate);
      }
    }
    widget = widget->nextInFocusChain();
  } while (widget != start && sequence.size() < 2 * named.size());
  return sequence;
}

// Qt's chain holds every page's controls, after PageControl1, and skips those of hidden pages.
TEST_F(form1_layout_test, tab_visits_the_window_and_every_page_in_the_layouts_order) {
  const std::vector<QWidget*> order = {
      form_.Button1(),       form_.PageControl1(),   form_.ListView1(),         form_.ListBox1(),
      form_.Button2(),       form_.Edit1(),          form_.ListBox3(),          form_.RefreshButton(),
      form_.SessionsList(),  form_.OpenFilesShareBox(), form_.OpenFilesList(), form_.ListBox2(),
      form_.Button3(),
  };
  const std::vector<QWidget*> sequence = TabSequence(form_.Button1(), order);
  ASSERT_GE(sequence.size(), order.size());
  EXPECT_EQ(std::vector<QWidget*>(sequence.begin(), sequence.begin() + order.size()), order);
}

}  // namespace
