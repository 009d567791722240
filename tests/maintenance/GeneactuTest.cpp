#include "maintenance/Geneactu.h"

#include "core/connections/BaseDatosSQLServer.h"
#include "core/forms/GanchosFormulario.h"
#include "core/helpers/LiteralesSQL.h"
#include "platform/Cp1252.h"
#include "platform/data/Session.h"
#include "platform/sqlite/Connection.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/SecondProcess.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace {

constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";
const QString kCargada =
    u"A continuación examine la lista de tablas y seleccione las que vaya a traspasar. Después vuelva a pulsar el botón Traspasar."_qs;
const QString kConfirmar = u"El proceso de Traspaso de Datos comenzará ahora. ¿Desea continuar?"_qs;
const QString kIncidencias = u"Se han producido incidencias en el proceso. ¿Desea ver los detalles?"_qs;

// The conversion file of the tests: a general table, company tables, one
// of them read record by record for its name, and tables left unselected.
const char kConversion[] =
    "IDIOMA/C/1/Codigo/ftString/3/*/|01/12/2026\r\n"
    "IDIOMA/C/2/Nombre/ftString/20//\r\n"
    "IDIOMA/I/1/<Primary>/Codigo//\r\n"
    "ARTICULO/C/1/Codigo/ftInteger/0/*/|01/12/2026\r\n"
    "ARTICULO/C/2/Nombre/ftString/10//\r\n"
    "ARTICULO/C/3/Alta/ftDateTime/0//\r\n"
    "ARTICULO/I/1/<Primary>/Codigo//\r\n"
    "PARAMETR/C/1/Clave/ftString/10/*/|01/12/2026\r\n"
    "PARAMETR/C/2/Valor/ftFloat/0//\r\n"
    "PARAMETR/C/3/Imagen/ftBlob/0//\r\n"
    "PARAMETR/I/1/<Primary>/Clave//\r\n"
    "ROTA/C/1/Codigo/ftInteger/0/*/|01/12/2026\r\n"
    "ROTA/I/1/<Primary>/Codigo//\r\n"
    "PAGOIVA/C/1/Codigo/ftInteger/0/*/|01/12/2026\r\n"
    "PAGOIVA/I/1/<Primary>/Codigo//\r\n"
    "USUARIO/C/1/Codigo/ftString/10/*/|01/12/2026\r\n"
    "USUARIO/I/1/<Primary>/Codigo//\r\n";

// Statements on a data file of the source, raw.
void EnOrigen(const QString& archivo, const QStringList& sentencias) {
  QDir().mkpath(QFileInfo(archivo).path());
  const std::shared_ptr<Connection> conexion = OpenConnection(archivo);
  for (const QString& sql : sentencias) conexion->Execute(sql);
}

// The transfer form on the test's installation, shown.
class Formulario {
 public:
  Formulario() { f.show(); }
  TfGENEACTU f;
  void Origen(const QString& origen) { f.BaseDatosOrigen().setCurrentText(origen); }
  QCheckBox& Casilla(const char* nombre) { return *f.findChild<QCheckBox*>(QLatin1String(nombre)); }
};

// Another copy of the program transferring GRANDE of company 1, stopped
// once it has written some of its records, until its input ends.
void traspasarGrande() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  ScriptedPresenter mensajes;
  mensajes.Expect(u"I"_qs).Expect(u"C"_qs, u"SI"_qs);
  TfGENEINIC servicios({});
  fGENEINIC = &servicios;
  Formulario p;
  p.Origen(QDir::current().filePath(u"ORIGEN"_qs));
  p.Casilla("SolicitarEmpresaIndividual").setChecked(false);
  p.Casilla("RealizarProcesoPorLotes").setChecked(false);
  p.f.findChild<QLineEdit*>(u"NombreFicheroASCII"_qs)->setText(QDir::current().filePath(u"GRANDE.TXT"_qs));
  p.f.pbActualizarClick();
  QTimer vigia;
  QObject::connect(&vigia, &QTimer::timeout, [&] {
    if (!p.f.Estado().currentMessage().endsWith(u"1/GRANDE"_qs)) return;
    if (EjecutarSQL(u"SELECT COUNT(*) FROM GRANDE"_qs, u"Database"_qs, u"Silenciosa"_qs).toInt() < 1000) return;
    vigia.stop();
    SecondProcess::Report(u"traspasando"_qs);
    SecondProcess::NextLine();
  });
  vigia.start(0);
  p.f.pbActualizarClick();
  SecondProcess::Report(u"terminado"_qs);
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"traspasar-grande"_qs, traspasarGrande);

class Traspaso : public ConexionesFixture {
 protected:
  Traspaso() {
    Iniciar();
    fGENEINIC = &Servicios();
    QFile conversion(carpeta.File(u"CONVERSION.TXT"_qs));
    EXPECT_TRUE(conversion.open(QIODevice::WriteOnly));
    conversion.write(kConversion);
  }
  ~Traspaso() override { fGENEINIC = nullptr; }

