#pragma once

#include <QChar>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// The digits a POSTNET symbol draws: with at most `limite` digits, their
// check digit appended; longer texts as they are. None when empty or when a
// character is not a digit.
std::optional<QString> DigitosPostNet(const QString& texto, int limite);

// The bars of a POSTNET symbol of these digits, frame bars included:
// whether each is full (else half) height.
std::vector<bool> BarrasPostNet(const QString& digitos);

// The nine positions of a Facing Identification Mark "A", "B" or "C" (either
// case): whether each holds a bar.
std::optional<std::array<bool, 9>> PosicionesFim(QChar letra);
