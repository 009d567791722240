#include "dialogs/Genebusq.h"

#include "core/connections/Conexiones.h"
#include "core/datamodule/CatalogoClaves.h"
#include "core/datamodule/ServiciosDataSet.h"
#include "core/datamodule/Traduccion.h"
#include "core/forms/AparienciaFormulario.h"
#include "core/forms/ControlesNoVisibles.h"
#include "core/forms/FormatosCampo.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/helpers/Letras.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/helpers/Textos.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/tables/NombresTablas.h"
#include "dialogs/DatosBusqueda.h"
#include "dialogs/LecturaPaquetes.h"
#include "platform/CommonDialogs.h"
#include "platform/VirtualKeys.h"
#include "platform/data/ClientDataset.h"
#include "platform/data/DataSource.h"
#include "platform/data/DisabledControls.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Session.h"
#include "platform/engine/EngineConnection.h"
#include "platform/engine/EngineDialect.h"
#include "platform/format/Format.h"
#include "ui_GENEBUSQ.h"

#include <QFontDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>

#include <algorithm>

TfGENEBUSQ* fGENEBUSQ = nullptr;

namespace {

constexpr int kPaquete = 100;
const QString kIlimitado = QStringLiteral("Ilimitado");

QStringList piezas(const QString& lista) {
  QStringList campos;
  for (const QString& pieza : lista.split(u';')) {
    if (pieza.isEmpty()) break;
    campos.append(pieza);
  }
  return campos;
}

bool esMemo(const Field& campo) { return campo.DataType() == ftMemo || campo.DataType() == ftFmtMemo; }

// A memo's text on one line: its line breaks shown as blanks. The grid hands
// it on with its line feeds made line separators.
QString enUnaLinea(QString texto) {
  texto.replace(QChar::LineSeparator, u'\n').replace(QLatin1String("\r\n"), QLatin1String(" "));
  return texto.replace(u'\r', u' ').replace(u'\n', u' ');
}

// The key fields as the catalogue gives them; none when it fails.
QStringList camposClave(const QString& tabla) {
  const QString claves = CamposClavePrimaria(tabla);
  return claves.startsWith(QLatin1String("Error.")) ? QStringList() : piezas(claves);
}

QStringList columnasOrdenables(const QString& tabla) {
  const QString columnas = ListaColumnas(tabla, QStringLiteral("Ordenables"));
  return columnas.startsWith(QLatin1String("Error.")) ? QStringList() : piezas(columnas);
}

// The column the engine names each row of a table of those columns by,
// where it gives one.
QString columnaFila(const QString& baseDatos, const QStringList& columnas) {
  try {
    return Session::Default().OpenDatabase(baseDatos)->Dialect().RowId(columnas);
  } catch (const std::exception&) {
    return {};
  }
}

// The columns a search shows when memos are left out, each as a name.
QString listaSeleccion(const QString& tabla) {
  QStringList nombres;
  for (const QString& columna : ListaColumnas(tabla, QStringLiteral("SinMemos")).split(u';', Qt::SkipEmptyParts))
    nombres.append(NombreSQL(columna));
  return nombres.join(u',');
}

}  // namespace

