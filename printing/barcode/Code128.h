#pragma once

#include <QString>

#include <optional>
#include <vector>

// The symbol values of a Code 128 symbol of the text: start, (FNC1 for
// EAN-128), data, check and stop. Runs of four or more digits go in set C,
// the rest in set A or B as its characters ask. None when a character is
// above 127.
std::optional<std::vector<int>> SimbolosCode128(const QString& texto, bool ean128);

// The widths in modules of the symbols' bars and spaces, alternating from a
// bar.
std::vector<int> ModulosCode128(const std::vector<int>& simbolos);
