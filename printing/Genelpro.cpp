#include "printing/Genelpro.h"

#include "core/forms/CabeceraListado.h"
#include "core/forms/ConmutarEuro.h"
#include "core/forms/FormatosCampo.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/helpers/Letras.h"
#include "core/progress/Geneprog.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/datamodule/SalidaInforme.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/report/Band.h"
#include "platform/report/DatasetSource.h"
#include "platform/report/ReportComponent.h"
#include "platform/report/TextLines.h"
#include "printing/DisenoListado.h"
#include "printing/Geneprev.h"
#include "printing/InformeFijo.h"

#include <QFontMetricsF>

#include <cmath>

TfGENELPRO* fGENELPRO = nullptr;

namespace {

const QString kDetalle = QStringLiteral("LBDetalle");
const QString kImagen = QStringLiteral("LBImagen");
const QString kPieGrupo = QStringLiteral("LBPieGrupo");
const QString kTotales = QStringLiteral("LBTotales");
const QString kTitulo = QStringLiteral("LBTitulo");
const QString kGrupo = QStringLiteral("LBGrupo");
const QColor kPlata(0xc0, 0xc0, 0xc0);
constexpr int kAltoDetalle = 15;
constexpr int kTopTitulos = 79;
constexpr int kTextoCorto = 10;  // characters: codes, modes and the like, never worth breaking

bool EsImagen(FieldType tipo) { return tipo == ftGraphic || tipo == ftBlob; }
bool EsMemo(FieldType tipo) { return tipo == ftMemo || tipo == ftFmtMemo; }
bool EsFlotante(FieldType tipo) { return tipo == ftFloat || tipo == ftCurrency; }

QString TituloColumna(const QString& campo) {
  return campo.contains(u' ') ? campo : AbreviarNombre(campo, 1);
}

// The column a cell was made for: the number its name ends with.
int NumeroCelda(const QString& nombre) {
  qsizetype inicio = nombre.size();
  while (inicio > 0 && nombre.at(inicio - 1).isDigit()) --inicio;
  return nombre.mid(inicio).toInt();
}

bool EsCeldaCreada(const ReportItem& celda) {
  for (const QString& prefijo : {kDetalle, kImagen, kPieGrupo, kTotales, kTitulo, kGrupo})
    if (celda.Name.startsWith(prefijo)) return true;
  return false;
}

}  // namespace

TfGENELPRO::TfGENELPRO(QWidget* owner) : Form(owner), informe_(new ReportComponent(this)) {
  setObjectName(QStringLiteral("fGENELPRO"));
  informe_->setObjectName(QStringLiteral("QuickReport"));
  ReportEngine& informe = informe_->Report();
  DisenarInformeFijo(informe);
  informe.Page.LeftMargin = 5;
  informe.Page.RightMargin = 5;
  Band& grupo = informe.AddBand(BandKind::GroupHeader, QStringLiteral("BandaCabeceraGrupo"));
  grupo.Enabled = false;
  grupo.Height = 24;
  grupo.Add(ItemKind::Line, QStringLiteral("SeparadorCabecera")).Top = 19;
  Band& detalle = informe.AddBand(BandKind::Detail, QStringLiteral("BandaDetalle"));
  detalle.Height = kAltoDetalle;
  ReportItem& borde = detalle.Add(ItemKind::Shape, QStringLiteral("BordeBandaDetalle"));
  borde.Enabled = false;
  Band& pieGrupo = informe.AddBand(BandKind::GroupFooter, QStringLiteral("BandaPieGrupo"));
  pieGrupo.Enabled = false;
  pieGrupo.Height = 17;
  pieGrupo.Add(ItemKind::Line, QStringLiteral("SeparadorPieGrupo")).Height = 1;
  grupo.Footer = &pieGrupo;
  Band& totales = informe.AddBand(BandKind::Summary, QStringLiteral("BandaTotales"));
  totales.Height = 32;
  ReportItem& separador = totales.Add(ItemKind::Line, QStringLiteral("SeparadorTotales"));
  separador.Top = 5;
  separador.Height = 1;
  AgregarPiePagina(informe);
  detalle.BeforePrint = [this](Band& banda, bool& imprimir) { BandaDetalleBeforePrint(banda, imprimir); };
  totales.BeforePrint = [this](Band& banda, bool& imprimir) { BandaTotalesBeforePrint(banda, imprimir); };
  pieGrupo.BeforePrint = totales.BeforePrint;
  grupo.BeforePrint = [this](Band& banda, bool& imprimir) { BandaCabeceraGrupoBeforePrint(banda, imprimir); };
  informe.BeforePrint = [this] { QuickReportBeforePrint(); };
  informe.Cancelled = [] { return CancelarListado; };
  PrepararFormulario(*this);
  ConmutarEuro(*this, QStringLiteral("Asignar"));
  cabeceraDisenada_ = TomarCabeceraDisenada(informe);
  PrepararCabecera();
}

