#include "core/connections/VariablesConexion.h"
#include "core/startup/Configuracion.h"
#include "core/tables/NombresTablas.h"
#include "core/tables/SentenciasCreacion.h"
#include "platform/data/Table.h"

#include <gtest/gtest.h>

namespace {

QStringList lineas(const QString& texto) { return texto.split(u'|'); }

const QString kClientes = u"CLIENTES/C/1/Codigo/ftInteger/0/*/|CLIENTES/C/2/Nombre/ftString/40//"_qs;

}  // namespace

TEST(SentenciasCreacion, SqlServerTextsOfTheDefinitions) {
  TipoBaseDatos = u"Microsoft SQL Server"_qs;
  FechaNulaSQL = u"12/30/1899 00:00:00"_qs;
  const std::tuple<QString, QString, QString> casos[] = {
      {u"CLIENTES"_qs, kClientes,
       u"CREATE TABLE dbo.CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
       "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs},
      {u"CLIENTES"_qs, u"CLIENTES/C/1/Codigo/ftInteger/0//|CLIENTES/C/2/Nombre/ftString/40//"_qs,
       u"CREATE TABLE dbo.CLIENTES (Codigo INTEGER DEFAULT 0 NULL, Nombre VARCHAR(40) DEFAULT '' NULL)"_qs},
      {u"T"_qs, u"T/C/1/Cambio/ftFloat/0//|T/C/2/UnFactorX/ftFloat/0//|T/C/3/cambio/ftFloat/0//"_qs,
       u"CREATE TABLE dbo.T (Cambio DECIMAL(28,12) DEFAULT 0 NULL, UnFactorX DECIMAL(28,12) DEFAULT 0 NULL, "
       "cambio DECIMAL(28,8) DEFAULT 0 NULL)"_qs},
      {u"T"_qs, u"T/C/1/Año/ftSmallint/0/*/|T/C/2/Año-ñ/ftDateTime/0//|T/C/3/Id-X/ftAutoInc/0//|T/C/4/Notas/ftMemo/0//"_qs,
       u"CREATE TABLE dbo.T (A_o SMALLINT DEFAULT 0, [A_o-_] DATETIME DEFAULT '12/30/1899 00:00:00' NULL, "
       "IdX INTEGER IDENTITY(1,1), Notas TEXT  NULL, CONSTRAINT T_Clave1 PRIMARY KEY (A_o))"_qs},
      // Stored names that are not plain ones stay names, whatever they hold.
      {u"T"_qs, u"T/C/1/Codigo/ftInteger/0/*/|T/C/1001/ñ INT);DELETE FROM V--/ftString/10/NO"_qs,
       u"CREATE TABLE dbo.T (Codigo INTEGER DEFAULT 0, [_ INT);DELETE FROM V--] VARCHAR(10) DEFAULT '' NULL, "
       "CONSTRAINT T_Clave1 PRIMARY KEY (Codigo))"_qs},
      {u"T]1"_qs, u"T]1/C/1/a]b, )/ftInteger/0/*/|T]1/C/2/dbo.x/ftAutoInc/0//"_qs,
       u"CREATE TABLE dbo.[T]]1] ([a]]b, )] INTEGER DEFAULT 0, [dbo.x] INTEGER IDENTITY(1,1), "
       "CONSTRAINT [T]]1_Clave1] PRIMARY KEY ([a]]b, )]))"_qs},
      {u"T"_qs, u"T/C/1/Texto/ftString/MAX//|T/C/2/Foto/ftGraphic/0//|T/C/3/Si/ftBoolean/0//"_qs,
       u"CREATE TABLE dbo.T (Texto VARCHAR(MAX) DEFAULT '' NULL, Foto IMAGE NULL, Si BIT DEFAULT 0 NULL)"_qs},
      {u"T"_qs, u"T/I/1/<Primary>/Codigo//"_qs, QString()},
  };
  for (const auto& [tabla, definicion, esperado] : casos)
    EXPECT_EQ(SentenciaCrearTablaSQL(tabla, lineas(definicion), TipoBaseDatos, false), esperado);

  VersionServidorSQL = u"Microsoft SQL Server  2000 - 8.00.2039"_qs;
  EXPECT_EQ(SentenciaCrearTablaSQL(u"T"_qs, {u"T/C/1/Texto/ftString/max//"_qs}, TipoBaseDatos, true),
            u"CREATE TABLE T (Texto TEXT  NULL)"_qs);
  EXPECT_EQ(SentenciaCrearTablaSQL(u"T"_qs, {u"T/C/1/Alta/ftDateTime/0//"_qs}, u"SQL Generica"_qs, false),
            u"CREATE TABLE T (Alta TIMESTAMP DEFAULT '12/30/1899 00:00:00' NULL)"_qs);
  EXPECT_EQ(SentenciasIndicesSQL(u"T"_qs, {u"T/I/1/<Primary>/Codigo//"_qs, u"T/I/2/Fecha/Fecha;Código/-/"_qs}),
            QStringList{u"CREATE INDEX T_Fecha ON T (Fecha,Código) "_qs});
  EXPECT_EQ(SentenciasIndicesSQL(u"T"_qs, {u"T/I/2/Año/Año;Id-X//"_qs}), QStringList{u"CREATE INDEX T_A_o ON T (A_o,IdX) "_qs});
  EXPECT_EQ(SentenciasIndicesSQL(u"T]1"_qs, {u"T]1/I/2/Por Nombre/a]b;Id X//"_qs}),
            QStringList{u"CREATE INDEX [T]]1_Por Nombre] ON [T]]1] ([a]]b],[Id X]) "_qs});
  EXPECT_EQ(SentenciaCrearTablaSQL(u"T"_qs, {u"T/C/1/x dbo.y/ftInteger/0//"_qs}, TipoBaseDatos, true),
            u"CREATE TABLE T ([x dbo.y] INTEGER DEFAULT 0 NULL)"_qs);
}

TEST(SentenciasCreacion, UpdateToolStatements) {
  FechaNulaSQL = u"30/12/1899 00:00:00"_qs;
  const QStringList definicion = lineas(kClientes + u"|CLIENTES/C/3/1Alta/ftDateTime/0//|CLIENTES/I/1/<Primary>/Codigo//"
                                                    "|CLIENTES/I/2/Por Nombre/Nombre;1Alta/-/|CLIENTES/I/3/Alta/1Alta//"_qs);
  const QString tabla = u"CREATE TABLE dbo.CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
                        "_Alta DATETIME DEFAULT '30/12/1899 00:00:00' NULL, CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs;
  const QString indices = u"CREATE INDEX CLIENTES_Por_Nombre  ON CLIENTES (Nombre,_Alta) "_qs;
  const QString alta = u"CREATE INDEX CLIENTES_Alta  ON CLIENTES (_Alta) "_qs;
  EXPECT_EQ(SentenciasCrearTabla(definicion), tabla + indices + alta);
  EXPECT_EQ(SentenciasCrearTabla(definicion, u"Tabla"_qs), tabla);
  EXPECT_EQ(SentenciasCrearTabla(definicion, u"Indices"_qs), indices + alta);
  EXPECT_EQ(SentenciasCrearTabla(definicion, u"Tablas,Indices"_qs), tabla + u"; "_qs + indices + u"; "_qs + alta);
  EXPECT_EQ(SentenciasCrearTabla({u"/C/1/X/ftString/1//"_qs}), QString());
  EXPECT_EQ(SentenciasCrearTabla({u"MAL TABLA/C/1/X/ftString/1/*/"_qs, u"MAL TABLA/I/2/Por X/X//"_qs}),
            u"CREATE TABLE dbo.[MAL TABLA] (X VARCHAR(1) DEFAULT '', CONSTRAINT [MAL TABLA_Clave1] PRIMARY KEY (X))"
            "CREATE INDEX [MAL TABLA_Por_X]  ON [MAL TABLA] (X) "_qs);
}

TEST(NombresTablas, ByEngine) {
  Table tabla;
  tabla.SetTableName(u"dbo.CLIENTES"_qs);
  // Engine: physical name of CLIENTES, dbo.CLIENTES without prefix, index names of <Primary> and Nombre.
  const char* const casos[][5] = {
      {"Microsoft SQL Server", "dbo.CLIENTES", "CLIENTES", "CLIENTES_Clave1", "CLIENTES_Nombre"},
      {"Paradox", "CLIENTES", "dbo.CLIENTES", "Clave1", "Nombre"},
      {"Microsoft Access", "CLIENTES", "dbo.CLIENTES", "dbo.CLIENTES_Clave1", "dbo.CLIENTES_Nombre"},
      {"SQL Generica", "CLIENTES", "dbo.CLIENTES", "dbo.CLIENTES_<Primary>", "dbo.CLIENTES_Nombre"},
  };
  for (const auto& caso : casos) {
    TipoBaseDatos = QString::fromUtf8(caso[0]);
    EXPECT_EQ(QStringList({NombreTablaFisica(u"CLIENTES"_qs), QuitarPrefijoTabla(u"dbo.CLIENTES"_qs),
                           NombreIndicePrimario(tabla, u"<Primary>"_qs), NombreIndicePrimario(tabla, u"Nombre"_qs)}),
              QStringList({caso[1], caso[2], caso[3], caso[4]}));
  }
  TipoBaseDatos = u"Microsoft SQL Server"_qs;
  EXPECT_EQ(QStringList({NombreTablaFisica(u"dbo.X"_qs), QuitarPrefijoTabla(u"CLIENTES.Codigo"_qs),
                         QuitarPrefijoTabla(u"ZEMG.dbo.CLIENTES"_qs), NombreTablaFisica(u"TEMP000001_X"_qs)}),
            QStringList({"dbo.X", "Codigo", "ZEMG.dbo.CLIENTES", "dbo.TEMP000001_X"}));
  // A temporary table kept as a file keeps its name and counts as Paradox.
  PathArchivosTemporales = u"/tmp/temporales"_qs;
  tabla.SetTableName(u"TEMP000001_X"_qs);
  EXPECT_EQ(NombreTablaFisica(u"TEMP000001_X"_qs), u"TEMP000001_X"_qs);
  EXPECT_EQ(NombreIndicePrimario(tabla, u"<Primary>"_qs), u"Clave1"_qs);
  ArchivosTemporalesEnBD = true;
  EXPECT_EQ(NombreIndicePrimario(tabla, u""_qs), u"TEMP000001_X_Clave1"_qs);
}
