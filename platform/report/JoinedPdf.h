#pragma once

#include "platform/report/UnnamedFile.h"

#include <QFile>
#include <QString>

#include <vector>

// A PDF made of the pages of other PDFs, written as each file is read and
// then let go: what it keeps is the place of each object written, never a
// page, and it has one file open to read at a time. The target is replaced
// only by Publish, once whole.
class JoinedPdf {
 public:
  explicit JoinedPdf(const QString& target);  // raises with the reason
  JoinedPdf(const JoinedPdf&) = delete;
  JoinedPdf& operator=(const JoinedPdf&) = delete;

  // The file's pages after those added so far; the reason it cannot be read
  // (qpdf's), and then none of its pages is added. Raises when the target
  // cannot be written.
  QString Add(const QString& file);
  int PageCount() const { return int(pages_.size()); }
  void Publish();  // raises with the reason

  // What the objects of one source file are written through.
  class Source;

 private:
  int NewObject();
  void BeginObject(int number);
  void Put(const QByteArray& bytes);

  UnnamedFile file_;
  QFile out_;
  std::vector<qint64> offsets_;  // by object number, from 1; 0 while not written
  std::vector<int> pages_;
};
