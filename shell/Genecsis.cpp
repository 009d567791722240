#include "shell/Genecsis.h"

#include "core/forms/AparienciaFormulario.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/Ayuda.h"
#include "core/startup/Configuracion.h"
#include "core/startup/LineaComandos.h"
#include "core/startup/TraduccionFormulario.h"
#include "core/system/Procesos.h"
#include "platform/Application.h"
#include "platform/Cp1252.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "platform/TextFile.h"
#include "shell/TeclasConfiguracion.h"
#include "ui_GENECSIS.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShowEvent>

namespace {

// Where the controls of a page keep their values: an INI section, or the
// installation settings file when none.
struct Pagina {
  const char* nombre;
  const char* seccion;
};
const Pagina kPaginas[] = {{"General", nullptr},
                           {"Aplicaciones", "Configuración"},
                           {"Entorno", "Configuración"},
                           {"MicrosoftSQLServer", "Microsoft SQL Server"}};

QString archivoInstalacion() { return ArchivoInstalacion.isEmpty() ? ParametroL : ArchivoInstalacion; }

// The setting controls of a page, named as their keys.
QList<QWidget*> controles(const QWidget& pagina) {
  QList<QWidget*> lista;
  for (QWidget* control : pagina.findChildren<QWidget*>())
    if (qobject_cast<QCheckBox*>(control) || qobject_cast<QLineEdit*>(control) ||
        qobject_cast<QComboBox*>(control) || qobject_cast<QPlainTextEdit*>(control))
      if (!qobject_cast<QComboBox*>(control->parentWidget())) lista.append(control);  // not a combo's own edit
  return lista;
}

// A memo's lines are stored each followed by ",".
QString valor(const QWidget& control) {
  if (auto* casilla = qobject_cast<const QCheckBox*>(&control))
    return casilla->isChecked() ? QStringLiteral("SI") : QStringLiteral("NO");
  if (auto* edit = qobject_cast<const QLineEdit*>(&control)) return edit->text();
  if (auto* combo = qobject_cast<const QComboBox*>(&control)) return combo->currentText();
  QString texto = static_cast<const QPlainTextEdit&>(control).toPlainText();
  if (!texto.isEmpty() && !texto.endsWith(u'\n')) texto += u'\n';
  return texto.replace(u'\n', u',');
}

void ponerValor(QWidget& control, const QString& texto) {
  if (auto* casilla = qobject_cast<QCheckBox*>(&control)) {
    casilla->setChecked(texto == QLatin1String("SI"));
  } else if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
    edit->setText(texto);
  } else if (auto* combo = qobject_cast<QComboBox*>(&control)) {
    combo->setEditText(texto);
  } else {
    QString lineas = texto;
    lineas.replace(u',', u'\n');
    if (lineas.endsWith(u'\n')) lineas.chop(1);
    static_cast<QPlainTextEdit&>(control).setPlainText(lineas);
  }
}

QString defecto(const QString& clave) {
  return clave == QLatin1String("VisualizacionPreviaActivada") ? QStringLiteral("SI") : QString();
}

}  // namespace

TfGENECSIS::TfGENECSIS(QWidget* owner) : Form(owner), ui_(std::make_unique<Ui::TfGENECSIS>()) {
  ui_->setupUi(this);
  connect(ui_->pbGrabar, &QPushButton::clicked, this, [this] { pbGrabarClick(); });
  connect(ui_->pbSalir, &QPushButton::clicked, this, [this] { close(); });
  connect(ui_->pbAyuda, &QPushButton::clicked, this, [this] { pbAyudaClick(); });
  connect(ui_->RegistroAccesosActivado, &QCheckBox::clicked, this, [this] { RegistroAccesosActivadoClick(); });
  for (QComboBox* combo : {ui_->NombreIntercalacionMSSQL, ui_->NivelAislamientoTransaccionesMSSQL,
                           ui_->ReplicacionBDActivada})
    connect(combo, &QComboBox::activated, this, [this] { NombreIntercalacionMSSQLClick(); });
  CargarConfiguracion();
  ui_->PageControl1->setCurrentWidget(ui_->General);
  ui_->pbGrabar->setFocus();
  AplicarAspecto(*this);
}

TfGENECSIS::~TfGENECSIS() = default;

void TfGENECSIS::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  if (!event->spontaneous()) TraducirFormulario(this);
}

