#include "printing/ConsultaListado.h"

QStringList SentenciaListado(const ConsultaListado& consulta) {
  QStringList sentencia{QStringLiteral("SELECT ") + consulta.campos.join(u','),
                        QStringLiteral("FROM ") + consulta.tabla};
  if (!consulta.condicion.isEmpty()) sentencia.append(QStringLiteral("WHERE ") + consulta.condicion);
  if (consulta.clasificado) {
    QStringList orden;
    for (const QString& campo : consulta.campos.mid(0, 10))
      if (!consulta.camposNoClasificables.contains(campo)) orden.append(campo);
    sentencia.append(QStringLiteral("ORDER BY ") + orden.join(u','));
  }
  return sentencia;
}
