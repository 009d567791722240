#include "core/datamodule/ArchivosValores.h"
#include "core/datamodule/ConfiguracionSMTP.h"
#include "core/datamodule/EditorRegistroINI.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/ObjetosBlob.h"
#include "core/datamodule/PresentacionFechaHora.h"
#include "core/datamodule/SesionesUso.h"
#include "core/datamodule/TablaBusquedas.h"
#include "core/datamodule/TextosPlantilla.h"
#include "core/services/RutinasBusqueda.h"
#include "core/services/VisorAgregarDatos.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/system/Equipo.h"
#include "platform/Form.h"
#include "platform/FormRegistry.h"
#include "platform/IniFile.h"
#include "platform/TextFile.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/core/connections/OtraCopiaAbierta.h"
#include "tests/fixtures/FullDisk.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTimer>

namespace {

constexpr const char* kCarpeta = kCarpetaOtraCopia;

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"copia-abierta"_qs, OtraCopiaAbierta);

constexpr char kPrefijo[] = "ZEM_PREFIX";
constexpr int kEscrituras = 40;

// Another copy writing its own search tables and usage lines (<prefix>0 to
// <prefix>39) in the program folder, once told "go".
void otraCopiaEscribiendo() {
  CarpetaPrograma = qEnvironmentVariable(kCarpeta) + u'/';
  MonitorizarActividadUsuario = true;
  const QString prefijo = qEnvironmentVariable(kPrefijo);
  QWidget formulario;
  SecondProcess::Report(u"lista"_qs);
  if (SecondProcess::NextLine() != u"go") return;
  for (int i = 0; i < kEscrituras; ++i) {
    GrabarBusqueda(prefijo + QString::number(i), u"TABLA"_qs + QString::number(i));
    RegistrarUso(&formulario, prefijo + QString::number(i));
  }
  SecondProcess::Report(u"hecho"_qs);
}

[[maybe_unused]] const bool escribiendo = SecondProcess::RegisterJob(u"copia-escribiendo"_qs, otraCopiaEscribiendo);

class SesionesUso : public ConexionesFixture {};

QStringList lineasArchivo(const QString& archivo) {
  return TextFile::Read(archivo).split(u"\r\n"_qs, Qt::SkipEmptyParts);
}

}  // namespace

