#pragma once

#include <QtGlobal>

struct sqlite3;
struct sqlite3_file;

// A database file SQLite reaches through a VFS of this system's over the
// default one: what the object does not take passes to the real file.
class WrappedFile {
 public:
  explicit WrappedFile(sqlite3_file* real) : real_(real) {}
  virtual ~WrappedFile() = default;
  WrappedFile(const WrappedFile&) = delete;
  WrappedFile& operator=(const WrappedFile&) = delete;

  // SQLite's calls, with SQLite's result codes.
  virtual int Read(void* data, int amount, qint64 at);
  virtual int Write(const void* data, int amount, qint64 at);
  virtual int Truncate(qint64 size);

  using Make = WrappedFile* (*)(sqlite3_file* real);
  // Registers once the VFS of that name (a literal) whose main database
  // files are made so; its name. No memory map: every byte passes through
  // the object.
  static const char* Vfs(const char* name, Make make);
  // The object of the connection's main file, where it was opened through
  // such a VFS.
  static WrappedFile* Of(sqlite3* db);

 protected:
  sqlite3_file* real_;
};