  QString Origen(const QString& subcarpeta = QString()) const {
    return QDir(carpeta.File(u"ORIGEN"_qs)).filePath(subcarpeta.isEmpty() ? u"DATOS.SQLITE"_qs : subcarpeta + u"/DATOS.SQLITE"_qs);
  }
  // The source with two companies; company 2 has no ROTA.
  void CrearOrigen() {
    EnOrigen(Origen(), {u"CREATE TABLE IDIOMA (Codigo VARCHAR(3), Nombre VARCHAR(20))"_qs,
                        u"INSERT INTO IDIOMA VALUES ('EUS', 'Euskera'), ('CAT', 'Català')"_qs});
    for (const QString& empresa : {u"1"_qs, u"2"_qs}) {
      QStringList sentencias{
          u"CREATE TABLE ARTICULO (CODIGO INT, NOMBRE VARCHAR(40), ALTA DATETIME, SOBRANTE INT)"_qs,
          u"INSERT INTO ARTICULO VALUES (1, 'Tornillo %1', '2024-03-05 10:00:00', 9), (NULL, 'Sin código', NULL, 9), "
          "(7, 'Demasiado largo', NULL, 9)"_qs.arg(empresa),
          u"CREATE TABLE PARAMETR (Clave VARCHAR(10), Valor FLOAT, Imagen BLOB)"_qs,
          u"INSERT INTO PARAMETR VALUES ('IVA', 21.5, x'00017F80C3A9FF'), (NULL, 1, NULL)"_qs};
      if (empresa == u"1") sentencias << u"CREATE TABLE ROTA (Codigo INT)"_qs << u"INSERT INTO ROTA VALUES (5)"_qs;
      EnOrigen(Origen(empresa), sentencias);
    }
  }
  static QString Leer(const QString& sql, const QString& base) { return EjecutarSQLADO(sql, base); }
  // Every company's tables of the conversion file from the Firebird database
  // through an Interbase alias, with no incident.
  void TraspasarDesdeFirebird(const QString& alias, const QString& base, const QString& archivoConversion) {
    Session::Default().AddAlias(alias, u"INTRBASE"_qs, StringList({u"SERVER NAME="_qs + base, u"USER NAME=SYSDBA"_qs}));
    Formulario p;
    p.f.findChild<QLineEdit*>(u"NombreFicheroASCII"_qs)->setText(archivoConversion);
    p.Origen(alias);
    mensajes.Expect(u"I"_qs);
    p.f.pbActualizarClick();
    p.Casilla("SolicitarEmpresaIndividual").setChecked(false);
    mensajes.Expect(u"C"_qs, u"SI"_qs);
    p.f.pbActualizarClick();
    EXPECT_EQ(mensajes.Messages().size(), 2) << ResultadoTraspaso.toStdString();
  }
  void Cargar(Formulario& p) {
    p.Origen(carpeta.File(u"ORIGEN"_qs));
    p.f.findChild<QLineEdit*>(u"NombreFicheroASCII"_qs)->setText(carpeta.File(u"CONVERSION.TXT"_qs));
    mensajes.Expect(u"I"_qs);
    p.f.pbActualizarClick();
  }
};

// Writes the script's bytes and runs it through Firebird's isql.
::testing::AssertionResult GuionFirebird(const QString& guion, const QByteArray& contenido) {
  QFile archivo(guion);
  if (!archivo.open(QIODevice::WriteOnly | QIODevice::Truncate) || archivo.write(contenido) != contenido.size())
    return ::testing::AssertionFailure() << "cannot write " << guion.toStdString();
  archivo.close();
  QProcess isql;
  isql.start(u"isql-fb"_qs, {u"-q"_qs, u"-i"_qs, guion});
  if (!isql.waitForFinished(60000)) return ::testing::AssertionFailure() << "isql-fb did not end";
  if (isql.exitCode() != 0) return ::testing::AssertionFailure() << isql.readAllStandardError().toStdString();
  return ::testing::AssertionSuccess();
}

TEST_F(Traspaso, TheFirstPressOnlyLoadsTheListWithTheSharedTablesUnselected) {
  Formulario p;
  EXPECT_EQ(p.f.Caption(), u"Traspaso de Datos desde Paradox/Interbase"_qs);
  EXPECT_EQ(p.f.BaseDatosOrigen().itemText(0), u"La Misma en Origen que en Destino"_qs);
  EXPECT_GE(p.f.BaseDatosOrigen().findText(u"ZEMGENERAL"_qs), 1) << "the aliases follow";
  EXPECT_NE(p.f.Temporal, nullptr);
  Cargar(p);
  EXPECT_EQ(mensajes.Texts(), QStringList{kCargada});
  QStringList elegidas, dejadas;
  for (int i = 0; i < p.f.ListaTablas().count(); ++i)
    (p.f.ListaTablas().item(i)->isSelected() ? elegidas : dejadas) << p.f.ListaTablas().item(i)->text();
  EXPECT_EQ(elegidas, QStringList({u"ARTICULO"_qs, u"IDIOMA"_qs, u"PARAMETR"_qs, u"ROTA"_qs}));
  EXPECT_EQ(dejadas, QStringList({u"PAGOIVA"_qs, u"USUARIO"_qs}));
  EXPECT_EQ(p.f.Temporal->RecordCount(), 17) << "a row per field and per primary index";
  EXPECT_FALSE(ExisteBaseDatosSQLServer(u"ZEMEMP2"_qs)) << "nothing is copied";
}

TEST_F(Traspaso, RefusesTheSameDatabaseAndAMissingConversionFile) {
  Formulario p;
  const QString misma =
      u"Este punto solo puede ser empleado para traspasar bases de datos desde Paradox o Interbase. Utilice el punto "
      "\"Actualización de la Base de Datos\" en su lugar."_qs;
  mensajes.Expect(u"I"_qs).Expect(u"A"_qs).Expect(u"I"_qs);
  p.f.pbActualizarClick();
  p.Origen(carpeta.File(u"ORIGEN"_qs));
  p.f.findChild<QLineEdit*>(u"NombreFicheroASCII"_qs)->setText(carpeta.File(u"NO.TXT"_qs));
  p.f.pbActualizarClick();
  EXPECT_EQ(mensajes.Texts(), QStringList({misma, u"¡ El fichero ASCII origen no está preparado !"_qs, kCargada}));
  EXPECT_EQ(p.f.ListaTablas().count(), 0);
}

