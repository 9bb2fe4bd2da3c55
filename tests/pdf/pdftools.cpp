#include "pdftools.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <zlib.h>

#include <algorithm>
#include <vector>

namespace orv::pdf::test {

ToolResult runTool(const QString& program, const QStringList& args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(120000))
        return {-1, program + QStringLiteral(" did not run")};
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

bool haveTools()
{
    for (const char* tool : {"qpdf", "pdffonts", "pdftotext", "pdftoppm"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    return true;
}

QImage renderPage(const QString& pdfPath, int page, int dpi, const QString& password)
{
    QTemporaryDir dir;
    const QString prefix = QDir(dir.path()).filePath(QStringLiteral("page"));
    QStringList args = {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                        QString::number(page), QStringLiteral("-l"), QString::number(page),
                        QStringLiteral("-singlefile")};
    if (!password.isEmpty())
        args << QStringLiteral("-upw") << password;
    args << pdfPath << prefix;
    if (runTool(QStringLiteral("pdftoppm"), args).exitCode != 0)
        return QImage();
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

QByteArray inflate(const QByteArray& data)
{
    QByteArray out;
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return out;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    char buffer[16384];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        rc = ::inflate(&z, Z_NO_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - z.avail_out));
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : QByteArray();
}

namespace {

std::vector<int> greys(const QImage& image)
{
    std::vector<int> out(std::size_t(image.width()) * std::size_t(image.height()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            out[std::size_t(y) * std::size_t(image.width()) + std::size_t(x)] = qGray(image.pixel(x, y));
    return out;
}

// For every pixel of `from`: whether `to` has a pixel of a near grey level close by.
std::vector<bool> unmatched(const std::vector<int>& from, const std::vector<int>& to, int w, int h, int radius,
                            int tolerance)
{
    std::vector<bool> out(from.size(), false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int g = from[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            bool found = false;
            for (int dy = -radius; dy <= radius && !found; ++dy)
                for (int dx = -radius; dx <= radius && !found; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    if (xx >= 0 && yy >= 0 && xx < w && yy < h &&
                        std::abs(to[std::size_t(yy) * std::size_t(w) + std::size_t(xx)] - g) <= tolerance)
                        found = true;
                }
            out[std::size_t(y) * std::size_t(w) + std::size_t(x)] = !found;
        }
    return out;
}

} // namespace

double mismatch(const QImage& a, const QImage& b, int radius, int tolerance)
{
    if (a.size() != b.size() || a.isNull())
        return 1;
    const auto ga = greys(a), gb = greys(b);
    const auto ua = unmatched(ga, gb, a.width(), a.height(), radius, tolerance);
    const auto ub = unmatched(gb, ga, a.width(), a.height(), radius, tolerance);
    const auto count = [](const std::vector<bool>& v) { return double(std::count(v.begin(), v.end(), true)); };
    return std::max(count(ua), count(ub)) / double(ga.size());
}

QImage mismatchPicture(const QImage& a, const QImage& b, int radius, int tolerance)
{
    if (a.size() != b.size() || a.isNull())
        return QImage();
    const auto ga = greys(a), gb = greys(b);
    const auto ua = unmatched(ga, gb, a.width(), a.height(), radius, tolerance);
    const auto ub = unmatched(gb, ga, a.width(), a.height(), radius, tolerance);
    QImage out(a.size(), QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(a.width()) + std::size_t(x);
            const int g = 128 + ga[i] / 2;
            out.setPixel(x, y, ua[i] ? qRgb(255, 0, 0) : ub[i] ? qRgb(0, 0, 255) : qRgb(g, g, g));
        }
    return out;
}

PdfFile::PdfFile(QByteArray bytes) : m_bytes(std::move(bytes))
{
    const qsizetype at = m_bytes.lastIndexOf("startxref\r\n");
    if (at < 0)
        return;
    const qsizetype end = m_bytes.indexOf('\r', at + 11);
    m_startXref = m_bytes.mid(at + 11, end - at - 11).toLongLong();
    qsizetype pos = m_startXref;
    if (m_bytes.mid(pos, 6) != "xref\r\n")
        return;
    pos += 6;
    const qsizetype headerEnd = m_bytes.indexOf("\r\n", pos);
    const QList<QByteArray> header = m_bytes.mid(pos, headerEnd - pos).split(' ');
    const int count = header.value(1).toInt();
    pos = headerEnd + 2 + 20; // object 0
    for (int i = 1; i < count; ++i, pos += 20)
        m_offsets.append(m_bytes.mid(pos, 10).toLongLong());
    const qsizetype trailer = m_bytes.indexOf("trailer\r\n", pos);
    m_trailer = m_bytes.mid(trailer, at - trailer);
}

QString PdfFile::check() const
{
    if (!m_bytes.startsWith("%PDF-1.5\r\n"))
        return QStringLiteral("no header");
    if (m_startXref < 0 || m_bytes.mid(m_startXref, 4) != "xref")
        return QStringLiteral("startxref does not point at the table");
    if (!m_bytes.endsWith("%%EOF\r\n"))
        return QStringLiteral("no end marker");
    for (int n = 1; n <= objectCount(); ++n) {
        const QByteArray head = QByteArray::number(n) + " 0 obj\r\n";
        if (m_bytes.mid(m_offsets[n - 1], head.size()) != head)
            return QStringLiteral("object %1 is not at its offset").arg(n);
    }
    if (integer(m_trailer, "/Size") != objectCount() + 1)
        return QStringLiteral("/Size does not count the objects");
    return QString();
}

QByteArray PdfFile::object(int number) const
{
    if (number < 1 || number > objectCount())
        return QByteArray();
    const qint64 start = m_offsets[number - 1];
    // A stream may hold "endobj"; skip its data first.
    qint64 from = start;
    const qsizetype streamAt = m_bytes.indexOf("stream\r\n", start);
    const qsizetype firstEnd = m_bytes.indexOf("endobj\r\n", start);
    if (streamAt >= 0 && streamAt < firstEnd) {
        const QByteArray dict = m_bytes.mid(start, streamAt - start);
        from = streamAt + 8 + integer(dict, "/Length");
    }
    const qsizetype end = m_bytes.indexOf("endobj\r\n", from);
    return m_bytes.mid(start, end + 8 - start);
}

QByteArray PdfFile::dictionary(int number) const
{
    const QByteArray obj = object(number);
    const qsizetype s = obj.indexOf("stream\r\n");
    return s >= 0 ? obj.left(s) : obj;
}

QByteArray PdfFile::rawStream(int number) const
{
    const QByteArray obj = object(number);
    const qsizetype s = obj.indexOf("stream\r\n");
    if (s < 0)
        return QByteArray();
    return obj.mid(s + 8, integer(obj.left(s), "/Length"));
}

QByteArray PdfFile::stream(int number) const
{
    const QByteArray raw = rawStream(number);
    return dictionary(number).contains("/FlateDecode") ? inflate(raw) : raw;
}

int PdfFile::reference(const QByteArray& text, const QByteArray& key)
{
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d+) 0 R"));
    const qsizetype at = text.indexOf(key);
    if (at < 0)
        return -1;
    const auto m = number.match(QString::fromLatin1(text.mid(at + key.size())));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

qint64 PdfFile::integer(const QByteArray& text, const QByteArray& key)
{
    static const QRegularExpression number(QStringLiteral("^\\s*(-?\\d+)"));
    const qsizetype at = text.indexOf(key + ' ');
    if (at < 0)
        return -1;
    const auto m = number.match(QString::fromLatin1(text.mid(at + key.size())));
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

QList<int> PdfFile::objectsWith(const QByteArray& text) const
{
    QList<int> out;
    for (int n = 1; n <= objectCount(); ++n)
        if (dictionary(n).contains(text))
            out.append(n);
    return out;
}

QList<int> PdfFile::pages() const
{
    QList<int> out;
    const QByteArray tree = dictionary(1);
    const qsizetype kids = tree.indexOf("/Kids [");
    const qsizetype end = tree.indexOf(']', kids);
    static const QRegularExpression ref(QStringLiteral("(\\d+) 0 R"));
    auto it = ref.globalMatch(QString::fromLatin1(tree.mid(kids + 7, end - kids - 7)));
    while (it.hasNext())
        out.append(it.next().captured(1).toInt());
    return out;
}

QByteArray PdfFile::pageContent(int index) const
{
    const QList<int> p = pages();
    if (index < 0 || index >= p.size())
        return QByteArray();
    return stream(reference(dictionary(p[index]), "/Contents"));
}

} // namespace orv::pdf::test
