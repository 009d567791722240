#pragma once

#include "platform/Form.h"

#include <memory>

class DataSource;
class DBMemo;

namespace Ui {
class TfGENEVMEM;
}

// The memo viewer: shows a text field of the current record in "DBMemo"
// (the caller points "DataSource1" at its dataset and the memo at the
// field). With BusquedaMemo ("table;index" and an optional field name) a
// double-click on an editable memo searches that table and appends the
// chosen key (or that field of the chosen record) as a line of its own.
class TfGENEVMEM : public Form {
  Q_OBJECT
  Q_PROPERTY(QString BusquedaMemo MEMBER busquedaMemo_)

 public:
  explicit TfGENEVMEM(QWidget* owner = nullptr);
  ~TfGENEVMEM() override;

  DBMemo& Memo() const;
  DataSource& DataSource1() const { return *dataSource1_; }
  void BuscarEnMemo();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void quitarLineasVaciasFinales();

  std::unique_ptr<Ui::TfGENEVMEM> ui_;
  DataSource* dataSource1_;
  DBMemo* memo_;
  QString busquedaMemo_;
};

extern TfGENEVMEM* fGENEVMEM;
