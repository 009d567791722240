#include "maintenance/Genecchr.h"

#include "core/connections/NombresBaseDatos.h"
#include "core/connections/VariablesConexion.h"
#include "core/datamodule/TransaccionBasesDatos.h"
#include "core/forms/TeclasFormulario.h"
#include "core/forms/TablasFormulario.h"
#include "core/helpers/Tablas.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/Ayuda.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/tables/DefinicionesEstructura.h"
#include "maintenance/ProcesoEnCurso.h"
#include "platform/CommonDialogs.h"
#include "platform/FormRegistry.h"
#include "platform/VirtualKeys.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "ui_GENECCHR.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>

TfGENECCHR* fGENECCHR = nullptr;

namespace {

constexpr auto kFiltroEquivalencias = "Archivos de Texto (*.txt)|*.txt|Todos los Archivos (*.*)|*.*";

QStringList Nombres(const QString& lista) {
  QStringList nombres;
  for (const QString& nombre : lista.split(u','))
    if (!nombre.trimmed().isEmpty()) nombres << nombre.trimmed();
  return nombres;
}

// The table names up to the first empty one, which ends the list.
QStringList NombresHastaVacio(const QString& lista) {
  QStringList nombres;
  for (const QString& nombre : lista.split(u',')) {
    if (nombre.trimmed().isEmpty()) break;
    nombres << nombre.trimmed();
  }
  return nombres;
}

}  // namespace

TfGENECCHR::TfGENECCHR(QWidget* owner)
    : Form(owner), ui_(std::make_unique<Ui::TfGENECCHR>()), ADOQuery(std::make_unique<Query>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  ADOQuery->setObjectName(QStringLiteral("ADOQuery"));
  if (fGENEINIC) ADOQuery->SetDatabaseName(CadenaConexionADO(*fGENEINIC, QStringLiteral("msdb"), QString()));

  QTableWidget& tabla = *ui_->TablaEquivalencias;
  tabla.setColumnCount(2);
  tabla.setRowCount(kMaximoEquivalencias);
  tabla.setHorizontalHeaderLabels({QStringLiteral("Anterior"), QStringLiteral("Nuevo")});
  tabla.horizontalHeader()->setDefaultSectionSize(74);
  tabla.verticalHeader()->setDefaultSectionSize(18);
  tabla.verticalHeader()->hide();
  Inicializarlatabla1Click();

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  PopupMenu1->addAction(QStringLiteral("Importar desde una tabla de equivalencias"), this,
                        &TfGENECCHR::ImportarDesdeTablaClick)->setObjectName(QStringLiteral("ImportarDesdeTabla"));
  PopupMenu1->addAction(QStringLiteral("Exportar a una tabla de equivalencias"), this, &TfGENECCHR::ExportarATablaClick)
      ->setObjectName(QStringLiteral("ExportarATabla"));
  PopupMenu1->addAction(QStringLiteral("Inicializar la tabla"), this, &TfGENECCHR::Inicializarlatabla1Click)
      ->setObjectName(QStringLiteral("Inicializarlatabla1"));
  PopupMenu2 = new QMenu(this);
  PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
  PopupMenu2->addAction(QStringLiteral("Agregar a la lista todas las Bases de Datos"), this,
                        &TfGENECCHR::AgregarunaBasedeDatosquenoestenlalista1Click)
      ->setObjectName(QStringLiteral("AgregarunaBasedeDatosquenoestenlalista1"));
  PopupMenu2->addAction(QStringLiteral("Crear la lista solo con las Bases de Datos de la Aplicación"), this,
                        &TfGENECCHR::Crearlalistasoloconlasbasesdedatosdelaaplicacin1Click)
      ->setObjectName(QStringLiteral("Crearlalistasoloconlasbasesdedatosdelaaplicacin1"));
  connect(&tabla, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& punto) { PopupMenu1->popup(ui_->TablaEquivalencias->viewport()->mapToGlobal(punto)); });
  connect(ui_->BasesDeDatos, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& punto) { PopupMenu2->popup(ui_->BasesDeDatos->viewport()->mapToGlobal(punto)); });

  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
  OpenDialog1->setFileMode(QFileDialog::ExistingFile);
  SaveDialog1 = new QFileDialog(this);
  SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
  SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);

  for (QRadioButton* boton : {ui_->TodasLasTablas, ui_->SoloLasTablasIndicadas})
    connect(boton, &QRadioButton::toggled, this, &TfGENECCHR::ProcesarTablasClick);
  for (QRadioButton* boton : {ui_->TodosLosAlfanumericos, ui_->SoloConElNombre})
    connect(boton, &QRadioButton::toggled, this, &TfGENECCHR::ProcesarCamposClick);
  connect(ui_->pbIniciarConversion, &QPushButton::clicked, this, &TfGENECCHR::pbIniciarConversionClick);
  connect(ui_->pbSalir, &QPushButton::clicked, this, &TfGENECCHR::pbSalirClick);
  connect(ui_->pbAyuda, &QPushButton::clicked, this, &TfGENECCHR::pbAyudaClick);
  OnCloseQuery = [this](Form&, bool& puedeCerrar) { puedeCerrar = !convirtiendo_; };

  OnKeyDown = [this](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla == VK::F1) pbAyudaClick();
    TeclasFormulario(formulario, tecla, estado);
  };
  OnKeyPress = PulsacionTecla;
  AbrirTablasFormulario(*this);
  LlenarBasesDatos(QStringLiteral("Aplicacion"));
  ui_->BasesDeDatos->selectAll();
  ProcesarTablasClick();
  ProcesarCamposClick();
  fGENECCHR = this;
}

