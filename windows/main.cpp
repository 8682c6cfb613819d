// Program start. Until the main window exists this shows a placeholder that says so.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel placeholder("The configurator's main window is not built yet.");
  placeholder.setWindowTitle("Configurator");
  placeholder.setMargin(24);
  placeholder.show();
  return app.exec();
}
