#include "dialogs/Genedoce.h"

#include "core/forms/GanchosFormulario.h"
#include "core/services/DocumentacionElectronica.h"
#include "core/services/EditorTexto.h"
#include "core/startup/Configuracion.h"
#include "dialogs/DocumentosElectronicos.h"
#include "platform/DesktopServices.h"
#include "platform/FormRegistry.h"
#include "platform/ProcessLauncher.h"
#include "platform/TextFile.h"
#include "platform/VisorWeb.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QUrl>
#include <QShowEvent>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString kNoRegistrado = u"¡No ha sido posible registrar el Documento!"_qs;

struct VisorRegistrado : VisorWeb {
  QWidget* Crear(QWidget& panel) override {
    auto* vista = new QWidget(&panel);
    vista->setProperty("scripts", true);
    return vista;
  }
  QWidget* CrearSinScripts(QWidget& panel) override {
    auto* vista = new QWidget(&panel);
    vista->setProperty("scripts", false);
    return vista;
  }
  void Navegar(QWidget&, const QString& direccion) override { direcciones.append(direccion); }
  QStringList direcciones;
  VisorWebSeam::Scoped instalado{*this};
};

struct EscritorioRegistrado : DesktopServices {
  bool OpenFile(const QString& path) override { return abrir(path); }
  bool OpenUrl(const QString& address) override { return abrir(address); }
  bool abrir(const QString& que) {
    abiertos.append(que);
    return abre;
  }
  bool abre = true;
  QStringList abiertos;
  DesktopServicesSeam::Scoped instalado{*this};
};

// The mail helper program: what its parameter file held.
struct AyudanteCorreo : ProcessLauncher {
  bool Start(const QString&, const QStringList&, const QString&) override { return true; }
  std::optional<int> Run(const QString&, const QStringList& argumentos, const QString&) override {
    parametros = TextFile::Read(argumentos.value(1));
    return 0;
  }
  std::optional<int> RunPiped(const QString&, const QStringList&, const QString&, const QByteArray&,
                              QByteArray&) override {
    return std::nullopt;
  }
  QString parametros;
  ProcessLauncherSeam::Scoped instalado{*this};
};

// The text window, accepting the text set for it.
QString textoEditado;
class Texto : public Form {
 public:
  explicit Texto(QWidget* owner) : Form(owner) { (new QPlainTextEdit(this))->setObjectName(u"Memo1"_qs); }

 protected:
  void showEvent(QShowEvent* event) override {
    Form::showEvent(event);
    findChild<QPlainTextEdit*>()->setPlainText(textoEditado);
    QTimer::singleShot(0, this, [this] { SetModalResult(mrOk); });
  }
};

// The documentation window on record "A|B" of table T, on the engine given.
class Documentacion : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  Documentacion() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
    FormRegistry::Register(QLatin1String(kFormularioEditorTexto), [](QWidget* owner) { return new Texto(owner); });
    f.NombreTabla = u"T"_qs;
    f.ClaveTabla = u"A|B"_qs;
    f.CargarDocumentos();
  }
  QTreeWidget& Lista() { return *f.findChild<QTreeWidget*>(u"ListView1"_qs); }
  QStringList Titulos() {
    QStringList titulos;
    for (int n = 0; n < Lista().topLevelItemCount(); ++n) titulos << Lista().topLevelItem(n)->text(0);
    titulos.sort();
    return titulos;
  }
  void Elegir(const QString& titulo) {
    QTreeWidgetItem* elemento = Lista().findItems(titulo, Qt::MatchExactly).value(0);
    ASSERT_NE(elemento, nullptr) << titulo.toStdString();
    Lista().setCurrentItem(elemento);
  }
  static void Documento(const QString& tabla, const QString& clave, const QString& titulo, const QString& ubicacion) {
    Ejecutar(SentenciaInsertarDocumento(tabla, clave, titulo, ubicacion, QString()));
  }
  static QString Filas(const QString& sql) { return EjecutarSQL(sql, u"Database"_qs).trimmed(); }

  VisorRegistrado visor;
  EscritorioRegistrado escritorio;
  TfGENEDOCE f;
};

}  // namespace

