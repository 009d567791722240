#include "printing/InformeFijo.h"

#include "core/datamodule/ExistenciaClave.h"
#include "core/datamodule/GruposAnalisis.h"
#include "core/forms/CabeceraListado.h"
#include "core/forms/HijaMDIActiva.h"
#include "core/helpers/Letras.h"
#include "core/helpers/Listas.h"
#include "core/helpers/Rangos.h"
#include "core/startup/Configuracion.h"
#include "platform/Clock.h"
#include "platform/format/DateTime.h"
#include "platform/format/Format.h"
#include "platform/report/Band.h"
#include "platform/report/ReportEngine.h"
#include "printing/ParametrosListado.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

const QString kPaginaCabecera = QStringLiteral("PageHeader");

QFont Arial(int puntos, bool negrita) {
  QFont fuente(QStringLiteral("Arial"));
  fuente.setPointSize(puntos);
  fuente.setBold(negrita);
  return fuente;
}

ReportItem& Etiqueta(Band& banda, const QString& nombre, const QFont& fuente, int top, int alto) {
  ReportItem& etiqueta = banda.Add(ItemKind::Label, nombre);
  etiqueta.Font = fuente;
  etiqueta.Top = top;
  etiqueta.Height = alto;
  etiqueta.Alignment = Qt::AlignHCenter | Qt::AlignTop;
  return etiqueta;
}

bool EsTexto(ItemKind tipo) { return tipo != ItemKind::Line && tipo != ItemKind::Shape && tipo != ItemKind::Picture; }

}  // namespace

void DisenarInformeFijo(ReportEngine& informe) {
  informe.Page.Paper = PaperSize::A4;
  informe.Page.Orientation = QPageLayout::Portrait;
  informe.Page.TopMargin = 10;
  informe.Page.BottomMargin = 10;
  Band& cabecera = informe.AddBand(BandKind::PageHeader, kPaginaCabecera);
  cabecera.Height = 99;
  ReportItem& titulo = Etiqueta(cabecera, QStringLiteral("QRTitulo"), Arial(12, true), 12, 21);
  titulo.Color = Qt::darkCyan;
  Etiqueta(cabecera, QStringLiteral("TituloNombreEmpresa"), Arial(10, true), 32, 17);
  ReportItem& logotipo = cabecera.Add(ItemKind::Picture, QStringLiteral("TituloLogotipoEmpresa"));
  logotipo.Width = 100;
  logotipo.Height = 75;
}

void AgregarPiePagina(ReportEngine& informe) {
  Band& pie = informe.AddBand(BandKind::PageFooter, QStringLiteral("PageFooter"));
  pie.Height = 45;
  ReportItem& pagina = pie.Add(ItemKind::PageNumber, QStringLiteral("QRNumeroPagina"));
  pagina.Caption = QStringLiteral("Página  ");
  pagina.Font = Arial(8, false);
  pagina.Top = 8;
  pagina.Alignment = Qt::AlignHCenter | Qt::AlignTop;
  ReportItem& fecha = pie.Add(ItemKind::Label, QStringLiteral("QRFechaImpreso"));
  fecha.Font = Arial(8, false);
  fecha.Top = 24;
  fecha.Width = 200;
  fecha.Alignment = Qt::AlignRight | Qt::AlignTop;
  fecha.OnPrint = [](ReportItem&, QString& valor) {
    valor = QStringLiteral("Impreso el ") + DateTimeToStr(ToDateTime(ClockSeam::Get().Now()));
  };
}

QString NombreEmpresaActual() {
  if (EmpresaActual == 0) return {};
  try {
    Variant valores;
    const Variant nombre = ConsultaFiltrada(QStringLiteral("EMPRESA"), QString::number(EmpresaActual) + u';', valores,
                                            QStringLiteral("Nombre"));
    return nombre.Elements().isEmpty() ? nombre.AsString() : nombre.Elements().first().AsString();
  } catch (const std::exception&) {
    return {};
  }
}

void AplicarTramas(ReportEngine& informe, const QString& tramas) {
  if (tramas == u"Standard") return;
  const bool enmarcadas = tramas == u"Basica" || tramas == u"Blanco y Negro";
  for (const auto& banda : informe.Bands()) {
    for (const auto& celda : banda->Items()) {
      if (celda->BackColor == Qt::black) {
        if (enmarcadas) {
          celda->BackColor = Qt::white;
          celda->Color = Qt::black;
          celda->Frame = true;
        }
      } else {
        celda->BackColor = QColor();
      }
      if (tramas == u"Blanco y Negro") celda->Color = Qt::black;
    }
  }
}

