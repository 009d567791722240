#include "printing/ConsultaListado.h"

#include "platform/sql/NombresSQL.h"

#include <algorithm>

QStringList SentenciaListado(const ConsultaListado& consulta) {
  QStringList campos;
  for (const QString& campo : consulta.campos) campos.append(NombreSQL(campo));
  QStringList sentencia{QStringLiteral("SELECT ") + campos.join(u','),
                        QStringLiteral("FROM ") + NombreSQLTabla(consulta.tabla)};
  if (!consulta.condicion.isEmpty()) sentencia.append(QStringLiteral("WHERE ") + consulta.condicion);
  if (consulta.clasificado) {
    QStringList orden;
    for (qsizetype i = 0; i < std::min<qsizetype>(campos.size(), 10); ++i)
      if (!consulta.camposNoClasificables.contains(consulta.campos[i])) orden.append(campos[i]);
    sentencia.append(QStringLiteral("ORDER BY ") + orden.join(u','));
  }
  return sentencia;
}
