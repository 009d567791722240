#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// A picture for a report item; one that cannot be read, or that would take
// more memory than a page deserves, gives a null image and leaves its item empty.
QImage LoadPicture(const QString& fileName);
QImage PictureFromBytes(const QByteArray& bytes);
