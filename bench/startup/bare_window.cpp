// The peer of the start-up measurement: a bare Qt main window of the size given on the command line, shown as
// soon as the application exists.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  const int width = argc > 2 ? QString::fromLocal8Bit(argv[1]).toInt() : 800;
  const int height = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 600;
  w.resize(width, height);
  w.setWindowTitle(QStringLiteral("bare"));
  w.show();
  return app.exec();
}
