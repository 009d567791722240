#include "dialogs/Genemlis.h"

#include "core/forms/TeclasFormulario.h"
#include "core/services/RutinasBusqueda.h"
#include "core/datamodule/ExistenciaClave.h"
#include "core/datamodule/ServiciosDataSet.h"
#include "core/datamodule/SiguienteCodigo.h"
#include "core/forms/AparienciaFormulario.h"
#include "core/forms/ColumnasRejilla.h"
#include "core/forms/FormatosCampo.h"
#include "core/forms/GanchosFormulario.h"
#include "core/helpers/AnchoCampo.h"
#include "core/helpers/Letras.h"
#include "core/helpers/Textos.h"
#include "core/helpers/Validacion.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/MantenimientoLista.h"
#include "core/services/PosicionFormulario.h"
#include "core/startup/TraduccionFormulario.h"
#include "dialogs/EstiloLineaLista.h"
#include "dialogs/FiltroValor.h"
#include "dialogs/FormulasLista.h"
#include "platform/Exceptions.h"
#include "platform/FormRegistry.h"
#include "platform/controls/DatasetModel.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/format/Format.h"
#include "ui_GENEMLIS.h"

#include <QMenu>
#include <QScopedValueRollback>

TfGENEMLIS* fGENEMLIS = nullptr;

namespace {

const QString kLinea = QStringLiteral("GENEMLISLinea");


bool esEntero(const QString& tipo) {
  return tipo.compare(QLatin1String("ftInteger"), Qt::CaseInsensitive) == 0 ||
         tipo.compare(QLatin1String("ftSmallInt"), Qt::CaseInsensitive) == 0;
}

bool editando(const Table& tabla) { return tabla.State() == dsEdit || tabla.State() == dsInsert; }

// Reads every row with the grid told nothing, and comes back to the first.
class RecorridoTabla {
 public:
  explicit RecorridoTabla(Table& tabla) : tabla_(tabla) { tabla_.DisableControls(); }
  ~RecorridoTabla() {
    tabla_.First();
    tabla_.EnableControls();
  }
  RecorridoTabla(const RecorridoTabla&) = delete;
  RecorridoTabla& operator=(const RecorridoTabla&) = delete;

 private:
  Table& tabla_;
};

}  // namespace

