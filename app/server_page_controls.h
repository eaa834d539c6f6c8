// The controls of the page "Сеансы и файлы" as the window logic sees them (core::ServerPageView):
// "Обновить", the sessions' list, the share box and the open files' list, their labels and the
// status line, each at its place of the stored layout. The controls belong to the page they are
// built on; this object only finds them. It exists before them, since the logic takes its view
// when it is made, and Build makes them before the logic is shown.
#pragma once

#include "core/window/server_page_view.h"

class ChoiceComboBox;
class QLabel;
class QPushButton;
class QWidget;
class ReportListView;

class ServerPageControls : public core::ServerPageView {
 public:
  void Build(QWidget& page);

  QPushButton* RefreshButton() const { return refresh_button_; }
  ReportListView* SessionsView() const { return sessions_list_; }
  ChoiceComboBox* ShareBox() const { return open_files_share_box_; }
  ReportListView* OpenFilesView() const { return open_files_list_; }
  QLabel* StatusLine() const { return server_status_; }
  QLabel* SessionsLabel() const { return sessions_label_; }
  QLabel* OpenFilesLabel() const { return open_files_label_; }

 private:
  core::ReportList& SessionsList() override;
  core::ReportList& OpenFilesList() override;
  core::ChoiceBox& OpenFilesShareBox() override;
  // As wide as the lists at most; the whole status is the line's tool tip.
  void ShowServerStatus(const rtl::Text& status) override;

  QLabel* sessions_label_ = nullptr;
  QPushButton* refresh_button_ = nullptr;
  ReportListView* sessions_list_ = nullptr;
  QLabel* open_files_label_ = nullptr;
  ChoiceComboBox* open_files_share_box_ = nullptr;
  ReportListView* open_files_list_ = nullptr;
  QLabel* server_status_ = nullptr;
};
