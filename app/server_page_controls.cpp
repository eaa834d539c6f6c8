#include "app/server_page_controls.h"

#include "app/choice_combo_box.h"
#include "app/form_places.h"
#include "app/qt_text.h"
#include "app/report_list_view.h"

using namespace core::form1;

void ServerPageControls::Build(QWidget& page) {
  sessions_label_ = PlaceLabel(kSessionsLabel, &page);
  refresh_button_ = PlaceButton(kRefreshButton, &page);
  sessions_list_ = PlaceAt(new ReportListView(kSessionsColumnWidths, &page), kSessionsList);
  open_files_label_ = PlaceLabel(kOpenFilesLabel, &page);
  open_files_share_box_ = PlaceAt(new ChoiceComboBox(&page), kOpenFilesShareBox);
  open_files_list_ = PlaceAt(new ReportListView(kOpenFilesColumnWidths, &page), kOpenFilesList);
  server_status_ = PlaceAt(new QLabel(&page), kServerStatus);
  server_status_->setWordWrap(true);
  server_status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

core::ReportList& ServerPageControls::SessionsList() { return *sessions_list_; }
core::ReportList& ServerPageControls::OpenFilesList() { return *open_files_list_; }
core::ChoiceBox& ServerPageControls::OpenFilesShareBox() { return *open_files_share_box_; }

void ServerPageControls::ShowServerStatus(const rtl::Text& status) { server_status_->setText(ToQString(status)); }
