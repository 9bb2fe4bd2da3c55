#pragma once
// The engines' user-visible texts, English, looked up by name in one table per process.
// A name the table lacks reads as the name itself.
#include "report/base/widestrings.h"

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QImage>
#include <QStringList>


namespace orv::report {

class TfrxResources {
public:
    TfrxResources();

    // The text of the entry (the name itself when absent), without a leading "!" and
    // without its first "&".
    QString Get(const QString& StrName) const;
    // Adds the entry, or replaces its text (it keeps its place).
    void AddW(const QString& Ref, const QString& Str);
    void Add(const QString& Ref, const QString& Str) { AddW(Ref, Str); }
    // "Name=Text" lines; a line is added only when both parts are there.
    void AddStrings(const QString& Str);
    // A UTF-8 StrRes document.
    void AddXML(const QByteArray& Str);
    // A StrRes document; raises the XML reader's error on a malformed text and
    // ConvertError for a missing or non-numeric CodePage (nothing of it is then added).
    void LoadFromStream(QIODevice& Stream);
    // Nothing for a missing file.
    void LoadFromFile(const QString& FileName);
    void Clear();
    int Count() const { return m_values.Count(); }
    int CodePage() const { return m_codePage; }

    // Copies the seventeen compiler messages into the script engine.
    void UpdateFSResources();
    // Has no visible effect.
    void Help(orv::platform::rtti::Object* Sender) {}

    // The strip of 16 x 16 button pictures, ten per row.
    const QImage& Images() const { return m_images; }
    void SetImages(const QImage& strip) { m_images = strip; }
    QImage LoadImageFromResouce(int RowId, int ColId) const;
    QImage LoadImageFromResouce(int Index) const;
    const QStringList& Languages() const { return m_languages; }

private:
    QHash<QString, int> m_names; // key: name with A-Z folded
    TfrxWideStrings m_values;
    int m_codePage = 0;
    QImage m_images;
    QStringList m_languages;
};

// The one table, created on first use.
TfrxResources* frxStringResources();
// Get of the decimal text of Id.
QString frxResourceText(int Id);

// The names of the seventeen compiler messages, in the script engine's order.
const QStringList& frxScriptMessageNames();
// The engine's own table of 178 entries, as a StrRes document.
QByteArray frxEngineStringResources();

} // namespace orv::report
