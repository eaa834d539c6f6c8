// A drop-down list of choices (core::ChoiceBox), one chosen, texts Windows-1251. Chosen comes
// when the user picks another choice, by mouse, keyboard or wheel; never when the logic fills
// the box, which may change the chosen index too.
#pragma once

#include <QComboBox>

#include "core/window/server_page_view.h"

class ChoiceComboBox : public QComboBox, public core::ChoiceBox {
  Q_OBJECT
 public:
  explicit ChoiceComboBox(QWidget* parent = nullptr);

  void SetChoices(const rtl::StringList& choices, int chosen) override;
  int ChosenIndex() const override { return currentIndex(); }

 signals:
  void Chosen();
};
