#include "shell/Geneuser.h"

#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/DuplicacionRegistro.h"
#include "core/datamodule/EditorRegistroINI.h"
#include "core/datamodule/ValidacionRejilla.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/EjecucionSQL.h"
#include "platform/Exceptions.h"
#include "platform/StringList.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "ui_GENEUSER.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>
#include <tuple>

TfGENEUSER* fGENEUSER = nullptr;

namespace {

const QString kEmpresas = QStringLiteral("Empresas");
const QString kCategoria = QStringLiteral("Categoria");
const QStringList kCategoriasPropias = {QStringLiteral("Administrador"), QStringLiteral("Configurador"),
                                        QStringLiteral("Normal")};

// The value lists the configuration editor offers.
QString definicionesConfiguracion() {
  const QString siNo = QStringLiteral("SI,NO");
  const QString puertos = QStringLiteral("COM1,COM2,COM3,COM4,Impresora Paralelo");
  const QString velocidades = QStringLiteral("300,600,1200,2400,4800,9600,14400,19200,38400,57600,115200");
  const QString paridades = QStringLiteral("Ninguna,Par,Impar");
  QStringList lineas;
  for (const char* clave : {"DiagnosticoBaseDatosActivado", "DesactivarPuntoPorComaDecimal", "TieneCajonTPV",
                            "TieneImpresoraTPV", "TieneDisplayTPV"})
    lineas << QString::fromLatin1(clave) + u'=' + siNo;
  for (const char* clave : {"PuertoCajonTPV", "PuertoImpresoraTPV", "PuertoDisplayTPV"})
    lineas << QString::fromLatin1(clave) + u'=' + puertos;
  for (const char* dispositivo : {"ImpresoraTPV", "DisplayTPV"}) {
    const QString d = QString::fromLatin1(dispositivo);
    lineas << QStringLiteral("Velocidad") + d + u'=' + velocidades << QStringLiteral("Paridad") + d + u'=' + paridades
           << QStringLiteral("BitsStop") + d + QStringLiteral("=1,2") << QStringLiteral("BitsDatos") + d + QStringLiteral("=7,8");
  }
  return lineas.join(QStringLiteral("\r\n"));
}

}  // namespace

const QList<QPair<QString, QString>>& TfGENEUSER::ClavesConfiguracion() {
  static const QList<QPair<QString, QString>> claves = [] {
    QList<QPair<QString, QString>> lista;
    const auto anadir = [&lista](const char* clave, const char* defecto = "") {
      lista.append({QString::fromLatin1(clave), QString::fromLatin1(defecto)});
    };
    for (const char* clave : {"ProcesosNoAutorizados", "OperariosNoAccesibles", "TablasNoAccesibles"}) anadir(clave);
    anadir("ContadorAccesos", "0");
    for (const char* clave : {"DiagnosticoBaseDatosActivado", "DesactivarPuntoPorComaDecimal", "CamposNoVisibles"})
      anadir(clave);
    const char* const smtp[] = {"ClienteSMTP",   "ServidorSMTP",   "CodigoUsuarioSMTP",          "ClaveAccesoSMTP",
                                "PuertoSSL",     "CuentaFromSMTP", "CuentaSMTPCopiasDocumentos"};
    for (const char* clave : smtp) anadir(clave, QLatin1String(clave) == QLatin1String("ClienteSMTP") ? "Por Defecto" : "");
    for (const char* clave : smtp) {
      const QString masivo = QString::fromLatin1(clave) + QStringLiteral("(Masivo)");
      lista.append({masivo, QLatin1String(clave) == QLatin1String("ClienteSMTP") ? QStringLiteral("Indy") : QString()});
    }
    for (const char* clave :
         {"CodigoAgenteTickets", "SerieTickets", "CodigoClienteTickets", "AlmacenSalidaTickets", "CabeceraTicket",
          "CuentaCajaTicket", "TieneCajonTPV", "PuertoCajonTPV", "SecuenciaActivacionCajonTPV", "TieneImpresoraTPV",
          "PuertoImpresoraTPV", "VelocidadImpresoraTPV", "ParidadImpresoraTPV", "BitsStopImpresoraTPV",
          "BitsDatosImpresoraTPV", "TieneDisplayTPV", "PuertoDisplayTPV", "VelocidadDisplayTPV", "ParidadDisplayTPV",
          "BitsStopDisplayTPV", "BitsDatosDisplayTPV", "SecuenciaActDisplayTPV", "SecuenciaDesDisplayTPV",
          "ChrInicializacionImpresoraTickets", "ChrColorRojoImpresoraTickets", "ChrColorNegroImpresoraTickets",
          "ChrAnchuraSimpleImpresoraTickets", "ChrAnchuraDobleImpresoraTickets", "NumeroCaracteresVisor"})
      anadir(clave);
    return lista;
  }();
  return claves;
}

