#include "app/list_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "app/qt_text.h"
#include "rtl/errors.h"

namespace {

// Gives every entry the same fixed height, as an owner-less list box does.
class FixedHeightDelegate : public QStyledItemDelegate {
 public:
  FixedHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), height_);
  }

 private:
  int height_;
};

}  // namespace

TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSortingEnabled(false);
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

rtl::StringList TListBox::Entries() const {
  rtl::StringList entries;
  for (int i = 0; i < count(); ++i) entries.Add(ToText(item(i)->text()));
  return entries;
}

void TListBox::SetEntries(const rtl::StringList& entries) {
  QStringList texts;
  texts.reserve(entries.Count());
  for (const rtl::Text& entry : entries) texts.append(ToQString(entry));
  clear();
  addItems(texts);
}

void TListBox::AddEntry(const rtl::Text& entry) { addItem(ToQString(entry)); }

rtl::Text TListBox::Entry(int index) const {
  if (index < 0 || index >= count()) throw rtl::ListIndexError(index);
  return ToText(item(index)->text());
}

void TListBox::DeleteEntry(int index) {
  if (index < 0 || index >= count()) throw rtl::ListIndexError(index);
  delete takeItem(index);
  // A list box loses its selection with the selected entry; it never moves on by itself.
  clearSelection();
}

void TListBox::ClearEntries() { clear(); }

int TListBox::ItemIndex() const {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

void TListBox::SetItemIndex(int index) {
  if (index < 0 || index >= count()) {
    clearSelection();
    return;
  }
  setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

void TListBox::SetItemHeight(int pixels) {
  setItemDelegate(new FixedHeightDelegate(pixels, this));
}

void TListBox::mousePressEvent(QMouseEvent* event) {
  // The right button only opens the popup menu, and a click below the last entry selects
  // nothing: in both cases the selection stays where it was.
  if (event->button() == Qt::RightButton || itemAt(event->position().toPoint()) == nullptr) {
    event->accept();
    return;
  }
  QListWidget::mousePressEvent(event);
}

void TListBox::mouseReleaseEvent(QMouseEvent* event) {
  QListWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) != nullptr) emit Click();
}

void TListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (itemAt(event->position().toPoint()) != nullptr) QListWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit DblClick();
}

void TListBox::keyPressEvent(QKeyEvent* event) {
  const int before = ItemIndex();
  QListWidget::keyPressEvent(event);
  if (ItemIndex() != before) emit Click();
}
