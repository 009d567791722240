#include "platform/report/PrintQueue.h"

#include <QBuffer>
#include <QFile>

#include <cups/cups.h>

#include <array>

namespace {

// A connection to the scheduler the user's settings name (CUPS_SERVER,
// client.conf, else the local one), closed with the object.
class Scheduler {
 public:
  Scheduler() : http_(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr)) {}
  ~Scheduler() {
    if (http_) httpClose(http_);
  }
  Scheduler(const Scheduler&) = delete;
  Scheduler& operator=(const Scheduler&) = delete;

  http_t* get() const { return http_; }

 private:
  http_t* http_;
};

// Jobs handed to the CUPS scheduler through its own protocol: raw bytes go
// past every filter, a PDF through the queue's filters.
class CupsQueue : public PrintQueue {
 public:
  bool SendRaw(const QString& printer, const QString& document, const QByteArray& bytes) override {
    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    return Send(printer, document, CUPS_FORMAT_RAW, source);
  }
  bool SendPdf(const QString& printer, const QString& document, const QString& file) override {
    QFile source(file);
    return source.open(QIODevice::ReadOnly) && Send(printer, document, CUPS_FORMAT_PDF, source);
  }

 private:
  static bool Send(const QString& printer, const QString& document, const char* format, QIODevice& source) {
    const Scheduler scheduler;
    http_t* http = scheduler.get();
    if (!http) return false;
    QByteArray queue = printer.toUtf8();
    if (queue.isEmpty()) {
      const char* defaultQueue = cupsGetDefault2(http);
      if (!defaultQueue) return false;
      queue = defaultQueue;
    }
    const QByteArray title = document.toUtf8();
    const int job = cupsCreateJob(http, queue.constData(), title.constData(), 0, nullptr);
    if (job == 0) return false;
    bool written = cupsStartDocument(http, queue.constData(), job, title.constData(), format, 1) == HTTP_STATUS_CONTINUE;
    std::array<char, 65536> block;
    while (written) {
      const qint64 read = source.read(block.data(), block.size());
      if (read <= 0) {
        written = read == 0;
        break;
      }
      written = cupsWriteRequestData(http, block.data(), static_cast<size_t>(read)) == HTTP_STATUS_CONTINUE;
    }
    // A job whose document did not arrive whole is withdrawn: half a job is never printed.
    if (written && cupsFinishDocument(http, queue.constData()) == IPP_STATUS_OK) return true;
    const Scheduler again;
    if (again.get()) cupsCancelJob2(again.get(), queue.constData(), job, 0);
    return false;
  }
};

}  // namespace

PrintQueue& PrintQueue::Default() {
  static CupsQueue queue;
  return queue;
}
