#pragma once

#include "core/connections/VariablesConexion.h"
#include "core/datamodule/Genemodu.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/Application.h"
#include "platform/data/Table.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "platform/data/Field.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// An installation in a temporary program folder (the embedded server unless
// a test chooses Paradox) and the services object, whose creation opens its
// databases as the program does. Every message must be scripted.
class ConexionesFixture : public ::testing::Test {
 protected:
  TfGENEINIC& Iniciar() {
    instalacion.Write();
    servicios_ = std::make_unique<TfGENEINIC>(QStringList{});
    return *servicios_;
  }
  TfGENEINIC& Servicios() { return *servicios_; }
  // Runs a statement that must succeed.
  static void Ejecutar(const QString& sql, const QString& base = u"Database"_qs) {
    ASSERT_EQ(EjecutarSQL(sql, base), QString()) << sql.toStdString();
  }

  ScriptedPresenter mensajes;
  TemporaryFolder carpeta;
  InstallationBuilder instalacion{carpeta.Path()};

 private:
  std::unique_ptr<TfGENEINIC> servicios_;
};

// The data module, with USUARIO of the general database open as its user
// table once AbrirUsuarios runs.
class ModuloConUsuarios {
 protected:
  // USUARIO with the columns the user services read, holding the rows given
  // (an INSERT's column list and VALUES), open.
  void CrearUsuarios(const QString& columnas, const QString& filas) {
    const QString general = QStringLiteral("DatabaseGeneral");
    for (const QString& sql :
         {u"CREATE TABLE USUARIO (Codigo VARCHAR(10), Categoria VARCHAR(20) NULL, Configuracion TEXT NULL, "
          "ProgramasNoAccesibles TEXT NULL, ProgramasSoloLectura TEXT NULL, ProgramasActivos TEXT NULL, "
          "Empresas TEXT NULL, CONSTRAINT USUARIO_Clave1 PRIMARY KEY (Codigo))"_qs,
          u"INSERT INTO USUARIO (%1) VALUES %2"_qs.arg(columnas, filas)})
      ASSERT_EQ(EjecutarSQL(sql, general), QString()) << sql.toStdString();
    AbrirUsuarios();
  }
  void AbrirUsuarios() {
    usuario.SetDatabaseName(BaseDatosBDE(QStringLiteral("DatabaseGeneral")));
    usuario.SetTableName(QStringLiteral("USUARIO"));
    usuario.Open();
    modulo.Usuario = &usuario;
    ModuloDatos = &modulo;
  }

  // The company's general parameters, one row with the analysis-group
  // categories of each profile, open as the module's.
  void AbrirParametros(const QString& perfilesCategorias) {
    ASSERT_EQ(EjecutarSQL(u"INSERT INTO PARAGENE (RazonSocial) VALUES ('Z')"_qs, u"Database"_qs), QString());
    Table& parametros = *modulo.ParamGenerales;
    parametros.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    parametros.SetTableName(u"PARAGENE"_qs);
    parametros.AfterPost = nullptr;  // no currency table here
    parametros.Open();
    parametros.Edit();
    parametros.FieldByName(u"PerfilesCategoriasGA"_qs).SetAsString(perfilesCategorias);
    parametros.Post();
  }

  Table usuario;
  TModuloDatos modulo;
};

// The job of a second copy of the program, started in the folder the
// environment variable names: it holds a record of the table of that
// database in edit (the first, or the one whose text field holds the value),
// reports "editando" and lets it go at the next line.
inline void OtraCopiaEditando(const char* variableCarpeta, const QString& tabla,
                              const QString& base = u"Database"_qs, const QString& campo = {},
                              const QString& valor = {}) {
  QDir::setCurrent(qEnvironmentVariable(variableCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  Table registros;
  registros.SetDatabaseName(BaseDatosBDE(base));
  registros.SetTableName(tabla);
  registros.Open();
  if (!campo.isEmpty()) registros.Locate(campo, Variant::String(valor));
  registros.Edit();
  SecondProcess::Report(u"editando"_qs);
  SecondProcess::NextLine();
  registros.Cancel();
}
