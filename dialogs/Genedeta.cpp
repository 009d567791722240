#include "dialogs/Genedeta.h"

#include "core/forms/TeclasFormulario.h"
#include "core/helpers/Listas.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/system/Archivos.h"
#include "platform/Cp1252.h"
#include "platform/VirtualKeys.h"
#include "platform/format/Format.h"
#include "ui_GENEDETA.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

TfGENEDETA* fGENEDETA = nullptr;

namespace {

VisorDetalle& visorInstalado() {
  static VisorDetalle visor;
  return visor;
}

// Made when the program did not make it, and kept.
std::unique_ptr<TfGENEDETA>& propio() {
  static std::unique_ptr<TfGENEDETA> formulario;
  return formulario;
}

// Written beside the page and renamed over it: a link left in its place is
// replaced, never followed.
bool escribirPagina(const QString& texto, const QString& ruta) {
  QTemporaryFile temporal(ruta + QStringLiteral(".XXXXXX"));
  temporal.setAutoRemove(true);
  if (!temporal.open()) return false;
  const QByteArray bytes = Cp1252::encode(texto);
  if (temporal.write(bytes) != bytes.size() || !temporal.flush()) return false;
  temporal.close();
  std::error_code fallo;
  std::filesystem::rename(temporal.fileName().toStdString(), ruta.toStdString(), fallo);
  if (fallo) return false;
  temporal.setAutoRemove(false);
  return true;
}

}  // namespace

TfGENEDETA::TfGENEDETA(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEDETA>()) {
  ui_->setupUi(this);
  connect(ui_->pbConforme, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  OnKeyDown = [](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla == VK::Escape)
      formulario.close();
    else
      TeclasFormulario(formulario, tecla, estado);
  };
}

TfGENEDETA::~TfGENEDETA() {
  if (fGENEDETA == this) fGENEDETA = nullptr;
  if (propio().get() == this) static_cast<void>(propio().release());
}

void TfGENEDETA::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  if (!event->spontaneous()) TraducirFormulario(this);
}

void InstalarVisorDetalle(VisorDetalle visor) { visorInstalado() = std::move(visor); }

QString PaginaDetalle() {
  return DirectorioTemporal() + QFileInfo(QCoreApplication::applicationFilePath()).fileName() +
         QStringLiteral(".html");
}

void MostrarDetalle(const QString& texto, const QString& titulo, const QString& opciones) {
  if (!fGENEDETA) {
    propio() = std::make_unique<TfGENEDETA>();
    fGENEDETA = propio().get();
  }
  TfGENEDETA& detalle = *fGENEDETA;
  Ui::TfGENEDETA& ui = *detalle.ui_;
  detalle.SetCaption(titulo);
  QFont letra = ui.MemoDetalle->font();
  const QString fuente = ValorLista(QStringLiteral("Fuente"), opciones);
  if (!fuente.isEmpty()) {
    letra.setFamily(fuente.section(u',', 0, 0));
    const int puntos = StrToIntDef(fuente.section(u',', 1, 1).trimmed(), 0);
    if (puntos > 0) letra.setPointSize(puntos);
  } else if (FuenteAplicacion) {
    letra.setFamily(FuenteAplicacion->family());
    letra.setPointSize(FuenteAplicacion->pointSize());
  }
  ui.MemoDetalle->setFont(letra);
  ui.MemoDetalle->setFocus();
  ui.MemoDetalle->setPlainText(texto);
  const QString formato = ValorLista(QStringLiteral("Formato"), opciones);
  if (formato.isEmpty())
    detalle.resize(480, 480);
  else
    detalle.resize(StrToIntDef(formato.section(u',', 0, 0).trimmed(), detalle.width()),
                   StrToIntDef(formato.section(u',', 1, 1).trimmed(), detalle.height()));
  const bool html = opciones.contains(QLatin1String("Interprete=HTML"));
  // A page that cannot be written is shown as its text.
  const bool pagina = html && escribirPagina(texto, PaginaDetalle());
  if (pagina && visorInstalado())
    visorInstalado()(*ui.WebBrowserDetalle, QStringLiteral("file://") + PaginaDetalle());
  ui.WebBrowserDetalle->setVisible(pagina);
  ui.MemoDetalle->setVisible(!pagina);
  detalle.ShowModal();
}
