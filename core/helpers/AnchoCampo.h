#pragma once

class Field;

// The display width of a field in characters: 13 for a float, 9 an integer,
// 5 a small integer, 10 a date, a date-time or a memo, 8 a time; a text its
// declared size, a boolean 5, any other field 10.
int AnchoCampo(const Field& campo);
