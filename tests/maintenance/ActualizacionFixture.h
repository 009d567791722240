#pragma once

#include "core/connections/BaseDatosEmpresa.h"
#include "maintenance/actualizacion/EjecucionActualizacion.h"
#include "maintenance/actualizacion/OpcionesActualizacion.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QDir>

// The general database and two company databases with a customers table of
// the old structure, and the scripts of the new one: a column added, one
// renamed through "MAP", one dropped, an auto number, a new table with its
// index, a "SQL" line, and a table to be created as missing.
class ActualizacionFixture : public ConexionesFixture {
 public:
  static constexpr auto kScripts =
      "CLIENTES/C/1/Codigo/ftInteger/0/*/|01/06/2026\r\n"
      "CLIENTES/C/2/Nombre/ftString/40//\r\n"
      "CLIENTES/C/3/Telefono/ftString/20//\r\n"
      "CLIENTES/C/4/Nuevo/ftString/10//\r\n"
      "CLIENTES/C/5/Numero/ftAutoInc/0//\r\n"
      "CLIENTES/I/1/<Primary>/Codigo//\r\n"
      "CLIENTES/I/2/Nombre/Nombre//\r\n"
      "CLIENTES/MAP/2024b/20260601/Tlf,Telefono\r\n"
      "CLIENTES/SQL/1//UPDATE CLIENTES SET Nuevo = '1$SEPARADOR$2'\r\n"
      "\r\n"
      "ARTICULOS/C/1/Codigo/ftString/10/*/|01/06/2026\r\n"
      "ARTICULOS/C/2/Descripcion/ftString/40//\r\n"
      "ARTICULOS/I/1/<Primary>/Codigo//\r\n"
      "ARTICULOS/I/2/Descripcion/Descripcion//\r\n"
      "\r\n"
      "PROVEEDO/C/1/Codigo/ftInteger/0/*/|01/01/2020\r\n"
      "PROVEEDO/I/1/<Primary>/Codigo//\r\n";

 protected:
  void SetUp() override {
    instalacion.Ini(u"Actualización de la Base de Datos"_qs, u"UltimaFechaActualizacion"_qs, u"01/01/2026"_qs);
    Iniciar();
    ASSERT_TRUE(CrearBaseDatosEmpresa(2));
    Ejecutar(u"INSERT INTO EMPRESA (Codigo, Nombre) VALUES (2, 'DOS')"_qs, u"DatabaseGeneral"_qs);
    for (const QString& base : Empresas()) {
      Ejecutar(u"USE %1 CREATE TABLE dbo.CLIENTES (Codigo INTEGER NOT NULL, Nombre VARCHAR(40) NULL, "
               "Tlf VARCHAR(20) NULL, Antiguo VARCHAR(10) NULL, Numero INTEGER NULL, "
               "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs.arg(base), u"DatabaseGeneral"_qs);
      for (const char* fila : {"(9, 'Luis', '922', 'y', 80)", "(5, 'Ana', '911', 'x', 70)"})
        Ejecutar(u"INSERT INTO %1.dbo.CLIENTES (Codigo, Nombre, Tlf, Antiguo, Numero) VALUES %2"_qs.arg(
                     base, QLatin1String(fila)),
                 u"DatabaseGeneral"_qs);
    }
    Ejecutar(u"USE ZEMGENERAL"_qs, u"DatabaseGeneral"_qs);
    copias = carpeta.File(u"COPIAS"_qs);
    QDir().mkpath(copias);
    opciones.directorioCopiaSeguridad = copias;
    opciones.nombreArchivoCfg = carpeta.File(u"DATOS/DATABASE.TXT"_qs);
    opciones.incluirArchivoCfgEspecial = false;
    opciones.basesDatos = {u"ZEMGENERAL"_qs, u"ZEMEMP1"_qs, u"ZEMEMP2"_qs};
    opciones.tablas = {u"ARTICULOS"_qs, u"CLIENTES"_qs};
    opciones.definiciones = QString::fromLatin1(kScripts);
    opciones.mapeado = u"CLIENTES=Tlf,Telefono\r\n"_qs;
  }

  static QStringList Empresas() { return {u"ZEMEMP1"_qs, u"ZEMEMP2"_qs}; }

  // A statement's rows on the general database's connection.
  static QString Filas(const QString& sql) { return EjecutarSQL(sql, u"DatabaseGeneral"_qs, u"Silenciosa"_qs); }
  static QString Columnas(const QString& base, const QString& tabla) {
    return Filas(u"SELECT C.name FROM %1.dbo.syscolumns C JOIN %1.dbo.sysobjects O ON O.id = C.id "
                 "WHERE O.name = '%2' ORDER BY C.colid"_qs.arg(base, tabla));
  }
  static QString Objetos(const QString& base) {
    return Filas(u"SELECT name FROM %1.dbo.sysobjects WHERE xtype = 'U' ORDER BY name"_qs.arg(base));
  }

  QString copias;
  OpcionesActualizacion opciones;
  EjecucionActualizacion ejecucion;
};