TfGENECCHR::~TfGENECCHR() {
  if (fGENECCHR == this) fGENECCHR = nullptr;
}

QTableWidget& TfGENECCHR::TablaEquivalencias() const { return *ui_->TablaEquivalencias; }
QListWidget& TfGENECCHR::BasesDeDatos() const { return *ui_->BasesDeDatos; }

void TfGENECCHR::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  TraducirFormulario(this);
}

QList<ParEquivalencia> TfGENECCHR::Equivalencias() const {
  QList<ParEquivalencia> pares;
  const QTableWidget& tabla = *ui_->TablaEquivalencias;
  for (int fila = 0; fila < tabla.rowCount(); ++fila) {
    const ParEquivalencia par{tabla.item(fila, 0)->text(), tabla.item(fila, 1)->text()};
    if (par.Vacio()) break;
    pares << par;
  }
  return pares;
}

void TfGENECCHR::PonerEquivalencias(const QList<ParEquivalencia>& pares) {
  Inicializarlatabla1Click();
  QTableWidget& tabla = *ui_->TablaEquivalencias;
  for (int fila = 0; fila < std::min<int>(pares.size(), tabla.rowCount()); ++fila) {
    tabla.item(fila, 0)->setText(pares[fila].anterior);
    tabla.item(fila, 1)->setText(pares[fila].nuevo);
  }
}

void TfGENECCHR::Inicializarlatabla1Click() {
  QTableWidget& tabla = *ui_->TablaEquivalencias;
  for (int fila = 0; fila < tabla.rowCount(); ++fila)
    for (int columna = 0; columna < tabla.columnCount(); ++columna) tabla.setItem(fila, columna, new QTableWidgetItem);
}

void TfGENECCHR::ImportarDesdeTablaClick() {
  SetFilter(*OpenDialog1, QLatin1String(kFiltroEquivalencias));
  SetFileName(*OpenDialog1, QStringLiteral("*.txt"));
  if (!CommonDialogsSeam::Get().Execute(*OpenDialog1)) return;
  PonerEquivalencias(LeerArchivoEquivalencias(FileName(*OpenDialog1)));
}

void TfGENECCHR::ExportarATablaClick() {
  SetFilter(*SaveDialog1, QLatin1String(kFiltroEquivalencias));
  SetFileName(*SaveDialog1, QStringLiteral("Tabla_Equivalencias.txt"));
  SaveDialog1->setWindowTitle(QStringLiteral("Guardar archivo"));
  if (!CommonDialogsSeam::Get().Execute(*SaveDialog1)) return;
  EscribirArchivoEquivalencias(FileName(*SaveDialog1), Equivalencias());
}

void TfGENECCHR::ProcesarTablasClick() {
  const bool indicadas = ui_->SoloLasTablasIndicadas->isChecked();
  ui_->TablasAProcesar->setEnabled(indicadas);
}

void TfGENECCHR::ProcesarCamposClick() {
  const bool conNombre = ui_->SoloConElNombre->isChecked();
  ui_->CamposAProcesar->setEnabled(conNombre);
}

void TfGENECCHR::AgregarunaBasedeDatosquenoestenlalista1Click() {
  LlenarBasesDatos(QStringLiteral("Todas"));
  ui_->TodasLasTablas->setEnabled(false);
  ui_->SoloLasTablasIndicadas->setChecked(true);
  ui_->TablasAProcesar->clear();
  ui_->TodosLosAlfanumericos->setChecked(true);
}

void TfGENECCHR::Crearlalistasoloconlasbasesdedatosdelaaplicacin1Click() {
  LlenarBasesDatos(QStringLiteral("Aplicacion"));
  ui_->TodasLasTablas->setEnabled(true);
  ui_->TodasLasTablas->setChecked(true);
  ui_->TodosLosAlfanumericos->setChecked(true);
}

void TfGENECCHR::LlenarBasesDatos(const QString& modo) {
  ui_->BasesDeDatos->clear();
  try {
    ADOQuery->SQL().SetText(SentenciaBasesDatos(modo));
    ADOQuery->Open();
    for (ADOQuery->First(); !ADOQuery->Eof(); ADOQuery->Next())
      ui_->BasesDeDatos->addItem(ADOQuery->Fields(0).AsString());
  } catch (const std::exception& error) {
    MensajeAviso(QStringLiteral("¡No ha sido posible encontrar las bases de datos!. Motivo: ") + TextoExcepcion(error));
  }
  ADOQuery->Close();
}

