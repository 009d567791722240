#include "shell/Genecaus.h"

#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/datamodule/ClavesRegistro.h"
#include "core/datamodule/CopiaPorClave.h"
#include "core/datamodule/SiguienteCodigo.h"
#include "core/datamodule/ValidacionRejilla.h"
#include "core/forms/TeclasFormulario.h"
#include "core/helpers/Letras.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Geneinic.h"
#include "core/tables/DefinicionesEstructura.h"
#include "platform/VirtualKeys.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "platform/sql/ReservedWords.h"
#include "platform/sqlite/Connection.h"
#include "shell/TablasEmpresa.h"
#include "ui_GENECAUS.h"

#include <QAction>
#include <QCloseEvent>
#include <QPushButton>

namespace {

struct Columna {
  const char* campo;
  const char* titulo;
  int ancho;
};
const Columna kColumnas[] = {{"NombreTabla", "Tabla", 120},       {"OrdenCampo", "Orden", 50},
                             {"NombreCampo", "Campo", 170},        {"TipoCampo", "Tipo", 100},
                             {"LongitudCampo", "Longitud", 60},    {"NombreTablaConexion", "Tabla Conexión", 120}};
enum { kTabla, kOrden, kCampo, kTipo, kLongitud, kTablaConexion };
constexpr int kNombreEscrito = 255;

const QString kTipos[] = {u"Entero"_qs, u"Numerico"_qs, u"Alfanumerico"_qs, u"Fecha"_qs, u"Texto"_qs};
const QString kYaExisteCampo = u"¡Ya existe un campo con ese nombre para la tabla!"_qs;

bool conLongitud(const QString& tipo) { return tipo == u"Alfanumerico"_qs || tipo == u"Texto"_qs; }

// The tables of a company: on the server its database's, through the
// alternative connection; otherwise those of its data folder.
QStringList tablasEmpresa(int empresa) {
  QStringList nombres;
  if (EsSQLServer()) {
    ConectarBaseDatosAlternativa(*fGENEINIC, empresa, QString());
    nombres = Conexiones(*fGENEINIC).DatabaseAlt->GetTableNames();
  } else {
    nombres = Session::Default().OpenAliasOrFolder(NombreBaseDatosEmpresa(*fGENEINIC, empresa))->TableNames();
  }
  return TablasParaElegir(nombres);
}

}  // namespace

TfGENECAUS::TfGENECAUS(QWidget* owner)
    : MantenimientoRegistros(Rejilla, owner), ui_(std::make_unique<Ui::TfGENECAUS>()) {
  setObjectName(u"fGENECAUS"_qs);
  ui_->setupUi(Datos());
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setFixedSize(680, 320);
  Table2 = new Table(this);
  Table2->setObjectName(u"Table2"_qs);
  Table2->SetTableName(u"EMPRESA"_qs);

  Table1->SetTableName(u"CAMPOUSR"_qs);
  AsignarRejilla(ui_->DBGrid1);
  ColumnasClave = 2;
  QStringList campos;
  for (const Columna& columna : kColumnas) {
    campos << QString::fromLatin1(columna.campo);
    // The name takes what is typed whole: the column would cut a name that is
    // too long to one that passes the name rule.
    new Field(Table1, campos.last(), ftUnknown, &columna == &kColumnas[kCampo] ? kNombreEscrito : 0);
  }
  DBGrid1->SetColumns(campos);
  Table1->BeforeInsert = [this](Dataset&) { Table1BeforeInsert(); };
  Table1->OnNewRecord = [this](Dataset&) { Table1NewRecord(); };
  Table1->AfterPost = [this](Dataset&) { Table1AfterPost(); };
  Table1->AfterDelete = [this](Dataset&) { CambiosRealizados = true; };
  // F1's help first; then the suite-wide keys, Enter among them.
  OnKeyDown = [this](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla == VK::F1) Ayuda1Click();
    TeclasFormulario(formulario, tecla, estado);
  };
  OnKeyPress = PulsacionTecla;
  Iniciar(u"Maestro de Campos de Usuario Personalizados"_qs, u"OrdenCampo"_qs);
  for (int n = 0; n < DBGrid1->ColumnCount(); ++n) {
    DBGrid1->SetColumnTitle(n, QString::fromUtf8(kColumnas[n].titulo));
    DBGrid1->SetColumnWidth(n, kColumnas[n].ancho);
  }
  DBGrid1->SetColumnPickList(kTipo, QStringList(std::begin(kTipos), std::end(kTipos)));
  cargarTablas();

  Accion("CopiarRegistrosaOtrasEmpresas1")->setVisible(false);
  Accion("DocumentacionElectronica1")->setEnabled(false);
  Accion("ListadoProgramable1")->setEnabled(false);
  disconnect(Accion("EliminacionMultiple1"), &QAction::triggered, this, nullptr);
  CambiosRealizados = false;
}

TfGENECAUS::~TfGENECAUS() = default;