TfGENELPRO::~TfGENELPRO() {
  if (MemoRestricciones && QuickReport().FindItem(MemoRestricciones->Name) == MemoRestricciones)
    MemoRestricciones = nullptr;
  if (fGENELPRO == this) fGENELPRO = nullptr;
}

ReportEngine& TfGENELPRO::QuickReport() const { return informe_->Report(); }

void TfGENELPRO::SetDataSet(Dataset* dataSet) {
  dataSet_ = dataSet;
  fuente_ = dataSet ? std::make_unique<DatasetSource>(*dataSet) : nullptr;
  QuickReport().Source = fuente_.get();
}

// Creation: the general parameters, the options of the form asked from, the
// colours and the compression of the design.
void TfGENELPRO::PrepararCabecera() {
  parametros_ = LeerParametrosListado();
  ReportEngine& informe = QuickReport();
  opciones_ = OpcionesDelFormulario(parametros_);
  if (parametros_.RestriccionesAlCrear()) ColocarRestricciones(informe, opciones_, cabeceraDisenada_);
  if (parametros_.margenIzquierdoImpresora != 0) informe.Page.LeftMargin = parametros_.margenIzquierdoImpresora;
  AplicarTramas(informe, parametros_.tramas);
  ComprimirInforme(informe, parametros_);
}

void TfGENELPRO::Comprimir(ReportItem& celda, bool conPosicion) const { ComprimirCelda(celda, parametros_, conPosicion); }

QFont TfGENELPRO::Fuente() const {
  if (FuenteListado) return *FuenteListado;
  QFont fuente(QStringLiteral("Arial"));
  fuente.setPointSize(8);
  return fuente;
}

QFont TfGENELPRO::FuenteTitulo() const {
  QFont fuente = Fuente();
  fuente.setBold(true);
  fuente.setPointSize(8);
  return fuente;
}

std::vector<int> TfGENELPRO::Marcas() const {
  std::vector<int> marcas;
  for (int i = 0; i < dataSet_->FieldCount(); ++i) marcas.push_back(dataSet_->Fields(i).Tag());
  return marcas;
}

int TfGENELPRO::IndiceCampoColumna(int columna) const {
  if (!dataSet_) return -1;
  for (int i = 0; i <= ultimoCampo_ && i < dataSet_->FieldCount(); ++i)
    if (dataSet_->Fields(i).Tag() == columna) return i;
  return -1;
}

// Each field's weight: its entry of ListaAnchos, else its display width.
std::vector<double> TfGENELPRO::Pesos() const {
  const QStringList anchos = ListaAnchos.split(u'|');
  std::vector<double> pesos;
  for (int i = 0; i < dataSet_->FieldCount(); ++i)
    pesos.push_back(ListaAnchos.isEmpty() ? dataSet_->Fields(i).DisplayWidth() : anchos.value(i).toDouble());
  return pesos;
}

int TfGENELPRO::AnchoColumna(int campo) const {
  const std::vector<double> pesos = Pesos();
  double total = 0;
  for (int i = 0; i <= ultimoCampo_; ++i)
    if (dataSet_->Fields(i).Tag() != kMarcaNoImpreso) total += pesos[static_cast<std::size_t>(i)];
  const ReportItem* empresa = QuickReport().FindItem(QStringLiteral("TituloNombreEmpresa"));
  return ::AnchoColumna(pesos[static_cast<std::size_t>(campo)], total, static_cast<int>(empresa->Width));
}

