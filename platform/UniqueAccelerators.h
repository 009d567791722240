#pragma once

class QWidget;

// Gives every captioned button of a window an Alt letter of its own caption
// that no other control shown with it carries: a button keeps the letter it
// has while no earlier one took it, else it takes the first free initial of
// its words, else the first free letter. Buttons on different pages of one
// page control are never shown together and may share a letter; the letters
// of labels and page tabs stay theirs, and a button may share one with the
// menu bar, whose entry answers after it. A caption
// without a free letter loses the letter it repeats.
void GiveUniqueAccelerators(QWidget& window);
