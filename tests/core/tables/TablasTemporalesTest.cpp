#include "core/connections/AperturaTablas.h"
#include "core/datamodule/Genemodu.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/sql/ConsultasSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/tables/CopiaRegistros.h"
#include "core/tables/CreacionTabla.h"
#include "core/tables/DefinicionesEstructura.h"
#include "core/tables/TablasTemporales.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>
#include <QRegularExpression>

namespace {

constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";
constexpr int kNombres = 15;

// What two running instances do at once: open every defined table, the
// first one to find a table missing creating it, then register their names.
QStringList abrirTablasYRegistrarNombres(TfGENEINIC& servicios) {
  for (const QString& nombre : ArchivoDefinicionesTabla().split(u"\r\n"_qs, Qt::SkipEmptyParts)) {
    Table tabla;
    tabla.SetTableName(nombre);
    EXPECT_TRUE(AbrirTabla(servicios, servicios, tabla)) << nombre.toStdString();
  }
  QStringList nombres;
  for (int numero = 1; numero <= kNombres; ++numero) nombres.append(NombreTablaTemporal(&servicios, numero));
  return nombres;
}

// Job of a second running instance, started in ZEM_PROGRAM_FOLDER; every
// message it would show fails it.
void trabajarEnOtraInstancia() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  SecondProcess::Report(u"listo"_qs);
  SecondProcess::NextLine();
  SecondProcess::Report(abrirTablasYRegistrarNombres(servicios).join(u','));
  SecondProcess::NextLine();
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"otra-instancia"_qs, trabajarEnOtraInstancia);

QString filas(const QString& sql) { return EjecutarSQL(sql, u"DatabaseGeneral"_qs); }

}  // namespace

class TablasTemporales : public ConexionesFixture {};