TfGENEBUSQ::TfGENEBUSQ(QWidget* owner)
    : Form(owner),
      ui_(std::make_unique<Ui::TfGENEBUSQ>()),
      Query1(new Query(this)),
      DataSetProvider1(new QObject(this)),
      ClientDataSet1(new ClientDataset(this)),
      DataSource1(new DataSource(this)) {
  ui_->setupUi(this);
  Query1->setObjectName(QStringLiteral("Query1"));
  DataSetProvider1->setObjectName(QStringLiteral("DataSetProvider1"));
  DataSetProvider1->setProperty("DataSet", Query1->objectName());
  ClientDataSet1->setObjectName(QStringLiteral("ClientDataSet1"));
  lectura_ = std::make_unique<LecturaPaquetes>(*ClientDataSet1, *Query1);
  DataSource1->setObjectName(QStringLiteral("DataSource1"));
  DataSource1->SetDataSet(ClientDataSet1);
  ui_->DBGrid1->SetSource(DataSource1);
  ui_->DBNavigator1->SetSource(DataSource1);
  ui_->DBGrid1->OnDrawColumnCell = [](DBGrid& rejilla, const QModelIndex& celda, QStyleOptionViewItem& opcion) {
    if (const Field* campo = rejilla.ColumnField(celda.column()); campo && esMemo(*campo))
      opcion.text = enUnaLinea(opcion.text);
  };
  for (const NavigateBtn boton : {nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh})
    ui_->DBNavigator1->Button(boton)->hide();

  connect(ui_->pbConforme, &QPushButton::clicked, this, &TfGENEBUSQ::pbConformeClick);
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
  connect(ui_->pbPersonalizarBusqueda, &QToolButton::toggled, this, &TfGENEBUSQ::pbPersonalizarBusquedaClick);
  connect(ui_->ListaCamposBusqueda, &QComboBox::currentTextChanged, this, [this] { refrescarEstado(); });
  connect(ui_->NumeroMaximoRegistros, &QComboBox::currentTextChanged, this, [this] { refrescarEstado(); });
  connect(ui_->ResultadosOrdenados, &QCheckBox::clicked, this, [this] {
    if (CargandoCamposBusqueda) return;
    refrescarEstado();
    ui_->DatoABuscar->setFocus();
  });
  connect(ui_->MostrarCamposMemo, &QCheckBox::clicked, this, [this] {
    if (CargandoCamposBusqueda) return;
    refrescarEstado();
    MensajeInformacion(QStringLiteral(
        "Para hacer efectiva esta opción debe escoger algún registro y volver a realizar la búsqueda"));
  });
  for (QRadioButton* radio : {ui_->BusquedaAproximada, ui_->BusquedaFonetica, ui_->BusquedaParcial})
    connect(radio, &QRadioButton::clicked, this, [this, radio] {
      if (radio == ui_->BusquedaFonetica) ui_->ResultadosOrdenados->setChecked(false);
      refrescarEstado();
      ui_->DatoABuscar->setFocus();
    });
  connect(ui_->DBGrid1, &QAbstractItemView::doubleClicked, this, &TfGENEBUSQ::pbConformeClick);
  for (QObject* vigilado : std::initializer_list<QObject*>{ui_->DatoABuscar, ui_->DBGrid1, ui_->ListaCamposBusqueda,
                                                           ui_->NumeroMaximoRegistros})
    vigilado->installEventFilter(this);
  for (QComboBox* lista : {ui_->ListaCamposBusqueda, ui_->NumeroMaximoRegistros})
    connect(lista, qOverload<int>(&QComboBox::activated), this, [this] { ui_->DatoABuscar->setFocus(); });
  instalarTeclas();
  instalarMenu();
  // The search box's double-click searches; it is bound to no search table.
  ui_->DatoABuscar->setProperty("OnDblClick", true);
  PrepararFormulario(*this);
}

TfGENEBUSQ::~TfGENEBUSQ() {
  if (fGENEBUSQ == this) fGENEBUSQ = nullptr;
}

void TfGENEBUSQ::instalarTeclas() {
  for (int eleccion = 1; eleccion <= 9; ++eleccion)
    connect(new QShortcut(QKeySequence(Qt::CTRL | (Qt::Key_0 + eleccion)), this), &QShortcut::activated, this,
            [this, eleccion] { elegirCampos(eleccion - 1); });
  connect(new QShortcut(Qt::Key_F2, this), &QShortcut::activated, this, [this] {
    elegirCampos(1);
    ponerModo(ModoBusqueda::Fonetica);
  });
  connect(new QShortcut(Qt::Key_F3, this), &QShortcut::activated, this, &TfGENEBUSQ::siguienteModo);
  connect(new QShortcut(Qt::Key_F4, this), &QShortcut::activated, ui_->pbPersonalizarBusqueda, &QToolButton::toggle);
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this), &QShortcut::activated, this,
          &TfGENEBUSQ::elegirLetraRejilla);
}

