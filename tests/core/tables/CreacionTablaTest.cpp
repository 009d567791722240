#include "core/connections/AperturaTablas.h"
#include "core/connections/Conexiones.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/sql/EjecucionSQL.h"
#include "core/tables/CreacionTabla.h"
#include "core/tables/DefinicionesEstructura.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QFileInfo>

namespace {

const QString kTemporal = u"Tabla Temporal 2\r\n/C/1/CodigoTemporal/ftInteger/0/*\r\n/I/1/<Primary>/CodigoTemporal\r\n"_qs;

bool existe(const QString& baseDatos, const QString& nombre) {
  Table tabla;
  tabla.SetDatabaseName(baseDatos);
  tabla.SetTableName(nombre);
  return tabla.Exists();
}

// Tells for every message whether a transaction of the company database
// was open while it waited.
class MensajesConTransaccion : public ScriptedPresenter {
 public:
  QString Present(const QString& kind, const QString& text, const QString& defaultAnswer) override {
    enTransaccion.append(Conexiones(*fGENEINIC).Database->InTransaction());
    return ScriptedPresenter::Present(kind, text, defaultAnswer);
  }
  QList<bool> enTransaccion;
};

}  // namespace

class CrearTablas : public ConexionesFixture {
 protected:
  QString General() { return Conexiones(Servicios()).DatabaseGeneral->DatabaseName(); }
  QString Empresa() { return Conexiones(Servicios()).Database->DatabaseName(); }

