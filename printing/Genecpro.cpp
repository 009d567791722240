#include "printing/Genecpro.h"

#include "core/connections/AperturaTablas.h"
#include "core/datamodule/ExportacionExcel.h"
#include "core/datamodule/Genemodu.h"
#include "core/forms/ControlesNoVisibles.h"
#include "core/forms/FormatosCampo.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/helpers/Letras.h"
#include "core/helpers/TiposCampo.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/Ayuda.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/system/CursorEspera.h"
#include "core/tables/NombresTablas.h"
#include "platform/CommonDialogs.h"
#include "platform/FormRegistry.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "printing/ClasificacionListado.h"
#include "printing/ConsultaListado.h"
#include "printing/EstadoDataSetListado.h"
#include "printing/FormatosListado.h"
#include "printing/Genelpro.h"
#include "ui_GENECPRO.h"

#include <QDropEvent>
#include <QFontDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>

TfGENECPRO* fGENECPRO = nullptr;

namespace {

enum Pagina { kSeleccion, kRangos, kFiltros, kAjustar };

const QString kNombre = QStringLiteral("Nombre");

bool NoClasificable(const QString& tipo) {
  return tipo == u"ftMemo" || tipo == u"ftFmtMemo" || tipo == u"ftGraphic" || tipo == u"ftBlob";
}

QStringList Textos(const QListWidget& lista) {
  QStringList textos;
  for (int i = 0; i < lista.count(); ++i) textos.append(lista.item(i)->text());
  return textos;
}

}  // namespace