TEST(SentenciasDocumentos, AreTheSystemsTextsWithValuesQuoted) {
  const QString t = u"T"_qs, c = u"O'B|2"_qs, n = u"Nota d'alta"_qs;
  const QString registro = u"   WHERE NombreTabla = 'T'    AND ClaveTabla = 'O''B|2'"_qs;
  const QString documento = registro + u"    AND Nombre = 'Nota d''alta'"_qs;
  const QString cabeza = u"SELECT TOP 1 ClaveTabla FROM DOCUTRON   WHERE NombreTabla = 'T'"_qs;
  const QStringList casos[] = {
      {SentenciaDocumentos(t, c), u"SELECT Nombre, Ubicacion, Descripcion FROM DOCUTRON"_qs + registro},
      {SentenciaDescripcion(t, c, n),
       u"SELECT Descripcion FROM DOCUTRON"_qs + documento + u"  ORDER BY NombreTabla, ClaveTabla DESC"_qs},
      {SentenciaActualizarDescripcion(t, c, n, u"a\r\nb'"_qs),
       u"UPDATE DOCUTRON   SET Descripcion = 'a\r\nb'''"_qs + documento.mid(1)},
      {SentenciaEliminarDocumento(t, c, n), u"DELETE DOCUTRON"_qs + documento},
      {SentenciaPasoDocumentos(PasoDocumentos::Primero, t, c), cabeza + u"  ORDER BY NombreTabla, ClaveTabla"_qs},
      {SentenciaPasoDocumentos(PasoDocumentos::Ultimo, t, c), cabeza + u"  ORDER BY NombreTabla, ClaveTabla DESC"_qs},
      {SentenciaPasoDocumentos(PasoDocumentos::Siguiente, t, c),
       cabeza + u"    AND ClaveTabla > 'O''B|2'  ORDER BY NombreTabla, ClaveTabla"_qs},
      {SentenciaPasoDocumentos(PasoDocumentos::Anterior, t, c),
       cabeza + u"    AND ClaveTabla < 'O''B|2'  ORDER BY NombreTabla, ClaveTabla DESC"_qs},
      {SentenciaDestinatario(u"CLIENTE"_qs, u"12|X"_qs), u"SELECT DirecCorreoElectronico FROM CLIENTE  WHERE Codigo = 12"_qs},
      {SentenciaDestinatario(u"PROVEEDR"_qs, u"1 OR 1=1|X"_qs),
       u"SELECT DirecCorreoElectronico FROM PROVEEDR  WHERE Codigo = '1 OR 1=1'"_qs},
      {SentenciaDestinatario(u"PEDIDO"_qs, u"12"_qs), QString()},
  };
  for (const QStringList& caso : casos) EXPECT_EQ(caso.at(0), caso.at(1));
}

TEST(SentenciasDocumentos, AMailNamesItsDocumentsAndAttachesEveryLocation) {
  const TemporaryFolder carpeta;
  const QString archivo = carpeta.Path() + u"/DATABASE.TXT"_qs;
  TextFile::WriteBytes(archivo, "x");
  // One web page: its title (which may hold "|") is the subject, the body names the address.
  const CorreoDocumentos pagina = ComponerCorreoDocumentos({u"Catálogo | 2024|http://zem.es/c"_qs});
  EXPECT_EQ(pagina.asunto, u"Catálogo | 2024"_qs);
  EXPECT_EQ(pagina.cuerpo, u"La referencia siguiente puede ser de su interés: Catálogo | 2024 (http://zem.es/c)"_qs);
  EXPECT_EQ(pagina.adjuntos, u"http://zem.es/c|"_qs);
  EXPECT_EQ(ComponerCorreoDocumentos({u"Tablas|"_qs + archivo}).cuerpo, u"Ver documentos adjuntos..."_qs);
  const CorreoDocumentos varios = ComponerCorreoDocumentos({u"Tablas|"_qs + archivo, u"Web|http://zem.es"_qs});
  EXPECT_EQ(varios.asunto, u"Documentos/referencias de su interés"_qs);
  EXPECT_EQ(varios.cuerpo, u"Adjunto le remitimos los siguientes documentos/referencias: \r\nTablas (DATABASE.TXT)\r\n"
                           "Web (http://zem.es)\r\n"_qs);
  EXPECT_EQ(varios.adjuntos, archivo + u"|http://zem.es|"_qs);
}