QList<ColumnaTexto> TfGENECCHR::ColumnasTexto(const QString& baseDatos, const QString& tabla) {
  QList<ColumnaTexto> columnas;
  ADOQuery->SQL().SetText(SentenciaColumnasTexto(baseDatos, tabla));
  ADOQuery->Open();
  for (ADOQuery->First(); !ADOQuery->Eof(); ADOQuery->Next())
    columnas.append({ADOQuery->Fields(0).AsString(), ADOQuery->Fields(1).AsString(), ADOQuery->Fields(2).AsInteger()});
  ADOQuery->Close();
  return columnas;
}

void TfGENECCHR::MostrarEstado(const QString& texto) {
  ui_->StatusBar1->showMessage(texto);
  ui_->StatusBar1->repaint();
  QCoreApplication::processEvents();
}

QStringList TfGENECCHR::TablasAConvertir() const {
  const QString lista = ui_->TodasLasTablas->isChecked()
                            ? ListaTablasDefinidas(DefinicionesEstandar()).split(QStringLiteral("\r\n")).join(u',')
                            : ui_->TablasAProcesar->toPlainText();
  return NombresHastaVacio(lista.toUpper());
}

bool TfGENECCHR::CampoAConvertir(const QString& campo, const QStringList& palabras) const {
  if (!ui_->SoloConElNombre->isChecked()) return true;
  return std::any_of(palabras.begin(), palabras.end(),
                     [&](const QString& palabra) { return campo.contains(palabra, Qt::CaseSensitive); });
}

void TfGENECCHR::pbIniciarConversionClick() {
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("El proceso de conversión comenzará ahora. ¿Está seguro de que desea continuar?"),
                      respuesta);
  if (respuesta != u"SI") return;
  const ProcesoEnCurso enCurso(convirtiendo_, {ui_->pbIniciarConversion}, *ui_->StatusBar1);
  const ServidorConversion servidor{NombreIntercalacionMSSQL,
                                    VersionServidorSQL.contains(QLatin1String("Microsoft SQL Server  2000"))};
  const QStringList tablas = TablasAConvertir();
  const QStringList palabras = Nombres(ui_->CamposAProcesar->toPlainText());
  for (int i = 0; i < ui_->BasesDeDatos->count(); ++i) {
    const QListWidgetItem& base = *ui_->BasesDeDatos->item(i);
    if (base.isSelected()) ConvertirBaseDatos(base.text(), tablas, palabras, servidor);
  }
  // A failure went on to the exception handler, which shows the server's reason.
  MensajeInformacion(QStringLiteral("El proceso de conversión ha finalizado."));
}

void TfGENECCHR::ConvertirBaseDatos(const QString& baseDatos, const QStringList& tablas, const QStringList& palabras,
                                    const ServidorConversion& servidor) {
  MostrarEstado(QStringLiteral("Procesando B.Datos...") + baseDatos);
  const bool general = baseDatos.compare(AliasBaseDatosGeneral, Qt::CaseInsensitive) == 0;
  const bool empresa = !general && baseDatos.contains(AliasBaseDatosEmpresa, Qt::CaseInsensitive);
  // Every pair of the database or none: a failure or a kill leaves it as it was.
  TransaccionBasesDatos transaccion({fGENEINIC ? CadenaConexionADO(*fGENEINIC, u'?' + baseDatos, QString()) : baseDatos});
  const QList<ParEquivalencia> pares = Equivalencias();
  for (const QString& tabla : tablas) {
    if ((general && !EsTablaGeneral(tabla)) || (empresa && EsTablaGeneral(tabla))) continue;
    MostrarEstado(QStringLiteral("Procesando B.Datos/Tabla...") + baseDatos + u'/' + tabla);
    for (const ColumnaTexto& columna : ColumnasTexto(baseDatos, tabla)) {
      if (!CampoAConvertir(columna.nombre, palabras)) continue;
      const QString ruta = baseDatos + u'/' + tabla + u'/' + columna.nombre;
      MostrarEstado(QStringLiteral("Procesando B.Datos/Tabla/Campo...") + ruta);
      for (const ParEquivalencia& par : pares) {
        MostrarEstado(QStringLiteral("Procesando B.Datos/Tabla/Campo/Carácter...") + ruta + u'/' + par.anterior);
        ADOQuery->SQL().SetText(SentenciaSustitucion(baseDatos, columna, par, servidor));
        ADOQuery->ExecSQL();
      }
    }
  }
  transaccion.Confirmar();
}

void TfGENECCHR::pbSalirClick() { close(); }

void TfGENECCHR::pbAyudaClick() { MostrarAyuda(ContextoAyuda(Caption())); }

void RegistrarGENECCHR() {
  FormRegistry::Register(QStringLiteral("TfGENECCHR"), [](QWidget* owner) { return new TfGENECCHR(owner); });
}
