#include "core/connections/Conexiones.h"
#include "core/datamodule/DuplicacionRegistro.h"
#include "core/datamodule/ExistenciaClave.h"
#include "core/datamodule/PrepararTabla.h"
#include "core/datamodule/RegistrosAsociados.h"
#include "core/datamodule/SiguienteCodigo.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>

namespace {

constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";
constexpr int kLineasCopiadas = 120;
constexpr int kLineas = 300;

QList<Variant> claveFactura12() { return {Variant::Integer(1), Variant::String(u"12"_qs)}; }

// A second running instance that duplicates invoice 12 as 50 and stops
// after it copied some of its lines, until it is killed.
void duplicarHastaMorir() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  Table factura, lineas;
  factura.SetTableName(u"FACTURA"_qs);
  lineas.SetTableName(u"LINEA"_qs);
  if (!PrepararTabla(factura) || !PrepararTabla(lineas) ||
      !factura.Locate(u"Empresa;Codigo"_qs, Variant::Array(claveFactura12())))
    return SecondProcess::Report(u"sin datos"_qs);
  lineas.SetRange(claveFactura12(), claveFactura12());
  int leidas = 0;
  lineas.AfterScroll = [&leidas](Dataset&) {
    if (++leidas != kLineasCopiadas) return;
    SecondProcess::Report(u"a medias"_qs);
    SecondProcess::NextLine();
  };
  QString resultado;
  DuplicarRegistroClave(factura, {&lineas}, u"1;50"_qs, resultado);
  SecondProcess::Report(resultado);
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"duplicar-hasta-morir"_qs, duplicarHastaMorir);

QString filas(const QString& sql) { return EjecutarSQL(sql, u"Database"_qs); }

QStringList textos(const Variant& valores) {
  QStringList lista;
  for (const Variant& valor : valores.Elements()) lista.append(valor.AsString());
  return valores.IsNull() ? QStringList{u"Null"_qs} : lista;
}

// Invoices keyed by company and code with two detail tables, on the embedded
// server and on a Paradox folder alike.
class ServiciosRegistro : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  ServiciosRegistro() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
    Ejecutar(
        u"CREATE TABLE FACTURA (Empresa INTEGER, Codigo VARCHAR(10), Nombre VARCHAR(20) NULL, Importe INTEGER NULL, "
        "CONSTRAINT FACTURA_Clave1 PRIMARY KEY (Empresa, Codigo))"_qs);
    for (const char* fila : {"1, '7', 'siete', 70", "1, '12', 'doce', 120", "1, 'A1', 'a', 0", "1, '1.5', 'x', 0",
                             "2, '40', 'otra', 400"})
      Ejecutar(u"INSERT INTO FACTURA VALUES (%1)"_qs.arg(QLatin1String(fila)));
    Ejecutar(
        u"CREATE TABLE LINEA (Empresa INTEGER, Codigo VARCHAR(10), Linea INTEGER, Texto VARCHAR(20) NULL, "
        "CONSTRAINT LINEA_Clave1 PRIMARY KEY (Empresa, Codigo, Linea))"_qs);
    Ejecutar(u"INSERT INTO LINEA VALUES (1, '12', 1, 'l1')"_qs);
    Ejecutar(u"INSERT INTO LINEA VALUES (1, '12', 2, 'l2')"_qs);
    Ejecutar(u"INSERT INTO LINEA VALUES (1, '7', 1, 'otra')"_qs);
    Ejecutar(
        u"CREATE TABLE NOTA (Empresa INTEGER, Codigo VARCHAR(10), Nota VARCHAR(20), "
        "CONSTRAINT NOTA_Clave1 PRIMARY KEY (Empresa, Codigo, Nota))"_qs);
    Ejecutar(u"INSERT INTO NOTA VALUES (1, '12', 'n')"_qs);
    factura.SetTableName(u"FACTURA"_qs);
    EXPECT_TRUE(PrepararTabla(factura));
    EXPECT_TRUE(factura.Locate(u"Empresa;Codigo"_qs, Variant::Array({Variant::Integer(1), Variant::String(u"12"_qs)})));
  }

  Table factura;
};

