#pragma once
// The report engine's small XML dialect: templates, prepared reports, variables, styles
// and string resources. An element is a name and one undivided attribute text; content
// between tags is never read. Chosen elements can be moved out to a temporary file and
// read back when needed, so that a large prepared report need not stay in memory whole.
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace orv::report {

class TfrxXMLDocument;

class TfrxXMLItem {
public:
    TfrxXMLItem() = default;
    explicit TfrxXMLItem(const QString& name) : Name(name) {}
    // Destroys the children and leaves the parent's list.
    ~TfrxXMLItem();
    TfrxXMLItem(const TfrxXMLItem&) = delete;
    TfrxXMLItem& operator=(const TfrxXMLItem&) = delete;

    QString Name;  // compared ignoring case everywhere
    QString Text;  // the attribute text, escaped
    QString Value; // element content: written, never read back
    void* Data = nullptr;
    bool Modified = false;
    bool Loaded = true;      // the children are in memory
    bool Unloadable = false; // may move out to the temporary file; written with ld="0"
    qint64 Offset = 0;       // where an element that is not loaded begins

    TfrxXMLItem* Parent() const { return m_parent; }
    // Destroys every child; an unloadable element becomes not loaded.
    void Clear();
    int Count() const { return int(m_items.size()); }
    TfrxXMLItem* Items(int Index) const { return m_items[size_t(Index)]; }
    TfrxXMLItem* operator[](int Index) const { return Items(Index); }
    int IndexOf(const TfrxXMLItem* Item) const;

    TfrxXMLItem* Add();
    TfrxXMLItem* Add(const QString& AName);
    // Moves an existing element here (detaching it from its former parent).
    void AddItem(TfrxXMLItem* Item);
    void InsertItem(int Index, TfrxXMLItem* Item);
    // The first child of that name (ignoring case), or -1.
    int Find(const QString& AName) const;
    // That child, appended when missing.
    TfrxXMLItem* FindItem(const QString& AName);
    TfrxXMLItem* Root();

    // Attributes of the attribute text, their names compared ignoring case.
    QString Prop(const QString& AName) const;
    void SetProp(const QString& AName, const QString& AValue);
    bool PropExists(const QString& AName) const;
    void DeleteProp(const QString& AName);

private:
    friend class TfrxXMLDocument;
    friend class TfrxXMLReader;
    void detach();
    TfrxXMLItem* m_parent = nullptr;
    std::vector<TfrxXMLItem*> m_items;
    bool m_inTempFile = false; // unloaded into the document's own temporary file
};

// Reads elements through a 4096-byte buffer, keeping its own position; when destroyed it
// puts the stream back to that position, so a caller can go on behind the last element.
class TfrxXMLReader {
public:
    explicit TfrxXMLReader(QIODevice& Stream);
    ~TfrxXMLReader();
    // The declaration; raises TfrxInvalidXMLException when the first tag is not one.
    void ReadHeader();
    // One element with (or, without ReadChildren, marking ld="0" elements unloaded) its
    // children. Raises TfrxInvalidXMLException on malformed text.
    void ReadRootItem(TfrxXMLItem* Item, bool ReadChildren = true);
    bool OldVersion() const { return m_oldVersion; }
    void SetOldVersion(bool v) { m_oldVersion = v; }
    qint64 Position() const { return m_position; }
    void SetPosition(qint64 Value);
    qint64 Size() const { return m_size; }
    [[noreturn]] static void RaiseException();

private:
    enum class TagResult { Element, Closing };
    int readByte();
    bool readTag(QString& name, QString& text);
    TagResult readItem(TfrxXMLItem* item, bool readChildren, QString& closingName);
    QIODevice& m_stream;
    qint64 m_size;
    qint64 m_position;
    QByteArray m_buffer;
    qint64 m_bufferStart = 0;
    bool m_oldVersion = false;
};

class TfrxXMLWriter {
public:
    explicit TfrxXMLWriter(QIODevice& Stream) : m_stream(Stream) {}
    ~TfrxXMLWriter();
    bool AutoIndent = false;
    // Unloaded elements are read back through the document while they are written.
    TfrxXMLDocument* Document = nullptr;
    void WriteHeader();
    void WriteRootItem(TfrxXMLItem* RootItem);

private:
    void writeItem(TfrxXMLItem* item, int level);
    void put(const QByteArray& bytes);
    void flush();
    QIODevice& m_stream;
    QByteArray m_out;
};

class TfrxXMLDocument {
public:
    TfrxXMLDocument();
    ~TfrxXMLDocument();
    TfrxXMLDocument(const TfrxXMLDocument&) = delete;
    TfrxXMLDocument& operator=(const TfrxXMLDocument&) = delete;

    TfrxXMLItem* Root() const { return m_root.get(); }
    bool AutoIndent = false;
    QString TempDir; // kept; the temporary file goes to the system's temporary folder
    bool OldVersion() const { return m_oldVersion; }

    // Empties the root and drops the temporary file.
    void Clear();
    void LoadFromStream(QIODevice& Stream);
    // With partial loading the document keeps the stream and reads ld="0" elements from
    // it when they are asked for.
    void LoadFromStream(std::unique_ptr<QIODevice> Stream, bool AllowPartialLoading);
    void SaveToStream(QIODevice& Stream);
    void LoadFromFile(const QString& FileName);
    // The old file is replaced only once the new one has been written completely.
    void SaveToFile(const QString& FileName);
    // Reads an unloaded element back with its children.
    void LoadItem(TfrxXMLItem* Item);
    // Moves a loaded, unloadable element's children out to the temporary file.
    void UnloadItem(TfrxXMLItem* Item);

private:
    friend class TfrxXMLWriter;
    void dropTempFile();
    QIODevice* streamOf(const TfrxXMLItem* item) const;
    void readChildrenInto(TfrxXMLItem* item);
    std::unique_ptr<TfrxXMLItem> m_root;
    std::unique_ptr<QIODevice> m_source; // taken over by partial loading
    std::unique_ptr<QIODevice> m_temp;   // created by the first unload
    bool m_oldVersion = false;
};

// Attribute values: LF, CR, '"', '&', '<' and '>' as "&#" + code + ";" ("&quot;" as one
// "&#34;"); everything else as it is.
QString frxEscapeXMLText(const QString& s);
// One pass from the left: "&#n;" and &quot; &amp; &lt; &gt;; any other '&' stays.
// A numeric reference that is not a number raises orv::report::ConvertError.
QString frxUnescapeXMLText(const QString& s);
// A value of undetermined type as attribute text: integers in decimal, floats in the
// general format with the process's decimal separator, dates as the short date text,
// Booleans "1" and "0", texts escaped, anything else empty.
QString frxVariantToXMLText(const QVariant& v);

} // namespace orv::report
