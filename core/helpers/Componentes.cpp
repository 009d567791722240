#include "core/helpers/Componentes.h"

#include <QMetaMethod>

#include <optional>

namespace {

std::optional<QMetaMethod> FindHandler(const QObject* object, const QString& name) {
  if (!object) return std::nullopt;
  const QMetaObject* meta = object->metaObject();
  const QByteArray wanted = name.toLatin1();
  for (int i = 0; i < meta->methodCount(); ++i) {
    const QMetaMethod method = meta->method(i);
    if (method.methodType() != QMetaMethod::Slot && method.methodType() != QMetaMethod::Method) continue;
    if (method.parameterCount() != 1 || method.parameterMetaType(0) != QMetaType::fromType<QObject*>()) continue;
    if (method.name().compare(wanted, Qt::CaseInsensitive) == 0) return method;
  }
  return std::nullopt;
}

}  // namespace

QObject* BuscarComponente(const QObject* propietario, const QString& nombre) {
  if (!propietario || nombre.isEmpty()) return nullptr;
  const QString wanted = nombre.toUpper();
  for (QObject* child : propietario->findChildren<QObject*>())
    if (child->objectName().toUpper() == wanted) return child;
  return nullptr;
}

bool TieneMetodo(const QObject* objeto, const QString& metodo) { return FindHandler(objeto, metodo).has_value(); }

bool EjecutarMetodo(QObject* objeto, const QString& metodo, QObject* sender) {
  const std::optional<QMetaMethod> handler = FindHandler(objeto, metodo);
  if (!handler) return false;
  try {
    return handler->invoke(objeto, Qt::DirectConnection, Q_ARG(QObject*, sender));
  } catch (...) {
    return false;  // the handler's failure is the caller's "no"
  }
}
