// Program entry: starts the application object and runs the main window.
#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  return 0;
}