// The width each field's header needs in its font and, for a short text
// field, a value as long as the field allows.
std::vector<int> TfGENELPRO::AnchosMinimos() const {
  const QFontMetricsF titulo(UnitFont(FuenteTitulo()));
  const QFontMetricsF valor(UnitFont(Fuente()));
  std::vector<int> minimos;
  for (int i = 0; i < dataSet_->FieldCount(); ++i) {
    const Field& campo = dataSet_->Fields(i);
    double ancho = titulo.horizontalAdvance(TituloColumna(campo.FieldName()));
    if (campo.DataType() == ftString && campo.Size() <= kTextoCorto)
      ancho = std::max(ancho, valor.averageCharWidth() * campo.Size());
    minimos.push_back(static_cast<int>(std::ceil(ancho)) + 1);
  }
  return minimos;
}

// The header and footer narrowed with the columns when the horizontal factor compresses.
void TfGENELPRO::ComprimirAnchos(std::initializer_list<const char*> elementos) {
  const double factor = parametros_.factorHorizontal;
  if (factor == 0 || factor == 1) return;
  ReportEngine& informe = QuickReport();
  for (const char* nombre : elementos) {
    ReportItem& elemento = *informe.FindItem(QString::fromLatin1(nombre));
    elemento.Width = static_cast<int>(elemento.Width * factor);
  }
  ReportItem& fecha = *informe.FindItem(QStringLiteral("QRFechaImpreso"));
  fecha.Left = static_cast<int>(fecha.Left * factor);
}

void TfGENELPRO::QuickReportBeforePrint() {
  CancelarListado = false;
  ReportEngine& informe = QuickReport();
  informe.Title = Titulo;
  informe.Page.Orientation = Orientacion;
  if (Papel.isEmpty() || Papel == u"A4") informe.Page.Paper = PaperSize::A4;
  else if (Papel == u"A3") informe.Page.Paper = PaperSize::A3;
  informe.FindItem(QStringLiteral("QRTitulo"))->Caption = Titulo;
  informe.FindItem(QStringLiteral("TituloNombreEmpresa"))->Caption = NombreEmpresaActual();
  if (!dataSet_) return;
  QStringList nombres = dataSet_->GetFieldNames();
  const CamposListables listables = CamposDelListado(nombres);
  ultimoCampo_ = listables.ultimo;
  instrucciones_ = listables.instrucciones;
  LiberarCeldas();
  const PaginaListado pagina = PaginaDelListado(Orientacion == QPageLayout::Landscape, Papel,
                                                parametros_.margenIzquierdoImpresora);
  informe.Page.LeftMargin = pagina.margenIzquierdo;
  informe.Page.RightMargin = pagina.margenDerecho;
  AnchoDeBandas(pagina.anchoBanda);
  QuickReport().FindItem(QStringLiteral("TituloLogotipoEmpresa"))->PictureFile = LogotipoEmpresa;
  if (FormatoFicha) DisenarFichas();
  else DisenarColumnas();
  if (parametros_.listarRestricciones) {
    QString texto;
    if (const auto* consulta = qobject_cast<const Query*>(dataSet_); consulta && consulta->objectName() == u"QryConsultasSQL") {
      texto = QStringLiteral("Sentencia SQL: ") + consulta->SQL().Text();
      if (!consulta->Filter().isEmpty()) texto += QStringLiteral(". Filtro: ") + consulta->Filter();
    }
    ColocarRestricciones(informe, opciones_ + texto + TextoRestricciones(Rangos, Filtros), cabeceraDisenada_);
  }
  informe.FindBand(QStringLiteral("BandaDetalle"))->Enabled = !SinDetalle;
  TraducirFormulario(this);
}

void TfGENELPRO::LiberarCeldas() {
  for (const auto& banda : QuickReport().Bands()) banda->RemoveIf(EsCeldaCreada);
}

