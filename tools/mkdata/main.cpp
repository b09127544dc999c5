// mkdata: makes the data files of the program folder at build time.
//
//   mkdata db  <out-file> <script.sql>...   a fresh SQLite database from scripts
//   mkdata ldb <out-file> <texts.tsv>       a language database from a text table
//   mkdata gif <out-file> <flag-file>       a small flag picture
//   mkdata png <out-file> <icon-file> <size>
//                                           the program's icon, <size> pixels
//                                           square
//   mkdata history <out-file> <db-file>     a copy of the database with a few
//                                           days of trading, booked by the
//                                           cashier's own save
//
// Every mode writes its file completely or not at all: a half-made database
// left in the build folder would be copied into the program folder as if good.

#include "gifwriter.h"
#include "history.h"
#include "sqlscript.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace {

const QString ConnectionName = QStringLiteral("mkdata");

// The five sections of a language database, in the order they are made.
const QStringList LanguageSections = {
    QStringLiteral("MENU"),  QStringLiteral("BUTTON"), QStringLiteral("CAPTION"),
    QStringLiteral("CHECK"), QStringLiteral("TGRID"),
};

void fail(const QString& message)
{
    QTextStream(stderr) << "mkdata: " << message << Qt::endl;
}

std::optional<QString> readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

void removeDatabaseFile(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

// Owns the one connection of a run and takes it down again, so that the
// file is closed before it is deleted on failure. The database is made under
// a working name and takes its own name only once it is complete, so a run
// that is cut off (the build interrupted) never leaves a file that looks
// current.
class Database {
public:
    explicit Database(const QString& path) : m_path(path), m_work(path + QStringLiteral(".part"))
    {
        removeDatabaseFile(m_work);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ConnectionName);
        db.setDatabaseName(m_work);
        if (!db.open()) {
            fail(QStringLiteral("cannot create %1: %2").arg(m_work, db.lastError().text()));
            return;
        }
        if (!db.transaction()) {
            fail(QStringLiteral("cannot begin a transaction on %1: %2").arg(m_work, db.lastError().text()));
            return;
        }
        m_ok = true;
    }

    ~Database()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(ConnectionName, false);
            if (db.isOpen() && !m_committed)
                db.rollback();
            db.close();
        }
        QSqlDatabase::removeDatabase(ConnectionName);
        if (!m_committed)
            removeDatabaseFile(m_work);
    }

    bool ok() const { return m_ok; }
    QSqlDatabase handle() const { return QSqlDatabase::database(ConnectionName, false); }

    // Commits, closes the file and gives it its own name.
    bool commit()
    {
        QSqlDatabase db = handle();
        if (!db.commit()) {
            fail(QStringLiteral("cannot commit %1: %2").arg(m_work, db.lastError().text()));
            return false;
        }
        db.close();
        removeDatabaseFile(m_path);
        if (!QFile::rename(m_work, m_path)) {
            fail(QStringLiteral("cannot rename %1 to %2").arg(m_work, m_path));
            return false;
        }
        m_committed = true;
        return true;
    }

private:
    QString m_path;
    QString m_work;
    bool m_ok = false;
    bool m_committed = false;
};

int makeDatabase(const QString& outPath, const QStringList& scripts)
{
    Database database(outPath);
    if (!database.ok())
        return 1;

    int count = 0;
    for (const QString& scriptPath : scripts) {
        const std::optional<QString> script = readText(scriptPath);
        if (!script)
            return 1;
        for (const SqlStatement& statement : splitSqlScript(*script)) {
            QSqlQuery query(database.handle());
            if (!query.exec(statement.text)) {
                fail(QStringLiteral("%1:%2: %3\n  in: %4")
                         .arg(scriptPath)
                         .arg(statement.line)
                         .arg(query.lastError().text(), statement.text.left(200).simplified()));
                return 1;
            }
            ++count;
        }
    }
    if (!database.commit())
        return 1;
    QTextStream(stdout) << "mkdata: " << outPath << ": " << count << " statements" << Qt::endl;
    return 0;
}

