#include "app/ProgramaZEM.h"
#include "core/messages/Genemens.h"
#include "dialogs/MantenimientoRegistros.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/MessagePresenter.h"
#include "platform/VisorWeb.h"
#include "shell/Genemenu.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/PilaVentanas.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QMap>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

// Every entry of the main window's menu, chosen as a user would on a real
// display under its window manager: each window it opens shows no English
// caption, no Alt letter twice, and closes with Esc (a master stays), and
// nothing reaches the terminal.
namespace {

// The words the toolkit's own English would show.
const QRegularExpression& ingles() {
  static const QRegularExpression palabras(
      QStringLiteral("\\b(OK|Cancel|Open|Save|Close|Apply|Yes|Folder|File|Font|Name|Size|Type|Date Modified|Look in|"
                     "Directory|Help|Back|Forward|Print|Printer|Options|Properties|Warning|Information|Question|"
                     "Reset|Abort|Retry|Ignore|Discard|Restore Defaults|Select)\\b"));
  return palabras;
}

QStringList rotulos(QWidget& ventana) {
  QStringList textos{ventana.windowTitle()};
  for (QWidget* control : ventana.findChildren<QWidget*>()) {
    if (!control->isVisibleTo(&ventana)) continue;
    if (auto* etiqueta = qobject_cast<QLabel*>(control)) textos << etiqueta->text();
    if (auto* boton = qobject_cast<QAbstractButton*>(control)) textos << boton->text();
    if (auto* grupo = qobject_cast<QGroupBox*>(control)) textos << grupo->title();
    if (auto* pestanas = qobject_cast<QTabBar*>(control))
      for (int i = 0; i < pestanas->count(); ++i) textos << pestanas->tabText(i);
    if (auto* cabecera = qobject_cast<QHeaderView*>(control); cabecera && cabecera->model())
      for (int i = 0; i < cabecera->count(); ++i)
        textos << cabecera->model()->headerData(i, cabecera->orientation()).toString();
    if (auto* menu = qobject_cast<QMenuBar*>(control))
      for (const QAction* accion : menu->actions()) textos << accion->text();
  }
  return textos;
}

// The Alt letters of the buttons and labelled fields shown together.
void letrasRepetidas(const QString& entrada, QWidget& ventana) {
  QMap<int, QStringList> duenos;
  for (QWidget* control : ventana.findChildren<QWidget*>()) {
    if (!control->isVisibleTo(&ventana) || control->window() != ventana.window()) continue;
    QString texto;
    if (auto* boton = qobject_cast<QAbstractButton*>(control)) texto = boton->text();
    if (auto* etiqueta = qobject_cast<QLabel*>(control); etiqueta && etiqueta->buddy()) texto = etiqueta->text();
    const QKeySequence letra = QKeySequence::mnemonic(texto);
    if (!letra.isEmpty()) duenos[letra[0].key()] << texto;
  }
  for (const QStringList& textos : duenos)
    if (textos.size() > 1)
      SecondProcess::Report(entrada + u": letra repetida en \""_qs + ventana.windowTitle() + u"\": "_qs +
                            textos.join(u", "));
}

void mirar(const QString& entrada, QWidget& ventana) {
  for (QString texto : rotulos(ventana)) {
    texto.remove(u'&');
    if (ingles().match(texto).hasMatch()) SecondProcess::Report(entrada + u": inglés \""_qs + texto + u'"');
  }
  letrasRepetidas(entrada, ventana);
}

// Esc on the window as a user presses it; a window that stays is closed
// so that the walk goes on, and told. A master being browsed stays open:
// there Esc cancels an edit.
void cerrarConEsc(const QString& entrada, QWidget& ventana) {
  QPointer<QWidget> abierta(&ventana);
  QTest::keyClick(ventana.focusWidget() ? ventana.focusWidget() : &ventana, Qt::Key_Escape);
  if (qobject_cast<MantenimientoRegistros*>(&ventana)) {
    QApplication::processEvents();
    if (!abierta || !abierta->isVisible()) {
      SecondProcess::Report(entrada + u": Esc cierra el maestro"_qs);
      return;
    }
    abierta->close();
    if (abierta && abierta->isVisible()) SecondProcess::Report(entrada + u": el maestro no se cierra"_qs);
    return;
  }
  if (QTest::qWaitFor([&] { return !abierta || !abierta->isVisible(); }, 2000)) return;
  SecondProcess::Report(entrada + u": Esc no cierra \""_qs + abierta->windowTitle() + u'"');
  if (auto* formulario = qobject_cast<Form*>(abierta.data())) formulario->SetModalResult(mrCancel);
  if (abierta && abierta->isVisible()) abierta->close();
}

QList<QAction*> entradas(QMenu& menu) {
  QList<QAction*> hojas;
  for (QAction* accion : menu.actions()) {
    if (accion->isSeparator() || !accion->isVisible()) continue;
    if (accion->menu()) hojas << entradas(*accion->menu());
    else hojas << accion;
  }
  return hojas;
}

// The program's terminal is a file the walk reads at its end.
class Terminal {
 public:
  Terminal() : anterior_(dup(STDERR_FILENO)) {
    archivo_.open();
    dup2(archivo_.handle(), STDERR_FILENO);
  }
  ~Terminal() {
    dup2(anterior_, STDERR_FILENO);
    close(anterior_);
  }
  QString Lineas() {
    fflush(stderr);
    QFile leido(archivo_.fileName());
    leido.open(QIODevice::ReadOnly);
    return QString::fromLocal8Bit(leido.readAll()).trimmed();
  }