TEST_F(SesionesUso, SessionsOfEveryCopyAreCounted) {
  Iniciar();
  EXPECT_EQ(ContarSesiones(), 1);
  SecondProcess segunda(u"copia-abierta"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(segunda.ReadReport(), u"abierta"_qs);
  EXPECT_EQ(ContarSesiones(), 2);
  EXPECT_EQ(ContarSesiones(UsuarioWindows()), 2);
  EXPECT_EQ(ContarSesiones(u"OTRO"_qs), 0);
  EXPECT_EQ(UsuariosConectados(), UsuarioWindows());
  EXPECT_EQ(segunda.Finish(), 0);
  EXPECT_EQ(ContarSesiones(), 1);
}

TEST_F(SesionesUso, TheUsageLogKeepsItsLast101Lines) {
  CarpetaPrograma = carpeta.Path() + u'/';
  const QString archivo = CarpetaPrograma + UsuarioWindows() + u".log"_qs;
  QWidget formulario;
  formulario.setObjectName(u"fPRUEBA"_qs);
  formulario.setWindowTitle(u"Prueba"_qs);

  MonitorizarActividadUsuario = false;
  RegistrarUso(&formulario, u"Create"_qs);
  EXPECT_FALSE(QFile::exists(archivo));

  MonitorizarActividadUsuario = true;
  QStringList viejas;
  for (int i = 0; i < 101; ++i) viejas.append(u"linea %1"_qs.arg(i));
  TextFile::Write(archivo, viejas.join(u"\r\n"_qs) + u"\r\n"_qs);
  RegistrarUso(&formulario, u"Show"_qs);
  QStringList lineas = lineasArchivo(archivo);
  ASSERT_EQ(lineas.size(), 101);
  EXPECT_EQ(lineas.first(), u"linea 1"_qs);
  EXPECT_TRUE(lineas.last().contains(u", Show, fPRUEBA, Prueba, "_qs)) << lineas.last().toStdString();

  RegistrarUso(&formulario, u"Start,Create"_qs);
  lineas = lineasArchivo(archivo);
  ASSERT_EQ(lineas.size(), 1);
  EXPECT_TRUE(lineas.first().contains(u", Create, fPRUEBA, "_qs));
  RegistrarUso(nullptr, u"Close"_qs);
  EXPECT_EQ(lineasArchivo(archivo).size(), 1);

  // A log that cannot be read or written does not stop the program.
  QFile::remove(archivo);
  ASSERT_TRUE(QDir().mkpath(archivo));
  RegistrarUso(&formulario, u"Close"_qs);
  EXPECT_TRUE(QFileInfo(archivo).isDir());
}

class SesionesUsoSMTP : public ConexionesFixture, public ModuloConUsuarios {};

TEST_F(SesionesUsoSMTP, SettingsComeFromTheUserOrTheCompany) {
  Iniciar();
  CrearUsuarios(u"Codigo, Categoria, Configuracion"_qs,
                u"('ANA', 'Normal', 'ServidorSMTP=smtp.ana\r\nPuertoSSL(Masivo)=465'), ('LUIS', 'Normal', NULL)"_qs);

  const QString empresa = u"ServidorSMTP=smtp.empresa\r\nCuentaFromSMTP=yo@empresa"_qs;
  EXPECT_EQ(ConfigSMTP(u"ANA"_qs, QString(), empresa),
            u"ClienteSMTP=\r\nServidorSMTP=smtp.ana\r\nCodigoUsuarioSMTP=\r\nClaveAccesoSMTP=\r\nPuertoSSL=\r\n"
            "CuentaSMTPCopiasDocumentos=\r\nCuentaFromSMTP="_qs);
  EXPECT_TRUE(ConfigSMTP(u"ANA"_qs, u"Masivo"_qs, empresa).contains(u"\r\nPuertoSSL(Masivo)=465\r\n"_qs));
  EXPECT_EQ(ConfigSMTP(u"LUIS"_qs, QString(), empresa),
            u"ClienteSMTP=\r\nServidorSMTP=smtp.empresa\r\nCodigoUsuarioSMTP=\r\nClaveAccesoSMTP=\r\nPuertoSSL=\r\n"
            "CuentaSMTPCopiasDocumentos=\r\nCuentaFromSMTP=yo@empresa"_qs);
}

TEST_F(SesionesUso, StoredObjectsAreExtractedToFiles) {
  Iniciar();
  Ejecutar(u"CREATE TABLE BLOBTAB (NombreTabla VARCHAR(30), ClaveTabla VARCHAR(100), IdObjeto VARCHAR(30), "
           "TipoObjeto VARCHAR(10) NULL, Objeto IMAGE NULL, "
           "CONSTRAINT BLOBTAB_Clave1 PRIMARY KEY (NombreTabla, ClaveTabla, IdObjeto))"_qs);
  const QByteArray bytes("%PDF\0\r\n\xff", 8);
  Table blobs;
  blobs.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  blobs.SetTableName(u"BLOBTAB"_qs);
  blobs.Open();
  for (const char* tipo : {"PDF", ""}) {
    blobs.Append();
    blobs.FieldByName(u"NombreTabla"_qs).SetAsString(u"CLIENTES"_qs);
    blobs.FieldByName(u"ClaveTabla"_qs).SetAsString(u"O'Neil|1"_qs);
    blobs.FieldByName(u"IdObjeto"_qs).SetAsString(*tipo ? u"contrato"_qs : u"foto"_qs);
    blobs.FieldByName(u"TipoObjeto"_qs).SetAsString(QString::fromLatin1(tipo));
    blobs.FieldByName(u"Objeto"_qs).SetAsBytes(bytes);
    blobs.Post();
  }
  TModuloDatos modulo;
  EXPECT_EQ(TipoObjetoBlob(u"dbo.CLIENTES"_qs, u"O'Neil|1"_qs, u"contrato"_qs), u"PDF"_qs);
  const QString archivo = ExtraerObjetoBlob(u"dbo.CLIENTES"_qs, u"O'Neil|1"_qs, u"contrato"_qs);
  EXPECT_TRUE(archivo.endsWith(u".pdf"_qs)) << archivo.toStdString();
  QFile leido(archivo);
  ASSERT_TRUE(leido.open(QIODevice::ReadOnly));
  EXPECT_EQ(leido.readAll(), bytes);
  const QString sinTipo = ExtraerObjetoBlob(u"CLIENTES"_qs, u"O'Neil|1"_qs, u"foto"_qs);
  EXPECT_FALSE(sinTipo.isEmpty() || QFileInfo(sinTipo).fileName().contains(u'.'));
  EXPECT_EQ(ExtraerObjetoBlob(u"CLIENTES"_qs, u"O'Neil|1"_qs, u"otro"_qs), QString());
  QFile::remove(archivo);
  QFile::remove(sinTipo);
}

TEST_F(SesionesUso, SettingsFilesAreReadAndWritten) {
  CarpetaPrograma = carpeta.Path() + u'/';
  EXPECT_EQ(LeerBusqueda(u"edCliente"_qs), QString());
  GrabarBusqueda(u"edCliente"_qs, u"CLIENTES"_qs);
  GrabarBusqueda(u"edArticulo"_qs, u"ARTICULO"_qs);
  GrabarBusqueda(u"edArticulo"_qs, QString());
  EXPECT_EQ(LeerBusqueda(u"EDCLIENTE"_qs), u"CLIENTES"_qs);
  EXPECT_EQ(TextFile::Read(CarpetaPrograma + u"BUSQUEDA.TXT"_qs), u"edCliente=CLIENTES\r\n"_qs);
  QFile::remove(CarpetaPrograma + u"BUSQUEDA.TXT"_qs);
  ASSERT_TRUE(QDir().mkpath(CarpetaPrograma + u"BUSQUEDA.TXT"_qs));
  mensajes.Expect(u"A"_qs);
  GrabarBusqueda(u"edCliente"_qs, u"CLIENTES"_qs);
  EXPECT_TRUE(mensajes.Texts().value(0).startsWith(
      u"No ha sido posible grabar los datos en la tabla de búsquedas. Motivo: "_qs));

  const QString ini = CarpetaPrograma + u"nueva/PRUEBA.INI"_qs;
  EXPECT_FALSE(EscribirValorINI(ini, u"Sección"_qs, u"Clave"_qs, u"uno"_qs));  // no such folder
  const QString texto = CarpetaPrograma + u"PRUEBA.INI"_qs;
  ASSERT_TRUE(EscribirValorINI(texto, u"Sección"_qs, u"Clave"_qs, u"año"_qs));
  EXPECT_EQ(IniFile(texto).ReadString(u"Sección"_qs, u"Clave"_qs, QString()), u"año"_qs);
  QString valor;
  for (const auto& [nombre, esperado] : {std::pair{u"Clave"_qs, u"año"_qs}, {u"Otra"_qs, u"defecto"_qs}}) {
    TextFile::Write(texto, u"[Sección]\r\nClave=año\r\nOtra=\r\n"_qs);
    LeerValorTexto(texto, nombre, valor, u"defecto"_qs);
    EXPECT_EQ(valor, esperado);
  }
  LeerValorTexto(CarpetaPrograma + u"NOEXISTE.TXT"_qs, u"Clave"_qs, valor, u"defecto"_qs);
  EXPECT_EQ(valor, u"defecto"_qs);
}

TEST_F(SesionesUso, CopiesWritingSettingsAtOnceKeepEachOthersLines) {
  CarpetaPrograma = carpeta.Path() + u'/';
  MonitorizarActividadUsuario = true;
  SecondProcess otra(u"copia-escribiendo"_qs, {{kCarpeta, carpeta.Path()}, {kPrefijo, u"A"_qs}});
  ASSERT_EQ(otra.ReadReport(), u"lista"_qs);
  otra.Send(u"go"_qs);
  QWidget formulario;
  for (int i = 0; i < kEscrituras; ++i) {
    GrabarBusqueda(u"B"_qs + QString::number(i), u"TABLA"_qs + QString::number(i));
    RegistrarUso(&formulario, u"B"_qs + QString::number(i));
  }
  EXPECT_EQ(otra.ReadReport(), u"hecho"_qs);
  EXPECT_EQ(otra.Finish(), 0);

  const QString registro = TextFile::Read(CarpetaPrograma + UsuarioWindows() + u".log"_qs);
  for (const QString& prefijo : {u"A"_qs, u"B"_qs})
    for (int i = 0; i < kEscrituras; ++i) {
      const QString nombre = prefijo + QString::number(i);
      EXPECT_EQ(LeerBusqueda(nombre), u"TABLA"_qs + QString::number(i)) << nombre.toStdString();
      EXPECT_TRUE(registro.contains(u", "_qs + nombre + u", "_qs)) << nombre.toStdString();
    }
}

TEST_F(SesionesUso, AFullDiskKeepsTheSettingsAndIsReported) {
  CarpetaPrograma = carpeta.Path() + u'/';
  const QString ini = CarpetaPrograma + u"ZEMWIN.INI"_qs;
  const QString busquedas = CarpetaPrograma + u"BUSQUEDA.TXT"_qs;
  const QByteArray configuracion = "[Configuraci\xF3n]\r\nModoAdministradorActivado=SI\r\n";
  TextFile::WriteBytes(ini, configuracion);
  TextFile::WriteBytes(busquedas, "edCliente=CLIENTES\r\n");
  mensajes.Expect(u"A"_qs);
  {
    const FullDisk lleno(64);
    EXPECT_FALSE(EscribirValorINI(ini, u"Configuración"_qs, u"AspectoAplicacion"_qs, QString(100, u'x')));
    GrabarBusqueda(u"edArticulo"_qs, QString(100, u'x'));
  }
  EXPECT_EQ(TextFile::ReadBytes(ini), configuracion);
  EXPECT_EQ(TextFile::ReadBytes(busquedas), QByteArray("edCliente=CLIENTES\r\n"));
  EXPECT_TRUE(mensajes.Texts().value(0).startsWith(
      u"No ha sido posible grabar los datos en la tabla de búsquedas. Motivo: "_qs));
}

TEST(EditorRegistroINI, ValuesAreMergedIntoTheTemplate) {
  struct Caso {
    const char* valores;
    const char* plantilla;
    const char* mezcla;
  } const casos[] = {
      {"B=2", "A=uno\r\nB=dos", "A=uno\r\nB=2\r\n"},
      {"A=\r\nZ=9", "A=uno\r\nB=dos", "A=\r\nB=dos\r\n"},  // given empty; Z dropped
      {"NULLES=NULLO", "NULLES=x", "NULLES=NULLO\r\n"},   // only the marker itself is removed
      {"b=2\r\nB=3", "A=uno\r\nB=dos", "A=uno\r\nB=2\r\n"},  // any case; the first line of a name
      {"", "A=NULL\r\nSinValor", "A=\r\nSinValor\r\n"},
  };
  for (const Caso& caso : casos)
    EXPECT_EQ(MezclarRegistroINI(QString::fromLatin1(caso.valores), QString::fromLatin1(caso.plantilla)),
              QString::fromLatin1(caso.mezcla));
}

TEST(EditorRegistroINI, TheEditorShowsTheMergedLinesAndGivesBackTheEdited) {
  ScriptedPresenter mensajes;
  FormRegistry::Register(QLatin1String(kFormularioRegistroINI), [](QWidget* owner) {
    auto* formulario = new Form(owner);
    (new QTableWidget(formulario))->setObjectName(u"StringGrid"_qs);
    return formulario;
  });
  for (const bool aceptar : {true, false}) {
    QStringList vistos;
    QTimer::singleShot(0, [&] {
      auto* editor = qobject_cast<Form*>(QApplication::activeModalWidget());
      ASSERT_NE(editor, nullptr);
      auto* rejilla = editor->findChild<QTableWidget*>(u"StringGrid"_qs);
      vistos = {editor->Caption(), rejilla->horizontalHeaderItem(1)->text(),
                rejilla->item(1, 1)->data(Qt::UserRole + 1).toStringList().join(u'/'),
                rejilla->item(0, 1)->data(Qt::UserRole).toBool() ? u"ELLIPSIS"_qs : QString()};
      rejilla->item(1, 1)->setText(u"NO"_qs);
      editor->SetModalResult(aceptar ? mrOk : mrCancel);
    });
    QString resultado;
    EditorRegistroINI(u"Activado=SI"_qs, u"Rango=\r\nActivado=NO"_qs, QString(), u"Dato;Valor"_qs,
                      u"Rango=ELLIPSIS_RANGO\r\nActivado=SI,NO"_qs, u"Formato=10,20,400,300"_qs, resultado);
    EXPECT_EQ(vistos, QStringList({u"Editor de Registro INI"_qs, u"Valor"_qs, u"SI/NO"_qs, u"ELLIPSIS"_qs}));
    EXPECT_EQ(resultado, aceptar ? u"Rango=\r\nActivado=NO\r\n"_qs : u"Rango=\r\nActivado=SI\r\n"_qs);
  }
  EXPECT_EQ((std::array<int, 4>{PosicionGENERINI.Left, PosicionGENERINI.Top, PosicionGENERINI.Height,
                                PosicionGENERINI.Width}),
            (std::array<int, 4>{10, 20, 300, 400}));
  FormRegistry::Clear();
}

TEST_F(SesionesUso, TimesAreCompletedAndZeroDaysHidden) {
  Iniciar();
  Ejecutar(u"CREATE TABLE FICHA (Id INTEGER, Momento DATETIME NULL, CONSTRAINT FICHA_Clave1 PRIMARY KEY (Id))"_qs);
  Table ficha;
  ficha.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  ficha.SetTableName(u"FICHA"_qs);
  ficha.Open();
  ficha.Append();
  Field& momento = ficha.FieldByName(u"Momento"_qs);
  EXPECT_EQ(MostrarFecha(momento) + MostrarHora(momento), QString());
  struct Caso {
    const char* tecleado;
    const char* hora;
    const char* fecha;
  } const casos[] = {{"14", "14:00:00", ""}, {"9:30", "09:30:00", ""}, {"", "", ""}};
  for (const Caso& caso : casos) {
    CompletarHora(momento, QString::fromLatin1(caso.tecleado));
    EXPECT_EQ(MostrarHora(momento), QString::fromLatin1(caso.hora)) << caso.tecleado;
    EXPECT_EQ(MostrarFecha(momento), QString::fromLatin1(caso.fecha)) << caso.tecleado;
  }
  momento.SetAsString(u"05/03/2024 10:15:00"_qs);
  EXPECT_EQ(MostrarFecha(momento), u"05/03/2024 10:15:00"_qs);
  EXPECT_EQ(MostrarHora(momento), u"05/03/2024 10:15:00"_qs);
}

TEST_F(SesionesUso, TextsAreReadAndTemplatesFilledIn) {
  Iniciar();
  Ejecutar(u"CREATE TABLE TEXTO (Codigo VARCHAR(10), Descripcion VARCHAR(40) NULL, Texto TEXT NULL, "
           "Tipo VARCHAR(20) NULL, CONSTRAINT TEXTO_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO TEXTO VALUES ('SALUDO', 'Saludo', 'Hola\r\nmundo', NULL)"_qs);
  Ejecutar(u"INSERT INTO TEXTO VALUES ('FICHA', 'Ficha de cliente', 'Nombre: x\r\nFecha:', 'Plantilla')"_qs);
  QStringList pedidos;
  FormRegistry::Register(QLatin1String(kFormularioVisorValores), [&pedidos](QWidget* owner) {
    auto* visor = new Form(owner);
    auto* rejilla = new QTableWidget(visor);
    rejilla->setObjectName(u"StringGrid"_qs);
    QTimer::singleShot(0, visor, [visor, rejilla, &pedidos] {
      pedidos = QStringList{visor->Caption(), visor->property("OpcionesVisor").toString(), ModoVisorGENEVLIS};
      for (int fila = 0; fila < rejilla->rowCount(); ++fila) pedidos.append(rejilla->item(fila, 0)->text());
      rejilla->item(0, 1)->setText(u"Ana"_qs);
      visor->SetModalResult(mrOk);
    });
    return visor;
  });

  EXPECT_EQ(TextoPlantilla(u"SALUDO"_qs), u"Hola\r\nmundo"_qs);
  EXPECT_EQ(TextoPlantilla(u"FICHA"_qs), u"Nombre: Ana\r\nFecha: \r\n"_qs);
  EXPECT_EQ(pedidos, QStringList({u"Ficha de cliente"_qs, u"RespetarNombresCampos"_qs, u"VisorAgregarDatos"_qs,
                                  u"Nombre"_qs, u"Fecha"_qs}));

  // An unknown code is chosen in the search, with the code as its default.
  EXPECT_EQ(TextoPlantilla(u"SAL"_qs), QString());
  QString defecto;
  RutinasBusqueda rutinas;
  rutinas.BuscarDatoPorDefecto = [&defecto](const QString& tabla, int, const QString&, const QString& valor) {
    defecto = tabla + u'/' + valor;
    return Variant::String(u"SALUDO"_qs);
  };
  InstalarRutinasBusqueda(rutinas);
  EXPECT_EQ(TextoPlantilla(u"SAL"_qs), u"Hola\r\nmundo"_qs);
  EXPECT_EQ(defecto, u"TEXTO/SAL"_qs);
  InstalarRutinasBusqueda({});
  FormRegistry::Clear();
}