void TfGENECAUS::cargarTablas() {
  Table2->First();
  const QStringList tablas =
      TablaVacia(*Table2) ? QStringList() : tablasEmpresa(Table2->FieldByName(u"Codigo"_qs).AsInteger());
  DBGrid1->SetColumnPickList(kTabla, tablas);
  DBGrid1->SetColumnPickList(kTablaConexion, QStringList(QString()) + tablas);
}

void TfGENECAUS::Table1BeforeInsert() { claveAnterior_ = TablaVacia(*Table1) ? QString() : ClaveRegistro(*Table1); }

void TfGENECAUS::Table1NewRecord() {
  if (Accion("Agregar")->text() == u"&Agregar con Duplicación"_qs && !claveAnterior_.isEmpty())
    CopiarRegistroClave(*Table1, claveAnterior_);
  Table1->FieldByName(u"TipoCampo"_qs).SetAsString(u"Alfanumerico"_qs);
  Table1->FieldByName(u"OrdenCampo"_qs).SetAsInteger(10);
  Table1->FieldByName(u"LongitudCampo"_qs).SetAsInteger(10);
}

void TfGENECAUS::Table1AfterPost() {
  if (!Iniciado()) return;
  CambiosRealizados = true;
  DBGrid1->setFocus();
  if (EstadoAnterior == dsInsert) SiguienteNuevoRegistro();
}

bool TfGENECAUS::comprobarNombre(bool registro) {
  const QString nombre = Table1->FieldByName(u"NombreCampo"_qs).AsString();
  if (nombre.isEmpty()) {
    MensajeAviso(u"¡No se puede definir un campo sin nombre!"_qs);
    return false;
  }
  QString identificador;
  if (!IdentificadorValido(nombre, identificador) || IsReservedWord(nombre)) {
    MensajeAviso(QString::fromUtf16(kNombreNoValido));
    return false;
  }
  const QString tabla = Table1->FieldByName(u"NombreTabla"_qs).AsString();
  const QStringList propios = ListaCamposDefinidos(tabla, DefinicionesEstandar()).split(u"\r\n"_qs, Qt::SkipEmptyParts);
  if (propios.contains(nombre, Qt::CaseInsensitive)) {
    MensajeAviso(kYaExisteCampo);
    return false;
  }
  if (!registro) return true;
  // Column names differ in more than case on every engine; the row being
  // edited is not its own duplicate.
  QString sql = u"SELECT NombreCampo FROM CAMPOUSR   WHERE NombreTabla = "_qs + LiteralSQL(tabla) +
                u"    AND UPPER(NombreCampo) = "_qs + LiteralSQL(nombre.toUpper());
  if (Table1->State() == dsEdit)
    sql += u" AND OrdenCampo <> "_qs + QString::number(Table1->FieldByName(u"OrdenCampo"_qs).AsInteger());
  if (EjecutarSQL(sql, u"DatabaseGeneral"_qs).trimmed().isEmpty()) return true;
  MensajeAviso(kYaExisteCampo);
  return false;
}

bool TfGENECAUS::comprobarLongitud() {
  if (!conLongitud(Table1->FieldByName(u"TipoCampo"_qs).AsString()) ||
      Table1->FieldByName(u"LongitudCampo"_qs).AsInteger() != 0)
    return true;
  MensajeAviso(u"¡Debe introducir un valor distinto de 0!"_qs);
  return false;
}

bool TfGENECAUS::ValidarValorColumna(int columna) {
  return DBGrid1->ColumnPickList(columna).isEmpty() || ::ValidarValorColumna(*DBGrid1, columna);
}

bool TfGENECAUS::ComprobarDatos(QWidget* control) {
  const DataSetState estado = Table1->State();
  if ((estado != dsEdit && estado != dsInsert) || ControlActivo() == Boton("pbCancelar")) return true;
  // A column left, or the whole record before it is posted.
  const int dejada = control == DBGrid1 ? ColumnaDejada() : -1;
  const auto comprueba = [dejada](int columna) { return dejada < 0 || dejada == columna; };
  if (dejada == kTabla && estado == dsInsert)
    Table1->FieldByName(u"OrdenCampo"_qs).SetAsInteger(static_cast<int>(SiguienteCodigo(*Table1, 10)));
  if (comprueba(kCampo) && !comprobarNombre(dejada < 0)) return false;
  if (comprueba(kTipo) && !conLongitud(Table1->FieldByName(u"TipoCampo"_qs).AsString()))
    Table1->FieldByName(u"LongitudCampo"_qs).SetAsInteger(0);
  if (comprueba(kLongitud) && !comprobarLongitud()) return false;
  return ValidarValorColumna(dejada < 0 ? DBGrid1->SelectedIndex() : dejada);
}

void TfGENECAUS::closeEvent(QCloseEvent* event) {
  MantenimientoRegistros::closeEvent(event);
  if (event->isAccepted() && CambiosRealizados)
    MensajeAviso(u"¡Atención!. Para hacer efectivos los cambios realizados debe actualizar la Base de Datos."_qs);
}
