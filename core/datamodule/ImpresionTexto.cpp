#include "core/datamodule/ImpresionTexto.h"

#include "platform/report/PrinterSink.h"
#include "platform/report/ReportEngine.h"
#include "platform/report/ReportSource.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const QString kCampoLinea = QStringLiteral("Linea");
constexpr double kAlturaLinea = 16;  // a 10-point line on the report's 96 dpi

// The printed lines as the records of the report.
class Lineas : public ReportSource {
 public:
  explicit Lineas(QStringList lineas) : lineas_(std::move(lineas)) {}
  void First() override { posicion_ = 0; }
  void Next() override { ++posicion_; }
  bool Eof() const override { return posicion_ >= lineas_.size(); }
  QVariant Value(const QString&) const override { return lineas_.value(posicion_); }

 private:
  QStringList lineas_;
  qsizetype posicion_ = 0;
};

// A final line break ends the last line; it does not start another.
QStringList lineasDe(const QString& texto) {
  static const QRegularExpression salto(QStringLiteral("\r\n|\n|\r"));
  QStringList lineas = texto.split(salto);
  if (lineas.size() > 0 && lineas.last().isEmpty()) lineas.removeLast();
  return lineas;
}

}  // namespace

void ImprimirTexto(const QString& texto, const QString& titulo, const PrintSettings& ajustes) {
  Lineas lineas(QStringList{titulo.toUpper(), QString()} + lineasDe(texto));
  ReportEngine informe;
  informe.Title = titulo;
  informe.Source = &lineas;
  informe.PrinterSettings = ajustes;
  Band& detalle = informe.AddBand(BandKind::Detail, QStringLiteral("Detalle"));
  detalle.Height = kAlturaLinea;
  ReportItem& linea = detalle.Add(ItemKind::DataText, kCampoLinea);
  linea.DataField = kCampoLinea;
  linea.Font = QFont(QStringLiteral("Courier New"), 10);
  linea.Width = informe.Page.RightEdge() - informe.Page.LeftEdge();
  linea.Height = kAlturaLinea;
  linea.AutoStretch = true;
  PrinterSink impresora(informe.PrinterSettings, titulo);
  informe.Run(impresora);
}
