#include "core/services/VisorValores.h"

#include "core/services/FormularioRegistrado.h"

#include <QTableWidget>

QString ModoVisorGENEVLIS;

std::unique_ptr<Form> CrearVisorValores(const QString& modo) {
  ModoVisorGENEVLIS = modo;
  const QString clase = QLatin1String(kFormularioVisorValores);
  return FormularioRegistrado(clase);
}

QTableWidget& RejillaVisorValores(const std::unique_ptr<Form>& visor, int filas) {
  auto& rejilla = ControlFormulario<QTableWidget>(visor, QStringLiteral("StringGrid"), QLatin1String(kFormularioVisorValores));
  rejilla.clear();
  rejilla.setColumnCount(2);
  rejilla.setRowCount(filas);
  rejilla.setHorizontalHeaderLabels({QStringLiteral("Campo"), QStringLiteral("Valor")});
  return rejilla;
}

QString LineaContenidoMemo(const QString& nombre, const QString& texto) {
  return nombre + QChar(0xFF) + QString(texto).replace(QStringLiteral("\r\n"), QString(QChar(0xB7))) +
         QStringLiteral("\r\n");
}
