#include "platform/controls/Properties.h"

#include "platform/data/Field.h"

#include <QAbstractButton>
#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPalette>
#include <QPlainTextEdit>
#include <QWidget>

#include <functional>
#include <optional>

namespace {

struct Accessor {
  std::function<QVariant(const QObject*)> read;
  std::function<bool(QObject*, const QVariant&)> write;
};

template <typename T>
const T* as(const QObject* object) {
  return qobject_cast<const T*>(object);
}

// A property of the object's class or a dynamic one, by Qt's name.
bool hasQtProperty(const QObject* object, const char* name) {
  return object->metaObject()->indexOfProperty(name) >= 0 || object->dynamicPropertyNames().contains(name);
}

Accessor qtProperty(const char* qtName) {
  return {[qtName](const QObject* o) { return hasQtProperty(o, qtName) ? o->property(qtName) : QVariant(); },
          [qtName](QObject* o, const QVariant& v) { return hasQtProperty(o, qtName) && o->setProperty(qtName, v); }};
}

const char* captionProperty(const QObject* o) {
  if (as<QDialog>(o)) return "windowTitle";
  if (as<QGroupBox>(o)) return "title";
  if (as<QLabel>(o) || as<QAbstractButton>(o) || as<QAction>(o)) return "text";
  return nullptr;
}

const char* textProperty(const QObject* o) {
  if (as<QLineEdit>(o) || as<QLabel>(o)) return "text";
  if (as<QPlainTextEdit>(o)) return "plainText";
  if (as<QComboBox>(o)) return "currentText";
  return nullptr;
}

std::optional<Accessor> fieldAccessor(const QString& name) {
  using Read = QVariant (*)(const Field&);
  using Write = void (*)(Field&, const QVariant&);
  static const QHash<QString, std::pair<Read, Write>> kField = {
      {"DisplayFormat", {[](const Field& f) -> QVariant { return f.DisplayFormat(); },
                         [](Field& f, const QVariant& v) { f.SetDisplayFormat(v.toString()); }}},
      {"DisplayLabel", {[](const Field& f) -> QVariant { return f.DisplayLabel(); },
                        [](Field& f, const QVariant& v) { f.SetDisplayLabel(v.toString()); }}},
      {"Visible", {[](const Field& f) -> QVariant { return f.Visible(); },
                   [](Field& f, const QVariant& v) { f.SetVisible(v.toBool()); }}},
      {"ReadOnly", {[](const Field& f) -> QVariant { return f.ReadOnly(); },
                    [](Field& f, const QVariant& v) { f.SetReadOnly(v.toBool()); }}},
      {"Required", {[](const Field& f) -> QVariant { return f.Required(); },
                    [](Field& f, const QVariant& v) { f.SetRequired(v.toBool()); }}},
      {"Tag", {[](const Field& f) -> QVariant { return f.Tag(); },
               [](Field& f, const QVariant& v) { f.SetTag(v.toInt()); }}},
      {"FieldName", {[](const Field& f) -> QVariant { return f.FieldName(); }, nullptr}},
  };
  const auto found = kField.constFind(name);
  if (found == kField.constEnd()) return std::nullopt;
  const auto [read, write] = *found;
  return Accessor{[read](const QObject* o) { return read(*as<Field>(o)); },
                  [write](QObject* o, const QVariant& v) {
                    if (!write) return false;
                    write(*qobject_cast<Field*>(o), v);
                    return true;
                  }};
}

std::optional<Accessor> widgetAccessor(const QObject* object, const QString& name) {
  if (name == QLatin1String("Visible"))
    return Accessor{[](const QObject* o) -> QVariant { return !as<QWidget>(o)->isHidden(); },
                    [](QObject* o, const QVariant& v) {
                      qobject_cast<QWidget*>(o)->setVisible(v.toBool());
                      return true;
                    }};
  if (name == QLatin1String("Color") && !hasQtProperty(object, "Color"))
    return Accessor{[](const QObject* o) -> QVariant {
                      const QWidget* w = as<QWidget>(o);
                      return w->palette().color(w->backgroundRole());
                    },
                    [](QObject* o, const QVariant& v) {
                      if (!v.canConvert<QColor>()) return false;
                      auto* w = qobject_cast<QWidget*>(o);
                      QPalette palette = w->palette();
                      palette.setColor(w->backgroundRole(), v.value<QColor>());
                      w->setPalette(palette);
                      w->setAutoFillBackground(true);
                      return true;
                    }};
  static const QHash<QString, const char*> kWidget = {
      {"Font", "font"},     {"Hint", "toolTip"},  {"Enabled", "enabled"}, {"Checked", "checked"},
      {"Width", "width"},   {"Height", "height"}, {"ReadOnly", "readOnly"}};
  if (auto found = kWidget.constFind(name); found != kWidget.constEnd() && hasQtProperty(object, *found))
    return qtProperty(*found);
  if (name == QLatin1String("Caption"))
    if (const char* qtName = captionProperty(object)) return qtProperty(qtName);
  if (name == QLatin1String("Text"))
    if (const char* qtName = textProperty(object)) return qtProperty(qtName);
  return std::nullopt;
}

std::optional<Accessor> accessor(const QObject* object, const QString& name) {
  if (!object || name.isEmpty()) return std::nullopt;
  if (name == QLatin1String("Name"))
    return Accessor{[](const QObject* o) -> QVariant { return o->objectName(); },
                    [](QObject* o, const QVariant& v) {
                      o->setObjectName(v.toString());
                      return true;
                    }};
  if (name == QLatin1String("Tag") && !as<Field>(object))
    return Accessor{[](const QObject* o) -> QVariant { return o->property("tag").toInt(); },
                    [](QObject* o, const QVariant& v) {
                      o->setProperty("tag", v.toInt());
                      return true;
                    }};
  if (as<Field>(object))
    if (auto field = fieldAccessor(name)) return field;
  if (object->isWidgetType())
    if (auto widget = widgetAccessor(object, name)) return widget;
  if (as<QAction>(object)) {
    static const QHash<QString, const char*> kAction = {
        {"Caption", "text"}, {"Hint", "toolTip"}, {"Visible", "visible"}, {"Enabled", "enabled"}, {"Checked", "checked"}};
    if (auto found = kAction.constFind(name); found != kAction.constEnd()) return qtProperty(*found);
  }
  if (!name.front().isUpper()) return std::nullopt;
  const QByteArray own = name.toLatin1();
  if (!hasQtProperty(object, own.constData())) return std::nullopt;
  return Accessor{[own](const QObject* o) { return o->property(own.constData()); },
                  [own](QObject* o, const QVariant& v) { return o->setProperty(own.constData(), v); }};
}

}  // namespace

bool HasProperty(const QObject* object, const QString& name) { return accessor(object, name).has_value(); }

QVariant ReadProperty(const QObject* object, const QString& name) {
  const std::optional<Accessor> found = accessor(object, name);
  return found ? found->read(object) : QVariant();
}

bool WriteProperty(QObject* object, const QString& name, const QVariant& value) {
  const std::optional<Accessor> found = accessor(object, name);
  return found && found->write(object, value);
}
