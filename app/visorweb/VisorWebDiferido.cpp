#include "app/visorweb/VisorWebDiferido.h"

#include "app/visorweb/VisorWebEngine.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibrary>
#include <QPointer>
#include <QShowEvent>
#include <QWidget>

#include <unistd.h>

namespace {

constexpr auto kModulo = "zemvisorweb";

QtMessageHandler anterior = nullptr;

class VistaDiferida : public QWidget {
 public:
  VistaDiferida(QWidget& panel, VisorWebDiferido& visor, bool scripts)
      : QWidget(&panel), visor_(visor), scripts_(scripts) {}

  void Navegar(const QString& direccion) {
    if (real_) {
      visor_.Motor().Navegar(*real_, direccion);
    } else {
      pendiente_ = direccion;
    }
  }

 protected:
  void showEvent(QShowEvent* event) override {
    QWidget::showEvent(event);
    if (real_) return;
    VisorWeb& motor = visor_.Motor();
    real_ = scripts_ ? motor.Crear(*this) : motor.CrearSinScripts(*this);
    real_->show();
    if (!pendiente_.isEmpty()) motor.Navegar(*real_, pendiente_);
    pendiente_.clear();
  }

 private:
  VisorWebDiferido& visor_;
  bool scripts_;
  QPointer<QWidget> real_;
  QString pendiente_;
};

// While the engine is set up after the application object: Qt tells that
// the shared OpenGL contexts are asked for late, which here is the choice.
class AtributoTardio {
 public:
  AtributoTardio() { previo_ = qInstallMessageHandler(&filtrar); }
  ~AtributoTardio() { qInstallMessageHandler(previo_); }
  AtributoTardio(const AtributoTardio&) = delete;
  AtributoTardio& operator=(const AtributoTardio&) = delete;

 private:
  static void filtrar(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    if (texto.startsWith(QLatin1String("Attribute Qt::AA_ShareOpenGLContexts must be set before"))) return;
    if (previo_) previo_(tipo, contexto, texto);
  }
  static inline QtMessageHandler previo_ = nullptr;
};

}  // namespace

VisorWebDiferido::VisorWebDiferido(Cargador cargador) : cargador_(std::move(cargador)) {}

QWidget* VisorWebDiferido::crear(QWidget& panel, bool scripts) {
  auto* vista = new VistaDiferida(panel, *this, scripts);
  LlenarPanel(panel, *vista);
  return vista;
}

QWidget* VisorWebDiferido::Crear(QWidget& panel) { return crear(panel, true); }
QWidget* VisorWebDiferido::CrearSinScripts(QWidget& panel) { return crear(panel, false); }

void VisorWebDiferido::Navegar(QWidget& vista, const QString& direccion) {
  if (auto* diferida = dynamic_cast<VistaDiferida*>(&vista)) diferida->Navegar(direccion);
}

VisorWeb& VisorWebDiferido::Motor() {
  if (!motor_) {
    VisorWeb* cargado = cargador_ ? cargador_() : nullptr;
    motor_ = cargado ? cargado : &VisorWeb::Default();
  }
  return *motor_;
}

void VisorWebDiferido::Preparar() {
  // The engine's sandbox refuses to run for root and ends the whole program
  // at the first view; root goes without it.
  if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The engine would tell of it at its first page: it was our choice, not the user's.
    anterior = qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
      if (anterior && texto != QLatin1String("Sandboxing disabled by user.")) anterior(tipo, contexto, texto);
    });
  }
  if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS")) qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--log-level=3");
  if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
    qputenv("QT_LOGGING_RULES", "qt.webenginecontext.info=false;qt.webenginecontext.debug=false");
}

VisorWeb* VisorWebDiferido::CargarModulo() {
  // Asked for only now, so that no OpenGL is set up before a page is shown:
  // the engine checks it as its library loads, and its entry makes the
  // context the engine shares with the windows.
  const AtributoTardio atributo;
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QLibrary modulo(QCoreApplication::applicationDirPath() + u'/' + QLatin1String(kModulo));
  // The engine is never unloaded while the program runs.
  modulo.setLoadHints(QLibrary::PreventUnloadHint);
  const auto entrada = reinterpret_cast<VisorWeb* (*)()>(modulo.resolve(kEntradaVisorWebEngine));
  if (!entrada) {
    qWarning().noquote() << modulo.errorString();
    return nullptr;
  }
  return entrada();
}
