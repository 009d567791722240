#include "printing/ConsultaListado.h"

#include "core/sql/BaseDatosSQL.h"
#include "platform/Exceptions.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <gtest/gtest.h>

namespace {

const CampoFiltrable kCodigo{u"Codigo"_qs, u"ftInteger"_qs};
const CampoFiltrable kNombre{u"Nombre"_qs, u"ftString"_qs};
const CampoFiltrable kPrecio{u"Precio"_qs, u"ftFloat"_qs};
const CampoFiltrable kAlta{u"FechaAlta"_qs, u"ftDate"_qs};

QString Condicion(const CampoFiltrable& campo, const QString& operador, const QString& escrito,
                  const QString& formatoFecha = u"dd/mm/yyyy"_qs) {
  QString valor = escrito;
  return CondicionFiltro(campo, operador, valor, formatoFecha);
}

TEST(CondicionesListado, EachTypeWritesItsLiteral) {
  struct Caso {
    CampoFiltrable campo;
    QString operador, valor, formato, condicion;
  } casos[] = {
      {kCodigo, u">="_qs, u"100"_qs, u"dd/mm/yyyy"_qs, u"(Codigo >= '100')"_qs},
      {kNombre, u"="_qs, u"ANA"_qs, u"dd/mm/yyyy"_qs, u"(Nombre = 'ANA')"_qs},
      {kNombre, u"="_qs, u"O'Neill"_qs, u"dd/mm/yyyy"_qs, u"(Nombre = 'O''Neill')"_qs},
      {kNombre, u"<>"_qs, u"x') OR ('1'='1"_qs, u"dd/mm/yyyy"_qs, u"(Nombre <> 'x'') OR (''1''=''1')"_qs},
      {kPrecio, u"<"_qs, u"12,5"_qs, u"dd/mm/yyyy"_qs, u"(Precio < '12.500000')"_qs},
      {kAlta, u"="_qs, u"3/2/2024"_qs, u"dd/mm/yyyy"_qs, u"(FechaAlta = '03/02/2024')"_qs},
      {kAlta, u">"_qs, u"3/2/2024"_qs, u"mm/dd/yyyy"_qs, u"(FechaAlta > '02/03/2024')"_qs},
  };
  for (const Caso& caso : casos)
    EXPECT_EQ(Condicion(caso.campo, caso.operador, caso.valor, caso.formato), caso.condicion) << caso.valor.toStdString();
}

TEST(CondicionesListado, AFloatTypedWithAPointShowsACommaInTheEdit) {
  QString valor = u"12.5"_qs;
  EXPECT_EQ(CondicionFiltro(kPrecio, u"="_qs, valor, u"dd/mm/yyyy"_qs), u"(Precio = '12.500000')"_qs);
  EXPECT_EQ(valor, u"12,5"_qs);
  valor = u"1.234,5"_qs;  // a comma already there: left alone
  CondicionFiltro(kPrecio, u"="_qs, valor, u"dd/mm/yyyy"_qs);
  EXPECT_EQ(valor, u"1.234,5"_qs);
}

TEST(CondicionesListado, ADateThatCannotBeReadAddsNothing) {
  EXPECT_THROW(Condicion(kAlta, u"="_qs, u"31/02/2024"_qs), Exception);
  std::vector<RangoCampo> rangos{{kAlta, u"mañana"_qs, QString()}};
  EXPECT_THROW(CondicionRangos(rangos, u"dd/mm/yyyy"_qs), Exception);
}

TEST(CondicionesListado, ConditionsAreJoinedByAndAtTheEndOfTheFormerLine) {
  QStringList memo = AgregarCondicion({}, Condicion(kCodigo, u">="_qs, u"100"_qs));
  memo = AgregarCondicion(memo, Condicion(kNombre, u"="_qs, u"ANA"_qs));
  EXPECT_EQ(memo, (QStringList{u"(Codigo >= '100') AND"_qs, u"(Nombre = 'ANA')"_qs}));
}

TEST(CondicionesListado, RangesFollowTheFieldOrderAndTheDateFormat) {
  const std::vector<RangoCampo> rangos{
      {kCodigo, u"1"_qs, u"9"_qs}, {kNombre, QString(), u"O'N"_qs}, {kAlta, u"1/12/2026"_qs, QString()}};
  EXPECT_EQ(CondicionRangos(rangos, u"dd/mm/yyyy"_qs),
            u"((Codigo >= '1') AND (Codigo <= '9') AND (Nombre <= 'O''N') AND (FechaAlta >= '01/12/2026'))"_qs);
  EXPECT_EQ(CondicionRangos(rangos, u"mm/dd/yyyy"_qs).section(u" AND "_qs, -1), u"(FechaAlta >= '12/01/2026'))"_qs);
  EXPECT_EQ(CondicionRangos({{kCodigo, QString(), QString()}}, u"dd/mm/yyyy"_qs), QString());
}

TEST(CondicionesListado, TheMemoStaysInsideItsGroup) {
  const QString rangos = u"((Codigo >= '1'))"_qs;
  EXPECT_EQ(CondicionListado(QString(), rangos), rangos);
  EXPECT_EQ(CondicionListado(u"(A = 1) AND\r\n(B = ';--')"_qs, QString()), u"((A = 1) AND\r\n(B = ';--'))"_qs);
  EXPECT_EQ(CondicionListado(u"A = 'x)'"_qs, rangos), u"(A = 'x)') AND ((Codigo >= '1'))"_qs);
  for (const QString& memo : {u"A = 1; DELETE FROM T"_qs, u"A = 1 -- y"_qs, u"A = 1 /* y */"_qs, u"A = 1) OR (1 = 1"_qs,
                              u"A = 1) --"_qs, u"(A = 1"_qs, u"A = 'x"_qs})
    EXPECT_THROW(CondicionListado(memo, rangos), Exception) << memo.toStdString();
}

TEST(SentenciaListado, ClausesAsTheDialogAsksThem) {
  ConsultaListado consulta{u"dbo.ARTICULO"_qs, {u"Codigo"_qs, u"Notas"_qs, u"Nombre"_qs}, {u"Notas"_qs},
                           u"((Codigo >= '1'))"_qs, true};
  EXPECT_EQ(SentenciaListado(consulta), (QStringList{u"SELECT Codigo,Notas,Nombre"_qs, u"FROM dbo.ARTICULO"_qs,
                                                     u"WHERE ((Codigo >= '1'))"_qs, u"ORDER BY Codigo,Nombre"_qs}));
  consulta.clasificado = false;
  consulta.condicion.clear();
  EXPECT_EQ(SentenciaListado(consulta), (QStringList{u"SELECT Codigo,Notas,Nombre"_qs, u"FROM dbo.ARTICULO"_qs}));
}

TEST(SentenciaListado, OnlyTheFirstTenSelectedFieldsSort) {
  ConsultaListado consulta;
  consulta.tabla = u"T"_qs;
  for (int i = 1; i <= 12; ++i) consulta.campos.append(u"C%1"_qs.arg(i));
  EXPECT_EQ(SentenciaListado(consulta).last(), u"ORDER BY C1,C2,C3,C4,C5,C6,C7,C8,C9,C10"_qs);
}

// The texts run on the engines: the statement on the company database, the
// same condition as the table's filter.
class CondicionesEnMotor : public ConexionesFixture {
 protected:
  CondicionesEnMotor() {
    Iniciar();
    Ejecutar(u"CREATE TABLE CLIENTE (Codigo INTEGER, Nombre VARCHAR(30) NULL, "
             "CONSTRAINT CLIENTE_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO CLIENTE VALUES (1, 'O''Neill'), (2, 'ANA'), (3, 'x'') OR (''1''=''1'), (4, '50%'), "
             "(5, '500'), (6, 'a_b'), (7, 'axb'), (8, 'A*')"_qs);
  }