TfGENECPRO::TfGENECPRO(QWidget* owner)
    : Form(owner),
      ui_(std::make_unique<Ui::TfGENECPRO>()),
      Formatos(new Table(this)),
      DSFormatos(new DataSource(this)),
      TablaTrabajo(new Table(this)),
      Query1(new Query(this)),
      DSAjustar(new DataSource(this)) {
  ui_->setupUi(this);
  setFixedSize(430, 449 + AjusteAlturaFormulario);
  Formatos->setObjectName(QStringLiteral("Formatos"));
  Formatos->SetTableName(QStringLiteral("FORMLIST"));
  DSFormatos->SetDataSet(Formatos);
  Query1->setObjectName(QStringLiteral("Query1"));
  DSAjustar->setObjectName(QStringLiteral("DSAjustar"));
  ui_->DBGrid1->SetSource(DSAjustar);
  ui_->DBGrid1->horizontalHeader()->setSectionsMovable(true);
  ui_->DBNavigator1->SetSource(DSFormatos);
  for (NavigateBtn boton : {nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh})
    ui_->DBNavigator1->Button(boton)->hide();
  const std::pair<NavigateBtn, const char*> recorrido[] = {{nbFirst, "Ir al primer registro"},
                                                          {nbPrior, "Ir al registro anterior"},
                                                          {nbNext, "Ir al registro siguiente"},
                                                          {nbLast, "Ir al último registro"}};
  for (const auto& [boton, sugerencia] : recorrido) {
    ui_->DBNavigator1->Button(boton)->setToolTip(QString::fromUtf8(sugerencia));
    connect(ui_->DBNavigator1->Button(boton), &QToolButton::clicked, this, [this] { CargarFormatoListado(); });
  }
  DibujosBotones();
  ui_->StringGrid->setColumnCount(3);
  ui_->StringGrid->setHorizontalHeaderLabels({QStringLiteral("Campo"), QStringLiteral("Desde Valor"),
                                              QStringLiteral("Hasta Valor")});
  for (int columna = 0; columna < 3; ++columna) ui_->StringGrid->horizontalHeaderItem(columna)->setForeground(Qt::darkBlue);
  ui_->StringGrid->verticalHeader()->hide();
  for (QListWidget* lista : {ui_->LBDisponible, ui_->LBSeleccionado}) {
    lista->setAcceptDrops(true);
    lista->viewport()->installEventFilter(this);
  }
  connect(ui_->pbAgregar, &QPushButton::clicked, this, &TfGENECPRO::pbAgregarClick);
  connect(ui_->pbGuardar, &QToolButton::clicked, this, &TfGENECPRO::pbGuardarClick);
  connect(ui_->pbGuardarComo, &QToolButton::clicked, this, &TfGENECPRO::pbGuardarComoClick);
  connect(ui_->pbEliminar, &QToolButton::clicked, this, &TfGENECPRO::pbEliminarClick);
  connect(ui_->pbStandard, &QToolButton::clicked, this, [this] { CargarFormatoListado(true); });
  connect(ui_->pbCambiarFont, &QToolButton::clicked, this, &TfGENECPRO::pbCambiarFontClick);
  connect(ui_->pbConforme, &QPushButton::clicked, this, &TfGENECPRO::pbConformeClick);
  connect(ui_->pbSalir, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
  connect(ui_->pbActivarTablaLogica, &QToolButton::clicked, this, [this] {
    if (dataSet_) MostrarListadoProgramable(dataSet_, QString(), QString(), QString());
  });
  connect(ui_->NombreFormato, qOverload<int>(&QComboBox::activated), this, [this] {
    if (Formatos->Active() && Formatos->Locate(kNombre, Variant::String(ui_->NombreFormato->currentText())))
      CargarFormatoListado();
  });
  connect(ui_->PageControl1, &QTabWidget::currentChanged, this, &TfGENECPRO::cambioPagina);
  connect(ui_->FormatoFicha, &QCheckBox::toggled, this, [this](bool ficha) {
    for (QWidget* control : std::initializer_list<QWidget*>{ui_->NumeroColumnasFicha, ui_->NumeroLineasMemoFicha,
                                                             ui_->SepararPorPaginas})
      control->setEnabled(ficha);
    if (ficha) return;
    ui_->SepararPorPaginas->setChecked(false);
    ui_->NumeroColumnasFicha->setValue(1);
    ui_->NumeroLineasMemoFicha->setValue(3);
  });
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("PopupMenu1"));
  menu->addAction(QStringLiteral("&Borrar filtros"), this, [this] { ui_->MemoFiltros->clear(); })
      ->setObjectName(QStringLiteral("BorrarFiltros1"));
  menu->addAction(QStringLiteral("&Deseleccionar Todos los Campos Seleccionados"), this, [this] { seleccionar({}); })
      ->setObjectName(QStringLiteral("DeseleccionarTodos1"));
  menu->addAction(QStringLiteral("&Seleccionar Todos los Campos Disponibles"), this,
                  [this] { seleccionar(Textos(*ui_->LBDisponible)); })
      ->setObjectName(QStringLiteral("SeleccionarTodos1"));
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this, menu](const QPoint& punto) { menu->popup(mapToGlobal(punto)); });
  for (QWidget* control : findChildren<QWidget*>()) {
    control->installEventFilter(this);
    if (control->contextMenuPolicy() == Qt::DefaultContextMenu && !qobject_cast<QLineEdit*>(control) &&
        !qobject_cast<QPlainTextEdit*>(control))
      control->setContextMenuPolicy(Qt::NoContextMenu);  // the form's menu shows through
  }
  PrepararFormulario(*this);
}

TfGENECPRO::~TfGENECPRO() {
  if (fGENECPRO == this) fGENECPRO = nullptr;
}

void RegistrarGENECPRO() {
  FormRegistry::Register(QStringLiteral("TfGENECPRO"), [](QWidget* owner) { return new TfGENECPRO(owner); });
}

