// The stored layout (core/window/form_layout.h) put onto Qt widgets: a control at its place, in
// pixels relative to its parent, with its UTF-8 caption; a label at its top left corner, sized
// to its text in the font it has then. Nothing here fails.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>

#include "core/window/form_layout.h"

inline QString Utf8(const char* text) { return QString::fromUtf8(text); }

template <typename Widget>
Widget* PlaceAt(Widget* widget, core::form1::Place place) {
  widget->setGeometry(place.left, place.top, place.width, place.height);
  return widget;
}

inline QPushButton* PlaceButton(const core::form1::Control& button, QWidget* parent) {
  return PlaceAt(new QPushButton(Utf8(button.caption), parent), button.place);
}

inline QLabel* PlaceLabel(const QString& caption, QWidget* parent, core::form1::Place place) {
  auto* label = new QLabel(caption, parent);
  label->move(place.left, place.top);
  label->adjustSize();
  return label;
}

inline QLabel* PlaceLabel(const core::form1::Control& label, QWidget* parent) {
  return PlaceLabel(Utf8(label.caption), parent, label.place);
}