TEST_P(Documentacion, DocumentsAreStoredShownAndDeletedAsTyped) {
  EXPECT_EQ(f.findChild<QLabel*>(u"pnClave"_qs)->text(), u"T - A · B"_qs);
  const QString titulo = u"Nota d'alta | 50% \\ /"_qs;
  mensajes.Expect(u"P"_qs, u"http://zem.es/a?b=1|2"_qs).Expect(u"P"_qs, titulo);
  f.pbAgregarWebClick();
  // A note of several lines.
  Lista().clearSelection();
  textoEditado = u"Primera línea\nO'Brien | segunda"_qs;
  mensajes.Expect(u"P"_qs, u"Nota"_qs);
  f.pbEditarDescripcionClick();
  // Refused: a title too long, a title already there, a prompt cancelled.
  mensajes.Expect(u"P"_qs, u"http://zem.es"_qs).Expect(u"P"_qs, QString(126, u'x')).Expect(u"A"_qs);
  mensajes.Expect(u"P"_qs, u"http://zem.es"_qs).Expect(u"P"_qs, titulo).Expect(u"A"_qs);
  mensajes.Expect(u"P"_qs, QString());
  for (int n = 0; n < 3; ++n) f.pbAgregarWebClick();
  EXPECT_EQ(mensajes.Texts().filter(kNoRegistrado).size(), 2);
  EXPECT_EQ(Filas(u"SELECT COUNT(*) FROM DOCUTRON"_qs), u"2"_qs);

  f.CargarDocumentos();
  EXPECT_EQ(Titulos(), QStringList({u"Nota"_qs, titulo}));
  Elegir(u"Nota"_qs);
  EXPECT_EQ(f.findChild<QPlainTextEdit*>(u"MemoDescripcion"_qs)->toPlainText(), u"Primera línea\nO'Brien | segunda"_qs);
  Elegir(titulo);
  EXPECT_EQ(visor.direcciones.last(), u"http://zem.es/a?b=1|2"_qs) << "an address opens as typed";
  textoEditado = u"Otra\nmás"_qs;
  f.pbEditarDescripcionClick();
  f.pbEliminarClick();
  EXPECT_EQ(Titulos(), QStringList{u"Nota"_qs});
  EXPECT_EQ(Filas(u"SELECT Nombre FROM DOCUTRON"_qs), u"Nota"_qs);
}

TEST_P(Documentacion, PathsPicturesAndAddressesAreShownAndOpenedEachTheirWay) {
  const QString foto = carpeta.Path() + u"/Foto.JPG"_qs;
  QImage(40, 30, QImage::Format_RGB32).save(foto, "JPG");
  // A picture whose header claims 30000 x 30000 pixels.
  QByteArray enorme = TextFile::ReadBytes(foto);
  const qsizetype sof = enorme.indexOf("\xFF\xC0");
  ASSERT_GT(sof, 0);
  enorme[sof + 5] = enorme[sof + 7] = char(0x75);
  enorme[sof + 6] = enorme[sof + 8] = char(0x30);
  TextFile::WriteBytes(carpeta.Path() + u"/Enorme.jpg"_qs, enorme);
  Documento(u"T"_qs, u"A|B"_qs, u"Foto"_qs, foto);
  Documento(u"T"_qs, u"A|B"_qs, u"Enorme"_qs, carpeta.Path() + u"/Enorme.jpg"_qs);
  const QString contrato = carpeta.Path() + u"/contrato.pdf"_qs;
  TextFile::WriteBytes(contrato, "%PDF-1.4\n");
  Documento(u"T"_qs, u"A|B"_qs, u"Contrato"_qs, contrato);
  Documento(u"T"_qs, u"A|B"_qs, u"Web"_qs, u"www.zem.es"_qs);
  f.CargarDocumentos();
  auto* imagen = f.findChild<QLabel*>(u"Imagen"_qs);
  Elegir(u"Foto"_qs);
  EXPECT_EQ(imagen->pixmap().size(), QSize(40, 30));
  Elegir(u"Enorme"_qs);
  EXPECT_TRUE(imagen->pixmap().isNull()) << "too large to read";
  Elegir(u"Contrato"_qs);
  EXPECT_EQ(visor.direcciones.last(), u"file://"_qs + contrato);

  f.pbEjecutarClick();
  Elegir(u"Web"_qs);
  f.pbEjecutarClick();
  EXPECT_EQ(escritorio.abiertos, QStringList({contrato, u"www.zem.es"_qs}));
  escritorio.abre = false;
  mensajes.Expect(u"A"_qs);
  f.pbEjecutarClick();
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¡Imposible ejecutar la aplicación!"_qs});
}

