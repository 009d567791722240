#pragma once

#include <QString>
#include <QStringList>

// The staging folders left untouched at start that this user has not been
// told of yet. Each one told of is remembered (where it is, and what the disk
// knows it as) in the user's state folder ($XDG_STATE_HOME, else
// ~/.local/state) until it is gone, so that it is told of once.
QStringList RestosPorAvisar(const QStringList& restos);
