#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// A field of a table as the conversion file (or CAMPOUSR) defines it.
struct CampoTraspaso {
  int numero = 0;
  QString nombre;
  QString tipo;  // "ftString", "ftInteger"...
  int longitud = 0;
  bool requerido = false;
};

struct TablaTraspaso {
  QString nombre;
  QList<CampoTraspaso> campos;
  QStringList clave;  // the primary index's fields

  const CampoTraspaso* Campo(const QString& nombreCampo) const;
};

// The tables of a conversion file ("C" field and "I" index lines), in the
// order the file names them. A table's name is one name: one written with an
// owner or a database before it ("dbo.T", "main.T") would name another
// table of the destination, and is left out.
class DefinicionesTraspaso {
 public:
  // Raises Exception when the file cannot be read.
  static DefinicionesTraspaso Leer(const QString& archivo);

  const QStringList& Tablas() const { return orden_; }
  // The names left out, each once.
  const QStringList& NoValidas() const { return noValidas_; }
  const TablaTraspaso* Tabla(const QString& nombre) const;
  // A user field added to its table, numbered from 1000 on; false, and
  // nothing added, when the table already has a field of that name.
  bool AgregarCampoUsuario(const QString& tabla, const CampoTraspaso& campo);

 private:
  TablaTraspaso& tabla(const QString& nombre);

  QStringList orden_;
  QStringList noValidas_;
  QMap<QString, TablaTraspaso> tablas_;  // by upper-cased name
};

// Whether a conversion file's table name is one name, with no owner or
// database before it.
bool EsNombreTablaTraspaso(const QString& nombre);
// Why a table of the transfer cannot be named so, empty when it can: it is
// such a name, the conversion file can write it, and the engine take it.
QString MotivoNombreTablaTraspaso(const QString& nombre);

// A key field of these types that is still empty takes 0; any other, "".
bool EsTipoNumerico(const QString& tipo);
