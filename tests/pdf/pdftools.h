#pragma once
// What the PDF tests share: the external checkers (qpdf, poppler's tools) and a small
// reader of the files the writer produces (cross-reference table, objects, streams).
#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>

namespace orv::pdf::test {

struct ToolResult {
    int exitCode = -1;
    QString output;
};

// Runs a program and waits for it; exit code -1 when it did not run.
ToolResult runTool(const QString& program, const QStringList& args);
// Whether qpdf and poppler's tools are installed.
bool haveTools();
// A page rendered by pdftoppm at a resolution; a null image when it failed.
QImage renderPage(const QString& pdfPath, int page, int dpi, const QString& password = QString());

QByteArray inflate(const QByteArray& data);

// How far two renderings of one page differ: the share of pixels of either image whose
// grey level no pixel of the other image within `radius` pixels comes near (within
// `tolerance` levels of 255). Images of different sizes differ completely.
double mismatch(const QImage& a, const QImage& b, int radius = 2, int tolerance = 64);
// A picture of where the images differ (red: only in a, blue: only in b), for looking at.
QImage mismatchPicture(const QImage& a, const QImage& b, int radius = 2, int tolerance = 64);

// Reads a file as the writer lays it out: one cross-reference section, uncompressed
// object headers. Offsets that do not point at their object are reported by check().
class PdfFile {
public:
    explicit PdfFile(QByteArray bytes);
    const QByteArray& bytes() const { return m_bytes; }
    // An empty text when the structure is sound, else what is wrong.
    QString check() const;

    int objectCount() const { return int(m_offsets.size()); }
    // From "N 0 obj" to "endobj", both included.
    QByteArray object(int number) const;
    // The object's text before its stream, or the whole object without one.
    QByteArray dictionary(int number) const;
    // The stream's bytes as stored (Length bytes after "stream" and its line end).
    QByteArray rawStream(int number) const;
    // The stream's bytes, inflated when the dictionary names FlateDecode.
    QByteArray stream(int number) const;
    const QByteArray& trailer() const { return m_trailer; }

    // The number after a key ("/Contents 5 0 R" gives 5 for "/Contents"); -1 when absent.
    static int reference(const QByteArray& text, const QByteArray& key);
    static qint64 integer(const QByteArray& text, const QByteArray& key);
    // Objects whose dictionary holds the text, in number order.
    QList<int> objectsWith(const QByteArray& text) const;
    // The page objects in the order of the page tree.
    QList<int> pages() const;
    // The content stream of a page (from 0).
    QByteArray pageContent(int index) const;

private:
    QByteArray m_bytes;
    QList<qint64> m_offsets; // index n - 1
    QByteArray m_trailer;
    qint64 m_startXref = -1;
};

} // namespace orv::pdf::test