// A conversion file that yields no table leaves the list empty, and the
// information on what to do next is given all the same, at every press.
TEST_F(Traspaso, AConversionFileWithoutTablesStillGetsTheInformation) {
  Formulario p;
  p.Origen(carpeta.File(u"ORIGEN"_qs));
  const QString vacio = carpeta.File(u"VACIO.TXT"_qs);
  for (const QByteArray& contenido : {QByteArray(), QByteArray("\r\n\r\n")}) {
    QFile archivo(vacio);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
    archivo.write(contenido);
    archivo.close();
    p.f.findChild<QLineEdit*>(u"NombreFicheroASCII"_qs)->setText(vacio);
    mensajes.Expect(u"I"_qs);
    p.f.pbActualizarClick();
    EXPECT_EQ(p.f.ListaTablas().count(), 0);
  }
  EXPECT_EQ(mensajes.Texts(), QStringList({kCargada, kCargada}));
}

// On a Paradox installation the source may name its own data folder.
class TraspasoParadox : public ConexionesFixture {
 protected:
  TraspasoParadox() {
    instalacion.Engine(u"Paradox"_qs);
    Iniciar();
    fGENEINIC = &Servicios();
  }
  ~TraspasoParadox() override { fGENEINIC = nullptr; }
};

TEST_F(TraspasoParadox, ASourceThatIsTheDestinationsOwnFolderIsRefused) {
  Formulario p;
  p.Origen(instalacion.GeneralFolder());
  mensajes.Expect(u"I"_qs);
  p.f.pbActualizarClick();
  EXPECT_TRUE(mensajes.Texts().value(0).startsWith(u"Este punto solo puede ser empleado"_qs));
  EXPECT_EQ(p.f.ListaTablas().count(), 0);
}

TEST_F(Traspaso, CopiesEveryCompanyRecordByRecordWithNumberedIncidents) {
  CrearOrigen();
  EXPECT_TRUE(CrearBaseDatosSQLServer(u"ZEMEMP2"_qs));
  Ejecutar(u"INSERT INTO EMPRESA (Codigo, Nombre) VALUES (2, 'Dos')"_qs, u"DatabaseGeneral"_qs);
  EXPECT_EQ(Leer(u"CREATE TABLE ROTA (Codigo INT NOT NULL, CONSTRAINT ROTA_Clave1 PRIMARY KEY (Codigo)); "
                 "INSERT INTO ROTA VALUES (42)"_qs,
                 u"ZEMEMP2"_qs),
            QString());
  Ejecutar(u"INSERT INTO CAMPOUSR VALUES ('ARTICULO', 1, 'Nombre', 'Alfanumerico', 10, ''); "
           "INSERT INTO CAMPOUSR VALUES ('ARTICULO', 2, 'Color', 'Alfanumerico', 10, '')"_qs,
           u"DatabaseGeneral"_qs);
  Formulario p;
  Cargar(p);
  p.Casilla("SolicitarEmpresaIndividual").setChecked(false);
  p.Casilla("TratamientoCamposNULL").setChecked(false);
  QString detalle;
  Ganchos().MostrarDetalle = [&](const QString& texto, const QString& titulo, const QString&) {
    detalle = titulo + u'\n' + texto;
  };
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"A"_qs).Expect(u"C"_qs, u"SI"_qs);
  p.f.pbActualizarClick();
  EXPECT_EQ(mensajes.Texts().mid(1),
            QStringList({kConfirmar, u"El campo Nombre de la tabla ARTICULO está duplicado."_qs, kIncidencias}));
  EXPECT_EQ(Leer(u"SELECT COUNT(Color) FROM ARTICULO"_qs, u"ZEMEMP1"_qs), u"2"_qs) << "the new user field is added";
  EXPECT_FALSE(p.f.isVisible()) << "the form closes itself";

  EXPECT_EQ(Leer(u"SELECT Codigo, Nombre FROM IDIOMA ORDER BY Codigo"_qs, u"ZEMGENERAL"_qs), u"CAT|Català\r\nEUS|Euskera"_qs);
  for (const QString& empresa : {u"1"_qs, u"2"_qs}) {
    const QString base = u"ZEMEMP"_qs + empresa;
    EXPECT_EQ(Leer(u"SELECT Codigo, Nombre FROM ARTICULO ORDER BY Codigo"_qs, base),
              u"0|Sin código\r\n1|Tornillo "_qs + empresa) << "an empty key takes 0, a long text is refused";
    EXPECT_EQ(Leer(u"SELECT '[' + Clave + ']', Valor FROM PARAMETR ORDER BY Clave"_qs, base), u"[]|1\r\n[IVA]|21,5"_qs);
    const std::shared_ptr<Connection> destino = OpenConnection(QDir(instalacion.ServerFolder()).filePath(base + u".sqlite"_qs));
    EXPECT_EQ(destino->QueryRows(u"SELECT hex(Imagen) FROM PARAMETR WHERE Clave = 'IVA'"_qs).rows.value(0).value(0).toString(),
              u"00017F80C3A9FF"_qs)
        << "a binary value keeps its bytes";
  }
  EXPECT_EQ(Leer(u"SELECT Codigo FROM ROTA"_qs, u"ZEMEMP1"_qs), u"5"_qs);
  EXPECT_EQ(Leer(u"SELECT Codigo FROM ROTA"_qs, u"ZEMEMP2"_qs), u"42"_qs) << "an unreadable source leaves it as it was";

  const QStringList incidencias = detalle.split(u"\r\n"_qs);
  ASSERT_EQ(incidencias.size(), 3) << detalle.toStdString();
  EXPECT_TRUE(incidencias[0].startsWith(
      u"Incidencias producidas en Traspaso de Datos desde Paradox/Interbase\n1 - ¡No ha sido posible grabar el registro 7; "
      "de la tabla ARTICULO (Empresa: 1)!. Motivo: "_qs))
      << incidencias[0].toStdString();
  EXPECT_TRUE(incidencias[1].startsWith(
      u"2 - ¡No ha sido posible grabar el registro 7; de la tabla ARTICULO (Empresa: 2)!. Motivo: "_qs));
  EXPECT_TRUE(incidencias[2].startsWith(u"3 - ¡No ha sido posible traspasar la tabla ROTA (Empresa: 2)!. Motivo: "_qs));
  const QString tablas = u"- Lista de Tablas: \r\nARTICULO\r\nIDIOMA\r\nPARAMETR\r\nROTA\r\n"_qs;
  EXPECT_EQ(ResultadoTraspaso, u"- Empresa: 0\r\n"_qs + tablas + u"- Empresa: 1\r\n"_qs + tablas +
                                   u"- Lista de Errores: "_qs + incidencias[0].section(u'\n', 1) + u"\r\n- Empresa: 2\r\n"_qs +
                                   tablas + u"- Lista de Errores: "_qs + detalle.section(u'\n', 1) + u"\r\n"_qs);
}

