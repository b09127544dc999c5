#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>

// A picture of palette indexes, row by row from the top left.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    QList<QRgb> palette; // at most 256 colours
    QByteArray pixels;   // width * height palette indexes
};

// The picture as a GIF file: one global colour table, one image, LZW data.
// Qt reads GIF but cannot write it, hence this small encoder.
QByteArray encodeGif(const IndexedPicture& picture);