TfGENEMLIS::TfGENEMLIS(QWidget* owner)
    : Form(owner),
      ui_(std::make_unique<Ui::TfGENEMLIS>()),
      temporal_(new Table(this)),
      dataSource1_(new DataSource(this)),
      popupMenu1_(new QMenu(this)) {
  ui_->setupUi(this);
  temporal_->setObjectName(QStringLiteral("Temporal"));
  dataSource1_->setObjectName(QStringLiteral("DataSource1"));
  popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
  dataSource1_->SetDataSet(temporal_);
  ui_->DBGrid1->SetSource(dataSource1_);
  ui_->DBGrid1->SetGridOptions(DBGrid::dgEditing);

  const struct {
    const char* nombre;
    QString texto;
    std::function<void()> orden;
  } entradas[] = {
      {"FiltrarIgual1", QStringLiteral("Filtrar Registros por Valor &Igual a..."), [this] { filtrar({u"="_qs}); }},
      {"FiltrarDesde1", QStringLiteral("Filtrar Registros por Valor &Desde..."), [this] { filtrar({u">="_qs}); }},
      {"FiltrarHasta1", QStringLiteral("Filtrar Registros por Valor &Hasta..."), [this] { filtrar({u"<="_qs}); }},
      {"FiltrarDesdeHasta1", QStringLiteral("&Filtrar Registros por Valores Desde-Hasta..."),
       [this] { filtrar({u">="_qs, u"<="_qs}); }},
      {"CancelarFiltros1", QStringLiteral("&Cancelar Filtros"), [this] { cancelarFiltros(); }},
      {"VerDetalle1", QStringLiteral("&Ver Detalle"), [this] { verDetalle(); }},
      {"ListadoProgramable1", QStringLiteral("Listado Programable..."),
       [this] { ListarEnTablaTemporal(*temporal_, objectName(), Caption()); }},
  };
  for (const auto& entrada : entradas) popupMenu1_->addAction(entrada.texto, this, entrada.orden)->setObjectName(QLatin1String(entrada.nombre));
  ui_->DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui_->DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& punto) {
    if (seleccionDesdeHasta()) return;
    const bool filtros = !ui_->DBGrid1->GridOptions().testFlag(DBGrid::dgRowSelect);
    for (QAction* accion : popupMenu1_->actions().mid(0, 5)) accion->setEnabled(filtros);
    popupMenu1_->popup(ui_->DBGrid1->viewport()->mapToGlobal(punto));
  });

  connect(ui_->pbAceptar, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
  connect(ui_->pbRestablecer, &QPushButton::clicked, this, [this] { Restablecer(); });
  connect(ui_->pbCancelar, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
  OnKeyDown = TeclasFormulario;
  OnKeyPress = PulsacionTecla;

  temporal_->BeforeInsert = [this](Dataset&) {
    if (!restaurando_) throw Abort();
  };
  temporal_->OnNewRecord = [](Dataset& tabla) {
    if (Field* linea = tabla.FindField(kLinea)) linea->SetAsInteger(SiguienteCodigo(static_cast<Table&>(tabla)));
  };
  temporal_->BeforePost = [this](Dataset&) { comprobarCelda(ui_->DBGrid1->SelectedField()); };
  ui_->DBGrid1->OnColExit = [this](DBGrid& rejilla) { comprobarCelda(rejilla.SelectedField()); };
  ui_->DBGrid1->OnDblClick = [this](DBGrid&) { dobleClic(); };
  ui_->DBGrid1->OnDrawColumnCell = [this](DBGrid&, const QModelIndex& celda, QStyleOptionViewItem& opcion) {
    VestirCeldaLista(*ui_->DBGrid1, celda, opcion);
  };

  QWidget* principal = Ganchos().VentanaPrincipal ? Ganchos().VentanaPrincipal() : nullptr;
  ColocarFormulario(*this, PosicionGENEMLIS, principal);
  fGENEMLIS = this;
}

TfGENEMLIS::~TfGENEMLIS() {
  if (fGENEMLIS == this) fGENEMLIS = nullptr;
}

DBGrid& TfGENEMLIS::DBGrid1() const { return *ui_->DBGrid1; }

void TfGENEMLIS::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  DBGrid& rejilla = *ui_->DBGrid1;
  if (rejilla.ReadOnly()) rejilla.SetColor(kFondoInformacion);
  ui_->PanelTotales->setVisible(!seleccionDesdeHasta() && !camposTotalizadores_.isEmpty());
  ui_->LBTotales->setVisible(!camposTotalizadores_.isEmpty());
  if (temporal_->Active())
    for (int i = 0; i < temporal_->FieldCount(); ++i) {
      Field& campo = temporal_->Fields(i);
      campo.SetDisplayLabel(AbreviarNombre(campo.FieldName(), 1));
      if (campo.DataType() == ftFloat) campo.SetDisplayFormat(FormatoNumerico(campo.FieldName()));
    }
  if (anchoPorTipo_) {
    const int letra = rejilla.fontMetrics().horizontalAdvance(u'Z');
    for (int columna = 0; columna < rejilla.ColumnCount(); ++columna)
      if (Field* campo = rejilla.ColumnField(columna); campo && rejilla.ColumnVisible(columna))
        rejilla.SetColumnWidth(columna, AnchoCampo(*campo) * letra);
  } else {
    ajustarColumnas();
  }
  if (temporal_->Active()) {
    lineasOriginales_ = lineasTabla();
    temporal_->First();
  }
  AplicarAspecto(*this);
  ui_->pbAceptar->setFocus();
  CalcularTotales();
  TraducirFormulario(this);
}

void TfGENEMLIS::hideEvent(QHideEvent* event) {
  GuardarPosicion(*this, PosicionGENEMLIS);
  Form::hideEvent(event);
}

void TfGENEMLIS::resizeEvent(QResizeEvent* event) {
  Form::resizeEvent(event);
  if (!anchoPorTipo_) ajustarColumnas();
}

void TfGENEMLIS::ajustarColumnas() {
  if (!noRedimensionar_ && temporal_->Active()) AjustarColumnasRejilla(*ui_->DBGrid1);
}

// Each row's field texts, each followed by "|", in the grid's field order.
QStringList TfGENEMLIS::lineasTabla() {
  QStringList lineas;
  const RecorridoTabla recorrido(*temporal_);
  for (temporal_->First(); !temporal_->Eof(); temporal_->Next()) {
    QString linea;
    for (int i = 0; i < temporal_->FieldCount(); ++i) linea += temporal_->Fields(i).AsString() + u'|';
    lineas.append(linea);
  }
  return lineas;
}

