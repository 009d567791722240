#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// A file locked for as long as the object lives. The lock belongs to the
// open file, not to the process: a second LockFile on the same path fails
// even inside the same process, and the system releases the lock when the
// process ends, however it ends.
class LockFile {
 public:
  // The lock, with the content written into the file; nullptr when another
  // holder has it. Raises Exception when the file cannot be created.
  static std::unique_ptr<LockFile> TryAcquire(const QString& path, const QByteArray& content);
  // The lock, once every other holder has let it go. Raises Exception when
  // the file cannot be created or locked.
  static std::unique_ptr<LockFile> Acquire(const QString& path);
  // Whether anyone holds the lock of an existing file.
  static bool IsHeld(const QString& path);

  ~LockFile();
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;

  const QString& Path() const { return path_; }

 private:
  LockFile(int descriptor, QString path) : descriptor_(descriptor), path_(std::move(path)) {}

  int descriptor_;
  QString path_;
};