  QStringList PorConsulta(const QString& condicion) {
    Query consulta;
    consulta.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    consulta.SQL().SetText(SentenciaListado({u"CLIENTE"_qs, {u"Codigo"_qs, u"Nombre"_qs}, {}, condicion, true})
                               .join(u"\r\n"_qs));
    consulta.Open();
    return Codigos(consulta);
  }
  QStringList PorFiltro(const QString& condicion) {
    Table tabla;
    tabla.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    tabla.SetTableName(u"CLIENTE"_qs);
    tabla.Open();
    tabla.SetFilter(condicion);
    tabla.SetFiltered(true);
    return Codigos(tabla);
  }
  static QStringList Codigos(Dataset& dataSet) {
    QStringList codigos;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) codigos.append(dataSet.FieldByName(u"Codigo"_qs).AsString());
    return codigos;
  }
};

TEST_F(CondicionesEnMotor, TypedQuotesFindTheirOwnTextOnly) {
  struct Caso {
    QString valor;
    QStringList codigos, codigosFiltro;
  } casos[] = {{u"O'Neill"_qs, {u"1"_qs}, {u"1"_qs}},
               {u"x') OR ('1'='1"_qs, {u"3"_qs}, {u"3"_qs}},
               {u"x' OR '1'='1"_qs, {}, {}},
               {u"50%"_qs, {u"4"_qs}, {u"4"_qs}},
               {u"5%"_qs, {}, {}},
               {u"a_b"_qs, {u"6"_qs}, {u"6"_qs}},
               {QString(10000, u'x'), {}, {}},
               // The table's filter reads a final "*" as the start of a text, as the engine always has.
               {u"A*"_qs, {u"8"_qs}, {u"2"_qs, u"8"_qs}}};
  for (const Caso& caso : casos) {
    const QString condicion = CondicionListado(Condicion(kNombre, u"="_qs, caso.valor), QString());
    EXPECT_EQ(PorConsulta(condicion), caso.codigos) << caso.valor.toStdString();
    EXPECT_EQ(PorFiltro(condicion), caso.codigosFiltro) << caso.valor.toStdString();
  }
}