// The desktop's opener would start and say nothing about a file that is gone.
// Names a file may have that mean something in an address.
TEST_P(Documentacion, AFileWhoseNameHoldsAddressSignsIsShownItself) {
  for (const QString& nombre : {u"Factura #3.html"_qs, u"¿Precio?.html"_qs, u"100%25 a%.html"_qs}) {
    const QString ruta = carpeta.Path() + u'/' + nombre;
    TextFile::WriteBytes(ruta, "<p>x</p>");
    Documento(u"T"_qs, u"A|B"_qs, nombre, ruta);
  }
  f.CargarDocumentos();
  for (const QString& nombre : {u"Factura #3.html"_qs, u"¿Precio?.html"_qs, u"100%25 a%.html"_qs}) {
    Elegir(nombre);
    const QUrl direccion(visor.direcciones.last());
    EXPECT_TRUE(direccion.isLocalFile()) << visor.direcciones.last().toStdString();
    EXPECT_EQ(direccion.toLocalFile(), carpeta.Path() + u'/' + nombre) << visor.direcciones.last().toStdString();
  }
}

TEST_P(Documentacion, OpeningADocumentThatIsGoneWarnsAndStartsNothing) {
  const QString ido = carpeta.Path() + u"/borrado.pdf"_qs;
  Documento(u"T"_qs, u"A|B"_qs, u"Borrado"_qs, ido);
  Documento(u"T"_qs, u"A|B"_qs, u"Windows"_qs, u"\\\\servidor\\docs\\nota.doc"_qs);
  f.CargarDocumentos();
  for (const QString& titulo : {u"Borrado"_qs, u"Windows"_qs}) {
    Elegir(titulo);
    mensajes.Expect(u"A"_qs);
    f.pbEjecutarClick();
  }
  EXPECT_EQ(mensajes.Texts(), QStringList(2, u"¡Imposible ejecutar la aplicación!"_qs));
  EXPECT_TRUE(escritorio.abiertos.isEmpty());
}

// An attached page is shown in the view that runs no script.
TEST_P(Documentacion, AttachedPagesAreShownWithoutScripts) {
  QWidget* vista = f.findChild<QWidget*>(u"WebBrowser1"_qs);
  ASSERT_NE(vista, nullptr);
  EXPECT_EQ(vista->property("scripts"), QVariant(false));
}

TEST_P(Documentacion, PagingGoesThroughTheTablesKeysThatHaveDocuments) {
  for (const char* clave : {"A|B", "C", "B"}) Documento(u"T"_qs, QString::fromLatin1(clave), u"x"_qs, QString());
  Documento(u"U"_qs, u"Z"_qs, u"x"_qs, QString());
  QStringList claves;
  f.pbPrimeroClick();
  claves << f.ClaveTabla;
  f.pbSiguienteClick();
  claves << f.ClaveTabla;
  f.pbSiguienteClick();
  claves << f.ClaveTabla;
  mensajes.Expect(u"I"_qs);
  f.pbSiguienteClick();
  claves << f.ClaveTabla;
  f.pbAnteriorClick();
  claves << f.ClaveTabla;
  f.pbUltimoClick();
  claves << f.ClaveTabla;
  EXPECT_EQ(claves, QStringList({u"A|B"_qs, u"B"_qs, u"C"_qs, u"C"_qs, u"B"_qs, u"C"_qs}));
  EXPECT_EQ(mensajes.Texts(), QStringList{u"Esta Vd. en el último registro"_qs});
  EXPECT_EQ(Lista().topLevelItemCount(), 1);

  f.NombreTabla = u"SINDOCUMENTOS"_qs;
  f.pbPrimeroClick();
  EXPECT_EQ(f.ClaveTabla, QString());
  EXPECT_EQ(Lista().topLevelItemCount(), 0);
}

