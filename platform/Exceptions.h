#pragma once

#include <QString>

#include <exception>
#include <string>

// The system's exception: a message text, shown by whoever handles it.
class Exception : public std::exception {
 public:
  explicit Exception(QString message) : message_(std::move(message)), what_(message_.toStdString()) {}
  const QString& Message() const { return message_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  QString message_;
  std::string what_;
};

// The silent exception: ends the current operation without any message.
class Abort : public Exception {
 public:
  Abort() : Exception(QStringLiteral("Operation aborted")) {}
};
