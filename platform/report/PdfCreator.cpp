#include "platform/report/PdfCreator.h"

#include "platform/Exceptions.h"
#include "platform/ProcessLauncher.h"
#include "platform/report/JoinedPdf.h"
#include "platform/report/PagePainter.h"
#include "platform/report/PageRecord.h"
#include "platform/report/PageSetup.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QUrl>

namespace {

constexpr int kResolution = 300;

}  // namespace

PdfCreator::PdfCreator() { pages_.Begin(PageSetup()); }

void PdfCreator::AddPage(const PageRecord& page) { pages_.AddPage(page); }

QString PdfCreator::Write(const QString& target, const QSizeF& paperMillimetres) {
  if (pages_.PageCount() == 0) return QStringLiteral("No hay páginas");
  QSaveFile file(target);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  QPdfWriter writer(&file);
  writer.setResolution(kResolution);
  const QSizeF paper = paperMillimetres.isEmpty() ? QSizeF(210, 297) : paperMillimetres;
  writer.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  QPainter painter;
  if (!painter.begin(&writer)) return file.errorString();
  const double scale = kResolution / kReportDpi;
  for (int n = 1; n <= pages_.PageCount(); ++n) {
    if (n > 1 && !writer.newPage()) return file.errorString();
    painter.save();
    painter.scale(scale, scale);
    PaintPage(painter, pages_.Page(n));
    painter.restore();
  }
  painter.end();
  if (!file.flush() || file.error() != QFileDevice::NoError || !file.commit()) return file.errorString();
  return {};
}

QString PdfCreator::Join(const QStringList& files, const QString& target) {
  QStringList errors;
  try {
    JoinedPdf joined(target);
    for (const QString& file : files) {
      const QString unreadable = joined.Add(file);
      if (!unreadable.isEmpty()) errors << unreadable;
    }
    if (joined.PageCount() == 0) return errors.isEmpty() ? QStringLiteral("No hay páginas") : errors.join(u'\n');
    joined.Publish();
  } catch (const Exception& error) {
    errors << error.Message();
  }
  return errors.join(u'\n');
}

QString PdfCreator::Convert(const QString& document, const QString& target) {
  const QTemporaryDir work;
  if (!work.isValid()) return work.errorString();
  const QString format = QFileInfo(target).suffix().toLower() == QLatin1String("docx") ? QStringLiteral("docx")
                                                                                        : QStringLiteral("pdf");
  const QString output = work.filePath(QStringLiteral("salida"));
  const QStringList arguments{
      QStringLiteral("--headless"), QStringLiteral("--norestore"),
      QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(work.filePath(QStringLiteral("perfil"))).toString(),
      QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), output, QFileInfo(document).absoluteFilePath()};
  const std::optional<int> exit = ProcessLauncherSeam::Get().Run(QStringLiteral("soffice"), arguments, work.path());
  if (!exit) return QStringLiteral("No se puede ejecutar LibreOffice");
  const QString converted = QDir(output).filePath(QFileInfo(document).completeBaseName() + u'.' + format);
  if (*exit != 0 || !QFileInfo::exists(converted)) return QStringLiteral("LibreOffice no ha podido convertir ") + document;
  return Copy(converted, target);
}

QString PdfCreator::Copy(const QString& file, const QString& target) {
  QFile source(file);
  if (!source.open(QIODevice::ReadOnly)) return source.errorString();
  QSaveFile copy(target);
  if (!copy.open(QIODevice::WriteOnly)) return copy.errorString();
  while (!source.atEnd()) {
    const QByteArray block = source.read(1 << 20);
    if (block.isEmpty() || copy.write(block) != block.size()) return copy.errorString();
  }
  if (!copy.commit()) return copy.errorString();
  return {};
}
