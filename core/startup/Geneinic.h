#pragma once

#include "platform/Form.h"
#include "platform/Timer.h"

#include <QStringList>

#include <functional>

class QFileDialog;
class Query;

// The start-up services object: a form that is never shown, whose creation
// reads the command line and the whole configuration and prepares the
// databases, and whose application timer ends the program after the
// configured idle time.
class TfGENEINIC : public Form {
  Q_OBJECT

 public:
  // The database set-up of the creation. It returns false when it has ended
  // the creation itself (with its own message); an exception it raises ends
  // the program with the start-up error message.
  using PreparacionBasesDatos = std::function<bool(TfGENEINIC&)>;
  // An empty set-up restores the default: the installation's databases
  // opened as the configuration says (PrepararBasesDatosInicio).
  static void InstalarPreparacionBasesDatos(PreparacionBasesDatos preparacion);

  // The parameters are the program's, without its own name.
  explicit TfGENEINIC(const QStringList& parametros, QWidget* owner = nullptr);
  ~TfGENEINIC() override;

  Timer TimerAplicacion{15000};
  Query* const Query1;
  // Never started: no on-screen keypad is shown.
  Timer TimerKeyPad{100};
  QFileDialog* const SaveDialog1;

  // The full path of the help file, as the last help call found it.
  QString PathAyuda;
  // The keys typed so far: letters and digits as themselves, runs of other
  // keys as one "|" (the template shortcut reads the last word).
  QString HistorialTeclas;

 private:
  void FormCreate(const QStringList& parametros);
  void FormDestroy();
  bool PrepararBasesDatos();
  void TimerAplicacionTimer();
};

extern TfGENEINIC* fGENEINIC;

// Activity stamps of the data forms' mouse and key events: each one puts off
// the idle termination.
void RegistrarActividadRaton();
void RegistrarActividadTeclado();

// The menu command "Lo Nuevo de la Versión".
void LoNuevoDeLaVersion(const QString& texto);
