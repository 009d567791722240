#include "core/connections/Conexiones.h"
#include "core/datamodule/CatalogoClaves.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/sql/InsercionSQL.h"
#include "core/tables/CreacionTabla.h"
#include "core/tables/NombresTablas.h"
#include "core/tables/TablasTemporales.h"
#include "dialogs/SentenciaBusqueda.h"
#include "maintenance/DefinicionesTraspaso.h"
#include "maintenance/actualizacion/ObjetosSQL.h"
#include "maintenance/actualizacion/TriggersActualizacion.h"
#include "platform/TextFile.h"
#include "platform/data/Query.h"
#include "platform/engine/EngineDialect.h"
#include "platform/sql/SqlTokenizer.h"
#include "tests/core/connections/ConexionesFixture.h"

namespace {

// Names read from shared tables and settings, hostile and harmless: each
// must reach a statement as the one name it is.
QStringList Hostiles() {
  return {u"x]"_qs,    u"x];DELETE FROM VX;--"_qs, u"Modo=1;DELETE FROM VX;X"_qs, u"a'b"_qs, u"a\"b"_qs, u"a;b"_qs,
          u"a--b"_qs,  u"a/*b"_qs,                 QString(200, u'n'),           u"a\r\nb"_qs, u"Ñandú"_qs,
          u"Año"_qs};
}

std::string Visible(const QString& nombre) {
  QString texto = nombre.left(40);
  return texto.replace(u'\r', u"\\r"_qs).replace(u'\n', u"\\n"_qs).toStdString();
}

// One statement as SQL Server's batch reads it, in which the name is one
// name token, as many times as it is written.
void EsUnaSentenciaQueNombra(const QString& sql, const QString& nombre, int veces = 1) {
  EXPECT_EQ(SplitSqlStatements(sql).size(), 1) << sql.toStdString();
  int vistas = 0;
  for (const SqlToken& token : TokenizeSql(sql))
    if ((token.Is(SqlTokenKind::Word) || token.Is(SqlTokenKind::QuotedName)) && token.Value() == nombre) ++vistas;
  EXPECT_EQ(vistas, veces) << sql.toStdString();
}

// A company database holding VX, three rows that no statement of the sweep
// may touch, on the embedded server and in a data folder.
class NombresHostiles : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  NombresHostiles() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
    Ejecutar(u"CREATE TABLE VX (A INTEGER)"_qs);
    Ejecutar(u"INSERT INTO VX VALUES (1), (2), (3)"_qs);
  }
  static QString Sql(const QString& sql, const QString& opciones = u"Silenciosa"_qs) {
    return EjecutarSQL(sql, u"Database"_qs, opciones);
  }
  static void VxEntera() { EXPECT_EQ(Sql(u"SELECT SUM(A) FROM VX HAVING COUNT(*) = 3"_qs), u"6"_qs); }
  static bool Existe(const QString& tabla) {
    return !Sql(u"SELECT COUNT(*) FROM "_qs + NombreSQL(tabla), u"Silenciosa,No Crear Tabla"_qs).startsWith(u"Error."_qs);
  }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Motores, NombresHostiles, ::testing::Values("Microsoft SQL Server", "Paradox"));