void TfGENECPRO::MostrarListadoProgramable(Dataset* dataSet, const QString& prefijo, const QString& tituloPorDefecto,
                                           const QString& opciones) {
  tituloPorDefecto_ = tituloPorDefecto;
  ui_->LBDisponible->setSortingEnabled(!opciones.contains(QStringLiteral("CamposOrdenadosOFF")));
  dataSet_ = dataSet;
  Formatos->Close();
  prefijo_ = prefijo;
  bool abiertas = fGENEINIC != nullptr;
  if (prestado_ && (!modoTabla() || &prestado_->DataSet() != dataSet)) devolverDataSet();
  if (modoTabla()) {
    if (!prestado_) prestado_ = std::make_unique<EstadoDataSetListado>(*dataSet);
    DSAjustar->SetDataSet(dataSet);
    abiertas = abiertas && AbrirTabla(*fGENEINIC, *this, *Formatos);
  } else {
    DSAjustar->SetDataSet(Query1);
    TablaTrabajo->Close();
    TablaTrabajo->SetTableName(nombreTabla());
    abiertas = abiertas && AbrirTabla(*fGENEINIC, *this, *TablaTrabajo) && AbrirTabla(*fGENEINIC, *this, *Formatos);
  }
  if (!abiertas) {
    MensajeAviso(QStringLiteral("¡No ha sido posible abrir las tablas!"));
    return;
  }
  Formatos->SetFilter(FiltroFormatos(claveFormatos()));
  Formatos->SetFiltered(true);
  Formatos->First();
  if (isVisible()) {
    CargarFormatoListado();
    return;
  }
  ShowModal();
}

void TfGENECPRO::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  CargarFormatoListado();
  TraducirFormulario(this);
}

bool TfGENECPRO::modoTabla() const { return ui_->pbActivarTablaLogica->isChecked(); }

QString TfGENECPRO::nombreTabla() const {
  const auto* tabla = qobject_cast<const Table*>(dataSet_);
  return QuitarPrefijoTabla(tabla ? tabla->TableName() : dataSet_->objectName().toUpper());
}

QString TfGENECPRO::claveFormatos() const { return prefijo_.isEmpty() ? nombreTabla() : prefijo_; }

QString TfGENECPRO::formatoFecha() const { return modoTabla() ? QStringLiteral("dd/mm/yyyy") : FormatoFechaSQL; }

void TfGENECPRO::listarFormatos(const QString& elegido) {
  QStringList nombres;
  const Bookmark marca = Formatos->GetBookmark();
  for (Formatos->First(); !Formatos->Eof(); Formatos->Next()) nombres.append(Formatos->FieldByName(kNombre).AsString());
  if (Formatos->BookmarkValid(marca)) Formatos->GotoBookmark(marca);
  ui_->NombreFormato->clear();
  ui_->NombreFormato->addItems(nombres);
  ui_->NombreFormato->setCurrentIndex(static_cast<int>(nombres.indexOf(elegido)));
}

void TfGENECPRO::CargarFormatoListado(bool standard) {
  if (!dataSet_ || !Formatos->Active()) return;
  // Leaving the adjust page gives the grid's columns to the selection: done
  // first, so that the format loaded wins.
  ui_->PageControl1->setCurrentIndex(kSeleccion);
  const bool sinFormato = Formatos->IsEmpty();
  listarFormatos(sinFormato ? QString() : Formatos->FieldByName(kNombre).AsString());
  const Dataset& origen = modoTabla() ? *dataSet_ : *TablaTrabajo;
  ui_->LBDisponible->clear();
  ui_->ListaCampos->clear();
  camposFiltrables_.clear();
  for (int i = 0; i < origen.FieldCount(); ++i) {
    const Field& campo = origen.Fields(i);
    if (CamposDisponiblesListado({campo.FieldName()}).isEmpty()) continue;
    ui_->LBDisponible->addItem(campo.FieldName());
    ui_->ListaCampos->addItem(campo.FieldName());
    camposFiltrables_.push_back({campo.FieldName(), TextoDeTipoCampo(campo.DataType())});
  }
  ui_->Operador->setCurrentIndex(0);
  ui_->Valor->clear();
  const QStringList disponibles = Textos(*ui_->LBDisponible);
  const FormatoListado formato = sinFormato || standard
                                     ? FormatoStandard(disponibles, tituloPorDefecto_, nombreTabla())
                                     : FormatoGuardado(*Formatos, disponibles);
  ui_->Titulo->setText(formato.titulo);
  seleccionar(formato.seleccionados);
  ui_->MemoFiltros->setPlainText(formato.filtros);
  rellenarRangos();
}