 private:
  int anterior_;
  QTemporaryFile archivo_;
};

// The browser engine stays out of the walk: a web panel is a plain widget.
// The desktop's opener is the real one.
struct VisorQuieto : VisorWeb {
  QWidget* Crear(QWidget& panel) override { return new QWidget(&panel); }
  QWidget* CrearSinScripts(QWidget& panel) override { return new QWidget(&panel); }
  void Navegar(QWidget&, const QString&) override {}
  VisorWebSeam::Scoped instalado{*this};
};

void recorrerMenus() {
  const VisorQuieto visor;
  const TemporaryFolder carpeta;
  InstallationBuilder(carpeta.Path()).Write();
  Terminal terminal;
  {
    QString actual;
    QTimer reloj;
    reloj.setInterval(50);
    bool ocupado = false;
    QObject::connect(&reloj, &QTimer::timeout, [&] {
      QWidget* ventana = QApplication::activeModalWidget();
      if (ocupado || !ventana || !ventana->isVisible()) return;
      ocupado = true;
      if (QTest::qWaitForWindowExposed(ventana)) {
        if (actual.isEmpty()) {
          // The login: the administrator of the installation.
          if (auto* codigo = ventana->findChild<QLineEdit*>()) codigo->setText(u"ADMIN"_qs);
          QTest::keyClick(ventana->focusWidget() ? ventana->focusWidget() : ventana, Qt::Key_Return);
        } else {
          mirar(actual, *ventana);
          cerrarConEsc(actual, *ventana);
        }
      }
      ocupado = false;
    });
    reloj.start();
    ProgramaZEM programa(*Application::Instance(), {});
    programa.Iniciar();
    TfGENEMENS mensajes;
    const MessagePresenterSeam::Scoped presentador(mensajes);
    QMainWindow& principal = *fGENEMENU;
    principal.show();
    if (!QTest::qWaitForWindowExposed(&principal)) SecondProcess::Report(u"la ventana principal no se mostró"_qs);
    for (QAction* menu : principal.menuBar()->actions()) {
      if (!menu->menu()) continue;
      for (QAction* entrada : entradas(*menu->menu())) {
        if (entrada->objectName() == u"Salir1" || !entrada->isEnabled()) continue;
        actual = entrada->text().remove(u'&');
        SecondProcess::Report(u"entrada: "_qs + actual);
        entrada->trigger();
        QApplication::processEvents();
        // What stays open beside the main window: its own windows and the workspace's.
        if (auto* area = principal.findChild<QMdiArea*>())
          for (QMdiSubWindow* hija : area->subWindowList())
            if (hija->isVisible() && hija->widget()) {
              mirar(actual, *hija->widget());
              cerrarConEsc(actual, *hija->widget());
              if (hija->isVisible()) hija->close();
            }
        for (QWidget* ventana : QApplication::topLevelWidgets())
          if (ventana != &principal && ventana->isVisible() && !qobject_cast<QMenu*>(ventana) &&
              ventana->windowType() != Qt::SplashScreen && ventana->windowType() != Qt::ToolTip) {
            mirar(actual, *ventana);
            cerrarConEsc(actual, *ventana);
          }
      }
    }
    reloj.stop();
  }
  const QString lineas = terminal.Lineas();
  SecondProcess::Report(lineas.isEmpty() ? u"terminal vacío"_qs : u"terminal: "_qs + lineas);
  SecondProcess::Report(u"fin"_qs);
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"recorrido-de-menus"_qs, recorrerMenus);

}  // namespace

TEST(RecorridoMenus, EveryEntryShowsSpanishClosesWithEscAndWritesNothing) {
  if (const QString motivo = SinPantallaConGestor(); !motivo.isEmpty()) GTEST_SKIP() << motivo.toStdString();
  SecondProcess pantalla(u"recorrido-de-menus"_qs, {{u"QT_QPA_PLATFORM"_qs, u"xcb"_qs}});
  QStringList vistos;
  int recorridas = 0;
  for (QString informe = pantalla.ReadReport(); informe != u"fin"_qs; informe = pantalla.ReadReport()) {
    if (informe.isEmpty()) break;
    if (informe.startsWith(u"entrada: "_qs))
      ++recorridas;
    else
      vistos << informe;
  }
  EXPECT_GT(recorridas, 30);
  EXPECT_EQ(vistos, QStringList{u"terminal vacío"_qs}) << vistos.join(u'\n').toStdString();
  EXPECT_EQ(pantalla.Finish(), 0);
}
