#include "platform/MessagePresenter.h"

#include <QtDebug>

namespace {

class DiagnosticPresenter : public MessagePresenter {
 public:
  QString Present(const QString& kind, const QString& text, const QString&) override {
    qWarning().noquote() << kind << text;
    return kind == QLatin1String("C") ? QStringLiteral("NO") : QString();
  }
  bool LastClosed() const override { return true; }
};

}  // namespace

MessagePresenter& MessagePresenter::Default() {
  static DiagnosticPresenter presenter;
  return presenter;
}
