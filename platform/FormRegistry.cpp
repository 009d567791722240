#include "platform/FormRegistry.h"

#include <QHash>

namespace FormRegistry {
namespace {

QHash<QString, Factory>& factories() {
  static QHash<QString, Factory> registered;
  return registered;
}

}  // namespace

void Register(const QString& className, Factory factory) { factories().insert(className, std::move(factory)); }

bool IsRegistered(const QString& className) { return factories().contains(className); }

QWidget* Create(const QString& className, QWidget* owner) {
  const auto it = factories().constFind(className);
  return it == factories().cend() ? nullptr : (*it)(owner);
}

void Clear() { factories().clear(); }

}  // namespace FormRegistry