// The text table has one text per line: section <TAB> key <TAB> value.
// Blank lines and lines starting with '#' are skipped. Values are stored
// exactly as written (a "\n" in the information text stays two characters).
int makeLanguage(const QString& outPath, const QString& tsvPath)
{
    const std::optional<QString> source = readText(tsvPath);
    if (!source)
        return 1;

    struct Row {
        QString section, key, value;
    };
    QList<Row> rows;
    QHash<QString, int> firstLine; // section + key, folded as the lookups fold them
    const QStringList lines = source->split(u'\n');
    bool good = true;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        const QString where = QStringLiteral("%1:%2").arg(tsvPath).arg(i + 1);
        if (fields.size() != 3 || fields.at(1).isEmpty() || fields.at(2).isEmpty()) {
            fail(where + QStringLiteral(": expected section, key and value separated by tabs"));
            good = false;
            continue;
        }
        if (!LanguageSections.contains(fields.at(0))) {
            fail(where + QStringLiteral(": unknown section \"%1\"").arg(fields.at(0)));
            good = false;
            continue;
        }
        const QString id = fields.at(0) + u'\t' + fields.at(1).toLower();
        if (firstLine.contains(id)) {
            fail(where +
                 QStringLiteral(": key \"%1\" already given on line %2").arg(fields.at(1)).arg(firstLine.value(id)));
            good = false;
            continue;
        }
        firstLine.insert(id, i + 1);
        rows.append({fields.at(0), fields.at(1), fields.at(2)});
    }
    if (!good)
        return 1;

    Database database(outPath);
    if (!database.ok())
        return 1;
    QSqlQuery query(database.handle());
    for (const QString& section : LanguageSections) {
        const QString create =
            QStringLiteral("create table `%1` (`Key` TEXT COLLATE NOCASE, `Value` TEXT)").arg(section);
        if (!query.exec(create)) {
            fail(QStringLiteral("%1: %2").arg(outPath, query.lastError().text()));
            return 1;
        }
    }
    for (const Row& row : rows) {
        // Bound values: apostrophes and any other character go in unchanged.
        query.prepare(QStringLiteral("insert into `%1` values(?, ?)").arg(row.section));
        query.addBindValue(row.key);
        query.addBindValue(row.value);
        if (!query.exec()) {
            fail(QStringLiteral("%1: %2").arg(outPath, query.lastError().text()));
            return 1;
        }
    }
    query.finish();
    if (!database.commit())
        return 1;
    QTextStream(stdout) << "mkdata: " << outPath << ": " << rows.size() << " texts" << Qt::endl;
    return 0;
}

bool parseColour(const QString& text, QRgb* rgb)
{
    QString hex = text;
    if (hex.startsWith(u'#'))
        hex.remove(0, 1);
    bool ok = false;
    const uint value = hex.toUInt(&ok, 16);
    if (!ok || hex.size() != 6)
        return false;
    *rgb = qRgb(int((value >> 16) & 0xff), int((value >> 8) & 0xff), int(value & 0xff));
    return true;
}

