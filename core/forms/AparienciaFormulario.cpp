#include "core/forms/AparienciaFormulario.h"

#include "core/forms/GanchosFormulario.h"
#include "core/forms/Propiedades.h"
#include "core/helpers/Textos.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "core/startup/LineaComandos.h"
#include "core/system/Procesos.h"
#include "platform/Application.h"
#include "platform/controls/Components.h"
#include "platform/controls/DBGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

namespace {

const QString kEvoMas = QStringLiteral("evo+");

bool esEvo() { return AspectoAplicacion.startsWith(QLatin1String("evo")); }

QWidget* ventanaPrincipal() { return Ganchos().VentanaPrincipal ? Ganchos().VentanaPrincipal() : nullptr; }

QColor caraBoton() { return QApplication::palette().color(QPalette::Button); }

// The Windows faces the forms were drawn with, by what Linux has.
void sustituirFuentes() {
  static bool hecho = false;
  if (hecho) return;
  hecho = true;
  const QStringList parecidas = {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                                 QStringLiteral("Noto Sans"), QStringLiteral("Sans Serif")};
  QFont::insertSubstitutions(QStringLiteral("Segoe UI"), parecidas);
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), parecidas);
}

void ajustarFuente(QObject* componente, const QString& propiedad) {
  if (!FuenteAplicacion || !TienePropiedad(componente, propiedad)) return;
  QFont fuente = LeerPropiedad(componente, propiedad).value<QFont>();
  if (fuente.family() == QLatin1String("MS Sans Serif")) fuente.setFamily(FuenteAplicacion->family());
  if (fuente.pointSize() == 8 || fuente.pointSize() == 9) fuente.setPointSize(FuenteAplicacion->pointSize());
  EscribirPropiedad(componente, propiedad, fuente);
}

void cambiarColor(QObject* componente, const QString& propiedad, const QColor& color) {
  if (TienePropiedad(componente, propiedad) &&
      LeerPropiedad(componente, propiedad).value<QColor>() == caraBoton())
    EscribirPropiedad(componente, propiedad, color);
}

bool colorPropio(const QColor& color) {
  return color != QColor(Qt::black) && color != QApplication::palette().color(QPalette::WindowText);
}

// The frames of coloured check boxes, kept for the whole run.
QList<QPointer<QFrame>>& marcosCasillas() {
  static QList<QPointer<QFrame>> marcos;
  return marcos;
}

void enmarcarCasilla(QCheckBox& casilla) {
  const QColor color = casilla.palette().color(QPalette::WindowText);
  if (!colorPropio(color) || !casilla.parentWidget()) return;
  auto* marco = new QFrame(casilla.parentWidget());
  marco->setGeometry(casilla.x() - 3, casilla.y() - 1, casilla.width() + 6, casilla.height() + 2);
  marco->setStyleSheet(QStringLiteral("border: 1px solid %1; border-radius: 4px;").arg(color.name()));
  marco->setAttribute(Qt::WA_TransparentForMouseEvents);
  marco->show();
  marco->stackUnder(&casilla);
  marcosCasillas().append(marco);
}

// The MDI parent and its children take the MDI colour; any other form the
// colour of other forms.
QColor colorFormulario(const QWidget& formulario) {
  const bool mdi = qobject_cast<QMdiSubWindow*>(formulario.parentWidget()) != nullptr ||
                   formulario.findChild<QMdiArea*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
  return mdi ? ColorFormularioMDI : ColorFormularioNormal;
}

void pintarFondo(QWidget& control, QPalette::ColorRole papel, const QColor& color) {
  QPalette paleta = control.palette();
  paleta.setColor(papel, color);
  control.setPalette(paleta);
  control.setAutoFillBackground(true);
}

// The program as it was started: the installation's link to the binary
// keeps its own name and folder.
QString rutaEjecutable() {
  const QStringList argumentos = QCoreApplication::arguments();
  if (!argumentos.isEmpty() && argumentos.first().contains(u'/')) return QFileInfo(argumentos.first()).absoluteFilePath();
  return QCoreApplication::applicationFilePath();
}

// The tabs are filled with the form's colour and their captions drawn black.
void pintarPestanas(QTabWidget& paginas, const QColor& color) {
  QPalette paleta = paginas.tabBar()->palette();
  paleta.setColor(QPalette::Button, color);
  paleta.setColor(QPalette::Window, color);
  paleta.setColor(QPalette::ButtonText, Qt::black);
  paleta.setColor(QPalette::WindowText, Qt::black);
  paginas.tabBar()->setPalette(paleta);
}

QString lineasManifiesto(const QString& ejecutable) {
  const QStringList lineas = {
      QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"),
      QStringLiteral("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"),
      QStringLiteral("  <assemblyIdentity"),
      QStringLiteral("    version=\"1.0.0.0\""),
      QStringLiteral("    processorArchitecture=\"X86\""),
      QStringLiteral("    name=\"Microsoft.VB6.VBnetStyles\""),
      QStringLiteral("    type=\"win32\""),
      QStringLiteral("  />"),
      QStringLiteral("  <description>%1</description>").arg(ejecutable),
      QStringLiteral("    <dependency>"),
      QStringLiteral("      <dependentAssembly>"),
      QStringLiteral("        <assemblyIdentity"),
      QStringLiteral("          type=\"win32\""),
      QStringLiteral("          name=\"Microsoft.Windows.Common-Controls\""),
      QStringLiteral("          version=\"6.0.0.0\""),
      QStringLiteral("          processorArchitecture=\"X86\""),
      QStringLiteral("          publicKeyToken=\"6595b64144ccf1df\""),
      QStringLiteral("          language=\"*\""),
      QStringLiteral("        />"),
      QStringLiteral("      </dependentAssembly>"),
      QStringLiteral("    </dependency>"),
      QStringLiteral("</assembly>"),
  };
  return lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

}  // namespace

