#pragma once

#include <QByteArray>
#include <QString>

// A file made in the target's folder with no name, so a program killed while
// writing it leaves nothing behind; Publish gives it the target's name in one
// step. Other code reaches it by Path while it lives. Where the file system
// cannot make a file without a name, it is a hidden file beside the target,
// removed when not published.
class UnnamedFile {
 public:
  explicit UnnamedFile(const QString& target);  // raises with the reason
  ~UnnamedFile();
  UnnamedFile(const UnnamedFile&) = delete;
  UnnamedFile& operator=(const UnnamedFile&) = delete;

  const QByteArray& Path() const { return path_; }
  void Publish();  // raises with the reason; the target is then as it was

 private:
  QByteArray target_;
  QByteArray path_;
  QByteArray named_;  // the fallback's hidden name
  int descriptor_ = -1;
  bool published_ = false;
};
