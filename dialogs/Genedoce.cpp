#include "dialogs/Genedoce.h"

#include "core/forms/TeclasFormulario.h"
#include "core/datamodule/ConfiguracionSMTP.h"
#include "core/datamodule/ConversionMoneda.h"
#include "core/datamodule/Genemodu.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/TablasFormulario.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/DocumentacionElectronica.h"
#include "core/services/EditorTexto.h"
#include "core/services/EnvioEMail.h"
#include "core/services/MantenimientoLista.h"
#include "core/services/PaginaHTML.h"
#include "core/services/Red.h"
#include "core/services/SeleccionArchivoCarpeta.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "dialogs/DocumentosElectronicos.h"
#include "platform/CommonDialogs.h"
#include "platform/DesktopServices.h"
#include "platform/FormRegistry.h"
#include "platform/VisorWeb.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "ui_GENEDOCE.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QShowEvent>
#include <QUrl>

TfGENEDOCE* fGENEDOCE = nullptr;

namespace {

const QString kBaseDatos = QStringLiteral("Database");
const QString kNoRegistrado = QStringLiteral("¡No ha sido posible registrar el Documento!");
const QString kSinDocumentos = QStringLiteral("¡Debe seleccionar algún documento!");
const QString kPreguntaTitulo = QStringLiteral("Introduzca el Nombre del Documento:");
// Pictures beyond this are not read: the box stays empty.
constexpr qint64 kPixelesImagen = 64LL * 1000 * 1000;

bool esImagen(const QString& ubicacion) {
  const QString extension = QFileInfo(ubicacion).suffix().toUpper();
  return extension == u"BMP" || extension == u"JPG" || extension == u"JPEG" || extension == u"WMF";
}

// The user's answer to the question, proposing a text; empty when cancelled.
QString preguntar(const QString& pregunta, const QString& propuesta = QString()) {
  QString respuesta = propuesta;
  MensajePregunta(pregunta, respuesta);
  return respuesta;
}

QString configuracionCorreoEmpresa() {
  if (!ParametrosGeneralesCargados()) return {};
  const Field* campo = ModuloDatos->ParamGenerales->FindField(QStringLiteral("CfgCorreoElectronico"));
  return campo ? campo->AsString() : QString();
}

}  // namespace

TfGENEDOCE::TfGENEDOCE(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENEDOCE>()) {
  ui_->setupUi(this);
  setObjectName(QStringLiteral("fGENEDOCE"));
  ui_->ListView1->setColumnWidth(0, 250);
  ui_->ListView1->setColumnWidth(1, 500);
  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
  // Attached pages come from whoever attached them: no script runs in them.
  WebBrowser1 = VisorWebSeam::Get().CrearSinScripts(*ui_->PanelNavegador);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  LlenarPanel(*ui_->PanelNavegador, *WebBrowser1);
  ui_->ScrollBoxImagen->setVisible(false);
  ui_->pbStretch->setVisible(false);

  const auto pulsar = [this](QAbstractButton* boton, void (TfGENEDOCE::*orden)()) {
    connect(boton, &QAbstractButton::clicked, this, [this, orden] { (this->*orden)(); });
  };
  pulsar(ui_->pbAgregar, &TfGENEDOCE::pbAgregarClick);
  pulsar(ui_->pbEliminar, &TfGENEDOCE::pbEliminarClick);
  pulsar(ui_->pbAgregarCarpeta, &TfGENEDOCE::pbAgregarCarpetaClick);
  pulsar(ui_->pbAgregarWeb, &TfGENEDOCE::pbAgregarWebClick);
  pulsar(ui_->pbEnviarEMail, &TfGENEDOCE::pbEnviarEMailClick);
  pulsar(ui_->pbEjecutar, &TfGENEDOCE::pbEjecutarClick);
  pulsar(ui_->pbEditarDescripcion, &TfGENEDOCE::pbEditarDescripcionClick);
  pulsar(ui_->pbPrimero, &TfGENEDOCE::pbPrimeroClick);
  pulsar(ui_->pbAnterior, &TfGENEDOCE::pbAnteriorClick);
  pulsar(ui_->pbSiguiente, &TfGENEDOCE::pbSiguienteClick);
  pulsar(ui_->pbUltimo, &TfGENEDOCE::pbUltimoClick);
  connect(ui_->pbStretch, &QAbstractButton::toggled, this, [this](bool ajustar) {
    ui_->ScrollBoxImagen->setWidgetResizable(ajustar);
    ui_->Imagen->setScaledContents(ajustar);
  });
  connect(ui_->ListView1, &QTreeWidget::itemSelectionChanged, this, [this] { MostrarDocumento(elegido()); });

  const struct {
    const char* nombre;
    const char* texto;
    void (TfGENEDOCE::*orden)();
  } menu[] = {
      {"InicializarSeleccion1", "Inicializar la lista de documentos seleccionados", &TfGENEDOCE::InicializarSeleccion},
      {"AgregarSeleccion1", "Agregar a la lista de documentos seleccionados", &TfGENEDOCE::AgregarASeleccion},
      {"VerSeleccion1", "Ver la lista de documentos seleccionados", &TfGENEDOCE::VerSeleccion},
      {nullptr, nullptr, nullptr},
      {"EnviarSeleccion1", "Enviar la lista de documentos seleccionados por correo electrónico",
       &TfGENEDOCE::EnviarSeleccion},
      {nullptr, nullptr, nullptr},
      {"EnviarDocumento1", "Enviar el documento seleccionado por correo electrónico",
       &TfGENEDOCE::EnviarDocumentoSeleccionado},
  };
  for (const auto& item : menu) {
    auto* accion = new QAction(item.texto ? QString::fromUtf8(item.texto) : QString(), ui_->ListView1);
    accion->setSeparator(!item.nombre);
    if (item.nombre) {
      accion->setObjectName(QString::fromLatin1(item.nombre));
      connect(accion, &QAction::triggered, this, [this, orden = item.orden] { (this->*orden)(); });
    }
    ui_->ListView1->addAction(accion);
  }
  OnKeyDown = TeclasFormulario;
  OnKeyPress = PulsacionTecla;
  AbrirTablasFormulario(*this);
}

