#pragma once

#include "platform/report/RecordedPages.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

struct PageRecord;

// The PDF pieces of a printout: pages added in order and written as one
// file of a paper size, and PDF files joined in list order. Each operation
// gives an error text, empty on success; a target is replaced only once it
// is whole.
class PdfCreator {
 public:
  PdfCreator();
  // The page is kept outside memory until written.
  void AddPage(const PageRecord& page);
  int PageCount() const { return pages_.PageCount(); }
  // The pages added so far, each on a page of the paper given in millimetres.
  QString Write(const QString& target, const QSizeF& paperMillimetres);
  // The files that can be read, in order, read one at a time; the error
  // names those that cannot.
  static QString Join(const QStringList& files, const QString& target);
  // The file copied whole to the target.
  static QString Copy(const QString& file, const QString& target);
  // A document LibreOffice reads (Word, RTF, OpenDocument) as PDF; with a
  // DOCX target, the document as DOCX. Each conversion runs LibreOffice
  // headless with a profile of its own.
  static QString Convert(const QString& document, const QString& target);

 private:
  RecordedPages pages_;
};
