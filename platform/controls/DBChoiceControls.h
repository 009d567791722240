#pragma once

#include "platform/controls/FieldDataLink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A check box bound to a field: checked when the field holds ValueChecked
// (or true, for a boolean field); clicking stores ValueChecked or
// ValueUnchecked at once.
class DBCheckBox : public QCheckBox, public DataAwareControl {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
  Q_PROPERTY(QString ValueChecked MEMBER ValueChecked)
  Q_PROPERTY(QString ValueUnchecked MEMBER ValueUnchecked)

 public:
  explicit DBCheckBox(QWidget* parent = nullptr);


  QString ValueChecked = QStringLiteral("True");
  QString ValueUnchecked = QStringLiteral("False");

 private:
  void display();
  void store(bool checked);
};

// A combo box bound to a field: its text is the field's text; choosing an
// item or leaving an edited text stores it.
class DBComboBox : public QComboBox, public DataAwareControl {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)

 public:
  explicit DBComboBox(QWidget* parent = nullptr);


 private:
  void display();
  void store(const QString& text);
};

// A group of radio buttons bound to a field: button i stands for Values[i]
// (or, without values, for its caption Items[i]).
class DBRadioGroup : public QGroupBox, public DataAwareControl {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
  Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
  Q_PROPERTY(QStringList Values MEMBER Values)
  Q_PROPERTY(int ItemIndex READ ItemIndex)

 public:
  explicit DBRadioGroup(QWidget* parent = nullptr);


  QStringList Items() const { return items_; }
  void SetItems(const QStringList& items);
  QStringList Values;
  int ItemIndex() const;  // -1 when the field's value is none of the values
  void SetItemIndex(int index);  // as a click does: stored at once

 private:
  QString valueOf(int index) const;
  void display();
  QStringList items_;
  QButtonGroup* buttons_;
};