TfGENEUSER::TfGENEUSER(QWidget* owner) : MantenimientoRegistros(Ficha, owner), ui_(std::make_unique<Ui::TfGENEUSER>()) {
  setObjectName(QStringLiteral("fGENEUSER"));
  ui_->setupUi(Datos());
  resize(640, 480);
  for (DBEdit* edit : {ui_->EditCodigo, ui_->EditNombre, ui_->EditClaveAcceso}) edit->SetSource(DataSource1);
  ui_->EditCategoria->SetSource(DataSource1);
  AsignarPaginas(ui_->PageControl1);
  Accion("Eliminar1")->setShortcut(Qt::Key_F6);
  Accion("CopiarRegistrosaOtrasEmpresas1")->setVisible(false);
  auto* copiar = new QAction(QStringLiteral("Copiar Datos de Usuarios desde los Archivos de Configuración"), this);
  copiar->setObjectName(QStringLiteral("CopiarDatosUsuariosDesdeArchivoConfiguracion"));
  findChild<QMenu*>(QStringLiteral("Ficha1"))->insertAction(Accion("Cerrar1"), copiar);
  connect(copiar, &QAction::triggered, this, [this] { CopiarDatosUsuariosDesdeArchivoConfiguracionClick(); });

  Table1->SetTableName(QStringLiteral("USUARIO"));
  Table1->OnNewRecord = [](Dataset& tabla) { tabla.FieldByName(kCategoria).SetAsString(QStringLiteral("Normal")); };
  // The pages read the users through the data module's table: it must see what this form stores.
  Table1->AfterPost = [this](Dataset&) { usuariosGuardados(); };
  Table1->AfterDelete = [this](Dataset&) { usuariosGuardados(); };
  Iniciar(QStringLiteral("Configuración de Usuarios"), QStringLiteral("Codigo"), ui_->EditCodigo);

  QStringList categorias = kCategoriasPropias;
  const QString codigos = EjecutarSQL(QStringLiteral("SELECT DISTINCT Codigo FROM USUARIO ORDER BY Codigo"),
                                      QStringLiteral("DatabaseGeneral"));
  categorias += codigos.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  ui_->EditCategoria->addItems(categorias);
  ui_->PageControl1->setCurrentWidget(ui_->PaginaGeneral);
  prepararPaginasDerechos();

  connect(ui_->pbANoAccesibles, &QPushButton::clicked, this, [this] { pbANoAccesiblesClick(); });
  connect(ui_->pbANoAccesiblesTodo, &QPushButton::clicked, this, [this] { pbANoAccesiblesTodoClick(); });
  connect(ui_->pbAAccesibles, &QPushButton::clicked, this, [this] { pbAAccesiblesClick(); });
  connect(ui_->pbAAccesiblesTodo, &QPushButton::clicked, this, [this] { pbAAccesiblesTodoClick(); });
  connect(ui_->pbDuplicar, &QPushButton::clicked, this, [this] { pbDuplicarClick(); });
  connect(ui_->SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
  ui_->EditConfiguracion->viewport()->installEventFilter(this);
  connect(DataSource1, &DataSource::DataChange, this, [this](Field* campo) { DataSource1DataChange(campo); });
  DataSource1DataChange(nullptr);
}

TfGENEUSER::~TfGENEUSER() {
  if (fGENEUSER == this) fGENEUSER = nullptr;
}

bool TfGENEUSER::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->EditConfiguracion->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    EditConfiguracionDblClick();
    return true;
  }
  return MantenimientoRegistros::eventFilter(watched, event);
}

