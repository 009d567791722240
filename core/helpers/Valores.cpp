#include "core/helpers/Valores.h"

#include "core/helpers/Textos.h"
#include "platform/Exceptions.h"

#include <QUuid>

QString VarianteATexto(const Variant& valor) {
  switch (valor.Type()) {
    case VarType::Array:
      return valor.Elements().isEmpty() ? QString() : VarianteATexto(valor.Elements().first());
    case VarType::Byte:
    case VarType::Null:
    case VarType::Empty:
      return QString();
    default:
      try {
        return valor.AsString();
      } catch (const Exception&) {
        return QString();
      }
  }
}

QString BooleanoATexto(bool valor) { return valor ? QStringLiteral("SI") : QStringLiteral("NO"); }

Variant ClaveAVariante(const QString& clave) {
  const QString memoMark = QStringLiteral("(Memo)");
  const QString endMark = QStringLiteral("finmemo");
  QString key = clave;
  if (key.contains(memoMark)) key.remove(0, memoMark.size());
  if (key.isEmpty()) return Variant::Null();
  key += key.endsWith(QLatin1String("\r\n")) ? endMark + u'|' : u'|' + endMark + u'|';
  key.remove(u'\r').replace(u'\n', u'|');
  QList<Variant> elements;
  for (int i = 0;; ++i) {
    const QString piece = ExtraerElemento(i, key, QStringLiteral("|"));
    if (piece == endMark) break;
    elements.append(Variant::String(piece));
  }
  return Variant::Array(elements);
}

QString GUIDTexto() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(); }
