#include "shell/Geneempr.h"

#include "core/connections/BaseDatosEmpresa.h"
#include "core/connections/BaseDatosSQLServer.h"
#include "core/connections/Conexiones.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/system/CursorEspera.h"
#include "platform/Exceptions.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "ui_GENEEMPR.h"

#include <QAction>

TfGENEEMPR* fGENEEMPR = nullptr;

namespace {

struct Columna {
  const char* campo;
  const char* titulo;
  int ancho;
};
const Columna kColumnas[] = {
    {"Codigo", "Código", 45}, {"Nombre", "Nombre", 251}, {"Abreviatura", "Abreviatura", 76}, {"Logotipo", "Logotipo", 150}};

}  // namespace

TfGENEEMPR::TfGENEEMPR(QWidget* owner)
    : MantenimientoRegistros(Rejilla, owner), ui_(std::make_unique<Ui::TfGENEEMPR>()) {
  setObjectName(QStringLiteral("fGENEEMPR"));
  ui_->setupUi(Datos());
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setFixedSize(560, 292);
  Query1 = new Query(this);
  Query1->setObjectName(QStringLiteral("Query1"));
  Accion("Eliminar1")->setShortcut(Qt::Key_F6);

  Table1->SetTableName(QStringLiteral("EMPRESA"));
  AsignarRejilla(ui_->DBGrid1);
  QStringList campos;
  for (const Columna& columna : kColumnas) campos << QString::fromLatin1(columna.campo);
  DBGrid1->SetColumns(campos);
  Table1->AfterPost = [this](Dataset&) { Table1AfterPost(Table1); };
  Table1->BeforeDelete = [this](Dataset&) { Table1BeforeDelete(Table1); };
  Iniciar(QStringLiteral("Maestro de Empresas"), QStringLiteral("Codigo"));
  for (int n = 0; n < DBGrid1->ColumnCount(); ++n) {
    DBGrid1->SetColumnTitle(n, QString::fromUtf8(kColumnas[n].titulo));
    DBGrid1->SetColumnWidth(n, kColumnas[n].ancho);
  }

  // Items that act on the table in other masters have no command here.
  for (const char* nombre : {"EliminacionMultiple1", "ListarFichaActual1", "ListadoProgramable1",
                             "DocumentacionElectronica1", "CopiarRegistrosaOtrasEmpresas1"}) {
    QAction* accion = Accion(nombre);
    accion->setEnabled(false);
    disconnect(accion, &QAction::triggered, this, nullptr);
  }
}

TfGENEEMPR::~TfGENEEMPR() {
  if (fGENEEMPR == this) fGENEEMPR = nullptr;
}

void TfGENEEMPR::Table1BeforePost(Dataset&) {
  if (!Iniciado()) return;  // company 1, of the table's creation, has its database
  EstadoAnterior = Table1->State();
  if (EstadoAnterior != dsInsert) return;
  // A database that cannot be made is warned of and the line stays to be corrected.
  if (!CrearBaseDatosEmpresa(Table1->FieldByName(QStringLiteral("Codigo")).AsInteger(), QStringLiteral("A")))
    throw Abort();
}

void TfGENEEMPR::Table1AfterPost(QObject*) {
  if (!Iniciado()) return;
  DBGrid1->setFocus();
  if (EstadoAnterior != dsInsert) return;
  MensajeInformacion(QStringLiteral("Recuerde incluir la nueva empresa en su sistema de copias de seguridad."));
  SiguienteNuevoRegistro();
}

void TfGENEEMPR::Table1BeforeDelete(QObject*) {
  QString respuesta;
  MensajeConfirmacion(
      QStringLiteral("Esta opción eliminará la Base de Datos completa de la Empresa. ¿ Está Vd. conforme ?"), respuesta);
  if (respuesta == QLatin1String("NO")) return;
  const QString motivo = eliminarBaseDatos(Table1->FieldByName(QStringLiteral("Codigo")).AsInteger());
  if (motivo.isEmpty()) return;
  MensajeAviso(QStringLiteral("¡La Base de Datos no ha sido eliminada!. Motivo: ") + motivo);
  throw Abort();
}

QString TfGENEEMPR::eliminarBaseDatos(int empresa) {
  const CursorEspera espera;
  if (EsParadox()) return EliminarDatosCarpetaEmpresa(empresa);
  try {
    Query1->Close();
    // On the server's master connection, as the database was created.
    Query1->SetDatabaseName(CadenaConexionADO(*fGENEINIC, QStringLiteral("master"), QString()));
    const QString nombre = AliasBaseDatosEmpresa + Table1->FieldByName(QStringLiteral("Codigo")).AsString();
    Query1->SQL().SetText(QStringLiteral("USE master DROP DATABASE ") + NombreSQL(nombre));
    // A drop whose program ended before the line went leaves nothing to drop.
    if (ExisteBaseDatosSQLServer(nombre)) Query1->ExecSQL();
    return QString();
  } catch (const std::exception& error) {
    return TextoExcepcion(error);
  }
}
