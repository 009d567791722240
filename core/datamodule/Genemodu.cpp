#include "core/datamodule/Genemodu.h"

#include "core/connections/Conexiones.h"
#include "core/connections/NombresBaseDatos.h"
#include "platform/data/Database.h"
#include "core/datamodule/AdministradorInicial.h"
#include "core/datamodule/AperturaTablasModulo.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrinter>

TModuloDatos* ModuloDatos = nullptr;
bool ModuloDatosListo = false;

QString FormatoNumericoEstandar;
std::array<QString, 6> PlantillasNumericas;
int DecimalesMonedaBase = 0;
double CambioMonedaBase = 1.0;
QString AbreviaturaMonedaBase;
QString DescripcionMonedaBase;

namespace {

ObservadorTraza& observadorInstalado() {
  static ObservadorTraza observador;
  return observador;
}

template <class Componente>
Componente* componente(QObject* owner, const char* nombre) {
  auto* creado = new Componente(owner);
  creado->setObjectName(QLatin1String(nombre));
  return creado;
}

template <class Dialogo>
std::unique_ptr<Dialogo> dialogo(const char* nombre) {
  auto creado = std::make_unique<Dialogo>();
  creado->setObjectName(QLatin1String(nombre));
  return creado;
}

std::unique_ptr<QFileDialog> dialogoArchivos(const char* nombre, QFileDialog::AcceptMode modo) {
  auto creado = dialogo<QFileDialog>(nombre);
  creado->setAcceptMode(modo);
  // The save dialog keeps the desktop's own caption.
  if (modo == QFileDialog::AcceptOpen) creado->setWindowTitle(QStringLiteral("Abrir Archivo"));
  creado->setNameFilters({QStringLiteral("Archivos de Texto (*.TXT)"), QStringLiteral("Todos los Archivos (*.*)")});
  return creado;
}

QPrinter& impresoraModulo(std::unique_ptr<QPrinter>& impresora) {
  if (!impresora) impresora = std::make_unique<QPrinter>();
  return *impresora;
}

}  // namespace

TModuloDatos::TModuloDatos(QObject* owner)
    : QObject(owner),
      abrir_(dialogoArchivos("OpenDialog1", QFileDialog::AcceptOpen)),
      guardar_(dialogoArchivos("SaveDialog1", QFileDialog::AcceptSave)),
      fuente_(dialogo<QFontDialog>("FontDialog1")),
      color_(dialogo<QColorDialog>("ColorDialog1")),
      ParamGenerales(componente<Table>(this, "ParamGenerales")),
      Table1(componente<Table>(this, "Table1")),
      Usuario(componente<Table>(this, "Usuario")),
      OpenDialog1(abrir_.get()),
      SaveDialog1(guardar_.get()),
      FontDialog1(fuente_.get()),
      Responsabilidad(componente<Table>(this, "Responsabilidad")),
      Empresa(componente<Table>(this, "Empresa")),
      DSEmpresa(componente<DataSource>(this, "DSEmpresa")),
      Query1(componente<Query>(this, "Query1")),
      Moneda(componente<Table>(this, "Moneda")),
      DSMoneda(componente<DataSource>(this, "DSMoneda")),
      ColorDialog1(color_.get()),
      GATablas(componente<Table>(this, "GATablas")),
      GAnalisis(componente<Table>(this, "GAnalisis")),
      RegistroAccesos(componente<Table>(this, "RegistroAccesos")),
      QR_Export_Table(componente<Table>(this, "QR_Export_Table")) {
  setObjectName(QStringLiteral("ModuloDatos"));
  QFont fuente(QStringLiteral("MS Sans Serif"));
  fuente.setPixelSize(11);
  FontDialog1->setCurrentFont(fuente);
  ParamGenerales->AfterPost = [this](Dataset&) { ParamGeneralesAfterPost(); };
  // Without the services object there are no databases: the module is a bare container.
  const Application* application = Application::Instance();
  if (!fGENEINIC || (application && application->Terminated())) return;
  try {
    ModuloDatosCreate();
  } catch (const Abort&) {
  } catch (const Exception& error) {
    if (Application* aplicacion = Application::Instance()) aplicacion->HandleException(this, error);
  } catch (const std::exception& error) {
    if (Application* aplicacion = Application::Instance())
      aplicacion->HandleException(this, Exception(QString::fromLocal8Bit(error.what())));
  }
}

QPageSetupDialog* TModuloDatos::PrinterSetupDialog1() {
  if (!configurarImpresora_) {
    configurarImpresora_ = std::make_unique<QPageSetupDialog>(&impresoraModulo(impresora_));
    configurarImpresora_->setObjectName(QStringLiteral("PrinterSetupDialog1"));
  }
  return configurarImpresora_.get();
}

TModuloDatos::~TModuloDatos() {
  ModuloDatosDestroy();
  if (ModuloDatos == this) ModuloDatos = nullptr;
}

void TModuloDatos::ModuloDatosCreate() {
  CacheConsultasSQL.Clear();
  FormatoNumericoEstandar = QStringLiteral("#,###.##");

  {
    Table usuarios(this);
    usuarios.SetDatabaseName(Conexiones(*fGENEINIC).DatabaseGeneral->DatabaseName());
    usuarios.SetTableName(QStringLiteral("USUARIO"));
    AbrirTablasModulo(*fGENEINIC, *this);
    usuarios.Close();
  }

  // Named only now, so the opening of the module's own tables above passes it by.
  Usuario->Close();
  Usuario->SetTableName(QStringLiteral("USUARIO"));
  // An ADO connection string names a SQL Server; Paradox data is reached by its folder.
  const QString general = Conexiones(*fGENEINIC).DatabaseGeneral->DatabaseName();
  Usuario->SetDatabaseName(EsSQLServer() ? CadenaConexionADO(*fGENEINIC, QStringLiteral("DatabaseGeneral"), QString())
                                         : general);
  Usuario->Open();

  for (std::size_t plantilla = 1; plantilla < PlantillasNumericas.size(); ++plantilla)
    PlantillasNumericas[plantilla] = FormatoNumericoEstandar;
  if (EsProgramaModulo() && EmpresaActual != 0) PrepararEmpresa();

  DarDeAltaAdministrador(*Usuario);

  listaPrivada_.Clear();
  ModuloDatosListo = true;
}

void TModuloDatos::ModuloDatosDestroy() {
  CacheConsultasSQL.Clear();
  listaPrivada_.Clear();
  ModuloDatosListo = false;
}

void ResetModuloDatos() {
  FormatoNumericoEstandar.clear();
  PlantillasNumericas = {};
  DecimalesMonedaBase = 0;
  CambioMonedaBase = 1.0;
  AbreviaturaMonedaBase.clear();
  DescripcionMonedaBase.clear();
}

void InstalarObservadorTraza(ObservadorTraza observador) { observadorInstalado() = std::move(observador); }

void RegistrarTraza(const QString& texto, const QString& detalle, const QVariant& extra) {
  if (observadorInstalado()) observadorInstalado()(texto, detalle, extra);
}