// The flag description, one instruction per line ('#' starts a comment):
//   size <width> <height>            canvas size (default 48 x 32)
//   stripe <RRGGBB>                  horizontal bands of equal height, top first
//   rect <x> <y> <w> <h> <RRGGBB>    a filled rectangle, painted after the bands
// Pixels that nothing paints take the first colour named.
std::optional<IndexedPicture> parseFlag(const QString& flagPath)
{
    const std::optional<QString> source = readText(flagPath);
    if (!source)
        return std::nullopt;

    struct Rect {
        int x, y, w, h, colour;
    };
    IndexedPicture picture;
    picture.width = 48;
    picture.height = 32;
    QList<int> stripes;
    QList<Rect> rects;

    auto colourIndex = [&](QRgb rgb) {
        qsizetype i = picture.palette.indexOf(rgb);
        if (i < 0) {
            picture.palette.append(rgb);
            i = picture.palette.size() - 1;
        }
        return int(i);
    };

    const QStringList lines = source->split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines.at(n).section(u'#', 0, 0).simplified();
        if (line.isEmpty())
            continue;
        const QStringList f = line.split(u' ');
        const QString where = QStringLiteral("%1:%2").arg(flagPath).arg(n + 1);
        QList<int> numbers;
        bool numbersOk = true;
        const qsizetype numberCount = f.at(0) == u"size" ? 2 : f.at(0) == u"rect" ? 4 : 0;
        for (qsizetype i = 1; i <= numberCount && i < f.size(); ++i) {
            bool ok = false;
            numbers.append(f.at(i).toInt(&ok));
            numbersOk = numbersOk && ok && numbers.last() >= 0;
        }
        QRgb colour = 0;
        const bool hasColour = f.size() == numberCount + 2 && parseColour(f.last(), &colour);

        if (f.at(0) == u"size" && f.size() == 3 && numbersOk && numbers.at(0) > 0 && numbers.at(1) > 0 &&
            numbers.at(0) <= 1024 && numbers.at(1) <= 1024) {
            picture.width = numbers.at(0);
            picture.height = numbers.at(1);
        } else if (f.at(0) == u"stripe" && hasColour) {
            stripes.append(colourIndex(colour));
        } else if (f.at(0) == u"rect" && numbersOk && hasColour) {
            rects.append({numbers.at(0), numbers.at(1), numbers.at(2), numbers.at(3), colourIndex(colour)});
        } else {
            fail(where + QStringLiteral(": cannot read \"%1\"").arg(line));
            return std::nullopt;
        }
        if (picture.palette.size() > 256) {
            fail(where + QStringLiteral(": more than 256 colours"));
            return std::nullopt;
        }
    }
    if (picture.palette.isEmpty()) {
        fail(flagPath + QStringLiteral(": no colour given"));
        return std::nullopt;
    }

    const int w = picture.width;
    const int h = picture.height;
    picture.pixels = QByteArray(qsizetype(w) * h, char(0));
    for (int y = 0; y < h && !stripes.isEmpty(); ++y) {
        const char c = char(stripes.at(qsizetype(y) * stripes.size() / h));
        for (int x = 0; x < w; ++x)
            picture.pixels[qsizetype(y) * w + x] = c;
    }
    for (const Rect& r : rects) {
        for (int y = r.y; y < qMin(h, r.y + r.h); ++y)
            for (int x = r.x; x < qMin(w, r.x + r.w); ++x)
                picture.pixels[qsizetype(y) * w + x] = char(r.colour);
    }
    return picture;
}

// Reads the encoded picture back through Qt's own GIF reader and compares it
// pixel by pixel, so a faulty encoder stops the build instead of shipping.
bool verifyGif(const QByteArray& gif, const IndexedPicture& picture)
{
    QImage image;
    if (!image.loadFromData(gif, "GIF")) {
        fail(QStringLiteral("the GIF reader of Qt cannot read the picture"));
        return false;
    }
    if (image.width() != picture.width || image.height() != picture.height) {
        fail(QStringLiteral("the picture reads back as %1 x %2").arg(image.width()).arg(image.height()));
        return false;
    }
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const QRgb expected = picture.palette.at(quint8(picture.pixels.at(qsizetype(y) * picture.width + x)));
            if ((image.pixel(x, y) & 0xffffff) != (expected & 0xffffff)) {
                fail(QStringLiteral("the picture reads back wrong at %1,%2").arg(x).arg(y));
                return false;
            }
        }
    }
    return true;
}

int makeGif(const QString& outPath, const QString& flagPath)
{
    const std::optional<IndexedPicture> picture = parseFlag(flagPath);
    if (!picture)
        return 1;
    const QByteArray gif = encodeGif(*picture);
    if (!verifyGif(gif, *picture))
        return 1;

    QSaveFile file(outPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(gif) != gif.size() || !file.commit()) {
        fail(QStringLiteral("cannot write %1: %2").arg(outPath, file.errorString()));
        return 1;
    }
    QTextStream(stdout) << "mkdata: " << outPath << ": " << picture->width << " x " << picture->height << ", "
                        << gif.size() << " bytes" << Qt::endl;
    return 0;
}