TEST_F(TablasTemporales, TwoRunningInstancesCreateTablesAndRegisterNamesWithoutClashing) {
  Iniciar();
  TModuloDatos modulo;
  const QString primero = NombreTablaTemporal(&modulo, 7);
  EXPECT_EQ(primero, u"TEMP000001_ModuloDat"_qs);  // cut to 20 characters
  EXPECT_EQ(NombreTablaTemporal(&modulo, 7), primero);
  QObject otro;
  otro.setObjectName(u"Otro"_qs);
  EXPECT_EQ(NombreTablaTemporal(&otro, 7), u"TEMP000002_Unknown"_qs);
  EXPECT_EQ(RegistrarTablaTemporal(u"TEMP_X_Propio_1_1_U'S"_qs), u"TEMP000003_Propio"_qs);
  EXPECT_EQ(filas(u"SELECT COUNT(*) FROM NOMBTTEM"_qs), u"3"_qs);
  EXPECT_TRUE(filas(u"SELECT NombreTablaTemporalOrg FROM NOMBTTEM WHERE Contador = 1"_qs).startsWith(u"TEMP_"_qs));

  SecondProcess segunda(u"otra-instancia"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(segunda.ReadReport(), u"listo"_qs);
  segunda.Send(u"adelante"_qs);
  QStringList todos = abrirTablasYRegistrarNombres(Servicios()) + segunda.ReadReport().split(u',');
  EXPECT_EQ(segunda.Finish(), 0);
  todos.removeDuplicates();
  EXPECT_EQ(todos.size(), 2 * kNombres);
  EXPECT_EQ(filas(u"SELECT COUNT(DISTINCT Contador) FROM NOMBTTEM"_qs), QString::number(2 * kNombres + 3));
}

TEST_F(TablasTemporales, TheTableOfAQueryAsSqlServerText) {
  Iniciar();
  Query consulta;
  consulta.SetDatabaseName(u"ZEMGENERAL"_qs);
  consulta.SQL().SetText(u"SELECT NumeroIncidencia, Fecha, CodigoUsuario, CodigoEmpresa, Descripcion FROM INCAPLIC"_qs);
  ASSERT_TRUE(AbrirOEjecutarConsulta(consulta));
  EXPECT_EQ(SentenciaTablaConsulta(u"TEMP000001_X"_qs, consulta),
            u"CREATE TABLE TEMP000001_X (NumeroIncidencia INTEGER DEFAULT 0 NULL, "
            "Fecha DATETIME DEFAULT '12/30/1899 00:00:00' NULL, CodigoUsuario VARCHAR(12) DEFAULT '' NULL, "
            "CodigoEmpresa SMALLINT DEFAULT 0 NULL, Descripcion TEXT  NULL, )"_qs);
}

TEST_F(TablasTemporales, ATemporalQueryIsCopiedIntoARegisteredTable) {
  Iniciar();
  ASSERT_EQ(EjecutarSQL(u"INSERT INTO FILTRO VALUES ('C', 'Madrid', ''); INSERT INTO FILTRO VALUES ('C', 'Bilbao', '')"_qs,
                        u"Database"_qs),
            QString());
  Query consulta;
  consulta.SQL().SetText(u"SELECT Descripcion FROM FILTRO ORDER BY Descripcion"_qs);
  ASSERT_TRUE(AbrirOEjecutarConsulta(consulta, u"Temporal"_qs));
  EXPECT_EQ(consulta.SQL().Text().trimmed(), u"SELECT * FROM ZEMGENERAL.dbo.TEMP000001_Unknown"_qs);
  EXPECT_EQ(filas(u"SELECT Descripcion FROM TEMP000001_Unknown ORDER BY Descripcion"_qs), u"Bilbao\r\nMadrid"_qs);
  EXPECT_EQ(consulta.RecordCount(), 2);
}

TEST_F(TablasTemporales, RecordsAreCopiedInEachModeAndRefreshedInPlace) {
  Iniciar();
  ASSERT_EQ(filas(u"INSERT INTO IDIOMA VALUES ('ESP', 'dd'); INSERT INTO IDIOMA VALUES ('ENG', 'mm')"_qs), QString());
  Table idiomas;
  idiomas.SetTableName(u"IDIOMA"_qs);
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), idiomas));
  Table copia(&Servicios());
  ASSERT_TRUE(CrearTabla(copia, u"Tabla Temporal\r\n/C/1/Idioma/ftString/30/*\r\n/C/2/FormatoFecha/ftString/30/\r\n"
                                "/I/1/<Primary>/Idioma\r\n"_qs, -1));
  const struct {
    QString antes;  // run on the general database first
    const char* modo;
    QString esperado;
  } casos[] = {
      {u"INSERT INTO %1 VALUES ('ENG', 'viejo')"_qs, "Agregar", u"ENG|viejo\r\nESP|dd"_qs},  // the duplicate is skipped
      {u"UPDATE IDIOMA SET FormatoFecha = 'nuevo' WHERE Idioma = 'ESP'"_qs, "Sustituir", u"ENG|mm\r\nESP|nuevo"_qs},
      {u"INSERT INTO %1 VALUES ('ZZZ', 'x')"_qs, "Copiar", u"ENG|mm\r\nESP|nuevo"_qs},
  };
  for (const auto& caso : casos) {
    ASSERT_EQ(filas(QString(caso.antes).replace(u"%1"_qs, copia.TableName())), QString());
    idiomas.Refresh();
    copia.Refresh();
    CopiarRegistros(idiomas, copia, QLatin1String(caso.modo));
    EXPECT_EQ(filas(u"SELECT * FROM %1 ORDER BY Idioma"_qs.arg(copia.TableName())), caso.esperado) << caso.modo;
  }
  ASSERT_TRUE(copia.Locate(u"Idioma"_qs, Variant::String(u"ESP"_qs)));
  ASSERT_EQ(filas(u"INSERT INTO IDIOMA VALUES ('AAA', 'x')"_qs), QString());
  RefrescarDataSet(idiomas, u"Apertura/Cierre"_qs);
  RefrescarDataSet(copia, u"Apertura/Cierre"_qs);
  EXPECT_EQ(idiomas.RecordCount(), 3);
  EXPECT_EQ(copia.FieldByName(u"Idioma"_qs).AsString(), u"ESP"_qs);
}