// In the program folder, named after the program as it was started (the
// installation's link), so each installation keeps its own.
QString ArchivoManifiesto() {
  const QString carpeta = CarpetaPrograma.isEmpty() ? QDir::currentPath() : CarpetaPrograma;
  return QDir(carpeta).filePath(QFileInfo(rutaEjecutable()).fileName() + QStringLiteral(".manifest"));
}

bool GrabarManifiesto(const QString& ejecutable) {
  QFile salida(ejecutable + QStringLiteral(".manifest"));
  return salida.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         salida.write(lineasManifiesto(QFileInfo(ejecutable).fileName()).toUtf8()) >= 0;
}

void EscribirManifiesto(const QString& aspecto) {
  const QString archivo = ArchivoManifiesto();
  const bool existe = QFile::exists(archivo);
  if ((aspecto == kEvoMas) == existe) return;
  if (aspecto != kEvoMas) {
    if (!QFile::remove(archivo)) return;
  } else {
    // A manifest that cannot be written would restart the program at every
    // start: it goes on with the look it has.
    if (!GrabarManifiesto(archivo.chopped(int(qstrlen(".manifest"))))) return;
  }
  MensajeInformacion(QStringLiteral("La aplicación se ha reconfigurado y será reiniciada a continuación"));
  EjecutarPrograma(u'"' + rutaEjecutable() + QStringLiteral("\" ") + ParametrosLlamada(), QStringLiteral("Normal"));
  if (Application* aplicacion = Application::Instance()) aplicacion->Terminate();
}

void AplicarAspecto(QObject& formulario) {
  auto* ventana = qobject_cast<QWidget*>(&formulario);
  const bool principal = ventana && ventana == ventanaPrincipal();
  if (principal) EscribirManifiesto(AspectoAplicacion);
  const QList<QObject*> componentes = Components(&formulario);
  if (esEvo()) {
    sustituirFuentes();
    for (QObject* componente : componentes) {
      ajustarFuente(componente, QStringLiteral("Font"));
      ajustarFuente(componente, QStringLiteral("TitleFont"));
    }
    const QColor color = ventana ? colorFormulario(*ventana) : ColorFormularioNormal;
    if (ventana) pintarFondo(*ventana, QPalette::Window, color);
    for (QObject* componente : componentes) {
      cambiarColor(componente, QStringLiteral("Color"), color);
      if (qobject_cast<DBGrid*>(componente) || qobject_cast<QTableWidget*>(componente))
        cambiarColor(componente, QStringLiteral("FixedColor"), color);
      if (auto* barra = qobject_cast<QStatusBar*>(componente)) pintarFondo(*barra, QPalette::Window, color);
      if (auto* paginas = qobject_cast<QTabWidget*>(componente)) pintarPestanas(*paginas, color);
      if (auto* casilla = qobject_cast<QCheckBox*>(componente); casilla && AspectoAplicacion == kEvoMas)
        enmarcarCasilla(*casilla);
    }
    return;
  }
  if (principal && !AspectoAplicacion.contains(QLatin1String("evo")))
    for (QObject* hijo : formulario.children())
      if (auto* imagen = qobject_cast<QLabel*>(hijo); imagen && !imagen->pixmap().isNull()) {
        imagen->setPixmap(QPixmap());
        break;
      }
}

void PanelesEstado(QStatusBar& barra, const QString& texto, const QString& valores) {
  const auto traducir = [&valores](const QString& original) {
    return Ganchos().Traducir ? Ganchos().Traducir(original, valores) : original;
  };
  for (QLabel* panel : barra.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
    if (panel->property("Panel").toBool()) delete panel;
  if (barra.property("SimplePanel").toBool()) {
    barra.showMessage(traducir(texto));
    return;
  }
  for (int i = 0;; ++i) {
    const QString pieza = ExtraerElemento(i, texto, QStringLiteral("|"));
    if (i > 0 && pieza.isEmpty()) break;
    auto* panel = new QLabel(traducir(pieza), &barra);
    panel->setProperty("Panel", true);
    panel->setFixedWidth(barra.fontMetrics().horizontalAdvance(panel->text()) + 10);
    barra.addWidget(panel);
  }
  barra.repaint();
}

void AjustarTamanoFormulario(QWidget& formulario, const QString& modo) {
  QWidget* principal = ventanaPrincipal();
  if (modo.contains(QLatin1String("Fit"))) {
    QWidget* cliente = principal ? principal->findChild<QMdiArea*>() : nullptr;
    if (!cliente) cliente = principal;
    formulario.move(0, 0);
    if (cliente) formulario.resize(cliente->width() - 4, cliente->height() - 4);
    return;
  }
  if (modo.contains(QLatin1String("Design"))) {
    if (formulario.findChild<QMenuBar*>()) formulario.resize(formulario.width(), formulario.height() - 20);
    return;
  }
  const bool svga = principal && (principal->height() < 768 || principal->width() < 1024);
  if (svga)
    formulario.resize(760, 520);
  else
    formulario.resize(969, 609);
}
