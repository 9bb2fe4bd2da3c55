#pragma once
// The script engine's own small XML dialect, in which grammars and intermediate programs
// are kept. An element is a name, one undivided attribute text (already escaped) and a
// list of child elements; text between tags is neither read nor written.
//
// Every walk over a tree (destruction, copying, reading, writing) is iterative, so a deep
// document never exhausts the native stack; the reader still refuses documents nested
// deeper than fsXMLMaxDepth, to protect consumers that walk the tree recursively.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QIODevice;

namespace orv::script {

// Deepest element nesting the reader accepts (the outermost element is depth 0).
inline constexpr int fsXMLMaxDepth = 4096;

// Replaces LF, CR, '"', '<' and '>' by decimal character references and "&quot;" by
// "&#34;"; any other '&' stays as it is.
QString fsEscapeXMLText(const QString& s);
void fsAppendEscapedXMLText(QString& out, QStringView s);
// Decodes "&#<number>;" and "&quot;". A reference without ';' stays as text; zero, a
// lone surrogate and a number outside the Unicode range become U+FFFD; digits that are
// no number raise orv::platform::EConvertError.
QString fsUnescapeXMLText(const QString& s);

// Memory for the elements of one document and their attribute texts, handed out in
// blocks and given back all at once: the intermediate program is made of many small
// elements that live exactly as long as their document. Elements made in a pool never
// leave their document (they are not moved to another tree).
class TfsXMLPool {
public:
    TfsXMLPool() = default;
    ~TfsXMLPool();
    TfsXMLPool(const TfsXMLPool&) = delete;
    TfsXMLPool& operator=(const TfsXMLPool&) = delete;

    // Room for `bytes` bytes, aligned for any element.
    void* Allocate(size_t bytes);
    // Gives every block back but the last; whatever was made in the pool must be gone.
    void Reset();
    // Bytes the pool holds now.
    size_t Reserved() const { return FReserved; }
    // Bytes all pools of the process hold now.
    static size_t LiveBytes();

private:
    struct Block {
        char* data;
        size_t size;
    };
    std::vector<Block> FBlocks;
    char* FNext = nullptr;
    char* FEnd = nullptr;
    size_t FReserved = 0;
};

class TfsXMLItem {
public:
    TfsXMLItem() = default;
    // Destroys the children, then leaves the parent's list.
    ~TfsXMLItem();
    TfsXMLItem(const TfsXMLItem&) = delete;
    TfsXMLItem& operator=(const TfsXMLItem&) = delete;

    // Destroys every child; name and attribute text stay.
    void Clear();
    // Destroys an element made with Add or new, wherever its memory lives.
    static void Destroy(TfsXMLItem* item);
    int Count() const { return int(FItems.size()); }
    // A child by position; a position outside the list raises orv::platform::ERangeError.
    TfsXMLItem* Items(int index) const;
    TfsXMLItem* operator[](int index) const { return Items(index); }
    int IndexOf(const TfsXMLItem* item) const;

    // Appends a new empty child and returns it.
    TfsXMLItem* Add();
    // Makes room for that many children in all.
    void Reserve(int count) { FItems.reserve(size_t(count)); }
    // Appends an existing element and takes it out of its former parent's list (the first
    // occurrence there): adding an element to its own parent moves it to the end.
    void AddItem(TfsXMLItem* item);
    void InsertItem(int index, TfsXMLItem* item);

    TfsXMLItem* Parent() const { return FParent; }
    // Leaves the former parent's list and records the new parent without joining its list.
    void SetParent(TfsXMLItem* parent);
    TfsXMLItem* Root();

    // Index of the first child named `name` (ignoring case), -1 when there is none.
    int Find(const QString& name) const;
    // That child; a missing one is appended and returned.
    TfsXMLItem* FindItem(const QString& name);

    QString Prop(const QString& name) const { return GetProp(name); }
    QString GetProp(const QString& name) const;
    void SetProp(const QString& name, const QString& value);
    bool PropExists(const QString& name) const;

    // Copies name, attribute text, Data and a copy of every child of `item`; nil clears.
    void Assign(const TfsXMLItem* item);

    const QString& Name() const { return FName; }
    void SetName(const QString& name) { FName = name; }
    // The attribute text of an element made in a pool points into the pool: copy it
    // (QString(Text().constData(), ...)) to keep it beyond the document.
    const QString& Text() const { return FText; }
    void SetText(const QString& text);
    void SetText(QString&& text);
    void SetText(QStringView text);
    void* Data() const { return FData; }
    void SetData(void* data) { FData = data; }

    // Told of every element that is being destroyed (the scripts' view of elements
    // goes with them).
    static inline void (*OnDestroy)(TfsXMLItem* item) = nullptr;

    // Children made by Add come from this pool (nil: from the heap).
    void SetPool(TfsXMLPool* pool) { FPool = pool; }
    bool InPool() const { return FInPool; }

private:
    void detachFromParent();
    // The attribute text as a text that owns its characters.
    QString ownText() const;

    QString FName;
    QString FText;
    TfsXMLItem* FParent = nullptr;
    std::vector<TfsXMLItem*> FItems;
    void* FData = nullptr;
    TfsXMLPool* FPool = nullptr;
    bool FInPool = false;
};

class TfsXMLReader {
public:
    explicit TfsXMLReader(QIODevice& stream);
    // Leaves the stream at the reader's logical position.
    ~TfsXMLReader();
    TfsXMLReader(const TfsXMLReader&) = delete;
    TfsXMLReader& operator=(const TfsXMLReader&) = delete;

    void ReadHeader();
    void ReadRootItem(TfsXMLItem* item);
    [[noreturn]] void RaiseException();

    qint64 Position() const { return FPosition; }
    void SetPosition(qint64 value);
    qint64 Size() const { return FSize; }

private:
    int readByte();
    bool readTag(QString& name, QString& text);
    bool readElement(TfsXMLItem* target);

    QIODevice& FStream;
    qint64 FSize = 0;
    qint64 FPosition = 0;
    QByteArray FBuffer;
    int FBufferFill = 0;
    int FBufferIndex = 0;
    QByteArray FTag;
};

class TfsXMLWriter {
public:
    explicit TfsXMLWriter(QIODevice& stream);
    void WriteHeader();
    void WriteRootItem(const TfsXMLItem* rootItem);
    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool value) { FAutoIndent = value; }

private:
    void writeLine(const QByteArray& line, int depth);
    void flush();

    QIODevice& FStream;
    bool FAutoIndent = false;
    QByteArray FBuffer;
};

class TfsXMLDocument {
public:
    TfsXMLDocument();
    ~TfsXMLDocument();
    TfsXMLDocument(const TfsXMLDocument&) = delete;
    TfsXMLDocument& operator=(const TfsXMLDocument&) = delete;

    // Empties the root; a pooled document also gives its elements' memory back.
    void Clear();
    void LoadFromStream(QIODevice& stream);
    void SaveToStream(QIODevice& stream) const;
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    // Reads a whole document held in memory, and writes one into memory.
    void LoadFromBytes(const QByteArray& bytes);
    QByteArray SaveToBytes() const;

    TfsXMLItem* Root() const { return FRoot; }
    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool value) { FAutoIndent = value; }
    // Makes the document's elements in a pool of its own from now on (call it while the
    // root is empty). For documents whose elements never move to another tree.
    void UsePool();
    const TfsXMLPool* Pool() const { return FPool.get(); }

private:
    std::unique_ptr<TfsXMLPool> FPool; // declared first: destroyed after the root
    TfsXMLItem* FRoot;
    bool FAutoIndent = false;
};

} // namespace orv::script
