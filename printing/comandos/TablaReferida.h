#pragma once

#include <QString>

#include <memory>
#include <optional>

class DestinoComandos;
class Table;

// A field of a row of another table, reached through the program's
// "Conexion" lines: "TABLA.Campo" or "TABLA.enlace.Campo".
struct ReferenciaTabla {
  QString tabla;
  QString enlace;
  QString campo;
};
ReferenciaTabla LeerReferenciaTabla(const QString& referencia);

// Puts the related table on the row the connection lines of the table (as
// the program names it, with its link) find from the row in print; every
// matching line searches, the last one decides.
bool PosicionarTablaReferida(DestinoComandos& destino, Table& tabla, const QString& nombre, const QString& enlace);

// The related table opened read-only and put on its row; none when no row
// is found. A table that cannot be opened raises.
std::unique_ptr<Table> AbrirTablaReferida(DestinoComandos& destino, const ReferenciaTabla& referencia);

// The text of a related table's field ("TABLA.Campo", "TABLA.enlace.Campo");
// none when the row or the field is not there or the table does not open.
std::optional<QString> ValorCampoTablaReferida(DestinoComandos& destino, const QString& referencia);
