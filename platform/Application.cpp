#include "platform/Application.h"

#include <QtDebug>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

Application::~Application() = default;

Application* Application::Instance() { return qobject_cast<Application*>(QCoreApplication::instance()); }

void Application::Terminate() {
  terminated_ = true;
  emit terminateRequested();
  quit();
}

int Application::Run() {
  if (terminated_) return 0;
  return exec();
}

void Application::HandleException(QObject* sender, const Exception& error) {
  if (exceptionHandler_)
    exceptionHandler_(sender, error);
  else
    qWarning().noquote() << error.Message();
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    if (event->type() == QEvent::KeyPress && keyPressFilter_ && keyPressFilter_(receiver, static_cast<QKeyEvent*>(event)))
      return true;
    return QApplication::notify(receiver, event);
  } catch (const Abort&) {
  } catch (const Exception& error) {
    HandleException(receiver, error);
  } catch (const std::exception& error) {
    HandleException(receiver, Exception(QString::fromLocal8Bit(error.what())));
  }
  return false;
}