  // What every engine does: start-up makes CAMPOUSR; opening a missing table
  // creates it with its user fields and indexes; the companies table gets
  // company 1; a temporary block gets a registered name.
  void CreaLasTablasAlAbrirlas() {
    instalacion.Setting(u"NombreEmpresaInicial"_qs, u"DEMO SOCIEDAD LIMITADA"_qs);
    Iniciar();
    EXPECT_TRUE(existe(General(), u"CAMPOUSR"_qs));
    ASSERT_EQ(EjecutarSQL(u"INSERT INTO CAMPOUSR VALUES ('FILTRO', 1, 'Zona', 'Alfanumerico', 10, ''); "
                          "INSERT INTO CAMPOUSR VALUES ('OTRA', 2, 'Nada', 'Entero', 0, ''); "
                          "INSERT INTO CAMPOUSR VALUES ('FILTRO', 3, 'Alta', 'Fecha', 0, ''); "
                          "INSERT INTO CAMPOUSR VALUES ('FILTRO', 4, 'Raro', 'Logico', 0, '')"_qs,
                          u"DatabaseGeneral"_qs),
              QString());
    const QString definicion = DefinicionTabla(u"FILTRO"_qs, DefinicionesEstandar());
    EXPECT_TRUE(definicion.contains(u"FILTRO/C/3/Filtro/ftMemo/0//\r\nFILTRO/C/1001/Zona/ftString/10/\r\n"
                                    "FILTRO/C/1003/Alta/ftDateTime/0/\r\nFILTRO/I/1/<Primary>"_qs))
        << definicion.toStdString();

    Table filtro(&Servicios());
    filtro.SetTableName(u"FILTRO"_qs);
    ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), filtro));
    EXPECT_EQ(filtro.GetFieldNames(), QStringList({"NombreTabla", "Descripcion", "Filtro", "Zona", "Alta"}));
    EXPECT_EQ(filtro.IndexFieldCount(), 2);
    filtro.Close();
    EXPECT_FALSE(CrearTabla(filtro, QString(), -1));  // an existing table is left alone

    Table empresas(&Servicios());
    empresas.SetTableName(u"EMPRESA"_qs);
    ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), empresas));
    EXPECT_EQ(empresas.RecordCount(), 1);
    EXPECT_EQ(QStringList({empresas.Fields(0).AsString(), empresas.Fields(1).AsString(), empresas.Fields(2).AsString()}),
              QStringList({"1", "DEMO SOCIEDAD LIMITADA", "DEMO SOCIEDAD L"}));  // cut to its 15

    Table temporal(&Servicios());
    ASSERT_TRUE(CrearTabla(temporal, kTemporal, -1));
    EXPECT_EQ(temporal.TableName(), u"TEMP000001_fGENEINIC"_qs);
    EXPECT_TRUE(temporal.Active());
    EXPECT_EQ(temporal.GetFieldNames(), QStringList{u"CodigoTemporal"_qs});
    temporal.Close();
    ASSERT_TRUE(CrearTabla(temporal, kTemporal, -1));  // the same registered name, made anew
    EXPECT_EQ(temporal.TableName(), u"TEMP000001_fGENEINIC"_qs);

    // Every table the program ships a definition of, each on its database.
    const QStringList definidas = ArchivoDefinicionesTabla().split(u"\r\n"_qs, Qt::SkipEmptyParts);
    EXPECT_GE(definidas.size(), 9);
    for (const QString& nombre : definidas) {
      Table tabla;
      tabla.SetTableName(nombre);
      EXPECT_TRUE(AbrirTabla(Servicios(), Servicios(), tabla)) << nombre.toStdString();
      EXPECT_TRUE(existe(EsTablaGeneral(nombre) ? General() : Empresa(), nombre)) << nombre.toStdString();
    }
  }

  // A user field's stored name stays a name on the way into the table's
  // creation: the column bears it, the key is made, and no other statement
  // runs (table V keeps its rows).
  void UnNombreRaroEsSoloUnNombre(const QString& columna) {
    Iniciar();
    TextFile::Write(instalacion.GeneralFolder() + u"/DATABASE.ESP"_qs,
                    u"RARA/C/1/Codigo/ftInteger/0/*/|01/01/2024\r\nRARA/I/1/<Primary>/Codigo//\r\n"
                    "V/C/1/Codigo/ftInteger/0/*/|01/01/2024\r\nV/I/1/<Primary>/Codigo//\r\n"_qs);
    Table v(&Servicios());
    v.SetTableName(u"V"_qs);
    ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), v));
    v.Close();
    ASSERT_EQ(EjecutarSQL(u"INSERT INTO V VALUES (1); INSERT INTO V VALUES (2); INSERT INTO V VALUES (3)"_qs,
                          u"Database"_qs),
              QString());
    ASSERT_EQ(EjecutarSQL(u"INSERT INTO CAMPOUSR VALUES ('RARA', 1, 'ñ INT);DELETE FROM V--', 'Alfanumerico', 10, ''); "
                          "INSERT INTO CAMPOUSR VALUES ('RARA', 2, 'x]y', 'Entero', 0, '')"_qs,
                          u"DatabaseGeneral"_qs),
              QString());

    Table rara(&Servicios());
    rara.SetTableName(u"RARA"_qs);
    ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), rara));
    EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM V"_qs, u"Database"_qs), u"3"_qs);
    EXPECT_EQ(rara.GetFieldNames(), QStringList({u"Codigo"_qs, columna, u"x]y"_qs}));
    EXPECT_EQ(rara.IndexFieldCount(), 1);
    rara.Append();
    rara.FieldByName(u"Codigo"_qs).SetAsInteger(7);
    rara.FieldByName(columna).SetAsString(u"dentro"_qs);
    rara.FieldByName(u"x]y"_qs).SetAsInteger(5);
    rara.Post();
    rara.Close();
    rara.Open();
    EXPECT_EQ(QStringList({rara.Fields(0).AsString(), rara.Fields(1).AsString(), rara.Fields(2).AsString()}),
              QStringList({u"7"_qs, u"dentro"_qs, u"5"_qs}));
    rara.Close();
    EXPECT_TRUE(mensajes.Messages().isEmpty());
  }

  // Reserved words are names too: a table, a field, a user field and an
  // index named by one are made. A user field whose name holds the
  // definition's own separator is refused, naming it, and the table is made
  // without it.
  void NombresReservadosYSeparadores() {
    Iniciar();
    TextFile::Write(instalacion.GeneralFolder() + u"/DATABASE.ESP"_qs,
                    u"Order/C/1/Codigo/ftInteger/0/*/|01/01/2024\r\nOrder/C/2/Select/ftString/10//\r\n"
                    "Order/I/1/<Primary>/Codigo//\r\nOrder/I/2/Key/Select//\r\n"_qs);
    ASSERT_EQ(EjecutarSQL(u"INSERT INTO CAMPOUSR VALUES ('Order', 1, 'From', 'Alfanumerico', 10, ''); "
                          "INSERT INTO CAMPOUSR VALUES ('Order', 2, 'a/b', 'Entero', 0, '')"_qs,
                          u"DatabaseGeneral"_qs),
              QString());
    mensajes.Expect(u"A"_qs);
    Table orden(&Servicios());
    orden.SetTableName(u"Order"_qs);
    ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), orden));
    EXPECT_EQ(mensajes.Texts(), QStringList{MensajeNombreNoValido(u"a/b"_qs)});
    EXPECT_EQ(orden.GetFieldNames(), QStringList({u"Codigo"_qs, u"Select"_qs, u"From"_qs}));
    orden.Append();
    orden.FieldByName(u"Codigo"_qs).SetAsInteger(7);
    orden.FieldByName(u"Select"_qs).SetAsString(u"dentro"_qs);
    orden.FieldByName(u"From"_qs).SetAsString(u"aquí"_qs);
    orden.Post();
    orden.Close();
    EXPECT_EQ(EjecutarSQL(u"SELECT Codigo, [Select], [From] FROM [Order]"_qs, u"Database"_qs), u"7|dentro|aquí"_qs);
  }
  // Words the engine underneath takes for its own though SQL Server does
  // not, and names of types and functions: a table, its key field, a second
  // field and an index so named are made, filled and read back.
  void PalabrasDelMotor() {
    Iniciar();
    const QStringList palabras = {u"Using"_qs, u"Cast"_qs, u"Natural"_qs, u"Window"_qs, u"Filter"_qs, u"Pragma"_qs, u"Date"_qs, u"Text"_qs, u"Left"_qs, u"Identity"_qs, u"Row"_qs, u"Replace"_qs};
    QString definiciones;
    for (const QString& palabra : palabras)
      definiciones += palabra + u"/C/1/"_qs + palabra + u"/ftInteger/0/*/|01/01/2024\r\n"_qs + palabra +
                      u"/C/2/Valor/ftString/10//\r\n"_qs + palabra + u"/I/1/<Primary>/"_qs + palabra + u"//\r\n"_qs +
                      palabra + u"/I/2/"_qs + palabra + u"/Valor//\r\n"_qs;
    TextFile::Write(instalacion.GeneralFolder() + u"/DATABASE.ESP"_qs, definiciones);
    for (const QString& palabra : palabras) {
      SCOPED_TRACE(palabra.toStdString());
      Table tabla(&Servicios());
      tabla.SetTableName(palabra);
      ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), tabla));
      tabla.Append();
      tabla.FieldByName(palabra).SetAsInteger(7);
      tabla.FieldByName(u"Valor"_qs).SetAsString(u"uno"_qs);
      tabla.Post();
      tabla.Edit();
      tabla.FieldByName(u"Valor"_qs).SetAsString(u"dos"_qs);
      tabla.Post();
      tabla.Close();
      EXPECT_EQ(EjecutarSQL(u"SELECT ["_qs + palabra + u"], Valor FROM ["_qs + palabra + u"]"_qs, u"Database"_qs),
                u"7|dos"_qs);
    }
    EXPECT_TRUE(mensajes.Messages().isEmpty()) << mensajes.Texts().join(u'\n').toStdString();
  }

  // A table named with letters the definitions cannot hold is not made, and
  // a message says why; one they hold but do not define is left as before.
  void NombresQueElSistemaNoGuarda() {
    Iniciar();
    const struct {
      QString nombre;
      QString mensaje;
    } casos[] = {
        {u"Ελλάδα"_qs,
         u"¡El nombre de tabla no es válido! Contiene caracteres que el sistema no puede guardar: Ελάδα. (Ελλάδα)"_qs},
        {u"表格"_qs, u"¡El nombre de tabla no es válido! Contiene caracteres que el sistema no puede guardar: 表格. (表格)"_qs},
        {u"Año😀"_qs, u"¡El nombre de tabla no es válido! Contiene caracteres que el sistema no puede guardar: 😀. (Año😀)"_qs},
    };
    for (const auto& caso : casos) {
      SCOPED_TRACE(caso.nombre.toStdString());
      const qsizetype vistos = mensajes.Texts().size();
      mensajes.Expect(u"A"_qs);
      Table tabla(&Servicios());
      tabla.SetTableName(caso.nombre);
      EXPECT_FALSE(CrearTabla(tabla, QString(), -1));
      EXPECT_EQ(mensajes.Texts().mid(vistos), QStringList{caso.mensaje});
    }
  }
};