QString TfGENEUSER::usuarioActual() const { return Table1->FieldByName(QStringLiteral("Codigo")).AsString(); }

bool TfGENEUSER::ComprobarDatos(QWidget* control) {
  if (!Editando() || ControlActivo() == Boton("pbCancelar") || control != ui_->EditCategoria) return true;
  return ValidarValoresRejilla(ui_->EditCategoria, &Table1->FieldByName(kCategoria));
}

void TfGENEUSER::Table1BeforePost(Dataset&) {
  if (!Iniciado()) return;
  EstadoAnterior = Table1->State();
  // The category is checked whichever control the post comes from.
  if (!ValidacionWinControl(ui_->EditCategoria)) {
    ui_->PageControl1->setCurrentWidget(ui_->PaginaGeneral);
    throw Abort();
  }
}

void TfGENEUSER::usuariosGuardados() {
  if (ModuloDatos && ModuloDatos->Usuario && ModuloDatos->Usuario->Active()) ModuloDatos->Usuario->Refresh();
  if (Iniciado()) DataSource1DataChange(nullptr);
}

void TfGENEUSER::DataSource1DataChange(Field* campo) {
  if (!campo && Table1->State() != dsEdit) {
    CargarEmpresasUsuario();
    CargarListasProgramas();
    CargarControlesNoVisibles();
    CargarConfiguracionUsuario();
  }
  colorearCategoria();
}

void TfGENEUSER::colorearCategoria() {
  const QString categoria = Table1->Active() ? Table1->FieldByName(kCategoria).AsString() : QString();
  const bool perfil = !categoria.isEmpty() && !kCategoriasPropias.contains(categoria);
  QPalette colores = ui_->EditCategoria->palette();
  colores.setColor(QPalette::Base, perfil ? QColor(255, 213, 213) : QColor(Qt::white));
  colores.setColor(QPalette::Button, perfil ? QColor(255, 213, 213) : QColor(Qt::white));
  ui_->EditCategoria->setPalette(colores);
}

// ---- companies

void TfGENEUSER::anadirEmpresa(QListWidget& lista, const QString& codigo) {
  bool numero = false;
  const int n = codigo.toInt(&numero);
  const bool definida = numero && nombresEmpresas_.contains(n);
  auto* elemento = new QListWidgetItem(codigo + QStringLiteral(" - ") +
                                       (definida ? nombresEmpresas_.value(n) : QStringLiteral("No Definida")));
  elemento->setData(Qt::UserRole, codigo);
  lista.addItem(elemento);
}

// Company codes are numbers: "2 - Y" goes before "10 - X".
void TfGENEUSER::ordenarPorCodigo(QListWidget& lista) {
  QList<QListWidgetItem*> elementos;
  while (lista.count() > 0) elementos.prepend(lista.takeItem(lista.count() - 1));
  const auto clave = [](const QListWidgetItem* elemento) {
    bool numero = false;
    const QString codigo = elemento->data(Qt::UserRole).toString();
    const qlonglong valor = codigo.toLongLong(&numero);
    return std::tuple(!numero, numero ? valor : 0, codigo);
  };
  std::stable_sort(elementos.begin(), elementos.end(),
                   [&clave](const QListWidgetItem* a, const QListWidgetItem* b) { return clave(a) < clave(b); });
  for (QListWidgetItem* elemento : elementos) lista.addItem(elemento);
}

