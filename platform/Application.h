#pragma once

#include "platform/Exceptions.h"

#include <QApplication>
#include <QKeyEvent>

#include <functional>

// The application object: the program's forms live under it, it runs the
// message loop, and it carries the "terminated" flag that start-up, the loop
// and every modal form honour. Exceptions that escape an event handler are
// handed to the installed handler; the silent Abort ends its operation quietly.
class Application : public QApplication {
  Q_OBJECT

 public:
  using ExceptionHandler = std::function<void(QObject* sender, const Exception& error)>;

  Application(int& argc, char** argv);
  ~Application() override;

  static Application* Instance();

  bool Terminated() const { return terminated_; }
  // Asks the program to end: the message loop ends (or is never entered) and
  // every modal form returns as cancelled.
  void Terminate();
  // Runs the message loop unless termination was asked for before it started.
  int Run();

  QString Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }
  QString HelpFile() const { return helpFile_; }
  void SetHelpFile(const QString& file) { helpFile_ = file; }

  // Replaces the handler of uncaught exceptions; an empty handler restores the
  // default, which writes the message to the diagnostic output.
  void SetExceptionHandler(ExceptionHandler handler) { exceptionHandler_ = std::move(handler); }
  void HandleException(QObject* sender, const Exception& error);

  // Clears the flag; for tests that run several start-ups in one process.
  void ResetTerminated() { terminated_ = false; }

  // Sees every key press once, before its receiver and the receiver's
  // parents do; a filter that answers true has taken the key.
  using KeyPressFilter = std::function<bool(QObject* receiver, QKeyEvent* event)>;
  void SetKeyPressFilter(KeyPressFilter filter) { keyPressFilter_ = std::move(filter); }

  bool notify(QObject* receiver, QEvent* event) override;

 signals:
  void terminateRequested();

 private:
  bool terminated_ = false;
  QString title_;
  QString helpFile_;
  ExceptionHandler exceptionHandler_;
  KeyPressFilter keyPressFilter_;
};
