// The yardstick for the start-up benchmark: a Qt Widgets program that shows
// one empty dialog and nothing else.
#include <QApplication>
#include <QDialog>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Minimal dialog"));
  dialog.resize(1024, 768);
  dialog.show();
  return app.exec();
}
