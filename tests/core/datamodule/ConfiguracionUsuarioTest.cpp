#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/datamodule/Genemodu.h"
#include "core/helpers/Listas.h"
#include "core/sql/BaseDatosSQL.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

namespace {

const QString kGeneral = u"DatabaseGeneral"_qs;

// ANA is a plain user; LUIS takes his rights from the profile user MODELO.
class ConfiguracionUsuario : public ConexionesFixture, public ModuloConUsuarios {
 protected:
  ConfiguracionUsuario() {
    Iniciar();
    CrearUsuarios(
        u"Codigo, Categoria, ProgramasSoloLectura, Configuracion"_qs,
        u"('ANA', 'Normal', NULL, 'CamposNoVisibles=Precio\r\nVacia=\r\nIndicesBusqueda=dbo.CLIENTES:2,dbo.PROVEEDO:x'), "
        "('MODELO', 'Administrador', 'CONTWIN', 'CamposNoVisibles=Coste\r\nProcesosNoAutorizados=BorrarTodo'), "
        "('LUIS', 'MODELO', 'PROPIO', 'ContadorAccesos=4\r\nCamposNoVisibles=Propio')"_qs);
  }

  static QString Fila(const char* codigo, const char* columna) {
    return EjecutarSQL(
        u"SELECT %1 FROM USUARIO WHERE Codigo = '%2'"_qs.arg(QLatin1String(columna), QLatin1String(codigo)), kGeneral);
  }
};

}  // namespace

TEST_F(ConfiguracionUsuario, KeysAreReadFromTheProfileUsersRowButThreeFromTheUsersOwn) {
  const std::tuple<const char*, const char*, const char*> casos[] = {
      {"ANA", "CamposNoVisibles", "Precio"}, {"ANA", "Vacia", "defecto"},
      {"ANA", "Falta", "defecto"},           {"ANA", "ProgramasSoloLectura", ""},
      {"LUIS", "CamposNoVisibles", "Coste"}, {"LUIS", "ProgramasSoloLectura", "CONTWIN"},
      {"LUIS", "ContadorAccesos", "4"},      {"NADIE", "CamposNoVisibles", "defecto"}};
  for (const auto& [usuario, clave, valor] : casos)
    EXPECT_EQ(LeerConfigUsuario(QString::fromLatin1(usuario), QString::fromLatin1(clave), u"defecto"_qs),
              QString::fromLatin1(valor))
        << usuario << " " << clave;
  EXPECT_EQ(CategoriaUsuario(u"LUIS"_qs), u"MODELO"_qs);
  EXPECT_EQ(CategoriaUsuario(u"MODELO"_qs), u"MODELO"_qs);
  EXPECT_FALSE(ProcesoAutorizado(u"LUIS"_qs, u"Borrar"_qs));
  EXPECT_TRUE(ProcesoAutorizado(u"LUIS"_qs, u"Listar"_qs) && ProcesoAutorizado(u"ANA"_qs, u"Borrar"_qs));

  CodigoUsuarioActual = u"ANA"_qs;
  EXPECT_EQ(IndiceBusquedaTabla(u"CLIENTES"_qs), 2);
  EXPECT_EQ(IndiceBusquedaTabla(u"PROVEEDO"_qs) + IndiceBusquedaTabla(u"FACTURA"_qs), -2);
  DesactivarIndicesPorUsuarioEnBusquedas = true;
  EXPECT_EQ(IndiceBusquedaTabla(u"CLIENTES"_qs), -1);
}

TEST_F(ConfiguracionUsuario, KeysAreWrittenToTheRowTheyAreReadFrom) {
  GrabarConfigUsuario(u"LUIS"_qs, u"CamposNoVisibles"_qs, u"Margen"_qs);
  GrabarConfigUsuario(u"LUIS"_qs, u"ContadorAccesos"_qs, u"5"_qs);
  GrabarConfigUsuario(u"LUIS"_qs, u"Empresas"_qs, u"1,2"_qs);
  // Another program's line written meanwhile stays.
  Ejecutar(
      u"UPDATE USUARIO SET Configuracion = 'CamposNoVisibles=Margen\r\nProcesosNoAutorizados=BorrarTodo\r\nOtro=1' "
      "WHERE Codigo = 'MODELO'"_qs,
      kGeneral);
  GrabarConfigUsuario(u"LUIS"_qs, u"ProcesosNoAutorizados"_qs, QString());
  GrabarConfigUsuario(u"NADIE"_qs, u"Empresas"_qs, u"9"_qs);
  // Line breaks of a memo among several columns come as blanks.
  EXPECT_EQ(Fila("MODELO", "Configuracion, Empresas"), u"CamposNoVisibles=Margen Otro=1 |1,2"_qs);
  EXPECT_EQ(Fila("LUIS", "Configuracion, Empresas"), u"ContadorAccesos=5 CamposNoVisibles=Propio |"_qs);
  EXPECT_TRUE(usuario.Active() && mensajes.Messages().isEmpty());

  mensajes.Expect(u"A"_qs);
  usuario.Close();
  usuario.SetReadOnly(true);
  usuario.Open();
  GrabarConfigUsuario(u"ANA"_qs, u"CamposNoVisibles"_qs, u"Margen"_qs);
  EXPECT_EQ(mensajes.Texts().value(0),
            u"¡Imposible grabar la configuración del usuario!. Motivo: Cannot modify a read-only dataset"_qs);
  EXPECT_EQ(ValorLista(u"CamposNoVisibles"_qs, Fila("ANA", "Configuracion")), u"Precio"_qs);
}