void TfGENEMLIS::escribirLineas(const QStringList& lineas) {
  const QScopedValueRollback restaurando(restaurando_, true);
  const RecorridoTabla recorrido(*temporal_);
  // The lines carry their own numbers.
  const auto alNuevo = std::exchange(temporal_->OnNewRecord, nullptr);
  const auto antesDeGrabar = std::exchange(temporal_->BeforePost, nullptr);
  try {
    temporal_->Cancel();
    temporal_->EmptyTable();
    for (const QString& linea : lineas) {
      temporal_->Append();
      for (int i = 0; i < temporal_->FieldCount(); ++i) {
        Field& campo = temporal_->Fields(i);
        const bool soloLectura = campo.ReadOnly();
        campo.SetReadOnly(false);
        try {
          campo.SetText(ExtraerElemento(i, linea, u"|"_qs));
        } catch (const std::exception&) {
          campo.Clear();
        }
        campo.SetReadOnly(soloLectura);
      }
      temporal_->Post();
    }
  } catch (...) {
    temporal_->OnNewRecord = alNuevo;
    temporal_->BeforePost = antesDeGrabar;
    throw;
  }
  temporal_->OnNewRecord = alNuevo;
  temporal_->BeforePost = antesDeGrabar;
}

void TfGENEMLIS::Restablecer() {
  QStringList lineas = lineasOriginales_;
  if (seleccionDesdeHasta()) {
    QString respuesta;
    MensajeConfirmacion(QStringLiteral("¿Desea restablecer los datos a sus valores límite?"), respuesta);
    if (respuesta == u"SI")
      for (int i = 0; i < lineas.size(); ++i) {
        const QString& original = lineas[i];
        const QString& limites = limitesFilas_.value(i);
        lineas[i] = ExtraerElemento(0, original, u"|"_qs) + u'|' + ExtraerElemento(1, original, u"|"_qs) + u'|' +
                    ExtraerElemento(0, limites, u"|"_qs) + u'|' + ExtraerElemento(1, limites, u"|"_qs);
      }
  }
  escribirLineas(lineas);
  // From now on rows come only from a restore.
  restaurando_ = false;
  CalcularTotales();
}

void TfGENEMLIS::CalcularTotales() {
  if (ui_->PanelTotales->isHidden() || camposTotalizadores_.isEmpty() || !temporal_->Active()) return;
  ui_->PanelTotales->setFixedHeight((ContarCaracter(u';', camposTotalizadores_) + 1) * 15);
  QStringList nombres = camposTotalizadores_.split(u';', Qt::SkipEmptyParts);
  QList<double> sumas(nombres.size(), 0.0);
  {
    const RecorridoTabla recorrido(*temporal_);
    temporal_->CheckBrowseMode();
    for (temporal_->First(); !temporal_->Eof(); temporal_->Next())
      for (int i = 0; i < nombres.size(); ++i)
        if (Field* campo = temporal_->FindField(nombres[i]); campo && !campo->IsNull()) sumas[i] += campo->AsFloat();
  }
  QString textos;
  QString totales;
  for (int i = 0; i < nombres.size(); ++i) {
    textos += QStringLiteral("Total ") + SepararPalabras(nombres[i]) + QStringLiteral(": \r\n");
    totales += FormatFloat(QStringLiteral("#,##0.00"), sumas[i]) + Espacios(7) + QStringLiteral("\r\n");
  }
  ui_->LBTextoTotales->setText(textos);
  ui_->LBTotales->setText(totales);
}

void TfGENEMLIS::comprobarCelda(Field* campo) {
  if (!campo || !editando(*temporal_)) return;
  aplicarFormulas(*campo);
  comprobarBusquedas(*campo);
  if (seleccionDesdeHasta()) comprobarDesdeHasta(*campo);
}