void TfGENEBUSQ::elegirLetraRejilla() {
  QFontDialog dialogo(ui_->DBGrid1->font(), this);
  if (!CommonDialogsSeam::Get().Execute(dialogo)) return;
  ui_->DBGrid1->setFont(dialogo.selectedFont());
  ui_->DBGrid1->SetTitleFont(dialogo.selectedFont());
  ui_->DBGrid1->SetTitleFontColor(QColor(0x00, 0x00, 0x80));
}

void TfGENEBUSQ::instalarMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  QAction* pequena = PopupMenu1->addAction(QStringLiteral("&Letra Pequeña"));
  pequena->setCheckable(true);
  connect(pequena, &QAction::toggled, this, [this](bool marcada) {
    QFont letra = FuenteAplicacion.value_or(font());
    if (marcada) letra.setPointSize(std::max(1, letra.pointSize() - 2));
    DBGrid& rejilla = *ui_->DBGrid1;
    rejilla.setFont(letra);
    rejilla.SetTitleFont(letra);
    for (int columna = 0; columna < rejilla.ColumnCount(); ++columna) {
      const int ancho = rejilla.columnWidth(columna);
      rejilla.SetColumnWidth(columna, marcada ? std::max(1, qRound(ancho / 2.0)) : ancho * 2);
    }
  });
  const auto filtro = [this](const QString& texto, std::function<void()> accion) {
    connect(PopupMenu1->addAction(texto), &QAction::triggered, this, std::move(accion));
  };
  filtro(QStringLiteral("Filtrar Registros por Valor &Igual a..."), [this] { filtrarPorValor(QStringLiteral("=")); });
  filtro(QStringLiteral("Filtrar Registros por Valor &Desde..."), [this] { filtrarPorValor(QStringLiteral(">=")); });
  filtro(QStringLiteral("Filtrar Registros por Valor &Hasta..."), [this] { filtrarPorValor(QStringLiteral("<=")); });
  filtro(QStringLiteral("&Filtrar Registros por Valores Desde-Hasta..."), [this] {
    filtrarPorValor(QStringLiteral(">="));
    filtrarPorValor(QStringLiteral("<="));
  });
  filtro(QStringLiteral("Cancelar Filtros"), [this] {
    FiltroValores.clear();
    ClientDataSet1->SetFilter(QString());
  });
  filtro(QStringLiteral("Listado &Programable..."), [this] {
    if (ClientDataSet1->Active())
      ListarEnTablaTemporal(*ClientDataSet1, QStringLiteral("L.Tabla"),
                            QStringLiteral("Listado de la tabla ") + TablaBusqueda);
  });
  connect(ui_->DBGrid1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& donde) { PopupMenu1->popup(ui_->DBGrid1->viewport()->mapToGlobal(donde)); });
}

void TfGENEBUSQ::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfGENEBUSQ::FormShow() {
  FiltroValores.clear();
  const bool servidor = EsSQLServer();
  if (servidor) TablaBusqueda = QuitarPrefijoTabla(TablaBusqueda);
  ui_->NumeroMaximoRegistros->setEnabled(servidor);
  cerrarFilas();
  SetCaption(Traducir(QStringLiteral("Buscar en la tabla")) + u' ' + TablaBusqueda);
  Query1->SetDatabaseName(
      BaseDatosBDE(EsTablaGeneral(TablaBusqueda) ? QStringLiteral("DatabaseGeneral") : QStringLiteral("Database")));
  ui_->DatoABuscar->setFocus();
  ui_->DatoABuscar->selectAll();
  // The table's columns and key, for every search of this opening.
  QStringList noValidos;
  columnas_ = ListaColumnas(TablaBusqueda, QString(), &noValidos).split(u';');
  for (const QString& nombre : noValidos) MensajeAviso(MensajeNombreNoValido(nombre));
  claves_ = camposClave(TablaBusqueda);
  fila_ = claves_.isEmpty() ? columnaFila(Query1->DatabaseName(), columnas_) : QString();
  ordenables_ = claves_.isEmpty() && fila_.isEmpty() ? columnasOrdenables(TablaBusqueda) : QStringList();
  if (!fila_.isEmpty()) ui_->DBGrid1->SetFieldVisible(fila_, false);
  ui_->ListaCamposBusqueda->clear();
  ui_->NumeroMaximoRegistros->setCurrentText(QStringLiteral("100"));
  pbPersonalizarBusquedaClick();
  const int limite = StrToIntDef(ui_->NumeroMaximoRegistros->currentText(), 1000);
  if (EsTablaGeneral(TablaBusqueda) || !CondicionAdicional.isEmpty() ||
      (!ui_->DatoABuscar->text().isEmpty() && limite <= 50)) {
    pbBuscarClick(false);
    ui_->DatoABuscar->setFocus();
  }
  TraducirFormulario(this);
}