TEST_F(Traspaso, ReadsAFirebirdDatabaseThroughAnInterbaseAlias) {
  const QString base = carpeta.File(u"VIEJA.FDB"_qs);
  const QString guion = carpeta.File(u"vieja.sql"_qs);
  ASSERT_TRUE(GuionFirebird(guion, Cp1252::encode(
      u"SET NAMES WIN1252;\nCREATE DATABASE '%1' USER 'SYSDBA';\n"
      "CREATE TABLE IDIOMA (Codigo VARCHAR(3) NOT NULL PRIMARY KEY, Nombre VARCHAR(20) CHARACTER SET WIN1252);\n"
      "INSERT INTO IDIOMA VALUES ('CAT', 'Català €');\n"
      "CREATE TABLE ARTICULO (Codigo INTEGER, Nombre VARCHAR(40), Alta TIMESTAMP);\n"
      "INSERT INTO ARTICULO VALUES (1, 'Tornillo', '2024-03-05 10:00:00');\n"
      "INSERT INTO ARTICULO VALUES (NULL, 'Sin código', NULL);\n"
      "INSERT INTO ARTICULO VALUES (7, 'Demasiado largo', NULL);\n"
      "CREATE TABLE PARAMETR (Clave VARCHAR(10), Valor DOUBLE PRECISION);\n"
      "INSERT INTO PARAMETR VALUES ('IVA', 21.5);\nCOMMIT;\n"_qs.arg(base))));
  Session::Default().AddAlias(u"VIEJA"_qs, u"INTRBASE"_qs, StringList({u"SERVER NAME="_qs + base, u"USER NAME=SYSDBA"_qs}));
  EXPECT_TRUE(CrearBaseDatosSQLServer(u"ZEMEMP2"_qs));
  Ejecutar(u"INSERT INTO EMPRESA (Codigo, Nombre) VALUES (2, 'Dos')"_qs, u"DatabaseGeneral"_qs);
  Formulario p;
  p.f.findChild<QLineEdit*>(u"NombreFicheroASCII"_qs)->setText(carpeta.File(u"CONVERSION.TXT"_qs));
  p.Origen(u"VIEJA"_qs);
  mensajes.Expect(u"I"_qs);
  p.f.pbActualizarClick();
  p.Casilla("SolicitarEmpresaIndividual").setChecked(false);
  QString detalle;
  Ganchos().MostrarDetalle = [&](const QString& texto, const QString&, const QString&) { detalle = texto; };
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
  p.f.pbActualizarClick();
  EXPECT_EQ(Leer(u"SELECT Codigo, Nombre FROM IDIOMA"_qs, u"ZEMGENERAL"_qs), u"CAT|Català €"_qs);
  for (const QString& empresa : {u"ZEMEMP1"_qs, u"ZEMEMP2"_qs}) {
    EXPECT_EQ(Leer(u"SELECT Codigo, Nombre FROM ARTICULO ORDER BY Codigo"_qs, empresa), u"0|Sin código\r\n1|Tornillo"_qs);
    EXPECT_EQ(Leer(u"SELECT Clave, Valor FROM PARAMETR"_qs, empresa), u"IVA|21,5"_qs);
    EXPECT_TRUE(Leer(u"SELECT Alta FROM ARTICULO WHERE Codigo = 1"_qs, empresa).startsWith(u"05/03/2024 10:00"_qs));
  }
  const QStringList incidencias = detalle.split(u"\r\n"_qs);
  ASSERT_EQ(incidencias.size(), 4) << detalle.toStdString();
  EXPECT_TRUE(incidencias[0].startsWith(u"1 - ¡No ha sido posible grabar el registro 7; de la tabla ARTICULO (Empresa: 1)!. Motivo: "_qs));
  EXPECT_TRUE(incidencias[1].startsWith(u"2 - ¡No ha sido posible traspasar la tabla ROTA (Empresa: 1)!. Motivo: "_qs));
}

// The batch applies the mapping lines; a source keyed otherwise than the
// definition goes record by record, where they do not apply.
TEST_F(Traspaso, TheBatchRunsOnlyWhenTheSourceKeyIsTheDefinedOne) {
  const struct {
    const char* clave;
    const char* nombre;
  } casos[] = {{"CODIGO", "x"}, {"CODIGO, LINEA", ""}, {"LINEA", ""}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.clave);
    QFile::remove(Origen(u"1"_qs));
    EnOrigen(Origen(u"1"_qs), {u"CREATE TABLE ARTICULO (CODIGO INT NOT NULL, LINEA INT NOT NULL, OTRO VARCHAR(10), "
                               "PRIMARY KEY (%1))"_qs.arg(QLatin1String(caso.clave)),
                               u"INSERT INTO ARTICULO VALUES (1, 1, 'x')"_qs});
    Formulario p;
    Cargar(p);
    p.Casilla("SolicitarEmpresaIndividual").setChecked(false);
    p.Casilla("TratamientoCamposNULL").setChecked(true);
    p.Casilla("RealizarProcesoPorLotes").setChecked(true);
    QListWidget& lista = *p.f.findChild<QListWidget*>(u"ListaTablas"_qs);
    for (int i = 0; i < lista.count(); ++i) lista.item(i)->setSelected(lista.item(i)->text() == u"ARTICULO");
    p.f.findChild<QPlainTextEdit*>(u"ListaInstrucciones"_qs)->setPlainText(u"ARTICULO:Nombre=OTRO"_qs);
    mensajes.Expect(u"C"_qs, u"SI"_qs);
    p.f.pbActualizarClick();
    EXPECT_EQ(Leer(u"SELECT Codigo, Nombre FROM ARTICULO"_qs, u"ZEMEMP1"_qs), u"1|"_qs + QLatin1String(caso.nombre));
  }
}

