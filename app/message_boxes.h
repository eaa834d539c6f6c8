// The program's two modal message boxes; the window's commands show their errors in ErrorBox
// (core::WindowLogic::Guarded).
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "rtl/text.h"

// The executable's file name without its extension ("sharemon").
QString ApplicationTitle();

// Stop icon, OK button, the message with the box's full stop rule (rtl::ErrorMessageForBox).
void ErrorBox(const rtl::Text& message);
// OK button, no icon, centred on the screen.
void NoticeBox(const rtl::Text& message);

// From now on no box is shown, as the program is ending and nobody may be there to press OK:
// each box's title and text go to standard error instead. A test that goes on in the same
// process shows boxes again with `ending` false.
void EndMessageBoxes(bool ending = true);

// While one of these lives, boxes are recorded instead of shown, so tests see what the
// user would have seen without a modal loop. The innermost living recorder gets the boxes.
class MessageBoxRecorder {
 public:
  enum class Kind { kError, kNotice };
  struct Box {
    Kind kind;
    QString title;
    QString text;  // as shown, full stop included
  };

  MessageBoxRecorder();
  ~MessageBoxRecorder();
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  const std::vector<Box>& Boxes() const { return boxes_; }
  void Record(Kind kind, const QString& title, const QString& text) { boxes_.push_back({kind, title, text}); }

 private:
  std::vector<Box> boxes_;
  MessageBoxRecorder* previous_;
};
