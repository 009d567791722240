#include "core/datamodule/ConversionMoneda.h"

#include "core/datamodule/Genemodu.h"
#include "core/datamodule/PrepararTabla.h"
#include "core/helpers/Numeros.h"
#include "core/helpers/Textos.h"
#include "platform/Exceptions.h"
#include "platform/data/Field.h"
#include "platform/format/Format.h"

namespace {

int Parametro(const char* nombre) {
  if (!ParametrosGeneralesCargados()) return 0;
  const Field* campo = ModuloDatos->ParamGenerales->FindField(QLatin1String(nombre));
  return campo && !campo->IsNull() ? campo->AsInteger() : 0;
}

// A currency table not named yet (the parameters never read) converts
// nothing, without the message an opening would show.
Table* MonedaPreparada() {
  if (!ModuloDatos || ModuloDatos->Moneda->TableName().trimmed().isEmpty() || !PrepararTabla(*ModuloDatos->Moneda))
    return nullptr;
  return ModuloDatos->Moneda;
}

bool Situar(Table& moneda, int codigo) { return moneda.FindKey({Variant::Integer(codigo)}); }

double Dividir(double importe, double cambio) {
  if (cambio == 0) throw Exception(QStringLiteral("Floating point division by zero"));
  return importe / cambio;
}

double CampoMoneda(int codigo, const char* campo) {
  Table* moneda = MonedaPreparada();
  if (!moneda || !Situar(*moneda, codigo)) return 0;
  return moneda->FieldByName(QLatin1String(campo)).AsFloat();
}

}  // namespace

bool ParametrosGeneralesCargados() { return ModuloDatos && ModuloDatos->ParamGenerales->Active(); }

CodigosMoneda Codigos() {
  return {Parametro("CodigoMonedaBase"), Parametro("CodigoMonedaEuro"), Parametro("CodigoMonedaNacional")};
}

int DecimalesMoneda(int codigo) { return static_cast<int>(CampoMoneda(codigo, "Decimales")); }

double CambioMoneda(int codigo) { return CampoMoneda(codigo, "Cambio"); }

double ConvertirImporte(const QString& tipo, double importe) {
  Table* moneda = MonedaPreparada();
  if (!moneda) return importe;
  const CodigosMoneda codigos = Codigos();
  if (codigos.base == codigos.nacional && !Situar(*moneda, codigos.euro)) return importe;
  if (codigos.base == codigos.euro && !Situar(*moneda, codigos.nacional)) return importe;
  const double cambio = moneda->FieldByName(QStringLiteral("Cambio")).AsFloat();
  if (tipo == QLatin1String("AutoInverso")) return RedondearDecimales(DecimalesMonedaBase, importe * cambio);
  if (tipo == QLatin1String("Otra Moneda")) return RedondearDecimales(DecimalesMoneda(codigos.euro), Dividir(importe, cambio));
  const int decimales = moneda->FieldByName(QStringLiteral("Decimales")).AsInteger();
  return RedondearDecimales(decimales, Dividir(importe, cambio));
}

QString ConvertirTextoImporte(const QString& texto, const QString& tipo) {
  QString numero = texto;
  const bool debe = numero.contains(u'D');
  if (debe) ReemplazarTexto(QStringLiteral("D"), QString(), numero);
  const bool haber = numero.contains(u'H');
  if (haber) ReemplazarTexto(QStringLiteral("H"), QString(), numero);
  const double importe = TextoAFlotante(numero);
  QString resultado = FormatFloat(PlantillasNumericas[3], ConvertirImporte(tipo, importe));
  if (debe) resultado += u'D';
  if (haber) resultado += u'H';
  const CodigosMoneda codigos = Codigos();
  if (!resultado.isEmpty() && !EsCero(importe) && codigos.base == codigos.nacional)
    resultado.prepend(QStringLiteral("€ "));
  return resultado;
}

QString TextoEnOtraMoneda(const QString& texto) { return ConvertirTextoImporte(texto, QString()); }