void TfGENEUSER::CargarEmpresasUsuario() {
  nombresEmpresas_.clear();
  const QString filas =
      EjecutarSQL(QStringLiteral("SELECT Codigo, Nombre FROM EMPRESA ORDER BY Codigo"), QStringLiteral("DatabaseGeneral"));
  for (const QString& fila : filas.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
    nombresEmpresas_.insert(fila.section(u'|', 0, 0).toInt(), fila.section(u'|', 1));
  ui_->ListaEmpresasAccesibles->clear();
  ui_->ListaEmpresasNoAccesibles->clear();
  QStringList accesibles;
  if (Table1->Active() && !Table1->IsEmpty()) {
    StringList lineas;
    lineas.SetText(Table1->FieldByName(kEmpresas).AsString());
    for (int i = 0; i < lineas.Count(); ++i) accesibles << lineas[i];
  }
  for (const QString& codigo : accesibles) anadirEmpresa(*ui_->ListaEmpresasAccesibles, codigo);
  for (auto empresa = nombresEmpresas_.cbegin(); empresa != nombresEmpresas_.cend(); ++empresa)
    if (!accesibles.contains(QString::number(empresa.key())))
      anadirEmpresa(*ui_->ListaEmpresasNoAccesibles, QString::number(empresa.key()));
  ActualizarBotonesEmpresas();
}

void TfGENEUSER::ActualizarBotonesEmpresas() {
  const bool accesibles = ui_->ListaEmpresasAccesibles->count() > 0;
  const bool otras = ui_->ListaEmpresasNoAccesibles->count() > 0;
  ui_->pbANoAccesibles->setEnabled(accesibles);
  ui_->pbANoAccesiblesTodo->setEnabled(accesibles);
  ui_->pbAAccesibles->setEnabled(otras);
  ui_->pbAAccesiblesTodo->setEnabled(otras);
}

void TfGENEUSER::moverEmpresas(QListWidget& origen, QListWidget& destino, bool todas) {
  if (Table1->IsEmpty()) return;
  const auto codigos = [&origen](bool todas) {
    QStringList elegidas;
    for (int i = 0; i < origen.count(); ++i)
      if (todas || origen.item(i)->isSelected()) elegidas << origen.item(i)->data(Qt::UserRole).toString();
    return elegidas;
  };
  QStringList elegidas = codigos(todas);
  if (Table1->State() != dsEdit && Table1->State() != dsInsert) {
    try {
      Table1->Edit();
    } catch (const std::exception&) {
      MensajeAviso(QStringLiteral("¡No se puede editar el registro!"));
      return;
    }
    // Edit read the row again: another administrator's change is kept.
    CargarEmpresasUsuario();
    const QStringList ahora = codigos(true);
    if (todas) elegidas = ahora;
    elegidas.removeIf([&ahora](const QString& codigo) { return !ahora.contains(codigo); });
  }
  int primera = -1;
  for (int i = origen.count() - 1; i >= 0; --i) {
    const QString codigo = origen.item(i)->data(Qt::UserRole).toString();
    if (!elegidas.contains(codigo)) continue;
    primera = i;
    delete origen.takeItem(i);
  }
  for (const QString& codigo : elegidas) anadirEmpresa(destino, codigo);
  if (&destino == ui_->ListaEmpresasNoAccesibles) ordenarPorCodigo(destino);
  if (primera >= 0 && origen.count() > 0) origen.setCurrentRow(std::min(primera, origen.count() - 1));
  QStringList accesibles;
  for (int i = 0; i < ui_->ListaEmpresasAccesibles->count(); ++i)
    accesibles << ui_->ListaEmpresasAccesibles->item(i)->data(Qt::UserRole).toString();
  Table1->FieldByName(kEmpresas).SetAsString(accesibles.join(QStringLiteral("\r\n")));
  ActualizarBotonesEmpresas();
}

void TfGENEUSER::pbANoAccesiblesClick() {
  moverEmpresas(*ui_->ListaEmpresasAccesibles, *ui_->ListaEmpresasNoAccesibles, false);
}
void TfGENEUSER::pbANoAccesiblesTodoClick() {
  moverEmpresas(*ui_->ListaEmpresasAccesibles, *ui_->ListaEmpresasNoAccesibles, true);
}
void TfGENEUSER::pbAAccesiblesClick() {
  moverEmpresas(*ui_->ListaEmpresasNoAccesibles, *ui_->ListaEmpresasAccesibles, false);
}
void TfGENEUSER::pbAAccesiblesTodoClick() {
  moverEmpresas(*ui_->ListaEmpresasNoAccesibles, *ui_->ListaEmpresasAccesibles, true);
}

// ---- configuration, written at once

bool TfGENEUSER::grabarEdicionPendiente() {
  if (!Editando()) return true;
  try {
    Table1->Post();
    return true;
  } catch (const Abort&) {
    return false;  // the check that refused it has said why
  } catch (const std::exception&) {
    MensajeAviso(QStringLiteral("¡ El registro no ha sido grabado !"));
    return false;
  }
}

void TfGENEUSER::CargarConfiguracionUsuario() {
  QStringList lineas;
  const QString usuario = Table1->Active() && !Table1->IsEmpty() ? usuarioActual() : QString();
  if (!usuario.isEmpty())
    for (const auto& [clave, defecto] : ClavesConfiguracion())
      lineas << clave + u'=' + LeerConfigUsuario(usuario, clave, defecto);
  ui_->EditConfiguracion->setPlainText(lineas.join(u'\n'));
  ui_->EditConfiguracion->verticalScrollBar()->setValue(0);
}

void TfGENEUSER::SpeedButton1Click() {
  if (Table1->IsEmpty()) return;
  QString respuesta;
  MensajeConfirmacion(
      QStringLiteral("Esta acción inicializará el contador de accesos del usuario actual. ¿Desea continuar?"), respuesta);
  if (respuesta == QLatin1String("NO")) return;
  if (grabarEdicionPendiente()) GrabarConfigUsuario(usuarioActual(), QStringLiteral("ContadorAccesos"), QStringLiteral("0"));
  CargarConfiguracionUsuario();
}

void TfGENEUSER::EditConfiguracionDblClick() {
  if (Table1->IsEmpty()) return;
  const QString usuario = usuarioActual();
  QStringList lineas;
  for (const auto& [clave, defecto] : ClavesConfiguracion())
    lineas << clave + u'=' +
                  LeerConfigUsuario(usuario, clave, clave.endsWith(QLatin1String("(Masivo)")) ? QString() : defecto);
  const QString mostrado = lineas.join(QStringLiteral("\r\n"));
  QString editado;
  EditorRegistroINI(mostrado, mostrado, QStringLiteral("Datos de Configuración del Usuario"), QStringLiteral("Dato;Valor"),
                    definicionesConfiguracion(), QStringLiteral("Formato=0,0,400,0"), editado);
  // Only what changed is written: the shown defaults stay defaults.
  StringList antes, despues;
  antes.SetText(mostrado);
  despues.SetText(editado);
  QList<QPair<QString, QString>> cambios;
  for (int i = 0; i < despues.Count(); ++i) {
    const QString clave = despues.Names(i);
    const int anterior = antes.IndexOfName(clave);
    if (!clave.isEmpty() && (anterior < 0 || antes.ValueFromIndex(anterior) != despues.ValueFromIndex(i)))
      cambios.append({clave, despues.ValueFromIndex(i)});
  }
  if (!cambios.isEmpty() && grabarEdicionPendiente()) GrabarConfigUsuario(usuario, cambios);
  CargarConfiguracionUsuario();
}

void TfGENEUSER::pbDuplicarClick() {
  if (Editando() || Table1->IsEmpty()) return;
  QString resultado;
  DuplicarRegistro(*Table1, nullptr, resultado);
  if (resultado == QLatin1String("Cancelada")) return;
  if (resultado.contains(QLatin1String("Error"))) {
    MensajeAviso(QStringLiteral("¡Se ha producido un error al duplicar el registro!"));
    return;
  }
  pbRefrescarClick();
}
