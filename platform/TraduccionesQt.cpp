#include "platform/TraduccionesQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

class TraductorQt : public QTranslator {
 public:
  QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override {
    return delMotor(context) ? QString() : QTranslator::translate(context, sourceText, disambiguation, n);
  }

 private:
  static bool delMotor(const char* context) {
    if (!context) return false;
    const QByteArrayView contexto(context);
    for (const char* prefijo : {"QSql", "QSQLite", "QODBC", "QIBase", "QPSQL", "QMYSQL", "QDB2", "QOCI"})
      if (contexto.startsWith(prefijo)) return true;
    return false;
  }
};

}  // namespace

void CargarTraduccionesQt() {
  static QPointer<QTranslator> cargado;
  if (cargado || !QCoreApplication::instance()) return;
  auto* traductor = new TraductorQt;
  if (!traductor->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete traductor;
    return;
  }
  // The application object owns it from now on and ends with the program.
  traductor->setParent(QCoreApplication::instance());
  QCoreApplication::installTranslator(traductor);
  cargado = traductor;
}