void TfGENEBUSQ::done(int result) {
  FormClose();
  Form::done(result);
}

void TfGENEBUSQ::FormClose() {
  cerrarFilas();
  ui_->DatoABuscar->clear();
  CondicionAdicional.clear();
}

void TfGENEBUSQ::cerrarFilas() { lectura_->Cerrar(); }

const QString& TfGENEBUSQ::UltimaSentencia() const { return lectura_->Sentencia(); }

void TfGENEBUSQ::pbPersonalizarBusquedaClick() {
  if (ui_->ListaCamposBusqueda->count() == 0) construirListaCampos();
  ui_->PanelPersonalizarBusqueda->setVisible(ui_->pbPersonalizarBusqueda->isChecked());
  refrescarEstado();
}

void TfGENEBUSQ::construirListaCampos() {
  CargandoCamposBusqueda = true;
  QStringList elecciones;
  const auto anadir = [&elecciones](const QString& campos) {
    if (!campos.isEmpty() && !campos.startsWith(QLatin1String("Error.")) && !elecciones.contains(campos))
      elecciones.append(campos);
  };
  indices_.clear();
  const auto indice = [&](const QString& campos) {
    anadir(campos);
    if (!campos.isEmpty() && !campos.startsWith(QLatin1String("Error."))) indices_.append(piezas(campos));
  };
  indice(CamposClavePrimaria(TablaBusqueda));
  for (int n = 2;; ++n) {
    const QString campos = CamposClavePrimaria(TablaBusqueda, QStringLiteral("Clave") + QString::number(n));
    if (campos.isEmpty() || campos.startsWith(QLatin1String("Error."))) break;
    indice(campos);
  }
  for (const QString& columna : ListaColumnas(TablaBusqueda, QStringLiteral("SinMemos")).split(u';', Qt::SkipEmptyParts))
    if (!columna.startsWith(QLatin1String("Error."))) anadir(columna);
  ui_->ListaCamposBusqueda->addItems(elecciones);
  aplicarDatosUsuario(TablaBusqueda);
  if (IndiceBusqueda != 0) {
    const QString indice = CamposClavePrimaria(TablaBusqueda, QStringLiteral("Clave") + QString::number(IndiceBusqueda));
    if (!indice.isEmpty() && elecciones.contains(indice)) ui_->ListaCamposBusqueda->setCurrentText(indice);
  }
  CargandoCamposBusqueda = false;
}

void TfGENEBUSQ::aplicarDatosUsuario(const QString& tabla) {
  QString entrada = LeerDatosBusqueda(tabla);
  const auto bandera = [&entrada](const char* texto) {
    const bool tiene = entrada.contains(QLatin1String(texto));
    entrada.remove(QLatin1String(texto));
    return tiene;
  };
  const bool fonetica = bandera("(F)"), parcial = bandera("(P)"), aproximada = bandera("(A)");
  if (fonetica)
    ponerModo(ModoBusqueda::Fonetica);
  else if (parcial)
    ponerModo(ModoBusqueda::Parcial);
  else if (aproximada)
    ponerModo(ModoBusqueda::Aproximada);
  // A table without an entry has neither flag: both boxes are cleared.
  ui_->ResultadosOrdenados->setChecked(bandera("(O)"));
  ui_->MostrarCamposMemo->setChecked(bandera("(M)"));
  const int elegida = entrada.isEmpty() ? 0 : ui_->ListaCamposBusqueda->findText(entrada, Qt::MatchExactly);
  ui_->ListaCamposBusqueda->setCurrentIndex(elegida);
  if (elegida < 0) ui_->ListaCamposBusqueda->setCurrentText(QString());
}

