#include "platform/TextFile.h"

#include "platform/Cp1252.h"
#include "platform/Exceptions.h"

#include <QFile>
#include <QSaveFile>

namespace TextFile {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
  return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  // Written beside the target and renamed over it, so a failed write leaves
  // the old file whole.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
}

QString Read(const QString& path) { return Cp1252::decode(ReadBytes(path)); }

void Write(const QString& path, const QString& text) { WriteBytes(path, Cp1252::encode(text)); }

}  // namespace TextFile