TEST_F(CrearTablas, ATableNameTheSystemCannotHoldIsToldOnTheEmbeddedServer) { NombresQueElSistemaNoGuarda(); }

TEST_F(CrearTablas, ATableNameTheSystemCannotHoldIsToldOnParadoxFolders) {
  instalacion.Engine(u"Paradox"_qs);
  NombresQueElSistemaNoGuarda();
}

TEST_F(CrearTablas, TheEnginesOwnWordsMakeTheirTablesOnTheEmbeddedServer) { PalabrasDelMotor(); }

TEST_F(CrearTablas, ReservedWordsMakeTheirTablesOnTheEmbeddedServer) { NombresReservadosYSeparadores(); }

TEST_F(CrearTablas, ReservedWordsMakeTheirTablesOnParadoxFolders) {
  instalacion.Engine(u"Paradox"_qs);
  NombresReservadosYSeparadores();
}

TEST_F(CrearTablas, AStoredFieldNameIsOnlyANameOnTheEmbeddedServer) {
  UnNombreRaroEsSoloUnNombre(u"_ INT);DELETE FROM V--"_qs);  // "ñ" becomes "_" on SQL Server
}

TEST_F(CrearTablas, AStoredFieldNameIsOnlyANameOnParadoxFolders) {
  instalacion.Engine(u"Paradox"_qs);
  UnNombreRaroEsSoloUnNombre(u"ñ INT);DELETE FROM V--"_qs);
}