// A formula that cannot be worked out leaves its target as it was.
void TfGENEMLIS::aplicarFormulas(const Field& campo) {
  for (const QString& linea : formulasCampos_) {
    const FormulaCampo formula = LeerFormulaCampo(linea);
    if (formula.disparador.compare(campo.FieldName(), Qt::CaseInsensitive) != 0) continue;
    Field* destino = temporal_->FindField(formula.destino);
    if (!destino) continue;
    // A worked-out column is usually read-only to the user, not to its formula.
    const bool soloLectura = destino->ReadOnly();
    destino->SetReadOnly(false);
    try {
      destino->SetAsFloat(EvaluarFormula(SustituirCampos(formula.expresion, *temporal_)));
    } catch (const std::exception&) {
      // the row keeps its values
    }
    destino->SetReadOnly(soloLectura);
  }
}

QString TfGENEMLIS::busquedaDe(const Field& campo) const {
  for (const QString& linea : busquedasCampos_)
    if (linea.section(u'>', 1).compare(campo.FieldName(), Qt::CaseInsensitive) == 0) return linea.section(u'>', 0, 0);
  return {};
}

// A blank cell names no record: only a value is looked up.
void TfGENEMLIS::comprobarBusquedas(const Field& campo) {
  const QString tabla = busquedaDe(campo);
  if (tabla.isEmpty() || campo.Text().isEmpty()) return;
  if (!ExisteClaveEnTabla(tabla, campo.Text() + u';')) {
    MensajeAviso(QStringLiteral("¡No existe el registro!"));
    throw Abort();
  }
}

void TfGENEMLIS::comprobarDesdeHasta(Field& campo) {
  const bool desde = campo.FieldName() == u"ValorDesde";
  if (!desde && campo.FieldName() != u"ValorHasta") return;
  if (desde && temporal_->State() == dsEdit)
    if (Field* hasta = temporal_->FindField(QStringLiteral("ValorHasta"))) hasta->SetText(campo.Text());
  const Field* linea = temporal_->FindField(kLinea);
  const int fila = linea && !linea->IsNull() ? linea->AsInteger() - 1 : temporal_->RecNo() - 1;
  const QString tipo = ExtraerElemento(1, tiposFilas_.value(fila), u","_qs);
  const QString titulo = AbreviarNombre(campo.FieldName(), 1);
  bool correcto = true;
  if (esEntero(tipo))
    correcto = ValidarEntero(campo.Text(), titulo);
  else if (tipo.compare(QLatin1String("ftDateTime"), Qt::CaseInsensitive) == 0)
    correcto = ValidarFecha(campo.Text(), titulo);
  else if (tipo.compare(QLatin1String("ftFloat"), Qt::CaseInsensitive) == 0) {
    double valor = 0;
    correcto = TryStrToFloat(campo.Text(), valor);
    if (!correcto)
      MensajeAviso(QStringLiteral("¡El valor de ") + titulo + QStringLiteral(" es incorrecto! Repita por favor"));
  }
  if (!correcto) throw Abort();
}

void TfGENEMLIS::dobleClic() {
  DBGrid& rejilla = *ui_->DBGrid1;
  if (rejilla.ReadOnly()) {
    SetModalResult(mrOk);
    return;
  }
  Field* campo = rejilla.SelectedField();
  const QString tabla = campo ? busquedaDe(*campo) : QString();
  if (tabla.isEmpty()) {
    rejilla.edit(rejilla.currentIndex());
    return;
  }
  if (temporal_->State() == dsBrowse) temporal_->Edit();
  const Variant clave = BuscarDato(tabla, 0);
  if (!clave.IsNull() && !clave.Elements().isEmpty()) campo->SetText(clave.Elements().first().AsString());
}

void TfGENEMLIS::filtrar(const QStringList& operadores) {
  Field* campo = ui_->DBGrid1->SelectedField();
  if (!campo || (campo->Calculated() && editando(*temporal_))) return;
  if (FiltrarPorValor(*temporal_, *campo, operadores)) CalcularTotales();
}

void TfGENEMLIS::cancelarFiltros() {
  temporal_->SetFiltered(false);
  temporal_->SetFilter(QString());
  CalcularTotales();
}

void TfGENEMLIS::verDetalle() {
  Field* campo = ui_->DBGrid1->SelectedField();
  if (!campo || campo->DataType() != ftMemo || !Ganchos().MostrarDetalle) return;
  Ganchos().MostrarDetalle(campo->AsString(), QStringLiteral("Detalle del campo ") + SepararPalabras(campo->FieldName()), QString());
}

void RegistrarGENEMLIS() {
  FormRegistry::Register(QLatin1String(kFormularioMantenimientoLista), [](QWidget* owner) { return new TfGENEMLIS(owner); });
}