void TfGENECSIS::CargarConfiguracion() {
  StringList instalacion;
  try {
    instalacion.SetText(TextFile::Read(archivoInstalacion()));
  } catch (const std::exception&) {
    // Shown with empty values, as a missing file.
  }
  QByteArray ini;
  try {
    ini = TextFile::ReadBytes(ArchivoINI);
  } catch (const std::exception&) {
    // An unreadable file shows the defaults and an empty viewer.
  }
  ui_->MemoVisorZEMWININI->setPlainText(Cp1252::decode(ini));
  const IniFile configuracion = IniFile::FromBytes(ini);
  for (const Pagina& pagina : kPaginas) {
    for (QWidget* control : controles(*ui_->PageControl1->findChild<QWidget*>(QLatin1String(pagina.nombre)))) {
      const QString clave = control->objectName();
      ponerValor(*control, pagina.seccion
                               ? configuracion.ReadString(QString::fromUtf8(pagina.seccion), clave, defecto(clave))
                               : instalacion.Values(clave));
    }
  }
  RegistroAccesosActivadoClick();
}

void TfGENECSIS::GrabarConfiguracion() {
  TextFile::UpdateTogether({ArchivoINI, archivoInstalacion()}, [this](const QList<QByteArray>& actuales) {
    IniFile configuracion = IniFile::FromBytes(actuales.at(0));
    StringList instalacion;
    instalacion.SetText(Cp1252::decode(actuales.at(1)));
    for (const Pagina& pagina : kPaginas) {
      for (QWidget* control : controles(*ui_->PageControl1->findChild<QWidget*>(QLatin1String(pagina.nombre)))) {
        if (pagina.seccion)
          configuracion.SetString(QString::fromUtf8(pagina.seccion), control->objectName(), valor(*control));
        else
          instalacion.SetValue(control->objectName(), valor(*control));
      }
    }
    return QList<QByteArray>{configuracion.Bytes(), Cp1252::encode(instalacion.Text())};
  });
}

// The tables whose accesses are logged name triggers of their own: one
// that cannot be a name is refused before anything is written.
bool TfGENECSIS::tablasRegistroValidas() {
  const QString lista = ui_->RegistrarAccesoATablas->toPlainText().replace(u'\n', u',');
  for (const QString& pieza : lista.split(u',', Qt::SkipEmptyParts)) {
    const QString tabla = pieza.trimmed();
    if (tabla.isEmpty() || (NombreObjetoSQLValido(tabla) && NombreObjetoSQLValido(QStringLiteral("TriggerUpdate") + tabla)))
      continue;
    MensajeAviso(MensajeNombreNoValido(tabla));
    ui_->RegistrarAccesoATablas->setFocus();
    return false;
  }
  return true;
}

void TfGENECSIS::pbGrabarClick() {
  if (!tablasRegistroValidas()) return;
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("La aplicación será reiniciada. ¿Desea continuar con el proceso?"), respuesta);
  if (respuesta == QLatin1String("NO")) return;
  GrabarConfiguracion();
  QDir::setCurrent(CarpetaPrograma);
  const QString programa = EsEjecutable(QStringLiteral("ZEMWIN")) ? QStringLiteral("ZEMWIN.EXE") : QStringLiteral("MASPWIN.EXE");
  EjecutarProgramaArgumentos(programa, ArgumentosLlamada(), QStringLiteral("Normal"));
  close();
  if (Application* aplicacion = Application::Instance()) aplicacion->Terminate();
}

void TfGENECSIS::RegistroAccesosActivadoClick() {
  ui_->RegistrarAccesoATablas->setEnabled(ui_->RegistroAccesosActivado->isChecked());
}

void TfGENECSIS::NombreIntercalacionMSSQLClick() {
  MensajeInformacion(
      QStringLiteral("Recuerde que si cambia este dato debe actualizar todas las tablas de todas las bases de datos "
                     "posteriormente para que los cambios sean efectivos"));
}

void TfGENECSIS::pbAyudaClick() { MostrarAyuda(ContextoAyuda(Caption())); }

void TfGENECSIS::keyPressEvent(QKeyEvent* event) {
  // A memo keeps Enter for its new lines before the form sees it.
  if (!TeclaConfiguracion(*this, *event)) Form::keyPressEvent(event);
}
