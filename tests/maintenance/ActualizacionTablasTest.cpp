#include "core/startup/Configuracion.h"
#include "maintenance/actualizacion/ProcesoActualizacion.h"
#include "platform/IniFile.h"
#include "tests/maintenance/ActualizacionFixture.h"

#include <QDir>

namespace {

using ActualizacionTablas = ActualizacionFixture;

const QString kCRLF = u"\r\n"_qs;

}  // namespace

TEST_F(ActualizacionTablas, RebuildsEveryChosenTableKeepingItsRowsAndCreatesTheMissingOnes) {
  RealizarActualizacion(ejecucion, opciones);

  EXPECT_EQ(ejecucion.Errores(), QString());
  QString empresas;
  for (const QString& base : Empresas())
    empresas += u"Inicio del proceso de Actualización de la Base de Datos "_qs + base + kCRLF +
                u"...Actualizando la Tabla ARTICULOS\r\n...Actualizando la Tabla CLIENTES\r\n"
                "...Actualizando Sentencias SQL de la tabla CLIENTES\r\n\r\n"_qs;
  QString creadas;
  for (const QString& base : Empresas())
    creadas += u"Inicio del proceso de Creación de Tablas de la Base de Datos "_qs + base +
               u"\r\n...Creando la Tabla PROVEEDO\r\n\r\n"_qs;
  EXPECT_EQ(ejecucion.Progreso(),
            u"INICIO DEL PROCESO\r\n\r\nEliminando archivos de Copia de Seguridad anteriores\r\n\r\n"
            "Realizando Copia de Seguridad de la Base de Datos ZEMGENERAL\r\n"
            "Realizando Copia de Seguridad de la Base de Datos ZEMEMP1\r\n"
            "Realizando Copia de Seguridad de la Base de Datos ZEMEMP2\r\n\r\n"
            "Inicio del proceso de Actualización de la Base de Datos ZEMGENERAL\r\n\r\n"_qs +
                empresas + u"Inicio del proceso de Creación de Tablas de la Base de Datos ZEMGENERAL\r\n\r\n"_qs +
                creadas + u"FIN DEL PROCESO\r\n"_qs);
  EXPECT_EQ(ResultadoActualizacion, ejecucion.Progreso());

  for (const QString& base : Empresas()) {
    SCOPED_TRACE(base.toStdString());
    EXPECT_EQ(Columnas(base, u"CLIENTES"_qs), u"Codigo\r\nNombre\r\nTelefono\r\nNuevo\r\nNumero"_qs);
    // The auto numbers start again, in the order of the old key.
    EXPECT_EQ(Filas(u"SELECT Codigo, Nombre, Telefono, Nuevo, Numero FROM %1.dbo.CLIENTES ORDER BY Codigo"_qs.arg(base)),
              u"5|Ana|911|1/2|1\r\n9|Luis|922|1/2|2"_qs);
    EXPECT_EQ(Objetos(base), u"ARTICULOS\r\nCLIENTES\r\nPROVEEDO"_qs);
    EXPECT_EQ(Filas(u"SELECT I.name FROM %1.dbo.sysindexes I JOIN %1.dbo.sysobjects O ON O.id = I.id "
                    "WHERE O.name IN ('CLIENTES', 'ARTICULOS') ORDER BY I.name"_qs.arg(base)),
              u"ARTICULOS_Clave1\r\nARTICULOS_Descripcion\r\nCLIENTES_Clave1\r\nCLIENTES_Nombre"_qs);
    // A new row is numbered after the last.
    Ejecutar(u"INSERT INTO %1.dbo.CLIENTES (Codigo) VALUES (12)"_qs.arg(base), u"DatabaseGeneral"_qs);
    EXPECT_EQ(Filas(u"SELECT Numero FROM %1.dbo.CLIENTES WHERE Codigo = 12"_qs.arg(base)), u"3"_qs);
  }
  EXPECT_EQ(Objetos(u"ZEMGENERAL"_qs).contains(u"CLIENTES"_qs), false);

  const IniFile ini(ArchivoINI);
  EXPECT_EQ(ini.ReadString(u"Backup MS SQL Server"_qs, u"UbicacionArchivosCopia"_qs, QString()), copias);
  EXPECT_NE(ini.ReadString(u"Actualización de la Base de Datos"_qs, u"UltimaFechaActualizacion"_qs, QString()),
            u"01/01/2026"_qs);

  // Each backup brings back the old table and its rows.
  const QStringList archivos = QDir(copias).entryList({u"dbb_ZEMEMP1_*.bak"_qs});
  ASSERT_EQ(archivos.size(), 1);
  Ejecutar(u"RESTORE DATABASE ZEMEMP1  FROM DISK = '%1' WITH REPLACE"_qs.arg(copias + u'/' + archivos[0]),
           u"DatabaseGeneral"_qs);
  EXPECT_EQ(Columnas(u"ZEMEMP1"_qs, u"CLIENTES"_qs), u"Codigo\r\nNombre\r\nTlf\r\nAntiguo\r\nNumero"_qs);
  EXPECT_EQ(Filas(u"SELECT Codigo, Tlf, Antiguo, Numero FROM ZEMEMP1.dbo.CLIENTES ORDER BY Codigo"_qs),
            u"5|911|x|70\r\n9|922|y|80"_qs);
  EXPECT_EQ(Objetos(u"ZEMEMP1"_qs), u"CLIENTES"_qs);
}
