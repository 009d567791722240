#include "core/connections/VersionBDE.h"

#include "platform/sqlite/EngineVersion.h"

namespace {

QString nivel(int numero) {
  const QString cifras = QString::number(numero);
  return cifras.left(1) + u'.' + cifras.mid(1, 3);
}

}  // namespace

QString VersionBDE() {
  const EngineVersion version = SqliteEngineVersion();
  const QString finLinea = QStringLiteral("\r\n");
  return QStringLiteral("EngineVersion=") + nivel(version.number) + finLinea + QStringLiteral("InterfaceLevel=") +
         nivel(version.interfaceNumber) + finLinea + QStringLiteral("VersionDate=") +
         version.sourceDate.toString(QStringLiteral("dd/MM/yy")) + finLinea + QStringLiteral("VersionTime=") +
         version.sourceDate.toString(QStringLiteral("HH:mm:ss"));
}
