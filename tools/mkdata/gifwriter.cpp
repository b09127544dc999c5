#include "gifwriter.h"

#include <QHash>

namespace {

constexpr int MaxCode = 4095; // the largest code a 12-bit GIF code can hold

void putWord(QByteArray& out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

// Packs codes of varying width, least significant bit first, and cuts the
// stream into the length-prefixed sub-blocks that GIF wants.
class CodeStream {
public:
    void put(int code, int width)
    {
        m_acc |= quint32(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_bytes.append(char(m_acc & 0xff));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }

    QByteArray finish()
    {
        if (m_bits > 0)
            m_bytes.append(char(m_acc & 0xff));
        QByteArray out;
        for (qsizetype i = 0; i < m_bytes.size(); i += 255) {
            const qsizetype len = qMin<qsizetype>(255, m_bytes.size() - i);
            out.append(char(len));
            out.append(m_bytes.mid(i, len));
        }
        out.append(char(0));
        return out;
    }

private:
    QByteArray m_bytes;
    quint32 m_acc = 0;
    int m_bits = 0;
};

QByteArray lzwCompress(const QByteArray& pixels, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    CodeStream stream;
    QHash<quint32, int> table; // (prefix code << 8 | next index) -> code
    int width = minCodeSize + 1;
    int nextCode = endCode + 1;

    auto reset = [&]() {
        table.clear();
        width = minCodeSize + 1;
        nextCode = endCode + 1;
    };

    stream.put(clearCode, width);
    if (pixels.isEmpty()) {
        stream.put(endCode, width);
        return stream.finish();
    }

    int prefix = quint8(pixels.at(0));
    for (qsizetype i = 1; i < pixels.size(); ++i) {
        const int c = quint8(pixels.at(i));
        const quint32 key = (quint32(prefix) << 8) | quint32(c);
        const auto hit = table.constFind(key);
        if (hit != table.cend()) {
            prefix = hit.value();
            continue;
        }
        stream.put(prefix, width);
        // The decoder learns this entry one code later and widens its codes
        // as soon as its next free code no longer fits; mirror that here.
        table.insert(key, nextCode);
        if (nextCode >= (1 << width) && width < 12)
            ++width;
        ++nextCode;
        if (nextCode >= MaxCode) {
            stream.put(clearCode, width);
            reset();
        }
        prefix = c;
    }
    stream.put(prefix, width);
    if (nextCode >= (1 << width) && width < 12)
        ++width;
    stream.put(endCode, width);
    return stream.finish();
}

} // namespace

QByteArray encodeGif(const IndexedPicture& picture)
{
    // The colour table holds a power of two entries, at least two.
    int tableBits = 1;
    while ((1 << tableBits) < picture.palette.size())
        ++tableBits;
    const int tableSize = 1 << tableBits;

    QByteArray out("GIF87a");
    putWord(out, picture.width);
    putWord(out, picture.height);
    out.append(char(0x80 | ((tableBits - 1) << 4) | (tableBits - 1)));
    out.append(char(0)); // background colour index
    out.append(char(0)); // no aspect ratio
    for (int i = 0; i < tableSize; ++i) {
        const QRgb rgb = i < picture.palette.size() ? picture.palette.at(i) : 0;
        out.append(char(qRed(rgb)));
        out.append(char(qGreen(rgb)));
        out.append(char(qBlue(rgb)));
    }

    out.append(char(0x2c)); // image descriptor
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, picture.width);
    putWord(out, picture.height);
    out.append(char(0)); // no local table, not interlaced

    const int minCodeSize = qMax(2, tableBits);
    out.append(char(minCodeSize));
    out.append(lzwCompress(picture.pixels, minCodeSize));
    out.append(char(0x3b)); // trailer
    return out;
}