TEST_P(NombresHostiles, EveryStatementBuiltFromAStoredNameIsOneStatementNamingItAndRunsAsSuch) {
  for (const QString& nombre : Hostiles()) {
    SCOPED_TRACE(Visible(nombre));
    const QString tabla = NombreSQL(nombre);
    const QString indice = u"ixMirdal_"_qs + nombre;
    Ejecutar(u"CREATE TABLE HOSTILM (Codigo INTEGER NOT NULL, %1 TEXT NULL, CONSTRAINT HOSTILM_Clave1 PRIMARY KEY (Codigo))"_qs
                 .arg(tabla));
    Ejecutar(u"INSERT INTO HOSTILM (Codigo) VALUES (1)"_qs);
    Ejecutar(u"CREATE TABLE %1 (Codigo INTEGER NOT NULL, %1 VARCHAR(20) NULL)"_qs.arg(tabla));
    Ejecutar(u"CREATE INDEX %1 ON %2 (%2)"_qs.arg(NombreSQL(indice), tabla));
    Ejecutar(u"INSERT INTO %1 VALUES (1, '5x')"_qs.arg(tabla));

    // The memos of a record written again by its key.
    Table memos;
    memos.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    memos.SetTableName(u"HOSTILM"_qs);
    memos.Open();
    memos.Edit();
    memos.FieldByName(nombre).SetAsString(u"de O'Neil"_qs);
    QStringList noValidos;
    const QString update = TextoSentenciaUpdate(memos, &noValidos);
    memos.Cancel();
    memos.Close();
    if (NombreObjetoSQLValido(nombre)) {
      EsUnaSentenciaQueNombra(update, nombre);
      EXPECT_EQ(Sql(update), QString());
      EXPECT_EQ(Sql(u"SELECT %1 FROM HOSTILM"_qs.arg(tabla)), u"de O'Neil"_qs);
    } else {
      EXPECT_EQ(update, QString());
      EXPECT_EQ(noValidos, QStringList{nombre});
    }
    VxEntera();

    // The searches' list of columns, split on ";": a name holding one is
    // left out of it and told; the record search by the column, and the
    // approximate one.
    QStringList noListados;
    const QString columnas = ListaColumnas(nombre, QString(), &noListados);
    const QString criterioCampos = NombreObjetoSQLValido(nombre, u";") ? nombre : QString();  // as listed
    EXPECT_EQ(columnas, criterioCampos.isEmpty() ? u"Codigo"_qs : u"Codigo;"_qs + nombre);
    EXPECT_EQ(noListados, criterioCampos.isEmpty() ? QStringList{nombre} : QStringList());
    const CriterioBusqueda criterio{nombre, nombre, u"5"_qs, ModoBusqueda::Parcial, true, QString(), tabla};
    const QString busqueda = SentenciaBusqueda(criterio, columnas.split(u';'));
    if (criterioCampos.isEmpty()) {
      EXPECT_EQ(busqueda, QString()) << "a name left out is no column to search by";
    } else {
      EsUnaSentenciaQueNombra(busqueda, nombre, 4);
      EXPECT_EQ(Sql(busqueda), u"5x"_qs);
    }
    const QString aproximada = u"SELECT Codigo FROM "_qs + NombreSQLTabla(nombre) + u" WHERE "_qs + TerminoAproximado(nombre, u"x"_qs);
    EsUnaSentenciaQueNombra(aproximada, nombre, 2);
    EXPECT_EQ(Sql(aproximada), u"1"_qs);
    VxEntera();

    // The audit triggers: their drop, and the server's text that makes them.
    const QString trigger = u"TriggerDelete"_qs + nombre;
    EsUnaSentenciaQueNombra(SentenciaEliminarTrigger(trigger), trigger);
    Sql(SentenciaEliminarTrigger(trigger));
    VxEntera();
    const AuditTrigger auditoria = TriggersAuditoria(nombre, u"X/C/1/Codigo/ftInteger/0/*/"_qs).first();
    EXPECT_TRUE(EngineDialect::SqlServer().AuditTriggerText(auditoria).startsWith(
        u"CREATE TRIGGER "_qs + NombreSQL(trigger) + u" ON "_qs + tabla + u"  FOR DELETE AS"_qs));

    // The suite's index on it dropped by the update, then the table by the transfer.
    const QStringList eliminar = SentenciasEliminarObjeto(indice, nombre);
    ASSERT_EQ(eliminar.size(), 1);
    EsUnaSentenciaQueNombra(eliminar[0], indice);
    EsUnaSentenciaQueNombra(eliminar[0], nombre);
    if (EsSQLServer()) {
      EXPECT_EQ(Sql(eliminar[0]), QString());
      EXPECT_EQ(Sql(u"SELECT COUNT(*) FROM sysindexes WHERE name = "_qs + LiteralSQL(indice)), u"0"_qs);
    }
    const QString eliminarTabla = SentenciaEliminarTabla(nombre);
    EsUnaSentenciaQueNombra(eliminarTabla, nombre);
    ASSERT_TRUE(Existe(nombre));
    EXPECT_EQ(Sql(eliminarTabla), QString());
    EXPECT_FALSE(Existe(nombre));
    VxEntera();

    // A temporary table: a short name planted in NOMBTTEM (as much of it as
    // the column holds) is passed over, and the table of a query made under a
    // name is that name's alone.
    ASSERT_EQ(EjecutarSQL(u"INSERT INTO NOMBTTEM VALUES (-1, 'TEMP_X_Barrido_0_1_U', "_qs + LiteralSQL(nombre.left(50)) + u')',
                          u"DatabaseGeneral"_qs),
              QString());
    const QString corto = RegistrarTablaTemporal(u"TEMP_X_Barrido_0_1_U"_qs);
    EXPECT_TRUE(corto.startsWith(u"TEMP"_qs) && corto.endsWith(u"_Barrido"_qs)) << corto.toStdString();
    ASSERT_EQ(EjecutarSQL(u"DELETE FROM NOMBTTEM"_qs, u"DatabaseGeneral"_qs), QString());
    Query consulta;
    consulta.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    consulta.SQL().SetText(u"SELECT Codigo FROM HOSTILM"_qs);
    consulta.Open();
    const QString temporal = SentenciaTablaConsulta(nombre, consulta);
    consulta.Close();
    EsUnaSentenciaQueNombra(temporal, nombre);
    EXPECT_EQ(Sql(temporal), QString());
    EXPECT_TRUE(Existe(nombre));
    EXPECT_EQ(Sql(eliminarTabla), QString());
    VxEntera();

    // The transfer: the table the conversion file names, made from it (a
    // name holding the file's separator cannot be named there).
    if (NombreObjetoSQLValido(nombre, u"/")) {
      TextFile::Write(carpeta.File(u"CONVERSION.TXT"_qs),
                      nombre + u"/C/1/Codigo/ftInteger/0/*/|01/12/2026\r\n"_qs + nombre +
                          u"/C/2/Valor/ftString/10//\r\n"_qs + nombre + u"/I/1/<Primary>/Codigo//\r\n"_qs + nombre +
                          u"/I/2/PorValor/Valor//\r\n"_qs);
      const DefinicionesTraspaso conversion = DefinicionesTraspaso::Leer(carpeta.File(u"CONVERSION.TXT"_qs));
      EXPECT_EQ(conversion.Tablas(), QStringList{nombre});
      Table nueva;
      nueva.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
      nueva.SetTableName(nombre);
      EXPECT_TRUE(CrearTabla(nueva, carpeta.File(u"CONVERSION.TXT"_qs) + u';', -1));
      EXPECT_TRUE(Existe(nombre));
      EXPECT_EQ(Sql(u"INSERT INTO %1 VALUES (1, 'v')"_qs.arg(tabla)), QString());
      EXPECT_EQ(Sql(eliminarTabla), QString());
      VxEntera();
    }
    Ejecutar(u"DROP TABLE HOSTILM"_qs);
  }
}