void TfGENECPRO::rellenarRangos() {
  QTableWidget& rejilla = *ui_->StringGrid;
  rejilla.clearContents();
  rejilla.setRowCount(static_cast<int>(camposFiltrables_.size()));
  for (int fila = 0; fila < rejilla.rowCount(); ++fila) {
    const QString& nombre = camposFiltrables_[static_cast<size_t>(fila)].nombre;
    auto* campo = new QTableWidgetItem(AbreviarNombre(nombre, 1));
    campo->setData(Qt::UserRole, nombre);
    campo->setFlags(campo->flags() & ~Qt::ItemIsEditable);
    rejilla.setItem(fila, 0, campo);
  }
  rejilla.setColumnWidth(0, 120);
  // A page not yet shown has not been laid out: the shown page gives the width.
  const int anchoRejilla = ui_->PageControl1->currentWidget()->contentsRect().width() - 18;
  const int ancho = (anchoRejilla - 127) / 2 - (rejilla.rowCount() + 1 > 10 ? 8 : 0);
  rejilla.setColumnWidth(1, ancho);
  rejilla.setColumnWidth(2, ancho);
}

std::vector<RangoCampo> TfGENECPRO::rangos() const {
  std::vector<RangoCampo> lista;
  const auto texto = [this](int fila, int columna) {
    const QTableWidgetItem* celda = ui_->StringGrid->item(fila, columna);
    return celda ? celda->text() : QString();
  };
  for (int fila = 0; fila < ui_->StringGrid->rowCount(); ++fila)
    lista.push_back({camposFiltrables_[static_cast<size_t>(fila)], texto(fila, 1), texto(fila, 2)});
  return lista;
}

QString TfGENECPRO::condicion() const {
  return CondicionListado(ui_->MemoFiltros->toPlainText(), CondicionRangos(rangos(), formatoFecha()));
}

QStringList TfGENECPRO::seleccionados() const { return Textos(*ui_->LBSeleccionado); }

void TfGENECPRO::seleccionar(const QStringList& campos) {
  ui_->LBSeleccionado->clear();
  ui_->LBSeleccionado->addItems(campos);
}

void TfGENECPRO::pbAgregarClick() {
  if (ui_->Valor->text().isEmpty() || ui_->ListaCampos->currentIndex() < 0) return;
  QString valor = ui_->Valor->text();
  const QString linea = CondicionFiltro(camposFiltrables_[static_cast<size_t>(ui_->ListaCampos->currentIndex())],
                                        ui_->Operador->currentText(), valor, formatoFecha());
  ui_->Valor->setText(valor);
  const QString memo = ui_->MemoFiltros->toPlainText();
  ui_->MemoFiltros->setPlainText(
      AgregarCondicion(memo.isEmpty() ? QStringList() : memo.split(u'\n'), linea).join(u'\n'));
}

bool TfGENECPRO::EjecutarConsultaListado() {
  CursorEspera cursor;
  DSAjustar->SetDataSet(ui_->PageControl1->currentIndex() == kAjustar ? Query1 : nullptr);
  Query1->Close();
  // The listed dataset's own database: a general table is not in the company's.
  const QString base = dataSet_->DatabaseName();
  Query1->SetDatabaseName(base.isEmpty() ? BaseDatosBDE(QStringLiteral("Database")) : base);
  Query1->SQL().Clear();
  try {
    ConsultaListado consulta{NombreTablaFisica(nombreTabla()), seleccionados(), {}, condicion(),
                             ui_->cbClasificado->isChecked()};
    for (const CampoFiltrable& campo : camposFiltrables_)
      if (NoClasificable(campo.tipo)) consulta.camposNoClasificables.append(campo.nombre);
    Query1->SQL().SetText(SentenciaListado(consulta).join(QStringLiteral("\r\n")));
    Query1->Open();
  } catch (const std::exception& error) {
    MensajeAviso(QStringLiteral("Imposible ejecutar la sentencia SQL. Motivo: ") + TextoExcepcion(error));
    return false;
  }
  DSAjustar->SetDataSet(Query1);
  // The query holds the selected fields only: none stays hidden from table mode.
  for (const QString& campo : Query1->GetFieldNames()) ui_->DBGrid1->SetFieldVisible(campo, true);
  for (int columna = 0; columna < ui_->DBGrid1->ColumnCount(); ++columna)
    ui_->DBGrid1->SetColumnTitle(columna, AbreviarNombre(ui_->DBGrid1->ColumnFieldName(columna), 1));
  for (int i = 0; i < Query1->FieldCount(); ++i) {
    Field& campo = Query1->Fields(i);
    if (campo.DataType() == ftDateTime) ManejadoresFechaHora(campo, campo.FieldName());
    if (campo.DataType() == ftDate || campo.DataType() == ftDateTime || campo.DataType() == ftTime)
      campo.SetDisplayWidth(10);
  }
  TraducirFormulario(this);
  return true;
}

