#include "core/system/SistemaOperativo.h"

#include <QRegularExpression>

#include <sys/utsname.h>

QString InformacionSistemaOperativo(const QString& versionNucleo) {
  // Major, minor and build: the leading dotted numbers of the release; a
  // missing one is 0.
  static const QRegularExpression numeros(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
  const QRegularExpressionMatch partes = numeros.match(versionNucleo);
  const auto numero = [&partes](int indice) {
    return partes.hasMatch() && partes.hasCaptured(indice) ? QString::number(partes.captured(indice).toLongLong())
                                                           : QStringLiteral("0");
  };
  const QString desconocida = QStringLiteral("Desconocida");
  return QStringLiteral("PlataformaBase=") + desconocida + QStringLiteral("\r\nPlataforma=") + desconocida +
         QStringLiteral("\r\nVersion=") + numero(1) + u'.' + numero(2) + u'.' + numero(3) +
         QStringLiteral("\r\nNivel=");
}

QString InformacionSistemaOperativo() {
  utsname sistema{};
  if (uname(&sistema) != 0) return InformacionSistemaOperativo(QString());
  return InformacionSistemaOperativo(QString::fromLocal8Bit(sistema.release));
}
