#pragma once

class QWidget;

// Gives every captioned button of a window an Alt letter of its own caption
// that no other control shown with it carries: a button keeps the letter it
// has while no earlier one took it, else it takes the first free initial of
// its words, else the first free letter. Buttons on different pages of one
// page control are never shown together and may share a letter; the letters
// of labels, page tabs and the window's menu bar stay theirs. A caption
// without a free letter is left as it is.
void GiveUniqueAccelerators(QWidget& window);