TEST_F(CrearTablas, OnTheEmbeddedServer) {
  CreaLasTablasAlAbrirlas();
  EXPECT_TRUE(QFileInfo::exists(instalacion.ServerFolder() + u"/ZEMEMP1.sqlite"_qs));
  EXPECT_FALSE(existe(Empresa(), u"EMPRESA"_qs));
  EXPECT_FALSE(existe(General(), u"FILTRO"_qs));
}

TEST_F(CrearTablas, OnParadoxFolders) {
  instalacion.Engine(u"Paradox"_qs);
  CreaLasTablasAlAbrirlas();
  // Company 1 gets its data folder, as on the server its database.
  EXPECT_TRUE(QFileInfo::exists(instalacion.GeneralFolder() + u"/1/DATOS.SQLITE"_qs));
}

TEST_F(CrearTablas, AFailedStatementRollsBackItsOwnTransactionBeforeItsMessages) {
  MensajesConTransaccion conTransaccion;
  Iniciar();
  TextFile::Write(instalacion.GeneralFolder() + u"/DATABASE.ESP"_qs,
                  u"MALA/C/1/Codigo/ftInteger/0/*/|01/01/2024\r\nMALA/I/1/Nada/Nada//\r\n"
                  "DOBLE/C/1/A/ftInteger/0//|01/01/2024\r\nDOBLE/C/2/A/ftInteger/0//\r\n"_qs);
  conTransaccion.Expect(u"A"_qs).Expect(u"A"_qs).Expect(QString()).Expect(u"A"_qs).Expect(QString());
  const struct {
    const char* tabla;
    bool delLlamador;  // a transaction of the caller's is running
  } casos[] = {{"MALA", false}, {"DOBLE", false}, {"DOBLE", true}};
  for (const auto& caso : casos) {
    Database& empresa = *Conexiones(Servicios()).Database;
    if (caso.delLlamador) empresa.StartTransaction();
    Table tabla;
    tabla.SetTableName(QLatin1String(caso.tabla));
    tabla.SetDatabaseName(Empresa());
    EXPECT_THROW(CrearTabla(tabla, QString(), -1), Abort);
    EXPECT_EQ(empresa.InTransaction(), caso.delLlamador);
    if (caso.delLlamador) empresa.Rollback();
    EXPECT_FALSE(existe(Empresa(), QLatin1String(caso.tabla)));
  }
  EXPECT_EQ(conTransaccion.enTransaccion, QList<bool>({false, false, false, true, true}));
  const QStringList textos = conTransaccion.Texts();
  EXPECT_TRUE(textos.value(0).startsWith(u"No es posible crear el índice en SQL. Mensaje: "_qs));
  EXPECT_TRUE(textos.value(1).startsWith(u"¡No es posible crear la tabla SQL (Paso 1)!. Motivo: "_qs));
  EXPECT_EQ(textos.value(2), u"CREATE TABLE dbo.DOBLE (A INTEGER DEFAULT 0 NULL, A INTEGER DEFAULT 0 NULL)"_qs);
}
