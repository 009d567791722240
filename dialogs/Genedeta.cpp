#include "dialogs/Genedeta.h"

#include "core/datamodule/ImpresionTexto.h"
#include "core/forms/TeclasFormulario.h"
#include "core/helpers/Listas.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/system/Archivos.h"
#include "platform/Cp1252.h"
#include "platform/TextFile.h"
#include "platform/VirtualKeys.h"
#include "platform/format/Format.h"
#include "ui_GENEDETA.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QRegularExpression>
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

bool tieneLineaLarga(const QString& texto) {
  qsizetype inicio = 0;
  while (inicio < texto.size()) {
    qsizetype fin = texto.indexOf(u'\n', inicio);
    if (fin < 0) fin = texto.size();
    if (fin - inicio > kLineaLargaDetalle) return true;
    inicio = fin + 1;
  }
  return false;
}

// The lines of an HTML text: its line breaks and rules end lines, its tags go.
QString textoSinEtiquetas(QString texto) {
  static const QRegularExpression salto(QStringLiteral("<(br|hr)\\b[^>]*>"),
                                        QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression etiqueta(QStringLiteral("<[^>]*>"));
  return texto.replace(salto, QStringLiteral("\r\n")).remove(etiqueta);
}

// The caption as a file name in the folder the dialog shows, never a path
// into another.
QString nombrePropuesto(QString titulo) { return titulo.replace(u'/', u'_') + QStringLiteral(".TXT"); }

}  // namespace

TfGENEDETA::TfGENEDETA(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEDETA>()) {
  ui_->setupUi(this);
  SaveDialog1 = std::make_unique<QFileDialog>(this);
  SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
  SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
  connect(ui_->pbConforme, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  connect(ui_->pbImprimir, &QToolButton::clicked, this, [this] { pbImprimirClick(); });
  OnKeyDown = [](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla == VK::Escape)
      formulario.close();
    else
      TeclasFormulario(formulario, tecla, estado);
  };
  OnKeyPress = PulsacionTecla;
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

void TfGENEDETA::pbImprimirClick() {
  if (!CommonDialogsSeam::Get().Execute(PrintDialog1)) return;
  ImprimirTexto(html_ ? textoSinEtiquetas(texto_) : texto_, Caption(), PrintDialog1.Choice);
}

bool TfGENEDETA::Preparar(const QString& texto, const QString& opciones) {
  QFont letra = ui_->MemoDetalle->font();
  const QString fuente = ValorLista(QStringLiteral("Fuente"), opciones);
  if (!fuente.isEmpty()) {
    letra.setFamily(fuente.section(u',', 0, 0));
    const int puntos = StrToIntDef(fuente.section(u',', 1, 1).trimmed(), 0);
    if (puntos > 0) letra.setPointSize(puntos);
  } else if (FuenteAplicacion) {
    letra.setFamily(FuenteAplicacion->family());
    letra.setPointSize(FuenteAplicacion->pointSize());
  }
  ui_->MemoDetalle->setFont(letra);
  ui_->MemoDetalle->setFocus();
  html_ = opciones.contains(QLatin1String("Interprete=HTML"));
  // The web view lays out what the memo cannot; the memo, hidden, is left empty.
  if (!html_ && texto.size() > kTextoMaximoDetalle) return false;
  texto_ = texto;
  ui_->MemoDetalle->setWordWrapMode(!html_ && tieneLineaLarga(texto) ? QTextOption::WrapAnywhere
                                                                      : QTextOption::WrapAtWordBoundaryOrAnywhere);
  ui_->MemoDetalle->setPlainText(html_ ? QString() : texto);
  const QString formato = ValorLista(QStringLiteral("Formato"), opciones);
  if (formato.isEmpty())
    resize(480, 480);
  else
    resize(StrToIntDef(formato.section(u',', 0, 0).trimmed(), width()),
           StrToIntDef(formato.section(u',', 1, 1).trimmed(), height()));
  if (html_) {
    if (!escribirPagina(texto, PaginaDetalle())) return false;
    if (visorInstalado())
      visorInstalado()(*ui_->WebBrowserDetalle, QStringLiteral("file://") + PaginaDetalle());
  }
  ui_->WebBrowserDetalle->setVisible(html_);
  ui_->MemoDetalle->setVisible(!html_);
  return true;
}

void TfGENEDETA::GuardarTexto(const QString& texto) {
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("Esta información excede la capacidad de visualización. ¿Desea guardar esta "
                                     "información en un archivo? "),
                      respuesta);
  if (respuesta != QLatin1String("SI")) return;
  SetFileName(*SaveDialog1, nombrePropuesto(Caption()));
  if (CommonDialogsSeam::Get().Execute(*SaveDialog1)) TextFile::Write(FileName(*SaveDialog1), texto);
}

void MostrarDetalle(const QString& texto, const QString& titulo, const QString& opciones) {
  if (!fGENEDETA) {
    propio() = std::make_unique<TfGENEDETA>();
    fGENEDETA = propio().get();
  }
  TfGENEDETA& detalle = *fGENEDETA;
  detalle.SetCaption(titulo);
  bool preparado = false;
  try {
    preparado = detalle.Preparar(texto, opciones);
  } catch (const std::exception&) {
    // Out of memory laying it out: offered as a file as well.
  }
  if (preparado)
    detalle.ShowModal();
  else
    detalle.GuardarTexto(texto);
}