void ComprimirCelda(ReportItem& celda, const ParametrosListado& parametros, bool conPosicion) {
  if (!parametros.ConCompresion()) return;
  if (conPosicion) {
    celda.Left = static_cast<int>(celda.Left * parametros.factorHorizontal);
    celda.Width = static_cast<int>(celda.Width * parametros.factorHorizontal);
  }
  if (!EsTexto(celda.Kind)) return;
  const int puntos = static_cast<int>(celda.Font.pointSizeF() * parametros.factorLetra);
  if (puntos > 0) celda.Font.setPointSize(puntos);
  if (parametros.tipoLetra != u"Por Defecto") celda.Font.setFamily(parametros.tipoLetra);
}

void ComprimirInforme(ReportEngine& informe, const ParametrosListado& parametros) {
  for (const auto& banda : informe.Bands())
    for (const auto& celda : banda->Items())
      if (EsTexto(celda->Kind)) ComprimirCelda(*celda, parametros, celda->Kind == ItemKind::Label);
}

QString OpcionesDelFormulario(const ParametrosListado& parametros) {
  if (!parametros.RestriccionesAlCrear()) return {};
  const QWidget* hija = HijaMDIActiva();
  if (hija && hija->objectName() == u"fGENECPRO") return {};
  QString texto;
  for (const QWidget* control : ListaControlesListado) {
    if (!control || control->isHidden() || control->objectName() == u"VisualizacionPrevia") continue;
    const QString nombre = SepararPalabras(control->objectName()) + QStringLiteral(": ");
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
      texto += nombre + edit->text() + QStringLiteral(", ");
    } else if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
      texto += nombre + combo->currentText() + QStringLiteral(", ");
    } else if (const auto* boton = qobject_cast<const QAbstractButton*>(control);
               boton && (qobject_cast<const QCheckBox*>(boton) || qobject_cast<const QRadioButton*>(boton)) &&
               boton->isChecked()) {
      texto += boton->text() + QStringLiteral(", ");
    }
  }
  if (hija && hija->findChild<QObject*>(QStringLiteral("pbRangoGruposAnalisis")))
    texto += DescripcionRango(RangosGruposAnalisis);
  return texto.remove(QStringLiteral("\r\n")).remove(QStringLiteral("Edit"));
}

CabeceraDisenada TomarCabeceraDisenada(const ReportEngine& informe) {
  CabeceraDisenada disenada;
  const Band& cabecera = *informe.FindBand(kPaginaCabecera);
  for (const auto& celda : cabecera.Items())
    if (celda->Kind == ItemKind::Label) disenada.posiciones << celda->Name + u'=' + QString::number(celda->Top);
  disenada.altura = static_cast<int>(cabecera.Height);
  return disenada;
}

void ColocarRestricciones(ReportEngine& informe, const QString& texto) {
  ColocarRestricciones(informe, texto, TomarCabeceraDisenada(informe));
}

void ColocarRestricciones(ReportEngine& informe, const QString& texto, const CabeceraDisenada& disenada) {
  Band& cabecera = *informe.FindBand(kPaginaCabecera);
  // Labels made for this run (the column titles) stand where they were made.
  const QString posiciones = disenada.posiciones.join(QStringLiteral("\r\n"));
  PosicionesCabecera.clear();
  for (const auto& celda : cabecera.Items()) {
    if (celda->Kind != ItemKind::Label) continue;
    const QString top = ValorLista(celda->Name, posiciones);
    PosicionesCabecera << celda->Name + u'=' + (top.isEmpty() ? QString::number(celda->Top) : top);
  }
  AlturaCabeceraListado = disenada.altura;
  RecolocarCabecera = true;
  cabecera.BeforePrint = CabeceraListado;
  ReportItem* memo = cabecera.Item(QStringLiteral("MemoRestricciones"));
  if (!memo) memo = &cabecera.Add(ItemKind::Memo, QStringLiteral("MemoRestricciones"));
  const ReportItem* logotipo = cabecera.Item(QStringLiteral("TituloLogotipoEmpresa"));
  memo->Top = (logotipo ? logotipo->Height : 0) + 2;
  memo->Left = 0;
  memo->Width = cabecera.Item(QStringLiteral("QRTitulo"))->Width;
  memo->Font = Arial(8, false);
  memo->Color = QColor(0x80, 0, 0);
  memo->Caption = QString(texto).remove(QStringLiteral("\r\n")).remove(QStringLiteral("Edit"));
  MemoRestricciones = memo;
}