ModoBusqueda TfGENEBUSQ::modo() const {
  if (ui_->BusquedaFonetica->isChecked()) return ModoBusqueda::Fonetica;
  if (ui_->BusquedaParcial->isChecked()) return ModoBusqueda::Parcial;
  return ModoBusqueda::Aproximada;
}

void TfGENEBUSQ::ponerModo(ModoBusqueda nuevo) {
  switch (nuevo) {
    case ModoBusqueda::Fonetica:
      ui_->BusquedaFonetica->setChecked(true);
      ui_->ResultadosOrdenados->setChecked(false);
      break;
    case ModoBusqueda::Parcial:
      ui_->BusquedaParcial->setChecked(true);
      break;
    case ModoBusqueda::Aproximada:
      ui_->BusquedaAproximada->setChecked(true);
      break;
  }
  refrescarEstado();
}

void TfGENEBUSQ::siguienteModo() {
  switch (modo()) {
    case ModoBusqueda::Aproximada:
      return ponerModo(ModoBusqueda::Fonetica);
    case ModoBusqueda::Fonetica:
      return ponerModo(ModoBusqueda::Parcial);
    case ModoBusqueda::Parcial:
      return ponerModo(ModoBusqueda::Aproximada);
  }
}

void TfGENEBUSQ::elegirCampos(int eleccion) {
  if (eleccion >= ui_->ListaCamposBusqueda->count()) return;
  ui_->ListaCamposBusqueda->setCurrentIndex(eleccion);
  refrescarEstado();
}

void TfGENEBUSQ::refrescarEstado() {
  const QString palabra = modo() == ModoBusqueda::Parcial      ? QStringLiteral("Parcial")
                          : modo() == ModoBusqueda::Aproximada ? QStringLiteral("Aproximada")
                                                               : QStringLiteral("Fonética");
  PanelesEstado(*ui_->StatusBar1, QStringLiteral("Búsqueda ") + palabra + QStringLiteral(" por $Campos"),
                QStringLiteral("Campos=") + TraducirLista(ui_->ListaCamposBusqueda->currentText()));
}

void TfGENEBUSQ::pbBuscarClick(bool mostrarMensaje) {
  const QString campos = ui_->ListaCamposBusqueda->currentText();
  if (campos.isEmpty()) return;
  if (ui_->DatoABuscar->text().isEmpty()) ponerModo(ModoBusqueda::Aproximada);
  ui_->DatoABuscar->setText(ui_->DatoABuscar->text().replace(u',', u';'));
  if (CamposSeleccion.isEmpty())
    CamposSeleccion = ui_->MostrarCamposMemo->isChecked() ? QStringLiteral("*") : listaSeleccion(TablaBusqueda);
  CriterioBusqueda criterio{TablaBusqueda,   campos,
                            ui_->DatoABuscar->text(), modo(),
                            ui_->ResultadosOrdenados->isChecked(), CondicionAdicional,
                            CamposSeleccion};
  if (!abrirConsulta(criterio) || ClientDataSet1->IsEmpty()) {
    if (mostrarMensaje) MensajeInformacion(QStringLiteral("No hay datos que coincidan con el criterio de búsqueda"));
    ui_->DatoABuscar->setFocus();
  } else {
    ui_->DBGrid1->setFocus();
    const QStringList lista = campos.split(u';');
    if (lista.size() == 1)
      for (int columna = 2; columna < ui_->DBGrid1->ColumnCount(); ++columna)
        if (ui_->DBGrid1->ColumnFieldName(columna).compare(campos, Qt::CaseInsensitive) == 0)
          ui_->DBGrid1->setCurrentIndex(ui_->DBGrid1->model()->index(ui_->DBGrid1->currentIndex().row(), columna));
  }
  TraducirFormulario(this);
}