// The icon description, one shape per line ('#' starts a comment), on a
// canvas of 256 x 256 units that is scaled to each size made; later shapes
// paint over earlier ones and what nothing paints stays transparent:
//   round <x> <y> <w> <h> <radius> <RRGGBB>   a rectangle with rounded corners
//   rect <x> <y> <w> <h> <RRGGBB>             a rectangle
//   ellipse <cx> <cy> <rx> <ry> <RRGGBB>      an ellipse, filled
//   poly <RRGGBB> <x> <y> <x> <y> ...         a polygon of three points or more
// One outline drawn at every size, smoothed, as desktops show icons from 16
// pixels up.
std::optional<QList<std::pair<QPainterPath, QRgb>>> parseIcon(const QString& iconPath)
{
    const std::optional<QString> source = readText(iconPath);
    if (!source)
        return std::nullopt;

    QList<std::pair<QPainterPath, QRgb>> shapes;
    const QStringList lines = source->split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines.at(n).section(u'#', 0, 0).simplified();
        if (line.isEmpty())
            continue;
        QStringList f = line.split(u' ');
        const QString kind = f.takeFirst();
        const QString where = QStringLiteral("%1:%2").arg(iconPath).arg(n + 1);
        QRgb colour = 0;
        const bool colourFirst = kind == u"poly";
        const bool hasColour = !f.isEmpty() && parseColour(colourFirst ? f.takeFirst() : f.takeLast(), &colour);
        QList<qreal> v;
        bool numbersOk = true;
        for (const QString& number : f) {
            bool ok = false;
            v.append(number.toDouble(&ok));
            numbersOk = numbersOk && ok && v.last() >= 0 && v.last() <= 256;
        }
        QPainterPath path;
        if (hasColour && numbersOk) {
            if (kind == u"round" && v.size() == 5) {
                path.addRoundedRect(v[0], v[1], v[2], v[3], v[4], v[4]);
            } else if (kind == u"rect" && v.size() == 4) {
                path.addRect(v[0], v[1], v[2], v[3]);
            } else if (kind == u"ellipse" && v.size() == 4) {
                path.addEllipse(QPointF(v[0], v[1]), v[2], v[3]);
            } else if (kind == u"poly" && v.size() >= 6 && v.size() % 2 == 0) {
                QPolygonF polygon;
                for (qsizetype i = 0; i < v.size(); i += 2)
                    polygon << QPointF(v[i], v[i + 1]);
                path.addPolygon(polygon);
                path.closeSubpath();
            }
        }
        if (path.isEmpty()) {
            fail(where + QStringLiteral(": cannot read \"%1\"").arg(line));
            return std::nullopt;
        }
        shapes.append({path, colour});
    }
    if (shapes.isEmpty()) {
        fail(iconPath + QStringLiteral(": no shape given"));
        return std::nullopt;
    }
    return shapes;
}

int makePng(const QString& outPath, const QString& iconPath, const QString& sizeText)
{
    bool ok = false;
    const int size = sizeText.toInt(&ok);
    if (!ok || size < 8 || size > 1024) {
        fail(QStringLiteral("icon size \"%1\" is not a number of pixels from 8 to 1024").arg(sizeText));
        return 1;
    }
    const auto shapes = parseIcon(iconPath);
    if (!shapes)
        return 1;

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.scale(size / 256.0, size / 256.0);
        for (const auto& [path, colour] : *shapes)
            painter.fillPath(path, QColor::fromRgb(colour));
    }
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            fail(QStringLiteral("the PNG writer of Qt cannot write the icon"));
            return 1;
        }
    }
    // Read back as the desktop will read it.
    QImage back;
    if (!back.loadFromData(png, "PNG") || back.size() != image.size() || !back.hasAlphaChannel()) {
        fail(QStringLiteral("the icon does not read back as a %1 x %1 picture with transparency").arg(size));
        return 1;
    }

    QSaveFile file(outPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit()) {
        fail(QStringLiteral("cannot write %1: %2").arg(outPath, file.errorString()));
        return 1;
    }
    QTextStream(stdout) << "mkdata: " << outPath << ": " << size << " x " << size << ", " << png.size() << " bytes"
                        << Qt::endl;
    return 0;
}

void usage()
{
    QTextStream(stderr) << "usage: mkdata db  <out-file> <script.sql>...\n"
                           "       mkdata ldb <out-file> <texts.tsv>\n"
                           "       mkdata gif <out-file> <flag-file>\n"
                           "       mkdata png <out-file> <icon-file> <size>\n"
                           "       mkdata history <out-file> <db-file>\n";
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        usage();
        return 2;
    }
    const QString mode = args.at(1);
    const QString out = args.at(2);
    int result = 2;
    if (mode == u"db")
        result = makeDatabase(out, args.mid(3));
    else if (mode == u"ldb" && args.size() == 4)
        result = makeLanguage(out, args.at(3));
    else if (mode == u"history" && args.size() == 4)
        result = addTradingHistory(out, args.at(3));
    else if (mode == u"gif" && args.size() == 4)
        result = makeGif(out, args.at(3));
    else if (mode == u"png" && args.size() == 5)
        result = makePng(out, args.at(3), args.at(4));
    else
        usage();
    // A file left from an earlier run would look current to the build.
    if (result == 1)
        QFile::remove(out);
    return result;
}
