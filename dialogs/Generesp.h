#pragma once

#include "core/services/PosicionFormulario.h"
#include "platform/Form.h"

#include <QStringList>

#include <memory>

namespace Ui {
class TfGENERESP;
}

class QGroupBox;
class QLineEdit;
class Table;

// Who did, approved and last registered the record of TablaResponsabilidad
// and ClaveResponsabilidad (RESPDOC). The registration is written while the
// form is created; the caller shows it only when HayCamposEditables.
class TfGENERESP : public Form {
  Q_OBJECT
  Q_PROPERTY(bool HayCamposEditables MEMBER HayCamposEditables)

 public:
  explicit TfGENERESP(QWidget* owner = nullptr);
  ~TfGENERESP() override;

  Table* Table1;  // RESPDOC
  QStringList CamposSolicitados;
  QString AutorizadosRealizadoPor;
  QString AutorizadosAprobadoPor;
  bool HayCamposEditables = false;

  // Positions RESPDOC on the record's row, under its key with or without a last "|".
  bool BuscarResponsabilidad(const QString& tabla, const QString& clave);
  void pbAsignarRealizadoPorClick();
  void pbDesasignarRealizadoPorClick();
  void pbAsignarAprobadoPorClick();
  void pbDesasignarAprobadoPorClick();
  void pbGrabarClick();
  void pbCancelarClick();
  // The signatures' check; control: one of the two name edits, none for the whole record.
  bool ValidarDatos(QWidget* control);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // A signing role: its code and date fields, their edits and its list of
  // operators allowed to sign.
  struct Firma {
    QString campoCodigo;
    QString campoFecha;
    QLineEdit* edit;
    QLineEdit* fecha;
    const QString* autorizados;
    QString aviso;
  };
  void registrar();
  void prepararEdicion();
  void Asignar(const Firma& firma);
  void Desasignar(const Firma& firma);
  void mostrar();
  bool solicitado(const QString& campo) const;

  std::unique_ptr<Ui::TfGENERESP> ui_;
  Firma realizado_;
  Firma aprobado_;
};

// The dialog's last position (Left and Top; both 0 centre it).
extern PosicionFormulario PosicionGENERESP;

// Whether the code is one of the ","-separated pieces of the list.
bool EstaAutorizado(int codigo, const QString& lista);
// "(Codigo=n)" for each whole number of the list, joined by " OR ".
QString FiltroAutorizados(const QString& lista);

void RegistrarGENERESP();