bool TfGENECPRO::AplicarFiltroTabla() {
  try {
    dataSet_->SetFiltered(false);
    QString filtro = condicion();
    filtro.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    dataSet_->SetFilter(filtro);
    dataSet_->SetFiltered(true);
  } catch (const std::exception& error) {
    MensajeAviso(QStringLiteral("Imposible ejecutar la sentencia SQL. Motivo: ") + TextoExcepcion(error));
    return false;
  }
  return true;
}

// The dataset's fields take the selection's order, which the grid, the
// sorted copy and the listing's columns follow; the fields not selected
// stay behind, hidden. Moving a column moves its field.
void TfGENECPRO::deListaARejilla() {
  const QStringList campos = seleccionados();
  for (int posicion = 0; posicion < campos.size(); ++posicion)
    if (Field* campo = dataSet_->FindField(campos[posicion])) campo->SetIndex(posicion);
  ui_->DBGrid1->SetColumns({});
  for (const QString& campo : dataSet_->GetFieldNames()) ui_->DBGrid1->SetFieldVisible(campo, campos.contains(campo));
}

void TfGENECPRO::deRejillaALista() {
  QStringList campos;
  const QHeaderView& cabecera = *ui_->DBGrid1->horizontalHeader();
  for (int visual = 0; visual < cabecera.count(); ++visual) {
    const int columna = cabecera.logicalIndex(visual);
    if (modoTabla() && !ui_->DBGrid1->ColumnVisible(columna)) continue;
    campos.append(ui_->DBGrid1->ColumnFieldName(columna));
  }
  seleccionar(campos);
}

void TfGENECPRO::cambioPagina(int pagina) {
  if (!dataSet_) return;
  if (paginaAnterior_ == kSeleccion && modoTabla()) deListaARejilla();
  if (paginaAnterior_ == kAjustar) deRejillaALista();
  paginaAnterior_ = pagina;
  // A grid that could not be filled has nothing to give back to the selection.
  if (pagina == kAjustar && !(modoTabla() ? AplicarFiltroTabla() : EjecutarConsultaListado())) {
    paginaAnterior_ = kSeleccion;
    ui_->PageControl1->setCurrentIndex(kSeleccion);
  }
  OcultarCamposRestringidos(*this);
}

void TfGENECPRO::pbGuardarClick() {
  if (!GuardarFormato(*Formatos, {ui_->Titulo->text(), seleccionados(), ui_->MemoFiltros->toPlainText()}))
    MensajeAviso(QStringLiteral("¡No ha sido posible grabar el registro!"));
}

void TfGENECPRO::pbGuardarComoClick() {
  QString nombre = ui_->NombreFormato->currentText();
  MensajePregunta(QStringLiteral("Introduzca el Nombre del Formato:"), nombre);
  if (nombre.isEmpty()) return;
  if (!GuardarFormatoComo(*Formatos, claveFormatos(), nombre,
                          {ui_->Titulo->text(), seleccionados(), ui_->MemoFiltros->toPlainText()})) {
    MensajeAviso(QStringLiteral("¡Ya existe el formato!"));
    return;
  }
  listarFormatos(nombre);
}