TEST_F(CondicionesEnMotor, RangesSelectOnBothPaths) {
  const QString condicion =
      CondicionListado(u"(Nombre <> 'ANA')"_qs, CondicionRangos({{kCodigo, u"1"_qs, u"2"_qs}}, u"dd/mm/yyyy"_qs));
  EXPECT_EQ(PorConsulta(condicion), QStringList{u"1"_qs});
  EXPECT_EQ(PorFiltro(condicion), QStringList{u"1"_qs});
}


// Fields named by reserved words or by more than one word are listed,
// sorted and filtered by, on both paths, each as the one field it names.
TEST_F(CondicionesEnMotor, FieldsNamedByReservedWordsOrSeveralWordsAreOneNameEach) {
  Ejecutar(u"CREATE TABLE [Order] (Codigo INTEGER, [Key] INTEGER NULL, [Precio Venta] VARCHAR(10) NULL, "
           "CONSTRAINT Order_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO [Order] VALUES (1, 30, 'c'), (2, 10, 'a'), (3, 20, 'b')"_qs);
  const CampoFiltrable clave{u"Key"_qs, u"ftInteger"_qs};
  const CampoFiltrable precio{u"Precio Venta"_qs, u"ftString"_qs};
  QString valor = u"c"_qs;
  const QString condicion =
      CondicionListado(CondicionFiltro(precio, u"<>"_qs, valor, u"dd/mm/yyyy"_qs),
                       CondicionRangos({{clave, u"10"_qs, u"30"_qs}}, u"dd/mm/yyyy"_qs));
  Query consulta;
  consulta.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  consulta.SQL().SetText(
      SentenciaListado({u"Order"_qs, {u"Key"_qs, u"Precio Venta"_qs, u"Codigo"_qs}, {}, condicion, true}).join(u"\r\n"_qs));
  consulta.Open();
  EXPECT_EQ(consulta.GetFieldNames(), (QStringList{u"Key"_qs, u"Precio Venta"_qs, u"Codigo"_qs}));
  EXPECT_EQ(Codigos(consulta), (QStringList{u"2"_qs, u"3"_qs}));
  Table tabla;
  tabla.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  tabla.SetTableName(u"Order"_qs);
  tabla.Open();
  tabla.SetFilter(condicion);
  tabla.SetFiltered(true);
  EXPECT_EQ(Codigos(tabla), (QStringList{u"2"_qs, u"3"_qs}));
}

}  // namespace