void TfGENELPRO::AnchoDeBandas(int ancho) {
  ReportEngine& informe = QuickReport();
  for (const char* nombre : {"QRTitulo", "TituloNombreEmpresa", "QRNumeroPagina", "SeparadorCabecera",
                             "SeparadorPieGrupo", "SeparadorTotales"})
    informe.FindItem(QString::fromLatin1(nombre))->Width = ancho;
  ReportItem& fecha = *informe.FindItem(QStringLiteral("QRFechaImpreso"));
  fecha.Left = ancho - fecha.Width;
}

ReportItem& TfGENELPRO::CeldaTitulo(Band& banda, int numero, const QString& campo) {
  ReportItem& titulo = banda.Add(ItemKind::Label, kTitulo + QString::number(numero));
  titulo.Caption = TituloColumna(campo);
  titulo.Font = FuenteTitulo();
  titulo.BackColor = Qt::black;
  titulo.Color = Qt::white;
  titulo.Height = 15;
  if (parametros_.tramas == u"Basica") {
    titulo.BackColor = Qt::white;
    titulo.Color = Qt::black;
    titulo.Frame = true;
  }
  return titulo;
}

ReportItem& TfGENELPRO::CeldaValor(Band& banda, int numero, int campo) {
  const Field& dato = dataSet_->Fields(campo);
  if (EsImagen(dato.DataType())) {
    ReportItem& imagen = banda.Add(ItemKind::Picture, kImagen + QString::number(numero));
    imagen.DataField = dato.FieldName();
    return imagen;
  }
  ReportItem& celda = banda.Add(ItemKind::DataText, kDetalle + QString::number(numero));
  celda.DataField = dato.FieldName();
  celda.Font = Fuente();
  if (parametros_.tramas == u"Standard") celda.BackColor = kPlata;
  celda.OnPrint = [this](ReportItem& item, QString& valor) { LBDetallePrint(item, valor); };
  return celda;
}