TEST(SentenciasEliminarObjeto, OnlyObjectsWhoseNameStartsWithTheSuitesPrefixAreDropped) {
  const struct {
    const char16_t* nombre;
    const char16_t* tabla;
    QStringList sentencias;
  } casos[] = {
      {u"fnMirdal_Total", u"", {u"DROP FUNCTION [dbo].[fnMirdal_Total]"_qs}},
      {u"spMirdal_a]b", u"", {u"DROP PROCEDURE [dbo].[spMirdal_a]]b]"_qs}},
      {u"vwMirdal_V", u"", {u"DROP VIEW [dbo].[vwMirdal_V]"_qs}},
      {u"tgMirdal_T", u"", {u"DROP TRIGGER [dbo].[tgMirdal_T]"_qs}},
      {u"ixMirdal_h]]x] ON [dbo].[VX]; DELETE FROM VX; --", u"CLIENTES",
       {u"DROP INDEX [ixMirdal_h]]]]x]] ON [dbo]].[VX]]; DELETE FROM VX; --] ON [dbo].[CLIENTES]"_qs}},
      {u"ixMirdal_I", u"T]", {u"DROP INDEX [ixMirdal_I] ON [dbo].[T]]]"_qs}},
      {u"ixMirdal_%2%1", u"%1", {u"DROP INDEX [ixMirdal_%2%1] ON [dbo].[%1]"_qs}},
      {u"Mio_fnMirdal_Total", u"", {}},
      {u"CLIENTES_ixMirdal_", u"CLIENTES", {}},
      {u"fnmirdal_total", u"", {}},
  };
  for (const auto& caso : casos)
    EXPECT_EQ(SentenciasEliminarObjeto(QString::fromUtf16(caso.nombre), QString::fromUtf16(caso.tabla)), caso.sentencias)
        << QString::fromUtf16(caso.nombre).toStdString();
}

TEST(NombreObjetoSQL, ANameThatCannotBeANameIsRefusedAndTheRefusalNamesIt) {
  const struct {
    QString nombre;
    const char16_t* separadores;
    bool valido;
  } casos[] = {
      {u"CLIENTES"_qs, u"", true},           {u"Año"_qs, u";", true},      {u"x];DELETE FROM VX;--"_qs, u"", true},
      {u"a;b"_qs, u"", true},                {u"a;b"_qs, u";", false},     {u""_qs, u"", false},
      {u"   "_qs, u"", false},               {u"a\r\nb"_qs, u"", false},   {u"a\tb"_qs, u"", false},
      {QString(128, u'n'), u"", true},       {QString(129, u'n'), u"", false},
  };
  for (const auto& caso : casos)
    EXPECT_EQ(NombreObjetoSQLValido(caso.nombre, QStringView(caso.separadores)), caso.valido) << Visible(caso.nombre);
  EXPECT_EQ(MensajeNombreNoValido(u"CLIENTES\r\n;DELETE"_qs),
            QString::fromUtf16(kNombreNoValido) + u" (CLIENTES??;DELETE)"_qs);
}
