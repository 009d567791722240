#pragma once

#include <QString>
#include <QStringList>
#include <QVariantHash>

#include <functional>

// The statements of the record search: the values typed paired with the
// fields searched by, in one of its three modes.

enum class ModoBusqueda { Aproximada, Fonetica, Parcial };

struct CriterioBusqueda {
  QString tabla;
  QString campos;   // field names joined by ";"
  QString valores;  // values joined by ";"
  ModoBusqueda modo = ModoBusqueda::Aproximada;
  bool ordenados = true;
  QString condicionAdicional;
  QString seleccion;  // the select list
};

// " (field op 'value') AND ..." for each pair, the last four characters cut:
// Aproximada compares the leading fields with " = " and the last with " >= ";
// Parcial gives "LIKE 'value%'", Fonetica "LIKE '%value%'". Quotes doubled.
QString CondicionBusqueda(const CriterioBusqueda& criterio);
// "(<column> LIKE '%<pattern>%')": a term of the approximate search.
QString TerminoAproximado(const QString& columna, const QString& patron);
// "SELECT <seleccion> FROM <tabla> WITH(NOLOCK) <where> <order>"; empty when a
// piece of the field list is not one of the columns (compared without regard
// to case): a typed list makes no statement of its own.
QString SentenciaBusqueda(const CriterioBusqueda& criterio, const QStringList& columnas);
// The first "SELECT" made "SELECT TOP n".
QString LimitarSentencia(const QString& sentencia, int registros);

// The statements that read a search a packet at a time in the order of the
// terms given: each from the last row read, when the terms tell rows apart
// (a key); else by position, after the rows already read ("OFFSET n ROWS
// FETCH NEXT m ROWS ONLY"), so that rows alike in every term each come once.
class PaquetesBusqueda {
 public:
  // The literal of a column's stored value (its SQL Server text).
  using Literal = std::function<QString(const QString& columna, const QVariant& valor)>;
  enum class Continuacion { PorValores, PorPosicion };

  // seleccion: "SELECT ... FROM ..."; where: empty or " WHERE " and the
  // condition.
  PaquetesBusqueda(QString seleccion, QString where, const QStringList& orden, int registros,
                   Continuacion continuacion = Continuacion::PorValores);

  bool PorPosicion() const { return continuacion_ == Continuacion::PorPosicion; }
  // The first packet's statement.
  QString Primera() const;
  // The statement of the packet after the row (its values by column name);
  // empty when the row does not hold every column of the order, or the
  // packets go by position.
  QString Siguiente(const QVariantHash& ultima, const Literal& literal) const;
  // The statement of the packet after the first `leidas` rows; empty when
  // the packets go by values.
  QString Siguiente(int leidas) const;

 private:
  QString sentencia(const QString& continuacion) const;

  QString seleccion_;
  QString where_;
  QStringList orden_;
  int registros_;
  Continuacion continuacion_;
};

// The packets of a record search: in the order of the fields searched by
// (when ordered) and then of the key fields.
PaquetesBusqueda PaquetesDeBusqueda(const CriterioBusqueda& criterio, const QStringList& claves, int registros);
// The packets of a search on a table without a key whose engine names each
// row by a column of its own (`fila`, read first): in the order of the
// fields searched by (when ordered) and then of that column, each packet
// from the last row read.
PaquetesBusqueda PaquetesPorFila(const CriterioBusqueda& criterio, const QString& fila, int registros);
// The packets of a search on a table without a key, by position: in the
// order of the fields searched by (when ordered) and then of the columns
// the server can sort (no text or image columns).
PaquetesBusqueda PaquetesPorPosicion(const CriterioBusqueda& criterio, const QStringList& ordenables, int registros);