void TfGENELPRO::DisenarColumnas() {
  ReportEngine& informe = QuickReport();
  Band& cabecera = *informe.FindBand(QStringLiteral("PageHeader"));
  Band& grupo = *informe.FindBand(QStringLiteral("BandaCabeceraGrupo"));
  Band& detalle = *informe.FindBand(QStringLiteral("BandaDetalle"));
  Band& pieGrupo = *informe.FindBand(QStringLiteral("BandaPieGrupo"));
  Band& totales = *informe.FindBand(QStringLiteral("BandaTotales"));
  grupo.Enabled = pieGrupo.Enabled = !ExpresionGrupo.isEmpty();
  grupo.Expression = CamposGrupo().join(u'+');
  totales.Enabled = !ListaTotales.isEmpty();
  grupo.ForceNewPage = totales.ForceNewPage = SepararPorPaginas;
  detalle.ForceNewPage = false;
  informe.FindItem(QStringLiteral("BordeBandaDetalle"))->Enabled = false;
  informe.FindItem(QStringLiteral("SeparadorCabecera"))->Enabled = ListaTotales.isEmpty();
  informe.FindItem(QStringLiteral("SeparadorPieGrupo"))->Enabled = !ListaTotales.isEmpty();
  informe.FindItem(QStringLiteral("SeparadorTotales"))->Enabled = true;
  const int anchoTitulo = static_cast<int>(informe.FindItem(QStringLiteral("TituloNombreEmpresa"))->Width);
  const auto columnas = ::DisenarColumnas(Marcas(), Pesos(), ultimoCampo_, anchoTitulo, AnchosMinimos());
  for (int i = 0; i < dataSet_->FieldCount(); ++i) dataSet_->Fields(i).SetTag(kMarcaNoImpreso);
  for (std::size_t c = 0; c < columnas.size(); ++c) {
    const ColumnaListado& columna = columnas[c];
    const int numero = static_cast<int>(c);
    Field& campo = dataSet_->Fields(columna.campo);
    campo.SetTag(numero);
    ReportItem& titulo = CeldaTitulo(cabecera, numero, campo.FieldName());
    titulo.Left = columna.x;
    titulo.Top = kTopTitulos;
    titulo.Width = columna.ancho;
    ReportItem& valor = CeldaValor(detalle, numero, columna.campo);
    valor.Left = columna.x;
    valor.Width = columna.ancho;
    valor.Top = 0;
    valor.Height = kAltoDetalle;
    if (valor.Kind == ItemKind::DataText) {
      valor.Alignment = (EsFlotante(campo.DataType()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
      valor.AutoStretch = AjustarPalabras;
    }
    std::vector<ReportItem*> celdas{&titulo, &valor};
    for (Band* banda : {&pieGrupo, &totales}) {
      ReportItem& suma = banda->Add(ItemKind::Sum, (banda == &pieGrupo ? kPieGrupo : kTotales) + QString::number(numero));
      suma.DataField = campo.FieldName();
      suma.Alignment = Qt::AlignRight | Qt::AlignTop;
      suma.AutoStretch = AjustarPalabras;
      suma.Font = Fuente();
      suma.Font.setBold(true);
      suma.DisplayMask = FormatoNumerico(campo.FieldName());
      suma.Left = columna.x;
      suma.Width = columna.ancho;
      suma.Top = banda == &pieGrupo ? 2 : 8;
      suma.OnPrint = [this](ReportItem& item, QString& texto) { LBTotalesPrint(item, texto); };
      celdas.push_back(&suma);
    }
    for (ReportItem* celda : celdas) Comprimir(*celda, true);
  }
  detalle.Height = kAltoDetalle;
  totales.Height = kAltoDetalle + 2;
  ComprimirAnchos({"QRTitulo", "TituloNombreEmpresa", "QRNumeroPagina"});
}

void TfGENELPRO::DisenarFichas() {
  ReportEngine& informe = QuickReport();
  for (const char* nombre : {"SeparadorCabecera", "SeparadorPieGrupo", "SeparadorTotales"})
    informe.FindItem(QString::fromLatin1(nombre))->Enabled = false;
  Band& detalle = *informe.FindBand(QStringLiteral("BandaDetalle"));
  Band& grupo = *informe.FindBand(QStringLiteral("BandaCabeceraGrupo"));
  grupo.Enabled = informe.FindBand(QStringLiteral("BandaPieGrupo"))->Enabled = !ExpresionGrupo.isEmpty();
  grupo.Expression = CamposGrupo().join(u'+');
  informe.FindBand(QStringLiteral("BandaTotales"))->Enabled = false;
  detalle.ForceNewPage = SepararPorPaginas;
  std::vector<bool> memos;
  for (int i = 0; i < dataSet_->FieldCount(); ++i) memos.push_back(EsMemo(dataSet_->Fields(i).DataType()));
  const int ancho = static_cast<int>(informe.FindItem(QStringLiteral("TituloNombreEmpresa"))->Width);
  const FichaListado ficha = ::DisenarFichas(Marcas(), memos, ultimoCampo_, std::clamp(NumeroColumnasFicha, 1, 10),
                                             std::clamp(NumeroLineasMemoFicha, 1, 50), ancho);
  for (int i = 0; i < dataSet_->FieldCount(); ++i) dataSet_->Fields(i).SetTag(kMarcaNoImpreso);
  for (std::size_t k = 0; k < ficha.celdas.size(); ++k) {
    const CeldaFicha& celda = ficha.celdas[k];
    const int numero = static_cast<int>(k);
    dataSet_->Fields(celda.campo).SetTag(numero);
    ReportItem& titulo = CeldaTitulo(detalle, numero, dataSet_->Fields(celda.campo).FieldName());
    titulo.Left = celda.tituloX;
    titulo.Width = celda.tituloAncho;
    titulo.Top = celda.top;
    ReportItem& valor = CeldaValor(detalle, numero, celda.campo);
    valor.Left = celda.valorX;
    valor.Width = celda.valorAncho;
    valor.Top = celda.top;
    valor.Height = celda.valorAlto;
    valor.Alignment = Qt::AlignLeft | Qt::AlignTop;
    Comprimir(titulo, true);
    Comprimir(valor, true);
  }
  detalle.Height = ficha.altoBanda;
  ReportItem& borde = *informe.FindItem(QStringLiteral("BordeBandaDetalle"));
  borde.Enabled = true;
  borde.Top = 2;
  borde.Left = 0;
  borde.Width = ancho - 2;
  borde.Height = ficha.altoBanda - 2;
  ComprimirAnchos({"QRTitulo", "TituloNombreEmpresa", "QRNumeroPagina", "BordeBandaDetalle"});
}

void TfGENELPRO::LBDetallePrint(ReportItem& celda, QString& valor) {
  const int indice = IndiceCampoColumna(NumeroCelda(celda.Name));
  if (indice < 0) return;
  const Field& campo = dataSet_->Fields(indice);
  valor = TextoDetalle(campo);
  if (!instrucciones_) return;
  celda.Alignment = AlineacionDetalle(!FormatoFicha, campo.DataType(), listaInstrucciones_, campo.FieldName()) |
                    Qt::AlignTop;
}

void TfGENELPRO::LBTotalesPrint(ReportItem& celda, QString& /*valor*/) {
  const int indice = IndiceCampoColumna(NumeroCelda(celda.Name));
  if (!instrucciones_ || indice < 0) return;
  celda.Alignment = AlineacionDetalle(true, ftFloat, listaInstrucciones_, dataSet_->Fields(indice).FieldName()) |
                    Qt::AlignTop;
}

void TfGENELPRO::BandaDetalleBeforePrint(Band& banda, bool& /*imprimir*/) {
  if (!instrucciones_) return;
  listaInstrucciones_ = dataSet_->Fields(dataSet_->FieldCount() - 1).AsString().split(QStringLiteral("\r\n"));
  const bool negrita = DetalleEnNegrita(listaInstrucciones_);
  for (const auto& celda : banda.Items()) {
    if (!celda->Name.startsWith(kDetalle)) continue;
    celda->Font = Fuente();
    celda->Font.setBold(negrita);
    Comprimir(*celda, false);
  }
}

void TfGENELPRO::BandaTotalesBeforePrint(Band& banda, bool& /*imprimir*/) {
  for (const auto& celda : banda.Items()) {
    if (celda->Kind != ItemKind::Sum) continue;
    const int indice = IndiceCampoColumna(NumeroCelda(celda->Name));
    celda->Enabled = !FormatoFicha && indice >= 0 &&
                     ColumnaConTotal(dataSet_->Fields(indice).DataType(), celda->DataField, ListaTotales);
  }
}

// The names of the group expression, bare or in single quotes.
QStringList TfGENELPRO::CamposGrupo() const {
  QStringList campos;
  for (QString nombre : ExpresionGrupo.split(u'+', Qt::SkipEmptyParts)) {
    nombre = nombre.trimmed();
    if (nombre.size() > 1 && nombre.startsWith(u'\'') && nombre.endsWith(u'\'')) nombre = nombre.mid(1, nombre.size() - 2);
    campos << nombre;
  }
  return campos;
}

void TfGENELPRO::BandaCabeceraGrupoBeforePrint(Band& banda, bool& /*imprimir*/) {
  banda.RemoveIf([](const ReportItem& celda) { return celda.Name.startsWith(kGrupo); });
  const QStringList grupos = CamposGrupo();
  double x = 0;
  int numero = 0;
  const auto escribir = [&](const QString& texto, const QColor& color) {
    ReportItem& celda = banda.Add(ItemKind::Label, kGrupo + QString::number(numero++));
    celda.Caption = texto;
    celda.Font = Fuente();
    celda.Font.setBold(true);
    celda.Color = color;
    celda.Left = x;
    celda.Top = 4;
    celda.Width = QFontMetricsF(UnitFont(celda.Font)).horizontalAdvance(texto) + 1;
    x += celda.Width;
  };
  for (int i = 0; i < dataSet_->FieldCount(); ++i) {
    const Field& campo = dataSet_->Fields(i);
    if (campo.Tag() != kMarcaNoImpreso) continue;
    const QString& nombre = campo.FieldName();
    if (!grupos.contains(nombre)) continue;
    escribir(TituloColumna(nombre) + u':', Qt::darkBlue);
    x += 4;
    escribir(campo.Text(), Qt::black);
    x += 8;
  }
}

void TfGENELPRO::Previsualizar() { PrevisualizarInforme(QuickReport(), objectName(), dataSet_, nullptr); }

void TfGENELPRO::Imprimir() { GenerarSalidaInforme(QuickReport(), QString()); }
