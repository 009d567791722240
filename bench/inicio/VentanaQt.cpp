// A bare Qt window: the application object made, one window shown, the
// message loop run once.

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget ventana;
  ventana.resize(400, 300);
  ventana.show();
  QTimer::singleShot(0, &application, &QApplication::quit);
  return application.exec();
}
