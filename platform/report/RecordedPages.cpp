#include "platform/report/RecordedPages.h"

#include "platform/Exceptions.h"

#include <QDataStream>
#include <QDir>

RecordedPages::RecordedPages() : file_(QDir::temp().filePath(QStringLiteral("zempaginas-XXXXXX.pag"))) {}

void RecordedPages::Begin(const PageSetup& setup) {
  setup_ = setup;
  offsets_.clear();
  if (!file_.isOpen() && !file_.open()) throw Exception(file_.errorString());
  file_.resize(0);
  file_.seek(0);
}

void RecordedPages::AddPage(const PageRecord& page) {
  file_.seek(file_.size());
  offsets_.push_back(file_.pos());
  QDataStream stream(&file_);
  stream << page;
  if (stream.status() != QDataStream::Ok) throw Exception(file_.errorString());
}

void RecordedPages::End() {
  if (!file_.flush()) throw Exception(file_.errorString());
}

PageRecord RecordedPages::Page(int number) const {
  PageRecord page;
  if (number < 1 || number > PageCount()) return page;
  file_.seek(offsets_[number - 1]);
  QDataStream stream(&file_);
  stream >> page;
  return page;
}
