#include "platform/report/JoinedPdf.h"

#include "platform/Exceptions.h"

// qpdf 11 without its old pointer type.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace {

constexpr int kCatalog = 1;
constexpr int kPageTree = 2;

QByteArray Reference(int number) { return QByteArray::number(number) + " 0 R"; }

// Stream data as it is stored, straight into the target.
class FileStreamData : public Pipeline {
 public:
  using Sink = std::function<void(const QByteArray&)>;
  explicit FileStreamData(Sink sink) : Pipeline("joined", nullptr), sink_(std::move(sink)) {}
  void write(unsigned char const* data, size_t length) override {
    sink_(QByteArray(reinterpret_cast<const char*>(data), qsizetype(length)));
    written += qint64(length);
  }
  void finish() override {}

  qint64 written = 0;

 private:
  Sink sink_;
};

}  // namespace

// The objects the pages of one file reach, each written once under a number
// of the target's own.
class JoinedPdf::Source {
 public:
  Source(JoinedPdf& target, const QString& file) : target_(target) {
    pdf_.setSuppressWarnings(true);
    pdf_.setAttemptRecovery(false);
    pdf_.processFile(QFile::encodeName(file).constData());
  }

  std::vector<int> WritePages() {
    QPDFPageDocumentHelper document(pdf_);
    document.pushInheritedAttributesToPage();
    std::vector<int> pages;
    for (QPDFPageObjectHelper& page : document.getAllPages()) {
      pageObjects_.insert(page.getObjectHandle().getObjGen());
      pages.push_back(Number(page.getObjectHandle()));
    }
    while (!waiting_.empty()) {
      QPDFObjectHandle object = waiting_.front();
      waiting_.pop_front();
      Write(object);
    }
    return pages;
  }

 private:
  int Number(QPDFObjectHandle object) {
    const auto [entry, added] = numbers_.try_emplace(object.getObjGen(), 0);
    if (added) {
      entry->second = target_.NewObject();
      waiting_.push_back(object);
    }
    return entry->second;
  }

  void Write(QPDFObjectHandle object) {
    const int number = numbers_.at(object.getObjGen());
    if (!object.isStream()) {
      const QByteArray value = Direct(object, pageObjects_.count(object.getObjGen()) > 0);
      target_.BeginObject(number);
      target_.Put(value + "\nendobj\n");
      return;
    }
    // The length follows the data, as an object of its own.
    const int length = target_.NewObject();
    const QByteArray dictionary = Dictionary(object.getDict(), false, "\n/Length " + Reference(length));
    target_.BeginObject(number);
    target_.Put(dictionary + "\nstream\n");
    FileStreamData data([this](const QByteArray& bytes) { target_.Put(bytes); });
    try {
      if (!object.pipeStreamData(&data, nullptr, 0, qpdf_dl_none, true))
        throw std::runtime_error("stream data of object " + std::to_string(object.getObjectID()) + " unreadable");
    } catch (const Exception&) {
      throw;
    } catch (const std::exception&) {
      target_.offsets_[size_t(number) - 1] = 0;  // written again as nothing
      throw;
    }
    target_.Put("\nendstream\nendobj\n");
    target_.BeginObject(length);
    target_.Put(QByteArray::number(data.written) + "\nendobj\n");
  }

  // The object's own value, references renumbered.
  QByteArray Direct(QPDFObjectHandle object, bool page) {
    if (object.isDictionary()) return Dictionary(object, page, {});
    if (!object.isArray()) return QByteArray::fromStdString(object.unparse());
    QByteArray text = "[";
    for (QPDFObjectHandle item : object.aitems()) text += ' ' + Value(item);
    return text + " ]";
  }

  // A page's parent is the target's page tree; a stream's length is given.
  QByteArray Dictionary(QPDFObjectHandle dictionary, bool page, const QByteArray& length) {
    QByteArray text = "<<";
    for (auto& [key, value] : dictionary.ditems()) {
      if (!length.isEmpty() && key == "/Length") continue;
      text += '\n' + QByteArray::fromStdString(QPDFObjectHandle::newName(key).unparse()) + ' ';
      text += page && key == "/Parent" ? Reference(kPageTree) : Value(value);
    }
    return text + length + "\n>>";
  }

  QByteArray Value(QPDFObjectHandle value) {
    if (!value.isIndirect()) return Direct(value, false);
    if (value.isNull()) return "null";
    return Reference(Number(value));
  }

  JoinedPdf& target_;
  QPDF pdf_;
  std::map<QPDFObjGen, int> numbers_;
  std::deque<QPDFObjectHandle> waiting_;
  std::set<QPDFObjGen> pageObjects_;
};

JoinedPdf::JoinedPdf(const QString& target) : file_(target), out_(QFile::decodeName(file_.Path())) {
  if (!out_.open(QIODevice::WriteOnly)) throw Exception(out_.errorString());
  Put("%PDF-1.7\n%\xe2\xe3\xcf\xd3\n");
  NewObject();  // the catalog
  NewObject();  // the page tree
}

int JoinedPdf::NewObject() {
  offsets_.push_back(0);
  return int(offsets_.size());
}

void JoinedPdf::BeginObject(int number) {
  offsets_[size_t(number) - 1] = out_.pos();
  Put(QByteArray::number(number) + " 0 obj\n");
}

void JoinedPdf::Put(const QByteArray& bytes) {
  if (out_.write(bytes) != bytes.size()) throw Exception(out_.errorString());
}

QString JoinedPdf::Add(const QString& file) {
  try {
    Source source(*this, file);
    const std::vector<int> pages = source.WritePages();
    pages_.insert(pages_.end(), pages.begin(), pages.end());
    return {};
  } catch (const Exception&) {
    throw;
  } catch (const std::exception& error) {
    // Objects of a file that failed halfway stay in the target, unreferenced.
    return QString::fromLocal8Bit(error.what());
  }
}

void JoinedPdf::Publish() {
  BeginObject(kPageTree);
  Put("<< /Type /Pages /Count " + QByteArray::number(PageCount()) + " /Kids [");
  for (const int page : pages_) Put(' ' + Reference(page));
  Put(" ] >>\nendobj\n");
  BeginObject(kCatalog);
  Put("<< /Type /Catalog /Pages " + Reference(kPageTree) + " >>\nendobj\n");
  // Numbers given to objects of a file that failed before they were written.
  for (size_t n = 0; n < offsets_.size(); ++n) {
    if (offsets_[n] != 0) continue;
    BeginObject(int(n + 1));
    Put("null\nendobj\n");
  }
  const qint64 table = out_.pos();
  Put("xref\n0 " + QByteArray::number(qsizetype(offsets_.size()) + 1) + "\n0000000000 65535 f \n");
  for (const qint64 offset : offsets_) Put(QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n");
  Put("trailer\n<< /Size " + QByteArray::number(qsizetype(offsets_.size()) + 1) + " /Root " + Reference(kCatalog) +
      " >>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n");
  if (!out_.flush()) throw Exception(out_.errorString());
  out_.close();
  file_.Publish();
}
