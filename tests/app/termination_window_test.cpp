// A stop signal while the window waits in a modal loop: a box, the file dialog or a menu. The
// signal is real (sent to this process) and caught as the program catches it.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <functional>

#include "app/form1.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "app/termination.h"
#include "qt_application.h"
#include "tests/support/temporary_directory.h"

namespace {

using namespace std::chrono_literals;

TEST(termination_window_test, a_signal_closes_what_is_open_saves_the_watch_list_and_ends_every_loop) {
  QApplication& application = TestApplication();
  struct Case {
    const char* what;
    std::function<void(TForm1&)> open;  // returns when its modal loop ends
  };
  const Case cases[] = {
      {"notice box", [](TForm1&) { NoticeBox("notice"); }},
      {"open dialog", [](TForm1& form) { form.N2()->trigger(); }},
      {"popup menu", [](TForm1& form) { form.PopupMenu1()->exec(); }},
  };
  for (const Case& c : cases) {
    EndMessageBoxes(false);  // the signal of an earlier run ended them
    TemporaryDirectory directory;
    TForm1 form;
    form.SetExecutableFileName(QString::fromStdString(directory.File("sharemon")));
    form.show();
    form.ListBox2()->SetEntries({"docs"});
    CloseWindowOnTermination(&form);
    bool returned = false;
    QTimer::singleShot(0, &form, [&] {
      c.open(form);
      returned = true;
    });
    // The signal comes once the modal loop runs. Should the loops go on, the test ends them
    // itself after a long while, and fails.
    const auto started = std::chrono::steady_clock::now();
    bool signalled = false;
    QTimer watch;
    watch.callOnTimeout([&] {
      QWidget* open = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
      if (open != nullptr && !signalled) signalled = kill(getpid(), SIGTERM) == 0;
      if (std::chrono::steady_clock::now() - started < 30s) return;
      if (open != nullptr) open->close();
      QCoreApplication::exit(1);
    });
    watch.start(10);
    EXPECT_EQ(application.exec(), 0) << c.what;
    EXPECT_TRUE(returned) << c.what;
    EXPECT_FALSE(form.isVisible()) << c.what;
    EXPECT_EQ(TemporaryDirectory::ReadBytes(directory.File("splist.txt")), "docs\r\n") << c.what;
  }
}

}  // namespace