// Bytes bound for a text column are taken as the engine's own text; bytes
// that are no text are an incident on either road, never a changed text.
TEST_F(Traspaso, BytesThatAreNoTextAreAnIncidentOnBothRoads) {
  EnOrigen(Origen(), {u"CREATE TABLE IDIOMA (Codigo VARCHAR(3) NOT NULL PRIMARY KEY, Nombre BLOB)"_qs,
                      u"INSERT INTO IDIOMA VALUES ('CAT', x'436174616CC3A0'), ('EUS', x'FF41')"_qs});
  EnOrigen(Origen(u"1"_qs), {u"CREATE TABLE PARAMETR (Clave VARCHAR(10), Valor FLOAT, Nota BLOB)"_qs,
                             u"INSERT INTO PARAMETR VALUES ('A', 1, x'C3A9'), ('B', 2, x'FF41')"_qs});
  QFile conversion(carpeta.File(u"CONVERSION.TXT"_qs));
  ASSERT_TRUE(conversion.open(QIODevice::WriteOnly | QIODevice::Truncate));
  conversion.write(QByteArray(kConversion).replace("PARAMETR/I/", "PARAMETR/C/4/Nota/ftString/10//\r\nPARAMETR/I/"));
  conversion.close();
  Formulario p;
  Cargar(p);
  p.Casilla("SolicitarEmpresaIndividual").setChecked(false);
  QListWidget& lista = *p.f.findChild<QListWidget*>(u"ListaTablas"_qs);
  for (int i = 0; i < lista.count(); ++i)
    lista.item(i)->setSelected(lista.item(i)->text() == u"IDIOMA" || lista.item(i)->text() == u"PARAMETR");
  QString detalle;
  Ganchos().MostrarDetalle = [&](const QString& texto, const QString&, const QString&) { detalle = texto; };
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
  p.f.pbActualizarClick();
  EXPECT_EQ(Leer(u"SELECT Codigo, Nombre FROM IDIOMA"_qs, u"ZEMGENERAL"_qs), u"CAT|Català"_qs);
  EXPECT_EQ(Leer(u"SELECT Clave, Nota FROM PARAMETR"_qs, u"ZEMEMP1"_qs), u"A|é"_qs);
  const QStringList incidencias = detalle.split(u"\r\n"_qs);
  ASSERT_EQ(incidencias.size(), 2) << detalle.toStdString();
  EXPECT_TRUE(incidencias[0].startsWith(u"1 - ¡No ha sido posible grabar el registro EUS; de la tabla IDIOMA"_qs));
  EXPECT_TRUE(incidencias[1].startsWith(u"2 - ¡No ha sido posible grabar el registro B; de la tabla PARAMETR"_qs));
}

// A memo of any character set arrives as it was written, by batch (NOTAS)
// and record by record (PARANOTA).
TEST_F(Traspaso, AFirebirdMemoArrivesUnchangedOnBothRoads) {
  const QString texto = u"línea €, Ñandú, ¿año?"_qs;
  const QString base = carpeta.File(u"MEMOS.FDB"_qs);
  const QString guion = carpeta.File(u"memos.sql"_qs);
  QString sql = u"SET NAMES UTF8;\nCREATE DATABASE '%1' USER 'SYSDBA' DEFAULT CHARACTER SET UTF8;\n"_qs.arg(base);
  for (const QString& tabla : {u"NOTAS"_qs, u"PARANOTA"_qs})
    sql += u"CREATE TABLE %1 (Codigo INTEGER NOT NULL PRIMARY KEY, Texto BLOB SUB_TYPE TEXT CHARACTER SET UTF8, "
           "Viejo BLOB SUB_TYPE TEXT CHARACTER SET WIN1252, Nombre VARCHAR(30), Antiguo BLOB SUB_TYPE TEXT CHARACTER SET "
           "NONE);\nINSERT INTO %1 VALUES (1, '%2', '%2', '%2', NULL);\nINSERT INTO %1 VALUES (2, NULL, '', 'x', NULL);\n"_qs
               .arg(tabla, texto);
  // The older programs wrote Windows-1252 bytes into texts of no character set.
  QString antiguo = u"SET NAMES WIN1252;\nCONNECT '%1' USER 'SYSDBA';\n"_qs.arg(base);
  for (const QString& tabla : {u"NOTAS"_qs, u"PARANOTA"_qs})
    antiguo += u"UPDATE %1 SET Antiguo = '%2' WHERE Codigo = 1;\n"_qs.arg(tabla, texto);
  for (const QByteArray& contenido : {(sql + u"COMMIT;\n"_qs).toUtf8(), Cp1252::encode(antiguo + u"COMMIT;\n"_qs)}) {
    ASSERT_TRUE(GuionFirebird(guion, contenido));
  }
  QFile conversion(carpeta.File(u"MEMOS.TXT"_qs));
  ASSERT_TRUE(conversion.open(QIODevice::WriteOnly));
  for (const char* tabla : {"NOTAS", "PARANOTA"})
    conversion.write(QByteArray(tabla) + "/C/1/Codigo/ftInteger/0/*/|01/12/2026\r\n" + tabla + "/C/2/Texto/ftMemo/0//\r\n" +
                     tabla + "/C/3/Viejo/ftMemo/0//\r\n" + tabla + "/C/4/Nombre/ftString/30//\r\n" + tabla +
                     "/C/5/Antiguo/ftMemo/0//\r\n" + tabla + "/I/1/<Primary>/Codigo//\r\n");
  conversion.close();
  TraspasarDesdeFirebird(u"MEMOS"_qs, base, conversion.fileName());
  for (const QString& tabla : {u"NOTAS"_qs, u"PARANOTA"_qs})
    EXPECT_EQ(Leer(u"SELECT Codigo, Texto, Viejo, Nombre, Antiguo FROM %1 ORDER BY Codigo"_qs.arg(tabla), u"ZEMEMP1"_qs),
              u"1|%1|%1|%1|%1\r\n2|||x|"_qs.arg(texto))
        << tabla.toStdString();
}

