#include "core/datamodule/PresentacionMoneda.h"

#include "core/datamodule/ConversionMoneda.h"
#include "core/datamodule/Genemodu.h"
#include "core/forms/BotonEuro.h"
#include "core/forms/FormatosCampo.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/HijaMDIActiva.h"
#include "platform/Exceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/format/Format.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>

#include <optional>

namespace {

QWidget* ventanaPrincipal() { return Ganchos().VentanaPrincipal ? Ganchos().VentanaPrincipal() : nullptr; }

// The euro button that decides: the active form's, else the active MDI child's.
const QAbstractButton* botonQueDecide() {
  if (const QAbstractButton* boton = BotonEuro(QApplication::activeWindow())) return boton;
  return BotonEuro(HijaMDIActiva());
}

const QAction* opcionMenu() {
  const QWidget* principal = ventanaPrincipal();
  return principal ? principal->findChild<QAction*>(QStringLiteral("VerDatosEnMonedaNacionalOEuro")) : nullptr;
}

bool esFlotante(const Field& campo) { return campo.DataType() == ftFloat || campo.DataType() == ftCurrency; }

QString formatoDe(const Field& campo) {
  if (!esFlotante(campo)) return FormatoNumericoEstandar;
  if (campo.DisplayFormat() == QLatin1String(kFormatoProvisional)) return FormatoNumerico(campo.FieldName());
  return campo.DisplayFormat();
}

QString formateado(const Field& campo) {
  if (campo.IsNull()) return {};
  const QString formato = formatoDe(campo);
  return formato.isEmpty() ? FloatToStr(campo.AsFloat()) : FormatFloat(formato, campo.AsFloat());
}

// The exchange rate the record carries, or its master's.
std::optional<double> cambioDelRegistro(const Field& campo) {
  const Dataset* dataset = campo.DataSet();
  if (!dataset) return std::nullopt;
  if (const Field* cambio = dataset->FindField(QStringLiteral("Cambio"))) return cambio->AsFloat();
  const auto* tabla = dynamic_cast<const Table*>(dataset);
  const DataSource* maestro = tabla ? tabla->MasterSource() : nullptr;
  const Dataset* registroMaestro = maestro ? maestro->DataSet() : nullptr;
  if (const Field* cambio = registroMaestro ? registroMaestro->FindField(QStringLiteral("Cambio")) : nullptr)
    return cambio->AsFloat();
  return std::nullopt;
}

QString textoPorMenu(const Field& campo, const QAction& opcion) {
  if (!opcion.isChecked()) return formateado(campo);
  if (const std::optional<double> cambio = cambioDelRegistro(campo))
    return TextoEnOtraMoneda(FloatToStr(campo.AsFloat() * *cambio));
  return TextoEnOtraMoneda(campo.AsString());
}

}  // namespace

void VerEnMonedaNacionalOEuro(Field& campo, QString& texto, bool mostrar) {
  if (!mostrar) {
    texto = campo.AsString();
    return;
  }
  try {
    if (const QAbstractButton* boton = botonQueDecide()) {
      texto = boton->isChecked() ? TextoEnOtraMoneda(campo.AsString()) : formateado(campo);
      return;
    }
    const QAction* opcion = opcionMenu();
    texto = opcion ? textoPorMenu(campo, *opcion) : formateado(campo);
  } catch (const Exception&) {
    texto = formateado(campo);
  }
}

bool VerEnOtraMoneda() {
  if (const QAbstractButton* boton = botonQueDecide()) return boton->isChecked();
  if (const QAction* opcion = opcionMenu()) return opcion->isChecked();
  return false;
}

void ImprimirEnMonedaNacionalOEuro(ReportItem&, QString& valor) {
  if (!VerEnOtraMoneda()) return;
  try {
    valor = TextoEnOtraMoneda(valor);
  } catch (const Exception&) {
    // An exchange rate of 0: the item keeps its unconverted text.
  }
}
