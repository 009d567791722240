#pragma once

#include "platform/Form.h"
#include "platform/Timer.h"

#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QStatusBar;

namespace Ui {
class TfGENEPROG;
}

// Set when the user asks to cancel the running listing; listings clear it when
// they start and look at it while they run.
extern bool CancelarListado;

// The progress window: a title and one line of text near the bottom of the
// screen, shown while a long operation runs. Esc asks whether to cancel the
// running listing.
class TfGENEPROG : public Form {
  Q_OBJECT

 public:
  explicit TfGENEPROG(QWidget* owner = nullptr);
  ~TfGENEPROG() override;

  QLabel* EditProgreso() const;
  QFrame* PanelProgreso() const;
  // One panel, 50 wide.
  QStatusBar* StatusBar1() const;

  // Sizes and places the window for the text of EditProgreso; whoever changes
  // that text calls it.
  void EditProgresoChange();

  // Puts the text in EditProgreso. A long operation changes it for every
  // record, so the window is sized and painted at most a few times a second:
  // a text changed sooner is shown when the interval ends.
  void CambiarTexto(const QString& texto);
  // The same with a text made only when it is shown: at once, or when the
  // interval ends (made then, so it tells where the operation is then).
  void CambiarTextoDiferido(std::function<QString()> texto);

  ::Timer Timer{1000};

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormActivate();
  void FormKeyDown(QKeyEvent* event);
  void TimerTimer();
  void mostrarTexto();
  void finIntervalo();

  std::unique_ptr<Ui::TfGENEPROG> ui_;
  ::Timer intervaloPintado_{kIntervaloPintado};
  bool textoPendiente_ = false;
  std::function<QString()> textoDiferido_;  // the pending text, still to be made
  static constexpr int kIntervaloPintado = 250;
};

extern TfGENEPROG* fGENEPROG;

// Mode "ON" creates and shows the window with the title and the text, "OFF"
// frees it, an empty mode changes its text; any other mode does nothing. The
// third argument is not used. Pending window messages are handled before it
// returns, so a pressed Esc is noticed between two calls; a change of the text
// handles them only where the last call that did is 30 ms or more behind.
void VentanaProgreso(const QString& modo, const QString& titulo, const QString& otro, const QString& texto);
// The change of the text alone, the text made only where the window shows it
// (see TfGENEPROG::CambiarTextoDiferido): an operation that tells it for
// every record makes it a few times a second. Nothing is made without a
// window. What the text is made of stays valid until the next change of the
// text or until the window goes.
void VentanaProgresoDiferida(std::function<QString()> texto);

// The same with the title and the text translated; a text holding "..." has
// only what stands before the first "..." translated, keeps what stands
// between the first and a second "..." and drops the rest. It handles no
// pending messages.
void MostrarProgreso(const QString& modo, const QString& titulo, const QString& texto);