// Texts of no character set hold the older programs' Windows-1252 bytes
// whatever the table is named: a name with a blank, a "$" or a letter
// beyond ASCII comes quoted.
TEST_F(Traspaso, TextsOfNoCharacterSetArriveExactFromTablesOfAnyName) {
  const QString texto = u"línea €, Ñandú, ¿año?"_qs;
  const QString base = carpeta.File(u"NOMBRES.FDB"_qs);
  const QString guion = carpeta.File(u"nombres.sql"_qs);
  const QStringList tablas = {u"MI TABLA"_qs, u"STOCK$2"_qs, u"Almacén Norte"_qs, u"Almacén"_qs};
  QString sql = u"SET NAMES WIN1252;\nCREATE DATABASE '%1' USER 'SYSDBA';\n"_qs.arg(base);
  for (const QString& tabla : tablas)
    sql += u"CREATE TABLE \"%1\" (Codigo INTEGER NOT NULL PRIMARY KEY, Nombre VARCHAR(30), Antiguo BLOB SUB_TYPE TEXT);\n"
           "INSERT INTO \"%1\" VALUES (1, '%2', '%2');\n"_qs.arg(tabla, texto);
  ASSERT_TRUE(GuionFirebird(guion, Cp1252::encode(sql + u"COMMIT;\n"_qs)));
  QFile conversion(carpeta.File(u"NOMBRES.TXT"_qs));
  ASSERT_TRUE(conversion.open(QIODevice::WriteOnly));
  for (const QString& tabla : tablas)
    conversion.write(Cp1252::encode(tabla + u"/C/1/Codigo/ftInteger/0/*/|01/12/2026\r\n"_qs + tabla +
                                    u"/C/2/Nombre/ftString/30//\r\n"_qs + tabla + u"/C/3/Antiguo/ftMemo/0//\r\n"_qs + tabla +
                                    u"/I/1/<Primary>/Codigo//\r\n"_qs));
  conversion.close();
  TraspasarDesdeFirebird(u"NOMBRES"_qs, base, conversion.fileName());
  for (const QString& tabla : tablas)
    EXPECT_EQ(Leer(u"SELECT Codigo, Nombre, Antiguo FROM [%1]"_qs.arg(tabla), u"ZEMEMP1"_qs), u"1|%1|%1"_qs.arg(texto))
        << tabla.toStdString();
}

TEST_F(Traspaso, EnterMovesToTheNextControlButMakesALineInAMemo) {
  Formulario p;
  QApplication::setActiveWindow(&p.f);
  auto* fichero = p.f.findChild<QLineEdit*>(u"NombreFicheroASCII"_qs);
  fichero->setFocus();
  QTest::keyClick(fichero, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), p.f.findChild<QWidget*>(u"pbExaminar"_qs));
  p.f.findChild<QTabWidget*>(u"PageControl1"_qs)->setCurrentIndex(1);
  auto* mapeado = p.f.findChild<QPlainTextEdit*>(u"ListaInstrucciones"_qs);
  mapeado->setFocus();
  QTest::keyClick(mapeado, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), mapeado);
  EXPECT_EQ(mapeado->toPlainText(), u"\n"_qs);
}

TEST_F(Traspaso, ClosingIsRefusedWhileTheTransferRuns) {
  CrearOrigen();
  Formulario p;
  Cargar(p);
  p.Casilla("SolicitarEmpresaIndividual").setChecked(false);
  bool cerrable = true;
  QObject::connect(&p.f.Estado(), &QStatusBar::messageChanged, [&](const QString& texto) {
    if (texto.isEmpty()) return;
    cerrable = cerrable && p.f.CloseQuery();
    EXPECT_FALSE(p.f.findChild<QPushButton*>(u"pbCancelar"_qs)->isEnabled());
  });
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"NO"_qs);
  p.f.pbActualizarClick();
  EXPECT_FALSE(cerrable);
  EXPECT_TRUE(p.f.CloseQuery()) << "once it has ended";
}

TEST_F(Traspaso, AKilledTransferLeavesTheTableAsBefore) {
  QFile conversion(carpeta.File(u"GRANDE.TXT"_qs));
  ASSERT_TRUE(conversion.open(QIODevice::WriteOnly));
  conversion.write("GRANDE/C/1/Codigo/ftInteger/0/*/\r\nGRANDE/C/2/Nombre/ftString/20//\r\nGRANDE/I/1/<Primary>/Codigo//\r\n");
  conversion.close();
  EnOrigen(Origen(u"1"_qs), {u"CREATE TABLE GRANDE (Codigo INT, Nombre VARCHAR(20))"_qs,
                             u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000) "
                             "INSERT INTO GRANDE SELECT i, 'nuevo ' || i FROM n"_qs});
  if (!ExisteBaseDatosSQLServer(u"ZEMEMP1"_qs)) {
    ASSERT_TRUE(CrearBaseDatosSQLServer(u"ZEMEMP1"_qs));
  }
  EXPECT_EQ(Leer(u"CREATE TABLE GRANDE (Codigo INT NOT NULL, Nombre VARCHAR(20) NULL, CONSTRAINT GRANDE_Clave1 PRIMARY KEY (Codigo)); "
                 "INSERT INTO GRANDE VALUES (1, 'antes')"_qs,
                 u"ZEMEMP1"_qs),
            QString());
  SecondProcess otra(u"traspasar-grande"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"traspasando"_qs);
  otra.Kill();
  EXPECT_EQ(Leer(u"SELECT Codigo, Nombre FROM GRANDE"_qs, u"ZEMEMP1"_qs), u"1|antes"_qs);
}


