#pragma once

#include "platform/Seam.h"

#include <QByteArray>
#include <QString>

// Raw jobs: bytes a printer takes as they are (its own control codes and
// text), past any driver; and PDF files the spooler prints. Tests put a
// recording queue in its place.
class PrintQueue {
 public:
  virtual ~PrintQueue() = default;
  // False when the job could not be handed to the printer's queue.
  virtual bool SendRaw(const QString& printer, const QString& document, const QByteArray& bytes) = 0;
  // A PDF file printed by the queue's own filters; an empty printer name is the default queue.
  virtual bool SendPdf(const QString& printer, const QString& document, const QString& file) = 0;

  static PrintQueue& Default();
};

using PrintQueueSeam = Seam<PrintQueue>;
