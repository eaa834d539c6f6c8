#include "app/choice_combo_box.h"

#include <QSignalBlocker>
#include <QStringList>

#include "app/qt_text.h"

ChoiceComboBox::ChoiceComboBox(QWidget* parent) : QComboBox(parent) {
  connect(this, &QComboBox::currentIndexChanged, this, &ChoiceComboBox::Chosen);
}

void ChoiceComboBox::SetChoices(const rtl::StringList& choices, int chosen) {
  const QSignalBlocker filling(this);
  QStringList texts;
  for (const rtl::Text& choice : choices) texts.append(ToQString(choice));
  clear();
  addItems(texts);
  setCurrentIndex(chosen);
}