// A table of the conversion file whose name reads like statements is
// transferred as the table it names; VX, which it names, keeps its rows. A
// name too long to be a table's is an incident naming it, and nothing runs
// for it.
TEST_F(Traspaso, HostileTableNamesOfTheConversionFileRunNothingButThemselves) {
  const QString hostil = u"GRANDE; DROP TABLE VX"_qs;
  const QString largo = QString(200, u'G');
  QFile conversion(carpeta.File(u"CONVERSION.TXT"_qs));
  ASSERT_TRUE(conversion.open(QIODevice::WriteOnly));
  for (const QString& tabla : {hostil, largo})
    conversion.write((tabla + u"/C/1/Codigo/ftInteger/0/*/|01/12/2026\r\n"_qs + tabla + u"/I/1/<Primary>/Codigo//\r\n"_qs).toUtf8());
  conversion.close();
  EnOrigen(Origen(u"1"_qs), {u"CREATE TABLE \"GRANDE; DROP TABLE VX\" (Codigo INT)"_qs,
                             u"INSERT INTO \"GRANDE; DROP TABLE VX\" VALUES (7)"_qs,
                             u"CREATE TABLE %1 (Codigo INT)"_qs.arg(largo)});
  if (!ExisteBaseDatosSQLServer(u"ZEMEMP1"_qs)) {
    ASSERT_TRUE(CrearBaseDatosSQLServer(u"ZEMEMP1"_qs));
  }
  ASSERT_EQ(Leer(u"CREATE TABLE VX (A INTEGER); INSERT INTO VX VALUES (1), (2), (3)"_qs, u"ZEMEMP1"_qs), QString());
  Formulario p;
  Cargar(p);
  p.Casilla("SolicitarEmpresaIndividual").setChecked(false);
  for (int i = 0; i < p.f.ListaTablas().count(); ++i) p.f.ListaTablas().item(i)->setSelected(true);
  QString detalle;
  Ganchos().MostrarDetalle = [&](const QString& texto, const QString&, const QString&) { detalle = texto; };
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
  p.f.pbActualizarClick();
  EXPECT_EQ(mensajes.Texts().mid(1), QStringList({kConfirmar, kIncidencias}));
  EXPECT_EQ(Leer(u"SELECT SUM(A) FROM VX HAVING COUNT(*) = 3"_qs, u"ZEMEMP1"_qs), u"6"_qs);
  EXPECT_EQ(Leer(u"SELECT Codigo FROM [GRANDE; DROP TABLE VX]"_qs, u"ZEMEMP1"_qs), u"7"_qs);
  EXPECT_EQ(detalle, u"1 - ¡No ha sido posible traspasar la tabla "_qs + largo +
                         u" (Empresa: 1)!. Motivo: ¡El nombre de tabla no es válido! Debe tener entre 1 y 128 "
                         "caracteres, ninguno de control. ("_qs + largo + u')');
}

// Tables of the list whose names the transfer cannot make: each is refused
// before anything of it changes, the refusal saying what is wrong with it.
TEST_F(Traspaso, ATableNameTheTransferCannotMakeIsRefusedSayingWhy) {
  QFile conversion(carpeta.File(u"CONVERSION.TXT"_qs));
  ASSERT_TRUE(conversion.open(QIODevice::WriteOnly));
  conversion.write("VX/C/1/A/ftInteger/0/*/|01/12/2026\r\nVX/I/1/<Primary>/A//\r\n");
  conversion.close();
  EnOrigen(Origen(u"1"_qs), {u"CREATE TABLE VX (A INT)"_qs});
  if (!ExisteBaseDatosSQLServer(u"ZEMEMP1"_qs)) {
    ASSERT_TRUE(CrearBaseDatosSQLServer(u"ZEMEMP1"_qs));
  }
  const struct {
    QString tabla;
    QString motivo;
  } casos[] = {{u"a/b"_qs, u"No puede contener \"/\"."_qs},
               {u"dbo.VX"_qs, u"No puede contener \".\"."_qs},
               {u"Ελλάδα"_qs, u"Contiene caracteres que el sistema no puede guardar: Ελάδα."_qs},
               {u"表格"_qs, u"Contiene caracteres que el sistema no puede guardar: 表格."_qs}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.tabla.toStdString());
    Formulario p;
    Cargar(p);
    p.f.ListaTablas().addItem(caso.tabla);
    p.f.ListaTablas().item(p.f.ListaTablas().count() - 1)->setSelected(true);
    p.Casilla("SolicitarEmpresaIndividual").setChecked(false);
    QString detalle;
    Ganchos().MostrarDetalle = [&](const QString& texto, const QString&, const QString&) { detalle = texto; };
    mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
    p.f.pbActualizarClick();
    EXPECT_EQ(detalle, u"1 - ¡No ha sido posible traspasar la tabla "_qs + caso.tabla +
                           u" (Empresa: 1)!. Motivo: ¡El nombre de tabla no es válido! "_qs + caso.motivo + u" ("_qs +
                           caso.tabla + u')');
  }
}

