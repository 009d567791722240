#pragma once

#include <QDialog>

#include <functional>

class QKeyEvent;
class QMouseEvent;

// Results of a modal form, with the values the system compares.
enum ModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
};

// A form of the system: shown modally, as an MDI child or never shown at all.
// Setting a modal result closes a modal form; a form shown modally after the
// program was asked to end returns at once as cancelled, and one that is on
// screen when that happens closes as cancelled.
class Form : public QDialog {
  Q_OBJECT

 public:
  explicit Form(QWidget* owner = nullptr);

  int ShowModal();
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result);

  QString Caption() const { return windowTitle(); }
  void SetCaption(const QString& caption) { setWindowTitle(caption); }

  // Events as single slots, empty until assigned. OnCloseQuery may refuse
  // the close by clearing canClose; the mouse and key events are those of
  // the form and of every control on it, seen before the control.
  std::function<void(Form& sender, bool& canClose)> OnCloseQuery;
  std::function<void(Form& sender, QMouseEvent* event)> OnMouseMove;
  // A key down, as a virtual-key code with the whole shift state. The
  // control gets the key the handler leaves: 0 takes it, another key takes
  // its place (without the character stage). A focused button has taken
  // Enter, and "pbCancelar" (or the shown page's "pbCancelar1", "pbCancelar2"...)
  // Esc, before the form sees them; an Esc no one took presses "pbSalir".
  std::function<void(Form& sender, quint16& key, Qt::KeyboardModifiers shift)> OnKeyDown;
  // The character the key types, after OnKeyDown left the key unchanged;
  // a null character takes it, another one is typed in its place.
  std::function<void(Form& sender, QChar& key)> OnKeyPress;
  // Moves the focus to the next control in tab order once the events
  // already waiting have been handled.
  void PostSelectNext();
  // Whether the form may close now, as OnCloseQuery answers; closing, a
  // modal result and accept/reject ask it once.
  bool CloseQuery();

 protected:
  void done(int result) override;
  void closeEvent(QCloseEvent* event) override;
  // Esc and Enter reach the form's buttons only as described above.
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int modalResult_ = mrNone;
  bool modal_ = false;
  bool closeQueried_ = false;
};
