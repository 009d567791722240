#include "core/datamodule/Genemodu.h"
#include "core/datamodule/PrepararTabla.h"
#include "core/helpers/Textos.h"
#include "core/startup/Configuracion.h"
#include "core/system/Procesos.h"
#include "core/tables/NombresTablas.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"

namespace {

const QString kSeparadorPiezas = QStringLiteral(" ");

// The data layer names a server's tables without the owner their physical
// name carries.
void prepararComo(Table& tabla, const char* nombre) {
  tabla.Close();
  tabla.SetTableName(QuitarPrefijoTabla(NombreTablaFisica(QLatin1String(nombre))));
  PrepararTabla(tabla);
}

// "PlantillaNumerica<i>=<format> <fragment>,<fragment>..." in the memo.
void leerPlantillas(const Table& parametros) {
  const QString memo = parametros.FieldByName(QStringLiteral("PlantillaNumericaExt")).AsString();
  StringList extension;
  extension.SetText(memo);
  for (std::size_t i = 1; i <= 5; ++i) {
    const QString nombre = QStringLiteral("PlantillaNumerica") + QString::number(i);
    if (!memo.contains(nombre)) {
      PlantillasNumericas[i] = FormatoNumericoEstandar;
      continue;
    }
    const QString valor = extension.Values(nombre);
    PlantillasNumericas[i] = ExtraerElemento(0, valor, kSeparadorPiezas);
    CamposPlantillasNumericas[i].SetText(ExtraerElemento(1, valor, kSeparadorPiezas).replace(u',', u"\r\n"_qs));
  }
}

}  // namespace

bool EsProgramaModulo() { return !EsEjecutable(QStringLiteral("ZEMWIN.EXE")) && !EsEjecutable(QStringLiteral("MASPWIN.EXE")); }

void TModuloDatos::PrepararEmpresa() {
  prepararComo(*ParamGenerales, "PARAGENE");
  const QString estandar = ParamGenerales->FieldByName(QStringLiteral("PlantillaNumericaStd")).AsString();
  if (!estandar.isEmpty()) FormatoNumericoEstandar = estandar == QLatin1String("Ninguna") ? QString() : estandar;
  leerPlantillas(*ParamGenerales);
  PorcentajesIVA[0] = PorcentajesRecargo[0] = 0;
  for (std::size_t i = 1; i <= 5; ++i) {
    PorcentajesIVA[i] = ParamGenerales->FieldByName(QStringLiteral("IVA") + QString::number(i)).AsFloat();
    PorcentajesRecargo[i] = ParamGenerales->FieldByName(QStringLiteral("Recargo") + QString::number(i)).AsFloat();
  }
  const std::pair<Table*, const char*> tablas[] = {
      {Responsabilidad, "RESPDOC"}, {GATablas, "GRANTAB"}, {GAnalisis, "GRANALIS"},
      {RegistroAccesos, "REGACCES"}, {Moneda, "MONEDA"}};
  for (const auto& [tabla, nombre] : tablas) prepararComo(*tabla, nombre);
  DSMoneda->SetDataSet(Moneda);
  ParamGeneralesAfterPost();
}

void TModuloDatos::ParamGeneralesAfterPost() {
  const int base = ParamGenerales->FieldByName(QStringLiteral("CodigoMonedaBase")).AsInteger();
  MonedaBaseDistintaNacional = base != ParamGenerales->FieldByName(QStringLiteral("CodigoMonedaNacional")).AsInteger();
  if (Moneda->FindKey({Variant::Integer(base)})) {
    DecimalesMonedaBase = Moneda->FieldByName(QStringLiteral("Decimales")).AsInteger();
    CambioMonedaBase = Moneda->FieldByName(QStringLiteral("Cambio")).AsFloat();
    AbreviaturaMonedaBase = Moneda->FieldByName(QStringLiteral("Abreviatura")).AsString();
    DescripcionMonedaBase = Moneda->FieldByName(QStringLiteral("Descripcion")).AsString();
    return;
  }
  DecimalesMonedaBase = 0;
  CambioMonedaBase = 1.0;
  AbreviaturaMonedaBase.clear();
  DescripcionMonedaBase.clear();
}