// NOMBTTEM is every workstation's to write. A short name changed or added
// there that is not the program's own form (a statement, a shared table,
// another counter's name) names no table: it is passed over, a name of the
// program's own is registered, and the copy of a query and the creation of
// a temporary table run on that one alone.
TEST_F(TablasTemporales, APlantedShortNameRunsNothingAndDropsNothing) {
  Iniciar();
  ASSERT_EQ(filas(u"CREATE TABLE VX (A INTEGER); INSERT INTO VX VALUES (1), (2), (3)"_qs), QString());
  ASSERT_EQ(EjecutarSQL(u"INSERT INTO FILTRO VALUES ('C', 'Madrid', '')"_qs, u"Database"_qs), QString());
  ASSERT_EQ(filas(u"INSERT INTO USUARIO (Codigo) VALUES ('ANA')"_qs), QString());
  const QString usuarios = filas(u"SELECT Codigo FROM USUARIO ORDER BY Codigo"_qs);
  ASSERT_EQ(usuarios, u"ANA"_qs);
  const QString definicion = u"Tabla Temporal\r\n/C/1/Idioma/ftString/30/*\r\n/I/1/<Primary>/Idioma\r\n"_qs;
  Query consulta;
  consulta.SQL().SetText(u"SELECT Descripcion FROM FILTRO"_qs);
  ASSERT_TRUE(AbrirOEjecutarConsulta(consulta, u"Temporal"_qs));
  {
    Table copia(&Servicios());
    ASSERT_TRUE(CrearTabla(copia, definicion, -1));
  }
  const QStringList largos = filas(u"SELECT NombreTablaTemporalOrg FROM NOMBTTEM ORDER BY Contador"_qs).split(u"\r\n"_qs);
  ASSERT_FALSE(largos.first().isEmpty());

  const struct {
    const char* plantado;
    bool anadido;  // a row of its own with a lower counter, not the program's row changed
  } casos[] = {{"VY;DELETE FROM VX", false}, {"USUARIO", false}, {"USUARIO", true},
               {"TEMP000001_Otro", false}, {"TEMP000077_Unknown", false}, {"../../VX", true}};
  const QRegularExpression propio(u"^TEMP\\d{6}_\\w+$"_qs);
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.plantado);
    const QString plantado = LiteralSQL(QString::fromUtf8(caso.plantado));
    if (caso.anadido) {
      for (int i = 0; i < largos.size(); ++i)
        ASSERT_EQ(filas(u"INSERT INTO NOMBTTEM VALUES (%1, %2, %3)"_qs.arg(-1 - i).arg(LiteralSQL(largos[i]), plantado)),
                  QString());
    } else {
      ASSERT_EQ(filas(u"UPDATE NOMBTTEM SET NombreTablaTemporal = "_qs + plantado), QString());
    }
    consulta.Close();
    consulta.SQL().SetText(u"SELECT Descripcion FROM FILTRO"_qs);
    ASSERT_TRUE(AbrirOEjecutarConsulta(consulta, u"Temporal"_qs));
    const QString tabla = consulta.SQL().Text().trimmed().section(u'.', -1);
    EXPECT_TRUE(propio.match(tabla).hasMatch()) << tabla.toStdString();
    EXPECT_EQ(filas(u"SELECT Descripcion FROM "_qs + tabla), u"Madrid"_qs);
    EXPECT_EQ(consulta.RecordCount(), 1);
    consulta.Close();

    Table copia(&Servicios());
    ASSERT_TRUE(CrearTabla(copia, definicion, -1));
    EXPECT_TRUE(propio.match(copia.TableName().section(u'.', -1)).hasMatch()) << copia.TableName().toStdString();
    copia.Close();

    EXPECT_EQ(filas(u"SELECT SUM(A) FROM VX HAVING COUNT(*) = 3"_qs), u"6"_qs);
    EXPECT_EQ(filas(u"SELECT Codigo FROM USUARIO ORDER BY Codigo"_qs), usuarios);
    ASSERT_EQ(filas(u"DELETE FROM NOMBTTEM WHERE Contador < 0"_qs), QString());
  }
}

// A row planted at the top of the counter's range leaves no next counter:
// the next name takes the lowest one free.
TEST_F(TablasTemporales, ACounterPlantedAtTheTopTakesTheNextNameTheLowestFreeCounter) {
  Iniciar();
  for (int numero = 1; numero <= 3; ++numero) RegistrarTablaTemporal(u"TEMP_X_Propio_%1_1_U"_qs.arg(numero));
  ASSERT_EQ(filas(u"DELETE FROM NOMBTTEM WHERE Contador = 2; "
                  "INSERT INTO NOMBTTEM VALUES (2147483647, 'TEMP_X_Otro_1_1_U', 'TEMP2147483647_Otro')"_qs),
            QString());
  EXPECT_EQ(RegistrarTablaTemporal(u"TEMP_X_Propio_4_1_U"_qs), u"TEMP000002_Propio"_qs);
  EXPECT_EQ(RegistrarTablaTemporal(u"TEMP_X_Propio_5_1_U"_qs), u"TEMP000004_Propio"_qs);
}