const char* const kMotores[] = {"Microsoft SQL Server", "Paradox"};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Motores, ServiciosRegistro, ::testing::ValuesIn(kMotores));

TEST_P(ServiciosRegistro, KeysAreFoundInTablesQueriesAndByName) {
  struct Caso {
    const char* clave;
    bool existe;
  } const casos[] = {{"1;12;", true}, {"2;40", true}, {"1;99;", false}, {"1;", false}, {"1;O'Neil;", false}};
  for (const Caso& caso : casos) {
    const QString clave = QString::fromLatin1(caso.clave);
    EXPECT_EQ(ExisteClave(factura, clave), caso.existe) << caso.clave;
    EXPECT_EQ(ExisteClaveEnTabla(u"FACTURA"_qs, clave), caso.existe) << caso.clave;
  }
  EXPECT_FALSE(ExisteClaveEnTabla(QString(), u"1;12;"_qs));
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_P(ServiciosRegistro, ValuesOfARecordAreReadByKeyAndTheOneBefore) {
  Variant valores;
  EXPECT_EQ(textos(ConsultaFiltrada(u"FACTURA"_qs, u"1;12;"_qs, valores, u"Nombre;Importe"_qs)),
            QStringList({u"doce"_qs, u"120"_qs}));
  EXPECT_EQ(textos(valores), QStringList({u"doce"_qs, u"120"_qs}));
  EXPECT_EQ(textos(ConsultaFiltrada(u"FACTURA"_qs, u"1;99;"_qs, valores, u"Nombre"_qs)), QStringList{u"Null"_qs});

  // Codes are text: "12" sorts before "7", and "1.5" before "12".
  struct Caso {
    const char* clave;
    QStringList esperado;
  } const casos[] = {{"1;Ant:7;", {u"12"_qs, u"doce"_qs}},
                     {"1;Ant:12;", {u"1.5"_qs, u"x"_qs}},
                     {"2;Ant:40;", {u"Null"_qs}},  // the one before belongs to company 1
                     {"1;Ant:99;", {u"Null"_qs}},  // the key itself is missing
                     {"1;A1;", {u"A1"_qs, u"a"_qs}}};
  for (const Caso& caso : casos)
    EXPECT_EQ(textos(LeerRegistroClave(factura, QString::fromLatin1(caso.clave), valores, u"Codigo;Nombre"_qs)),
              caso.esperado)
        << caso.clave;
  EXPECT_EQ(textos(LeerRegistroClave(factura, u"2;40;"_qs, valores, QString())),
            QStringList({u"2"_qs, u"40"_qs, u"otra"_qs, u"400"_qs}));
}

TEST_P(ServiciosRegistro, OnlyDatesOfDateKeysAreRebuilt) {
  Ejecutar(
      u"CREATE TABLE VISITA (Fecha DATETIME, Serie VARCHAR(10), Nota VARCHAR(10) NULL, "
      "CONSTRAINT VISITA_Clave1 PRIMARY KEY (Fecha, Serie))"_qs);
  Ejecutar(u"INSERT INTO VISITA VALUES ('03/05/2024', 'A/12/3', 'si')"_qs);
  Variant valores;
  if (EsSQLServer()) {  // the local engine reads keys through the table
    EXPECT_EQ(textos(ConsultaFiltrada(u"VISITA"_qs, u"5/3/24;A/12/3;"_qs, valores, u"Nota"_qs)), QStringList{u"si"_qs});
  }
  EXPECT_EQ(textos(ConsultaFiltrada(u"VISITA"_qs, u"6/3/24;A/12/3;"_qs, valores, u"Nota"_qs)), QStringList{u"Null"_qs});
}

TEST_P(ServiciosRegistro, OnTheServerAnEmptyKeyPieceMatchesAnEmptyTextAndNull) {
  if (!EsSQLServer()) GTEST_SKIP() << "the local engine reads keys through the table";
  // A unique index of the key's name lets a key field hold NULL.
  Ejecutar(u"CREATE TABLE VISITA (Codigo INTEGER, Serie VARCHAR(5) NULL, Nota VARCHAR(10) NULL)"_qs);
  Ejecutar(u"CREATE UNIQUE INDEX VISITA_Clave1 ON VISITA (Codigo, Serie)"_qs);
  Ejecutar(u"INSERT INTO VISITA VALUES (1, '', 'vacia'), (2, NULL, 'nula'), (3, 'A', 'a')"_qs);
  const struct {
    const char* clave;
    const char* nota;
  } casos[] = {{"1;;", "vacia"}, {"2;;", "nula"}, {"2;", "nula"}, {"3;;", "Null"}, {"3;A;", "a"}};
  for (const auto& caso : casos) {
    Variant valores;
    EXPECT_EQ(textos(ConsultaFiltrada(u"VISITA"_qs, QString::fromLatin1(caso.clave), valores, u"Nota"_qs)),
              QStringList{QString::fromLatin1(caso.nota)})
        << caso.clave;
  }
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_P(ServiciosRegistro, NextCodeCountsOnlyDigitCodesOfTheSameLeadingKey) {
  EXPECT_EQ(SiguienteCodigo(factura), 13);  // 7 and 12; neither A1 nor 1.5
  EXPECT_EQ(SiguienteCodigo(factura, 10), 22);
  EXPECT_EQ(SiguienteCodigo(factura, 1, 8), 13);
  EXPECT_EQ(SiguienteCodigo(factura, 1, -1, 10), 8);
  EXPECT_EQ(SiguienteCodigo(factura, 1, 100, 200), 1);
  factura.Last();
  EXPECT_EQ(SiguienteCodigo(factura), 41);

  Ejecutar(
      u"CREATE TABLE SERIE (Empresa INTEGER, Numero INTEGER, "
      "CONSTRAINT SERIE_Clave1 PRIMARY KEY (Empresa, Numero))"_qs);
  Table serie;
  serie.SetTableName(u"SERIE"_qs);
  ASSERT_TRUE(PrepararTabla(serie));
  EXPECT_EQ(SiguienteCodigo(serie), 1);  // empty
  for (const char* fila : {"1, 5", "1, 1500", "1, 2500", "2, 1700"})
    Ejecutar(u"INSERT INTO SERIE VALUES (%1)"_qs.arg(QLatin1String(fila)));
  serie.Refresh();
  serie.First();
  EXPECT_EQ(SiguienteCodigo(serie, 1, 1000, 1999), 1501);
  // Codes beyond 32 bits are counted whole, by numbers and by digit texts alike.
  Ejecutar(u"CREATE TABLE SERIEL (Empresa INTEGER, Numero BIGINT, "
           "CONSTRAINT SERIEL_Clave1 PRIMARY KEY (Empresa, Numero))"_qs);
  Ejecutar(u"INSERT INTO SERIEL VALUES (1, 5)"_qs);
  Ejecutar(u"INSERT INTO SERIEL VALUES (1, 4294967296)"_qs);
  Table larga;
  larga.SetTableName(u"SERIEL"_qs);
  ASSERT_TRUE(PrepararTabla(larga));
  EXPECT_EQ(SiguienteCodigo(larga), Q_INT64_C(4294967297));
  EXPECT_EQ(SiguienteCodigo(larga, 1, 3000000000), Q_INT64_C(4294967297));
  factura.Last();
  Ejecutar(u"INSERT INTO FACTURA (Empresa, Codigo) VALUES (2, '9876543210')"_qs);
  EXPECT_EQ(SiguienteCodigo(factura), Q_INT64_C(9876543211));
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_P(ServiciosRegistro, NextCodeOfATableWithoutPrimaryIndexIsItsFirstField) {
  Ejecutar(u"CREATE TABLE APUNTE (Numero INTEGER NULL, Nota VARCHAR(10) NULL)"_qs);
  for (const char* fila : {"3, 'a'", "9, 'b'"}) Ejecutar(u"INSERT INTO APUNTE VALUES (%1)"_qs.arg(QLatin1String(fila)));
  Table apunte;
  apunte.SetTableName(u"APUNTE"_qs);
  ASSERT_TRUE(PrepararTabla(apunte));
  EXPECT_EQ(SiguienteCodigo(apunte), 10);
}

TEST_P(ServiciosRegistro, ARecordIsDuplicatedWithItsDetails) {
  Table lineas, notas, perdida;
  for (Table* detalle : {&lineas, &notas}) {
    detalle->SetTableName(detalle == &lineas ? u"LINEA"_qs : u"NOTA"_qs);
    ASSERT_TRUE(PrepararTabla(*detalle));
    const QList<Variant> maestro = {Variant::Integer(1), Variant::String(u"12"_qs)};
    detalle->SetRange(maestro, maestro);
  }
  perdida.SetDatabaseName(lineas.DatabaseName());
  perdida.SetTableName(u"NOEXISTE"_qs);

  QString resultado;
  mensajes.Expect(u"A"_qs);  // the detail that cannot be opened, once
  DuplicarRegistroClave(factura, {&lineas, nullptr, &perdida, &notas}, u"1;50"_qs, resultado);
  EXPECT_EQ(resultado, QString());
  EXPECT_EQ(mensajes.Messages().value(0).text, u"¡El registro está bloqueado por otro usuario!"_qs);
  EXPECT_EQ(filas(u"SELECT Nombre, Importe FROM FACTURA WHERE Codigo = '50'"_qs), u"doce|120"_qs);
  EXPECT_EQ(filas(u"SELECT Linea, Texto FROM LINEA WHERE Codigo = '50' ORDER BY Linea"_qs), u"1|l1\r\n2|l2"_qs);
  EXPECT_EQ(filas(u"SELECT Nota FROM NOTA WHERE Codigo = '50'"_qs), u"n"_qs);
  EXPECT_EQ(factura.FieldByName(u"Codigo"_qs).AsString(), u"50"_qs);

  // A key that exists fails the post and writes nothing.
  DuplicarRegistroClave(factura, {&lineas}, u"1;7"_qs, resultado);
  EXPECT_TRUE(resultado.startsWith(u"Error: "_qs)) << resultado.toStdString();
  EXPECT_EQ(filas(u"SELECT COUNT(*) FROM LINEA WHERE Codigo = '7'"_qs), u"1"_qs);
}

// Killed in the middle, the duplication leaves nothing behind; done again, it
// copies everything.
TEST_P(ServiciosRegistro, ADuplicationKilledHalfWayLeavesNothing) {
  for (int linea = 3; linea <= kLineas; ++linea)
    Ejecutar(u"INSERT INTO LINEA VALUES (1, '12', %1, 'l')"_qs.arg(linea));
  SecondProcess segunda(u"duplicar-hasta-morir"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(segunda.ReadReport(), u"a medias"_qs);
  segunda.Kill();
  EXPECT_EQ(filas(u"SELECT COUNT(*) FROM FACTURA WHERE Codigo = '50'"_qs), u"0"_qs);
  EXPECT_EQ(filas(u"SELECT COUNT(*) FROM LINEA WHERE Codigo = '50'"_qs), u"0"_qs);

  Table lineas;
  lineas.SetTableName(u"LINEA"_qs);
  ASSERT_TRUE(PrepararTabla(lineas));
  lineas.SetRange(claveFactura12(), claveFactura12());
  QString resultado;
  DuplicarRegistroClave(factura, {&lineas}, u"1;50"_qs, resultado);
  EXPECT_EQ(resultado, QString());
  EXPECT_EQ(filas(u"SELECT COUNT(*) FROM FACTURA WHERE Codigo = '50'"_qs), u"1"_qs);
  EXPECT_EQ(filas(u"SELECT COUNT(*) FROM LINEA WHERE Codigo = '50'"_qs), QString::number(kLineas));
}

TEST_P(ServiciosRegistro, TheNewKeyIsAskedFieldByField) {
  struct Caso {
    QStringList respuestas;
    const char* resultado;
    int mensajes;  // questions and warnings shown
  } const casos[] = {
      {{u"3"_qs, u"60"_qs}, "", 2},
      {{u"3"_qs, QString()}, "Cancelada", 2},
      {{u"123456789"_qs, u"!"_qs}, "Cancelada", 2},  // the warning takes the second entry
  };
  for (const Caso& caso : casos) {
    ASSERT_TRUE(factura.Locate(u"Empresa;Codigo"_qs, Variant::Array({Variant::Integer(1), Variant::String(u"12"_qs)})));
    ScriptedPresenter guion;
    guion.Expect(u"P"_qs, caso.respuestas[0]);
    guion.Expect(caso.respuestas[1] == u"!" ? u"A"_qs : u"P"_qs, caso.respuestas[1]);
    QString resultado;
    DuplicarRegistro(factura, nullptr, resultado);
    EXPECT_EQ(resultado, QString::fromLatin1(caso.resultado));
    ASSERT_EQ(guion.Messages().size(), caso.mensajes);
    // The next code of the last key field is proposed for each key field.
    EXPECT_EQ(guion.Messages()[0].text, u"Introduzca el nuevo Empresa:"_qs);
    EXPECT_EQ(guion.Messages()[0].defaultAnswer, u"13"_qs);
  }
  EXPECT_EQ(filas(u"SELECT Empresa, Codigo, Nombre FROM FACTURA WHERE Empresa = 3"_qs), u"3|60|doce"_qs);
}

TEST_P(ServiciosRegistro, WhatHangsOffADeletedRecordGoesWithItAndStaysWhenItCannot) {
  const char* const lados[] = {"RESPDOC (NombreTabla VARCHAR(30), ClaveTabla VARCHAR(60))",
                               "DOCUTRON (NombreTabla VARCHAR(30), ClaveTabla VARCHAR(60))",
                               "BLOBTAB (NombreTabla VARCHAR(30), ClaveTabla VARCHAR(60))",
                               "GRANTAB (NombreTabla VARCHAR(30), ClaveTabla VARCHAR(60))",
                               "CONTACTO (NombreTabla VARCHAR(30), CodigoTabla VARCHAR(60))"};
  for (const char* lado : lados) {
    Ejecutar(u"CREATE TABLE "_qs + QString::fromLatin1(lado));
    for (const char* clave : {"1|12", "1|7"})
      Ejecutar(u"INSERT INTO %1 VALUES ('FACTURA', '%2')"_qs.arg(QString::fromLatin1(lado).section(u' ', 0, 0),
                                                                   QLatin1String(clave)));
  }
  Ejecutar(u"INSERT INTO RESPDOC VALUES ('FACTURA', '1|12|')"_qs);
  Ejecutar(u"INSERT INTO RESPDOC VALUES ('OTRA', '1|12')"_qs);
  Ejecutar(u"CREATE TABLE RELACION (NombreTablaA VARCHAR(30), ClaveTablaA VARCHAR(60), NombreTablaB VARCHAR(30), "
           "ClaveTablaB VARCHAR(60))"_qs);
  Ejecutar(u"INSERT INTO RELACION VALUES ('FACTURA', '1|12', 'X', '1')"_qs);
  Ejecutar(u"INSERT INTO RELACION VALUES ('X', '2', 'FACTURA', '1|12')"_qs);
  Ejecutar(u"INSERT INTO RELACION VALUES ('X', '3', 'FACTURA', '1|7')"_qs);
  const auto cuenta = [] {
    QString total;
    for (const char* tabla : {"RESPDOC", "DOCUTRON", "BLOBTAB", "GRANTAB", "CONTACTO", "RELACION"})
      total += filas(u"SELECT COUNT(*) FROM "_qs + QString::fromLatin1(tabla));
    return total + u'/' + filas(u"SELECT COUNT(*) FROM FACTURA"_qs);
  };
  EXPECT_EQ(ClaveAsociada(factura), u"1|12"_qs);

  // A table that may not be written refuses the delete: nothing is removed.
  Table soloLectura;
  soloLectura.SetReadOnly(true);
  soloLectura.SetTableName(u"FACTURA"_qs);
  ASSERT_TRUE(PrepararTabla(soloLectura));
  ASSERT_TRUE(
      soloLectura.Locate(u"Empresa;Codigo"_qs, Variant::Array({Variant::Integer(1), Variant::String(u"12"_qs)})));
  EXPECT_ANY_THROW(EliminarRegistroConAsociados(soloLectura));
  EXPECT_EQ(cuenta(), u"422223/5"_qs);

  EliminarRegistroConAsociados(factura);
  EXPECT_EQ(cuenta(), u"211111/4"_qs);
  EXPECT_FALSE(ExisteClave(factura, u"1;12;"_qs));
  EXPECT_TRUE(mensajes.Messages().isEmpty());

  // Each side table that fails is warned of on its own, and the others still run.
  // GRANTAB exists, so it is not made from its definition, but lacks the columns named.
  Ejecutar(u"DROP TABLE GRANTAB"_qs);
  Ejecutar(u"CREATE TABLE GRANTAB (Otra INTEGER)"_qs);
  Ejecutar(u"INSERT INTO CONTACTO VALUES ('FACTURA', '1|7')"_qs);
  mensajes.Expect(u"A"_qs).Expect(QString()).Expect(u"A"_qs);
  EXPECT_TRUE(EliminarRegistrosAsociados(factura));
  EXPECT_TRUE(mensajes.Texts().last().startsWith(
      u"¡El registro de G.A. de Tablas asociado no ha sido eliminado! Motivo: Error."_qs));
  EXPECT_EQ(filas(u"SELECT COUNT(*) FROM CONTACTO"_qs), u"0"_qs);
}

TEST_P(ServiciosRegistro, TimeKeysAreLookedUpByTheirTimeText) {
  Ejecutar(u"CREATE TABLE FICHA (HoraEntrada DATETIME, Linea INTEGER, Nota VARCHAR(10) NULL, "
           "CONSTRAINT FICHA_Clave1 PRIMARY KEY (HoraEntrada, Linea))"_qs);
  for (const char* fila : {"'12/30/1899 08:30:00', 5, 'c'", "'12/30/1899 09:00:00', 1, 'a'",
                           "'12/30/1899 09:00:00', 2, 'b'"})
    Ejecutar(u"INSERT INTO FICHA VALUES (%1)"_qs.arg(QLatin1String(fila)));
  Table ficha;
  ficha.SetTableName(u"FICHA"_qs);
  ASSERT_TRUE(PrepararTabla(ficha));
  Variant valores;
  for (const auto& [clave, esperado] : {std::pair{"9:00;2;", u"b|09:00:00"_qs}, {"9:00;Ant:2;", u"a|09:00:00"_qs},
                                        {"9:00;Ant:1;", u"Null"_qs}})
    EXPECT_EQ(textos(LeerRegistroClave(ficha, QString::fromLatin1(clave), valores, u"Nota;HoraEntrada"_qs)).join(u'|'),
              esperado)
        << clave;
}