void TfGENECPRO::pbEliminarClick() {
  if (Formatos->IsEmpty()) return;
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("¿ Esta seguro de querer eliminar el formato actual ?"), respuesta);
  if (respuesta != u"SI") return;
  Formatos->Delete();
  CargarFormatoListado();
}

void TfGENECPRO::pbConformeClick() {
  if (!dataSet_) return;
  if (!modoTabla() && ui_->PageControl1->currentIndex() != kAjustar && !EjecutarConsultaListado()) return;
  Dataset* resultado = modoTabla() ? dataSet_ : Query1;
  if (modoTabla()) {
    ui_->PageControl1->setCurrentIndex(kAjustar);
    if (!AplicarFiltroTabla()) return;
    if (ui_->cbClasificado->isChecked()) {
      if (dataSet_->RecordCount() > 1000) {
        QString respuesta;
        MensajeConfirmacion(QStringLiteral("El listado actual puede ser largo (más de 1000 líneas) y ha de ser "
                                           "clasificado. ¿Desea continuar en cualquier caso?"),
                            respuesta);
        if (respuesta == u"NO") return;
      }
      deRejillaALista();
      clasificada_ = std::make_unique<CopiaClasificada>(this);
      if (!clasificada_->ClasificarEnTablaTemporal(*dataSet_)) {
        clasificada_.reset();
        return;
      }
      resultado = &clasificada_->Temporal();
    }
    const QStringList campos = seleccionados();
    for (int i = 0; i < resultado->FieldCount(); ++i) {
      Field& campo = resultado->Fields(i);
      const auto posicion = campos.indexOf(campo.FieldName());
      campo.SetTag(posicion < 0 ? 999 : static_cast<int>(posicion) + 1);
      // The sorted copy keeps the widths the grid gave.
      if (const Field* origen = resultado != dataSet_ ? dataSet_->FindField(campo.FieldName()) : nullptr)
        campo.SetDisplayWidth(origen->DisplayWidth());
    }
  }
  if (ui_->pbExportarExcel->isChecked()) ExportarExcel(resultado, nullptr, QStringLiteral("LISTPRG.XLS"), QString());
  else ListarInforme(*resultado);
  if (modoTabla()) deListaARejilla();
}

// The grid's font is the listing's: its titles take it in navy.
void TfGENECPRO::pbCambiarFontClick() {
  QFontDialog local;
  QFontDialog& dialogo = ModuloDatos ? *ModuloDatos->FontDialog1 : local;
  dialogo.setCurrentFont(ui_->DBGrid1->font());
  if (!CommonDialogsSeam::Get().Execute(dialogo)) return;
  ui_->DBGrid1->SetTitleFont(dialogo.selectedFont());
  ui_->DBGrid1->SetTitleFontColor(QColor(0x00, 0x00, 0x80));
  ui_->DBGrid1->setFont(dialogo.selectedFont());
}

// The flat buttons show pictures, their hints say what they do.
void TfGENECPRO::DibujosBotones() {
  const std::pair<QToolButton*, QStyle::StandardPixmap> dibujos[] = {
      {ui_->pbGuardar, QStyle::SP_DialogSaveButton},     {ui_->pbGuardarComo, QStyle::SP_FileDialogNewFolder},
      {ui_->pbEliminar, QStyle::SP_TrashIcon},           {ui_->pbStandard, QStyle::SP_DialogResetButton},
      {ui_->pbActivarTablaLogica, QStyle::SP_DriveHDIcon}, {ui_->pbExportarExcel, QStyle::SP_FileDialogDetailedView}};
  for (const auto& [boton, dibujo] : dibujos) boton->setIcon(style()->standardIcon(dibujo));
  // No standard picture says "font": a navy serif letter does.
  QPixmap letra(16, 16);
  letra.fill(Qt::transparent);
  QPainter pintor(&letra);
  QFont serif(QStringLiteral("Serif"));
  serif.setPixelSize(15);
  serif.setBold(true);
  pintor.setFont(serif);
  pintor.setPen(QColor(0x00, 0x00, 0x80));
  pintor.drawText(letra.rect(), Qt::AlignCenter, QStringLiteral("A"));
  pintor.end();
  ui_->pbCambiarFont->setIcon(QIcon(letra));
}