bool TfGENEBUSQ::abrirConsulta(const CriterioBusqueda& criterio) {
  if (!leerFilas(criterio)) return false;
  OcultarCamposRestringidos(*this);
  prepararColumnas();
  return true;
}

// The grid shows the rows of the search once read, not the empty set
// between the former search and this one.
bool TfGENEBUSQ::leerFilas(const CriterioBusqueda& criterio) {
  const DisabledControls sinAvisos(*ClientDataSet1);
  cerrarFilas();
  const QString sentencia = SentenciaBusqueda(criterio, columnas_);
  if (sentencia.isEmpty()) return false;
  const QString limite = ui_->NumeroMaximoRegistros->currentText();
  if (EsSQLServer() && limite != kIlimitado) {
    const int registros = StrToIntDef(limite, 0);
    return lectura_->Abrir(LimitarSentencia(sentencia, registros > 0 ? registros : 1));
  }
  // Packets in the key's order would each read and sort every match of a
  // range an index answers: they follow that index instead.
  CriterioBusqueda porPaquetes = criterio;
  if (criterio.modo != ModoBusqueda::Fonetica && encabezaIndice(criterio.campos)) porPaquetes.ordenados = true;
  if (!claves_.isEmpty())
    return lectura_->Abrir(std::make_unique<PaquetesBusqueda>(PaquetesDeBusqueda(porPaquetes, claves_, kPaquete)));
  if (!fila_.isEmpty())
    return lectura_->Abrir(std::make_unique<PaquetesBusqueda>(PaquetesPorFila(porPaquetes, fila_, kPaquete)));
  // Neither a key nor a row id to read on from: the packets go by position
  // in an order over every column that can be sorted.
  if (!ordenables_.isEmpty())
    return lectura_->Abrir(std::make_unique<PaquetesBusqueda>(PaquetesPorPosicion(criterio, ordenables_, kPaquete)));
  return lectura_->Abrir(sentencia);
}

bool TfGENEBUSQ::encabezaIndice(const QString& campos) const {
  const QStringList buscados = piezas(campos);
  return std::any_of(indices_.begin(), indices_.end(), [&buscados](const QStringList& indice) {
    if (buscados.isEmpty() || buscados.size() > indice.size()) return false;
    for (qsizetype i = 0; i < buscados.size(); ++i)
      if (buscados[i].compare(indice[i], Qt::CaseInsensitive) != 0) return false;
    return true;
  });
}

void TfGENEBUSQ::prepararColumnas() {
  // The row id is read to go on from, neither shown nor listed.
  if (Field* fila = fila_.isEmpty() ? nullptr : ClientDataSet1->FindField(fila_)) fila->SetVisible(false);
  DBGrid& rejilla = *ui_->DBGrid1;
  for (int columna = 0; columna < rejilla.ColumnCount(); ++columna) {
    Field* campo = rejilla.ColumnField(columna);
    if (!campo) continue;
    campo->SetDisplayLabel(AbreviarNombre(campo->DisplayLabel(), 1));
    rejilla.SetButtonStyle(columna, esMemo(*campo) ? DBGrid::cbsEllipsis : DBGrid::cbsAuto);
    switch (campo->DataType()) {
      case ftMemo:
      case ftFmtMemo:
        rejilla.SetColumnWidth(columna, 200);
        break;
      case ftFloat:
      case ftCurrency:
        campo->SetDisplayFormat(FormatoNumerico(campo->FieldName()));
        break;
      case ftDate:
      case ftTime:
      case ftDateTime:
        rejilla.SetColumnDisplayWidth(columna, 10);
        ManejadoresFechaHora(*campo, campo->FieldName());
        break;
      default:
        break;
    }
  }
}

