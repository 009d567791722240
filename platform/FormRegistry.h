#pragma once

#include <QString>
#include <QWidget>

#include <functional>

// Lets a lower layer create the form of a higher one by its class name
// ("TfGENEDIAG"): the program registers every such form at start-up.
namespace FormRegistry {

using Factory = std::function<QWidget*(QWidget* owner)>;

void Register(const QString& className, Factory factory);
bool IsRegistered(const QString& className);
// The new form, owned by the owner given; nullptr when nothing is registered.
QWidget* Create(const QString& className, QWidget* owner);
void Clear();

}  // namespace FormRegistry