void TfGENECPRO::ListarInforme(Dataset& resultado) {
  auto informe = std::make_unique<TfGENELPRO>();
  fGENELPRO = informe.get();
  informe->NumeroColumnasFicha = ui_->NumeroColumnasFicha->value();
  informe->NumeroLineasMemoFicha = ui_->NumeroLineasMemoFicha->value();
  informe->FormatoFicha = ui_->FormatoFicha->isChecked();
  informe->SepararPorPaginas = ui_->SepararPorPaginas->isChecked();
  informe->SetDataSet(&resultado);
  informe->Titulo = ui_->Titulo->text();
  informe->AjustarPalabras = !ui_->LimitarPalabras->isChecked();
  informe->ListaTotales = QStringLiteral("Todas");
  informe->Orientacion = ui_->cbApaisado->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
  informe->Papel = ui_->cbTamanio->currentText();
  informe->FuenteListado = ui_->DBGrid1->font();
  for (const RangoCampo& rango : rangos())
    informe->Rangos.append({rango.campo.nombre, rango.desde, rango.hasta});
  informe->Filtros = ui_->MemoFiltros->toPlainText();
  DSAjustar->SetDataSet(nullptr);  // the grid reads nothing while the report walks the records
  try {
    if (ui_->VisualizacionPrevia->isChecked()) informe->Previsualizar();
    else informe->Imprimir();
  } catch (const std::exception& error) {
    MensajeAviso(TextoExcepcion(error));
  }
  DSAjustar->SetDataSet(modoTabla() ? dataSet_ : Query1);
}

// Query mode and the end of the dialog leave the caller's dataset as it came.
void TfGENECPRO::devolverDataSet() {
  if (DSAjustar->DataSet() == &prestado_->DataSet()) DSAjustar->SetDataSet(nullptr);
  prestado_->Devolver();
  prestado_.reset();
}

void TfGENECPRO::done(int result) {
  if (prestado_) devolverDataSet();
  clasificada_.reset();
  Form::done(result);
}

// Enter moves on to the next control (but for the filter memo's lines); F1 opens
// the help. Dropping
// moves names between the two lists only; any other drop changes nothing.
bool TfGENECPRO::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && !qobject_cast<QPlainTextEdit*>(watched)) {
    const int tecla = static_cast<QKeyEvent*>(event)->key();
    if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
      focusNextChild();
      return true;
    }
    if (tecla == Qt::Key_F1) {
      MostrarAyuda(ContextoAyuda(Caption()));
      return true;
    }
  }
  if (watched != ui_->LBSeleccionado->viewport() && watched != ui_->LBDisponible->viewport())
    return Form::eventFilter(watched, event);
  if (event->type() != QEvent::Drop && event->type() != QEvent::DragMove && event->type() != QEvent::DragEnter)
    return Form::eventFilter(watched, event);
  auto* soltar = static_cast<QDropEvent*>(event);
  QListWidget* destino = watched == ui_->LBSeleccionado->viewport() ? ui_->LBSeleccionado : ui_->LBDisponible;
  auto* origen = qobject_cast<QListWidget*>(soltar->source());
  soltar->setDropAction(Qt::CopyAction);
  soltar->accept();
  if (event->type() != QEvent::Drop || !origen || origen == destino) return true;
  QStringList seleccion = seleccionados();
  for (const QListWidgetItem* elemento : origen->selectedItems()) {
    if (destino == ui_->LBSeleccionado && !seleccion.contains(elemento->text())) seleccion.append(elemento->text());
    if (destino == ui_->LBDisponible) seleccion.removeAll(elemento->text());
  }
  seleccionar(seleccion);
  return true;
}