void TfGENEBUSQ::pbConformeClick() {
  ClaveSeleccionada.clear();
  if (ClientDataSet1->Active() && !ClientDataSet1->IsEmpty()) {
    const QStringList& claves = claves_;
    for (qsizetype i = 0; i < claves.size(); ++i) {
      const Field* campo = ClientDataSet1->FindField(claves[i]);
      if (!campo) continue;
      const QString valor = campo->AsString();
      ClaveSeleccionada += (i + 1 == claves.size() && valor.isEmpty() ? QStringLiteral("NULL") : valor) +
                           QStringLiteral("\r\n");
    }
    if (ClaveSeleccionada.endsWith(QLatin1String("\r\n"))) ClaveSeleccionada.chop(2);
  }
  const bool elegido = !ClaveSeleccionada.isEmpty();
  if (elegido) grabarPersonalizacion();
  cerrarFilas();
  SetModalResult(elegido ? mrYes : mrCancel);
}

void TfGENEBUSQ::grabarPersonalizacion() {
  if (DesactivarIndicesPorUsuarioEnBusquedas || EsTablaGeneral(TablaBusqueda)) return;
  const QString bandera = modo() == ModoBusqueda::Fonetica ? QStringLiteral("(F)")
                          : modo() == ModoBusqueda::Parcial ? QStringLiteral("(P)")
                                                            : QStringLiteral("(A)");
  GrabarDatosBusqueda(TablaBusqueda, ui_->ListaCamposBusqueda->currentText() + bandera +
                                         (ui_->ResultadosOrdenados->isChecked() ? QStringLiteral("(O)") : QString()) +
                                         (ui_->MostrarCamposMemo->isChecked() ? QStringLiteral("(M)") : QString()));
}

void TfGENEBUSQ::filtrarPorValor(const QString& operador) {
  const int columna = ui_->DBGrid1->currentIndex().column();
  Field* campo = columna >= 0 ? ui_->DBGrid1->ColumnField(columna) : nullptr;
  if (!campo || ClientDataSet1->State() != dsBrowse || campo->FieldKind() != fkData) return;
  const QString pregunta = operador == u"=" ? QStringLiteral("Introduzca el valor del campo ")
                           : operador == u">=" ? QStringLiteral("Introduzca el valor Desde ")
                                               : QStringLiteral("Introduzca el valor Hasta ");
  QString respuesta = campo->DisplayText();
  MensajePregunta(pregunta + AbreviarNombre(campo->FieldName(), 1), respuesta);
  if (respuesta.isEmpty()) return;
  const QString anterior = FiltroValores;
  try {
    ClientDataSet1->SetFiltered(false);
    if (!FiltroValores.isEmpty()) FiltroValores += QStringLiteral(" AND ");
    FiltroValores += u'(' + campo->FieldName() + u' ' + operador + u' ' + Entrecomillar(respuesta) + u')';
    ClientDataSet1->SetFilter(FiltroValores);
    ClientDataSet1->SetFiltered(true);
  } catch (const std::exception&) {
    FiltroValores = anterior;
    MensajeAviso(QStringLiteral("¡No ha sido posible filtrar registros!"));
  }
}

bool TfGENEBUSQ::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* tecla = static_cast<QKeyEvent*>(event);
    const bool intro = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
    if (watched == ui_->DatoABuscar) {
      UltimaTeclaPulsada = VirtualKey(*tecla);
      if (intro) {
        pbBuscarClick(true);
        return true;
      }
      if (tecla->key() == Qt::Key_Period && (tecla->modifiers() & Qt::KeypadModifier) && !DesactivarPuntoPorComaDecimal) {
        ui_->DatoABuscar->insert(QStringLiteral(","));
        return true;
      }
    } else if (watched == ui_->DBGrid1) {
      if (tecla->key() == Qt::Key_Tab) {
        ui_->pbConforme->setFocus();
        return true;
      }
      if (intro) {
        if (ClientDataSet1->Active() && !ClientDataSet1->IsEmpty()) pbConformeClick();
        return true;
      }
    } else if (intro) {
      ui_->DatoABuscar->setFocus();
      return true;
    }
  } else if (event->type() == QEvent::MouseButtonDblClick && watched == ui_->DatoABuscar) {
    pbBuscarClick(true);
    return true;
  }
  return Form::eventFilter(watched, event);
}