TfGENEDOCE::~TfGENEDOCE() {
  if (fGENEDOCE == this) fGENEDOCE = nullptr;
}

QSize TfGENEDOCE::sizeHint() const { return {600, 600}; }

void TfGENEDOCE::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  if (!event->spontaneous()) TraducirFormulario(this);
}

QTreeWidgetItem* TfGENEDOCE::elegido() const {
  QTreeWidgetItem* actual = ui_->ListView1->currentItem();
  return actual && actual->isSelected() ? actual : nullptr;
}

void TfGENEDOCE::vaciarVisor() {
  ui_->Imagen->clear();
  AbrirPaginaHTML(*WebBrowser1);
}

void TfGENEDOCE::CargarDocumentos() {
  ui_->pnClave->setText(NombreTabla + QStringLiteral(" - ") + QString(ClaveTabla).replace(u'|', QStringLiteral(" · ")));
  const auto filas = EjecutarSQLFilas(SentenciaDocumentos(NombreTabla, ClaveTabla), kBaseDatos);
  const QSignalBlocker sinSeleccion(ui_->ListView1);
  ui_->ListView1->clear();
  for (const QStringList& fila : filas.value_or(QList<QStringList>()))
    new QTreeWidgetItem(ui_->ListView1, {fila.value(0), fila.value(1)});
  // Nothing is chosen yet: no document of the record shown before stays in view.
  ui_->MemoDescripcion->clear();
  vaciarVisor();
  if (ui_->ListView1->topLevelItemCount() > 0) {
    ui_->ListView1->setCurrentItem(ui_->ListView1->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
    ui_->ListView1->setFocus();
  }
  DocumentosSeleccionados.clear();
}

void TfGENEDOCE::MostrarDocumento(QTreeWidgetItem* elemento) {
  if (!elemento) return;
  const auto filas =
      EjecutarSQLFilas(SentenciaDescripcion(NombreTabla, ClaveTabla, elemento->text(0)), kBaseDatos);
  ui_->MemoDescripcion->setPlainText(filas && !filas->isEmpty() ? filas->first().value(0) : QString());
  WebBrowser1->setVisible(false);
  ui_->ScrollBoxImagen->setVisible(false);
  ui_->Imagen->clear();
  ui_->pbStretch->setVisible(false);
  const QString ubicacion = elemento->text(1);
  if (esImagen(ubicacion)) {
    ui_->pbStretch->setVisible(true);
    ui_->ScrollBoxImagen->setVisible(true);
    mostrarImagen(ubicacion);
  } else {
    WebBrowser1->setVisible(true);
    if (EsRuta(ubicacion)) {
      AbrirPaginaHTML(*WebBrowser1);
      // A file's name may hold "#" or "?", which in an address end its path.
      VisorWebSeam::Get().Navegar(*WebBrowser1, QUrl::fromLocalFile(ubicacion).toString(QUrl::FullyEncoded));
    } else {
      VisorWebSeam::Get().Navegar(*WebBrowser1, ubicacion);
    }
  }
  ui_->ListView1->setFocus();
  ui_->ListView1->viewport()->update();
}

void TfGENEDOCE::mostrarImagen(const QString& archivo) {
  QImageReader lector(archivo);
  const QSize tamano = lector.size();
  if (!tamano.isValid() || qint64(tamano.width()) * tamano.height() > kPixelesImagen) return;
  const QImage imagen = lector.read();
  if (imagen.isNull()) return;
  ui_->Imagen->setPixmap(QPixmap::fromImage(imagen));
  ui_->Imagen->adjustSize();
}

// ---- adding, describing, deleting, opening

bool TfGENEDOCE::insertar(const QString& titulo, const QString& ubicacion, const QString& descripcion) {
  return EjecutarSQL(SentenciaInsertarDocumento(NombreTabla, ClaveTabla, titulo, ubicacion, descripcion), kBaseDatos,
                     QStringLiteral("Silenciosa"))
      .isEmpty();
}

void TfGENEDOCE::agregar(const QString& titulo, const QString& ubicacion) {
  if (titulo.isEmpty()) return;
  if (!insertar(titulo, ubicacion, QString())) {
    MensajeAviso(kNoRegistrado);
    return;
  }
  auto* elemento = new QTreeWidgetItem(ui_->ListView1, {titulo, ubicacion});
  ui_->ListView1->setCurrentItem(elemento);
}

void TfGENEDOCE::pbAgregarClick() {
  if (!CommonDialogsSeam::Get().Execute(*OpenDialog1)) return;
  const QString archivo = FileName(*OpenDialog1);
  agregar(preguntar(kPreguntaTitulo, QFileInfo(archivo).completeBaseName()), NombreUniversal(archivo));
}

void TfGENEDOCE::pbAgregarCarpetaClick() {
  QString carpeta;
  if (!SeleccionarArchivoCarpeta(QStringLiteral("Seleccione la carpeta que desea incorporar"), carpeta,
                                 QStringLiteral("Carpetas")))
    return;
  agregar(preguntar(kPreguntaTitulo, QFileInfo(carpeta).fileName()), NombreUniversal(carpeta));
}

void TfGENEDOCE::pbAgregarWebClick() {
  const QString direccion = preguntar(QStringLiteral("Introduzca la dirección de la página Web:"));
  if (direccion.isEmpty()) return;
  agregar(preguntar(kPreguntaTitulo, direccion), direccion);
}

void TfGENEDOCE::pbEditarDescripcionClick() {
  QTreeWidgetItem* elemento = elegido();
  if (!elemento) {
    const QString titulo = preguntar(QStringLiteral("Introduzca el Título:"));
    if (titulo.isEmpty()) return;
    const QString texto = EditarTexto(QStringLiteral("Titulo=Descripción"), ui_->MemoDescripcion->toPlainText());
    if (!insertar(titulo, QString(), texto)) return;
    ui_->ListView1->setCurrentItem(new QTreeWidgetItem(ui_->ListView1, {titulo, QString()}));
    ui_->MemoDescripcion->setPlainText(texto);
    return;
  }
  const QString texto =
      EditarTexto(QStringLiteral("Titulo=Descripción del Documento"), ui_->MemoDescripcion->toPlainText());
  EjecutarSQL(SentenciaActualizarDescripcion(NombreTabla, ClaveTabla, elemento->text(0), texto), kBaseDatos);
  ui_->MemoDescripcion->setPlainText(texto);
}

void TfGENEDOCE::pbEliminarClick() {
  QTreeWidgetItem* elemento = elegido();
  if (!elemento) return;
  if (!EjecutarSQL(SentenciaEliminarDocumento(NombreTabla, ClaveTabla, elemento->text(0)), kBaseDatos).isEmpty()) {
    MensajeAviso(QStringLiteral("¡No ha sido posible eliminar el registro del Documento!"));
    return;
  }
  delete elemento;
}

void TfGENEDOCE::pbEjecutarClick() {
  QTreeWidgetItem* elemento = elegido();
  if (!elemento) return;
  vaciarVisor();
  const QString ubicacion = elemento->text(1);
  DesktopServices& escritorio = DesktopServicesSeam::Get();
  // The desktop's opener reports nothing once started: a missing file is told here.
  if (!(EsRuta(ubicacion) ? QFileInfo::exists(ubicacion) && escritorio.OpenFile(ubicacion)
                          : escritorio.OpenUrl(ubicacion)))
    MensajeAviso(QStringLiteral("¡Imposible ejecutar la aplicación!"));
}

// ---- paging through the records with documents

void TfGENEDOCE::paso(PasoDocumentos paso) {
  const auto filas = EjecutarSQLFilas(SentenciaPasoDocumentos(paso, NombreTabla, ClaveTabla), kBaseDatos);
  if (!filas) return;
  const bool extremo = paso == PasoDocumentos::Primero || paso == PasoDocumentos::Ultimo;
  if (filas->isEmpty() && !extremo) {
    MensajeInformacion(paso == PasoDocumentos::Siguiente ? QStringLiteral("Esta Vd. en el último registro")
                                                         : QStringLiteral("Esta Vd. en el primer registro"));
    return;
  }
  ClaveTabla = filas->isEmpty() ? QString() : filas->first().value(0);
  CargarDocumentos();
}

void TfGENEDOCE::pbPrimeroClick() { paso(PasoDocumentos::Primero); }
void TfGENEDOCE::pbAnteriorClick() { paso(PasoDocumentos::Anterior); }
void TfGENEDOCE::pbSiguienteClick() { paso(PasoDocumentos::Siguiente); }
void TfGENEDOCE::pbUltimoClick() { paso(PasoDocumentos::Ultimo); }

// ---- mailing

void TfGENEDOCE::InicializarSeleccion() { DocumentosSeleccionados.clear(); }

void TfGENEDOCE::AgregarASeleccion() {
  QTreeWidgetItem* elemento = elegido();
  if (!elemento) return;
  const QString entrada = elemento->text(0) + u'|' + elemento->text(1);
  if (DocumentosSeleccionados.contains(entrada)) return;
  DocumentosSeleccionados.append(entrada);
  DocumentosSeleccionados.sort();
}

void TfGENEDOCE::VerSeleccion() {
  const QString opciones = QStringLiteral(
      "Titulo=Lista de Documentos Seleccionados\r\nFormato=0,0,530,0;\r\nNumeroCampos=2\r\n"
      "DefinicionCampos=Titulo,ftString,125;Ubicacion,ftString,255;\r\nModo=Consulta,Eliminar\r\n");
  const QString lista = MantenimientoLista(opciones, DocumentosSeleccionados.join(QStringLiteral("\r\n")));
  DocumentosSeleccionados = lista.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

void TfGENEDOCE::EnviarDocumentoSeleccionado() {
  QTreeWidgetItem* elemento = elegido();
  if (!elemento) return;
  DocumentosSeleccionados = {elemento->text(0) + u'|' + elemento->text(1)};
  EnviarDocumentosSeleccionados();
}

void TfGENEDOCE::pbEnviarEMailClick() {
  if (DocumentosSeleccionados.isEmpty()) {
    QTreeWidgetItem* elemento = elegido();
    if (!elemento) {
      MensajeAviso(kSinDocumentos);
      return;
    }
    DocumentosSeleccionados = {elemento->text(0) + u'|' + elemento->text(1)};
  }
  EnviarDocumentosSeleccionados();
}

void TfGENEDOCE::EnviarSeleccion() { EnviarDocumentosSeleccionados(); }

void TfGENEDOCE::EnviarDocumentosSeleccionados() {
  if (DocumentosSeleccionados.isEmpty()) {
    MensajeAviso(kSinDocumentos);
    return;
  }
  QString destinatario;
  const QString consulta = SentenciaDestinatario(NombreTabla, ClaveTabla);
  if (!consulta.isEmpty()) destinatario = EjecutarSQL(consulta, kBaseDatos).section(QStringLiteral("\r\n"), 0, 0);
  if (destinatario.startsWith(QLatin1String("Error."))) destinatario.clear();
  if (destinatario.isEmpty()) destinatario = QStringLiteral("Introduzca aquí la dirección de correo del destinatario...");
  const CorreoDocumentos correo = ComponerCorreoDocumentos(DocumentosSeleccionados);
  const QString empresa = configuracionCorreoEmpresa();
  if (empresa.contains(QLatin1String("ClienteSMTP=Indy"))) {
    destinatario = preguntar(QStringLiteral("Introduzca la dirección de correo electrónica del destinatario:"), destinatario);
    if (destinatario.isEmpty()) return;
  }
  if (EnviarEMail(ConfigSMTP(CodigoUsuarioActual, QString(), empresa), destinatario, correo.asunto, correo.cuerpo,
                  correo.adjuntos, QString(), QString()))
    DocumentosSeleccionados.clear();
}

void RegistrarGENEDOCE() {
  FormRegistry::Register(QLatin1String(kFormularioDocumentacionElectronica),
                         [](QWidget* owner) { return new TfGENEDOCE(owner); });
}