// A table of the conversion file is one name: one written with an owner or
// a database before it would name the company's VX, and is refused where the
// file is read, naming it. A table that cannot be made (the file gives it no
// field) leaves the one it was to replace as it was.
TEST_F(Traspaso, AnOwnerPrefixedNameIsRefusedAndAFailedCreationKeepsTheTable) {
  QFile conversion(carpeta.File(u"CONVERSION.TXT"_qs));
  ASSERT_TRUE(conversion.open(QIODevice::WriteOnly));
  for (const char* tabla : {"dbo.VX", "main.VX"})
    conversion.write(QByteArray(tabla) + "/C/1/B/ftInteger/0/*/|01/12/2026\r\n" + tabla + "/I/1/<Primary>/B//\r\n");
  conversion.write("VX/I/1/<Primary>/A//|01/12/2026\r\n");
  conversion.close();
  EnOrigen(Origen(u"1"_qs), {u"CREATE TABLE \"dbo.VX\" (B INT)"_qs, u"INSERT INTO \"dbo.VX\" VALUES (7)"_qs,
                             u"CREATE TABLE \"main.VX\" (B INT)"_qs, u"CREATE TABLE VX (A INT)"_qs,
                             u"INSERT INTO VX VALUES (9)"_qs});
  if (!ExisteBaseDatosSQLServer(u"ZEMEMP1"_qs)) {
    ASSERT_TRUE(CrearBaseDatosSQLServer(u"ZEMEMP1"_qs));
  }
  ASSERT_EQ(Leer(u"CREATE TABLE VX (A INTEGER); INSERT INTO VX VALUES (1), (2), (3)"_qs, u"ZEMEMP1"_qs), QString());
  Formulario p;
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs);
  Cargar(p);
  EXPECT_EQ(mensajes.Texts(), QStringList({u"¡El nombre de tabla no es válido! No puede contener \".\". (dbo.VX)"_qs,
                                           u"¡El nombre de tabla no es válido! No puede contener \".\". (main.VX)"_qs,
                                           kCargada}));
  ASSERT_EQ(p.f.ListaTablas().count(), 1);
  EXPECT_EQ(p.f.ListaTablas().item(0)->text(), u"VX"_qs);
  p.f.ListaTablas().item(0)->setSelected(true);
  p.Casilla("SolicitarEmpresaIndividual").setChecked(false);
  QString detalle;
  Ganchos().MostrarDetalle = [&](const QString& texto, const QString&, const QString&) { detalle = texto; };
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
  p.f.pbActualizarClick();
  EXPECT_EQ(mensajes.Texts().mid(3), QStringList({kConfirmar, kIncidencias}));
  EXPECT_EQ(Leer(u"SELECT SUM(A) FROM VX HAVING COUNT(*) = 3"_qs, u"ZEMEMP1"_qs), u"6"_qs);
  EXPECT_EQ(detalle, u"1 - ¡Error creando la nueva tabla VX (Empresa: 1)!"_qs);
}

// A source table and fields named by reserved words are made and filled
// under those names, by batch and record by record.
TEST_F(Traspaso, ATableNamedByAReservedWordIsMadeAndFilled) {
  QFile conversion(carpeta.File(u"CONVERSION.TXT"_qs));
  ASSERT_TRUE(conversion.open(QIODevice::WriteOnly));
  conversion.write("ORDER/C/1/Codigo/ftInteger/0/*/|01/12/2026\r\nORDER/C/2/Select/ftString/10//\r\n"
                   "ORDER/I/1/<Primary>/Codigo//\r\n");
  conversion.close();
  EnOrigen(Origen(u"1"_qs), {u"CREATE TABLE \"ORDER\" (Codigo INT, \"Select\" VARCHAR(10))"_qs,
                             u"INSERT INTO \"ORDER\" VALUES (1, 'uno'), (2, 'dos')"_qs});
  if (!ExisteBaseDatosSQLServer(u"ZEMEMP1"_qs)) {
    ASSERT_TRUE(CrearBaseDatosSQLServer(u"ZEMEMP1"_qs));
  }
  for (const bool lotes : {true, false}) {
    SCOPED_TRACE(lotes);
    Formulario p;
    Cargar(p);
    p.f.ListaTablas().item(0)->setSelected(true);
    p.Casilla("SolicitarEmpresaIndividual").setChecked(false);
    p.Casilla("RealizarProcesoPorLotes").setChecked(lotes);
    mensajes.Expect(u"C"_qs, u"SI"_qs);
    p.f.pbActualizarClick();
    EXPECT_EQ(mensajes.Texts().last(), kConfirmar);
    EXPECT_EQ(Leer(u"SELECT Codigo, [Select] FROM [ORDER] ORDER BY Codigo"_qs, u"ZEMEMP1"_qs), u"1|uno\r\n2|dos"_qs);
  }
}

// As a person sees it with the list loaded; widened, the buttons stay
// side by side in the middle of the bottom.
TEST_F(Traspaso, TheFormIsDrawnWithItsButtonsCentredAtAnyWidth) {
  Formulario p;
  Cargar(p);
  const QList<QPushButton*> botones{p.f.findChild<QPushButton*>(u"pbActualizar"_qs),
                                    p.f.findChild<QPushButton*>(u"pbCancelar"_qs),
                                    p.f.findChild<QPushButton*>(u"pbAyuda"_qs)};
  for (const int ancho : {p.f.width(), p.f.width() + 300}) {
    SCOPED_TRACE(ancho);
    p.f.resize(ancho, p.f.height());
    QApplication::processEvents();
    const QImage imagen = CapturaFormulario(p.f, u"GENEACTU-"_qs + QString::number(ancho));
    EXPECT_EQ(imagen.width(), ancho);
    const int izquierda = botones.first()->mapTo(&p.f, QPoint()).x();
    const int derecha = ancho - botones.last()->mapTo(&p.f, QPoint(botones.last()->width(), 0)).x();
    EXPECT_LE(std::abs(izquierda - derecha), 2) << izquierda << " " << derecha;
    EXPECT_EQ(botones[0]->y(), botones[2]->y());
    EXPECT_LT(botones[0]->x() + botones[0]->width(), botones[1]->x());
  }
}

}  // namespace
