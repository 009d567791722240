#pragma once

#include "core/services/VisorValores.h"
#include "platform/Form.h"
#include "platform/FormRegistry.h"

#include <QTableWidget>
#include <QTimer>

#include <functional>

// Stands for the name/value grid form: on screen it records what it was
// given (mode, memo contents, then "name=value" per row, the header first)
// and runs the user's part, which gives the modal result.
class VisorValoresFalso {
 public:
  std::function<int(QTableWidget& rejilla)> Usuario = [](QTableWidget&) { return int(mrCancel); };
  QStringList Visto;

  VisorValoresFalso() {
    FormRegistry::Register(QLatin1String(kFormularioVisorValores), [this](QWidget* owner) {
      auto* visor = new Form(owner);
      auto* rejilla = new QTableWidget(visor);
      rejilla->setObjectName(QStringLiteral("StringGrid"));
      QTimer::singleShot(0, visor, [this, visor, rejilla] {
        Visto = {ModoVisorGENEVLIS, visor->property("ContenidosMemo").toString(),
                 rejilla->horizontalHeaderItem(0)->text() + u'=' + rejilla->horizontalHeaderItem(1)->text()};
        for (int fila = 0; fila < rejilla->rowCount(); ++fila) {
          const QTableWidgetItem* nombre = rejilla->item(fila, 0);
          const QTableWidgetItem* valor = rejilla->item(fila, 1);
          Visto.append((nombre ? nombre->text() : QString()) + u'=' + (valor ? valor->text() : QString()));
        }
        visor->SetModalResult(Usuario(*rejilla));
      });
      return visor;
    });
  }
  ~VisorValoresFalso() { FormRegistry::Clear(); }
  VisorValoresFalso(const VisorValoresFalso&) = delete;
  VisorValoresFalso& operator=(const VisorValoresFalso&) = delete;
};
