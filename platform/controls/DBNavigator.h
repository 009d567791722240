#pragma once

#include <QPointer>
#include <QWidget>

#include <array>

class DataSource;
class QToolButton;

enum NavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };

// The row of buttons that moves and edits a data source's dataset; each
// button is enabled only when its action makes sense in the dataset's state.
class DBNavigator : public QWidget {
  Q_OBJECT

 public:
  explicit DBNavigator(QWidget* parent = nullptr);

  DataSource* Source() const { return source_; }
  void SetSource(DataSource* source);
  QToolButton* Button(NavigateBtn button) const { return buttons_[button]; }
  void BtnClick(NavigateBtn button);

 private:
  void follow();
  QPointer<DataSource> source_;
  std::array<QToolButton*, nbRefresh + 1> buttons_{};
  QMetaObject::Connection dataConnection_;
  QMetaObject::Connection stateConnection_;
};
