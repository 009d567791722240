#pragma once

#include <QString>

#include <optional>
#include <vector>

// The digits Interleaved 2 of 5 draws: an odd count gets "0" in front.
QString TextoEntrelazado(const QString& texto);

// The digits ITF-14 hands to Interleaved 2 of 5: 12 digits get their check
// digit, then 13 characters get "0" in front; none under 12 characters.
std::optional<QString> TextoItf14(const QString& texto);

// The elements of an Interleaved 2 of 5 symbol of an even digit count, start
// and stop included: whether each is wide, bars and spaces alternating from
// a bar. None when a character is not a digit or the count is odd or 0.
std::optional<std::vector<bool>> ElementosEntrelazado(const QString& digitos);