TEST_P(Documentacion, TheSelectionIsMailedAndEmptiedOnceSent) {
  Documento(u"T"_qs, u"A|B"_qs, u"Web"_qs, u"http://zem.es"_qs);
  f.CargarDocumentos();
  mensajes.Expect(u"A"_qs);
  f.pbEnviarEMailClick();
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¡Debe seleccionar algún documento!"_qs});
  Elegir(u"Web"_qs);
  f.AgregarASeleccion();
  f.AgregarASeleccion();
  EXPECT_EQ(f.DocumentosSeleccionados, QStringList{u"Web|http://zem.es"_qs});
  AyudanteCorreo ayudante;
  f.EnviarSeleccion();
  EXPECT_TRUE(ayudante.parametros.contains(u"Web"_qs));
  EXPECT_TRUE(ayudante.parametros.contains(u"La referencia siguiente puede ser de su interés: Web (http://zem.es)"_qs));
  EXPECT_TRUE(f.DocumentosSeleccionados.isEmpty());
}

TEST_P(Documentacion, TheWindowIsOpenedOnceInTheMainWindowAndFollowsTheRecord) {
  Ejecutar(SentenciaInsertarDocumento(u"PEDIDO"_qs, u"7"_qs, u"Factura"_qs, QString(), u"Pagada"_qs));
  QMainWindow principal;
  principal.setCentralWidget(new QMdiArea(&principal));
  Ganchos().VentanaPrincipal = [&principal]() -> QWidget* { return &principal; };
  RegistrarGENEDOCE();
  for (const char* clave : {"7", "8"}) MostrarDocumentacionElectronica(u"PEDIDO"_qs, QString::fromLatin1(clave));
  const QList<QMdiSubWindow*> hijas = principal.findChild<QMdiArea*>()->subWindowList();
  ASSERT_EQ(hijas.size(), 1);
  auto* ventana = qobject_cast<TfGENEDOCE*>(hijas.first()->widget());
  ASSERT_NE(ventana, nullptr);
  EXPECT_EQ(ventana->ClaveTabla, u"8"_qs);
  EXPECT_EQ(ventana->findChild<QTreeWidget*>(u"ListView1"_qs)->topLevelItemCount(), 0);
  MostrarDocumentacionElectronica(u"PEDIDO"_qs, u"7"_qs);
  auto* lista = ventana->findChild<QTreeWidget*>(u"ListView1"_qs);
  ASSERT_EQ(lista->topLevelItemCount(), 1);
  EXPECT_FALSE(lista->currentItem()->isSelected()) << "the first has the focus only";
  lista->currentItem()->setSelected(true);
  EXPECT_EQ(ventana->findChild<QPlainTextEdit*>(u"MemoDescripcion"_qs)->toPlainText(), u"Pagada"_qs);
  const QString foto = carpeta.Path() + u"/Foto.jpg"_qs;
  QImage imagen(160, 120, QImage::Format_RGB32);
  imagen.fill(QColor(0x33, 0x66, 0x99));
  imagen.save(foto, "JPG");
  Documento(u"PEDIDO"_qs, u"7"_qs, u"Foto"_qs, foto);
  MostrarDocumentacionElectronica(u"PEDIDO"_qs, u"7"_qs);
  EXPECT_EQ(ventana->findChild<QPlainTextEdit*>(u"MemoDescripcion"_qs)->toPlainText(), QString())
      << "nothing chosen: no document's description is shown";
  principal.resize(900, 700);
  principal.show();
  lista->setCurrentItem(lista->findItems(u"Foto"_qs, Qt::MatchExactly).value(0));
  EXPECT_EQ(ventana->findChild<QLabel*>(u"Imagen"_qs)->pixmap().size(), QSize(160, 120));
  CapturaFormulario(principal, u"documentacion"_qs);
  RestablecerGanchosFormulario();
}

INSTANTIATE_TEST_SUITE_P(Motores, Documentacion, ::testing::Values("Microsoft SQL Server", "Paradox"));
