#include "script/front/xml.h"

#include <QBuffer>
#include <QFile>
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <new>

#include "platform/core/cp1252.h"
#include "platform/core/exceptions.h"
#include "platform/core/formats.h"

namespace orv::script {

namespace {

const QString kInvalidFileFormat = QStringLiteral("Invalid file format");

// Upper-cases one UTF-16 unit by the simple (one to one) mapping, so that indexes found
// in the upper-cased text are indexes of the original.
inline char16_t upper1(char16_t c)
{
    if (c < 128)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    return char16_t(QChar::toUpper(c));
}

// Index in `text` of the first attribute named `name` (ignoring case): a match must stand
// at the start of the text or behind a blank and be followed by '="'. -1 when none.
qsizetype findAttribute(const QString& text, const QString& name)
{
    const qsizetype n = name.size(), t = text.size();
    for (qsizetype i = 0; i + n + 2 <= t; ++i) {
        if (i > 0 && text[i - 1] != u' ')
            continue;
        qsizetype k = 0;
        while (k < n && upper1(text[i + k].unicode()) == upper1(name[k].unicode()))
            ++k;
        if (k == n && text[i + n] == u'=' && text[i + n + 1] == u'"')
            return i;
    }
    return -1;
}

bool allDigits(QStringView s)
{
    if (!s.isEmpty() && (s[0] == u'+' || s[0] == u'-'))
        s = s.mid(1);
    if (s.isEmpty())
        return false;
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

void appendCode(QString& out, qint64 code)
{
    // Character zero would end the text for whoever reads it as a C string.
    const bool valid = code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    if (!valid)
        out += QChar(QChar::ReplacementCharacter);
    else if (code > 0xFFFF)
        out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
    else
        out += QChar(char16_t(code));
}

} // namespace

QString fsEscapeXMLText(const QString& s)
{
    QString out;
    out.reserve(s.size() + 8);
    fsAppendEscapedXMLText(out, s);
    return out;
}

void fsAppendEscapedXMLText(QString& out, QStringView s)
{
    const qsizetype n = s.size();
    qsizetype plain = 0; // start of the run of characters that stay
    auto flush = [&](qsizetype upTo) {
        if (upTo > plain)
            out.append(s.mid(plain, upTo - plain));
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        const char16_t* reference = nullptr;
        qsizetype length = 1;
        switch (c) {
        case 10: reference = u"&#10;"; break;
        case 13: reference = u"&#13;"; break;
        case '"': reference = u"&#34;"; break;
        case '<': reference = u"&#60;"; break;
        case '>': reference = u"&#62;"; break;
        case '&':
            if (s.mid(i, 6) == u"&quot;") {
                reference = u"&#34;";
                length = 6;
            }
            break;
        default: break;
        }
        if (!reference)
            continue;
        flush(i);
        out.append(QStringView(reference));
        i += length - 1;
        plain = i + 1;
    }
    flush(n);
}

QString fsUnescapeXMLText(const QString& s)
{
    if (!s.contains(u'&'))
        return s;
    QString out;
    out.reserve(s.size());
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        // The last character never starts a reference.
        if (c == u'&' && i < n - 1) {
            if (s[i + 1] == u'#' && n - i - 1 >= 3) {
                const qsizetype semi = s.indexOf(u';', i + 2);
                if (semi >= 0) {
                    const QString digits = s.mid(i + 2, semi - i - 2);
                    qint64 code = 0;
                    if (orv::platform::tryStrToInt64(digits, code))
                        appendCode(out, code);
                    else if (allDigits(digits))
                        appendCode(out, -1); // too many digits for any character
                    else
                        throw orv::platform::EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(digits));
                    i = semi + 1;
                    continue;
                }
            } else if (QStringView(s).mid(i, 6) == u"&quot;") {
                out += u'"';
                i += 6;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

// ---------------------------------------------------------------------------------------
// TfsXMLPool

namespace {
// What operator new gives without asking for more (asking costs a slower allocation).
constexpr size_t kPoolAlign = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
constexpr size_t kFirstBlock = 8 * 1024, kLargestBlock = 256 * 1024;
std::atomic<size_t> poolBytes{0};
} // namespace

TfsXMLPool::~TfsXMLPool()
{
    for (const Block& block : FBlocks) {
        ::operator delete(block.data);
        poolBytes -= block.size;
    }
}

size_t TfsXMLPool::LiveBytes()
{
    return poolBytes;
}

void* TfsXMLPool::Allocate(size_t bytes)
{
    bytes = (bytes + kPoolAlign - 1) & ~(kPoolAlign - 1);
    if (size_t(FEnd - FNext) < bytes) {
        // Each block twice the last, so a large document takes few of them.
        size_t size = FBlocks.empty() ? kFirstBlock : std::min(FBlocks.back().size * 2, kLargestBlock);
        size = std::max(size, bytes);
        auto* data = static_cast<char*>(::operator new(size));
        FBlocks.push_back({data, size});
        FReserved += size;
        poolBytes += size;
        FNext = data;
        FEnd = data + size;
    }
    void* result = FNext;
    FNext += bytes;
    return result;
}

void TfsXMLPool::Reset()
{
    if (FBlocks.empty())
        return;
    const Block last = FBlocks.back();
    FBlocks.pop_back();
    for (const Block& block : FBlocks) {
        ::operator delete(block.data);
        poolBytes -= block.size;
        FReserved -= block.size;
    }
    FBlocks.assign(1, last);
    FNext = last.data;
    FEnd = last.data + last.size;
}

// ---------------------------------------------------------------------------------------
// TfsXMLItem

void TfsXMLItem::Destroy(TfsXMLItem* item)
{
    if (!item)
        return;
    if (item->FInPool)
        item->~TfsXMLItem();
    else
        delete item;
}

void TfsXMLItem::SetText(const QString& text)
{
    if (!FInPool || text.isEmpty())
        FText = text;
    else
        SetText(QStringView(text));
}

void TfsXMLItem::SetText(QStringView text)
{
    if (!FInPool || text.isEmpty()) {
        FText = text.toString();
        return;
    }
    // The characters go into the pool with the element; the text only points at them.
    auto* data = static_cast<char16_t*>(FPool->Allocate(size_t(text.size()) * sizeof(char16_t)));
    std::copy_n(text.utf16(), text.size(), data);
    FText = QString::fromRawData(reinterpret_cast<const QChar*>(data), text.size());
}

void TfsXMLItem::SetText(QString&& text)
{
    if (FInPool)
        SetText(static_cast<const QString&>(text));
    else
        FText = std::move(text);
}

QString TfsXMLItem::ownText() const
{
    return FInPool ? QString(FText.constData(), FText.size()) : FText;
}

TfsXMLItem::~TfsXMLItem()
{
    if (OnDestroy)
        OnDestroy(this);
    Clear();
    detachFromParent();
}

void TfsXMLItem::detachFromParent()
{
    if (!FParent)
        return;
    auto& list = FParent->FItems;
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end())
        list.erase(it);
    FParent = nullptr;
}

void TfsXMLItem::Clear()
{
    std::vector<TfsXMLItem*> work;
    work.swap(FItems);
    while (!work.empty()) {
        TfsXMLItem* item = work.back();
        work.pop_back();
        work.insert(work.end(), item->FItems.begin(), item->FItems.end());
        item->FItems.clear();
        item->FParent = nullptr;
        Destroy(item);
    }
}

TfsXMLItem* TfsXMLItem::Items(int index) const
{
    if (index < 0 || index >= int(FItems.size()))
        throw orv::platform::ERangeError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FItems[size_t(index)];
}

int TfsXMLItem::IndexOf(const TfsXMLItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TfsXMLItem* TfsXMLItem::Add()
{
    TfsXMLItem* item;
    if (FPool) {
        item = new (FPool->Allocate(sizeof(TfsXMLItem))) TfsXMLItem;
        item->FPool = FPool;
        item->FInPool = true;
    } else {
        item = new TfsXMLItem;
    }
    item->FParent = this;
    FItems.push_back(item);
    return item;
}

void TfsXMLItem::AddItem(TfsXMLItem* item)
{
    // A pooled element's memory goes with its document.
    Q_ASSERT(!item->FInPool || item->FPool == FPool);
    FItems.push_back(item);
    item->detachFromParent();
    item->FParent = this;
}

void TfsXMLItem::InsertItem(int index, TfsXMLItem* item)
{
    AddItem(item);
    FItems.pop_back();
    FItems.insert(FItems.begin() + std::clamp<qsizetype>(index, 0, qsizetype(FItems.size())), item);
}

void TfsXMLItem::SetParent(TfsXMLItem* parent)
{
    detachFromParent();
    FParent = parent;
}

TfsXMLItem* TfsXMLItem::Root()
{
    TfsXMLItem* r = this;
    while (r->FParent)
        r = r->FParent;
    return r;
}

int TfsXMLItem::Find(const QString& name) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->FName.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

TfsXMLItem* TfsXMLItem::FindItem(const QString& name)
{
    const int i = Find(name);
    if (i >= 0)
        return FItems[size_t(i)];
    TfsXMLItem* item = Add();
    item->FName = name;
    return item;
}

QString TfsXMLItem::GetProp(const QString& name) const
{
    const qsizetype at = findAttribute(FText, name);
    if (at < 0)
        return QString();
    const qsizetype start = at + name.size() + 2;
    qsizetype end = FText.indexOf(u'"', start);
    if (end < 0)
        end = FText.size();
    return fsUnescapeXMLText(FText.mid(start, end - start));
}

void TfsXMLItem::SetProp(const QString& name, const QString& value)
{
    const QString attribute = name + QStringLiteral("=\"") + fsEscapeXMLText(value) + u'"';
    const qsizetype at = findAttribute(FText, name);
    if (at >= 0) {
        qsizetype end = FText.indexOf(u'"', at + name.size() + 2);
        end = end < 0 ? FText.size() : end + 1;
        FText.replace(at, end - at, attribute);
        return;
    }
    if (!FText.isEmpty() && !FText.endsWith(u' '))
        FText += u' ';
    FText += attribute;
}

bool TfsXMLItem::PropExists(const QString& name) const
{
    return findAttribute(FText, name) >= 0;
}

void TfsXMLItem::Assign(const TfsXMLItem* item)
{
    // Copy first, so that assigning an element's own descendant (or itself) reads
    // nothing that clearing destroys.
    TfsXMLItem copy;
    if (item) {
        copy.FName = item->FName;
        copy.FText = item->ownText();
        copy.FData = item->FData;
        std::vector<std::pair<const TfsXMLItem*, TfsXMLItem*>> work{{item, &copy}};
        while (!work.empty()) {
            auto [src, dst] = work.back();
            work.pop_back();
            for (const TfsXMLItem* child : src->FItems) {
                TfsXMLItem* c = dst->Add();
                c->FName = child->FName;
                c->FText = child->ownText();
                c->FData = child->FData;
                work.emplace_back(child, c);
            }
        }
    }
    Clear();
    if (!item)
        return;
    FName = copy.FName;
    SetText(copy.FText);
    FData = copy.FData;
    FItems.swap(copy.FItems);
    for (TfsXMLItem* child : FItems)
        child->FParent = this;
}

// ---------------------------------------------------------------------------------------
// TfsXMLReader

namespace {
constexpr int kBufferSize = 4096;
}

TfsXMLReader::TfsXMLReader(QIODevice& stream) : FStream(stream)
{
    FSize = stream.size();
    FPosition = stream.pos();
    FBuffer.resize(kBufferSize);
}

TfsXMLReader::~TfsXMLReader()
{
    if (!FStream.isSequential())
        FStream.seek(FPosition);
}

void TfsXMLReader::SetPosition(qint64 value)
{
    FPosition = value;
    FStream.seek(value);
    FBufferFill = FBufferIndex = 0;
}

void TfsXMLReader::RaiseException()
{
    throw orv::platform::Exception(kInvalidFileFormat);
}

int TfsXMLReader::readByte()
{
    if (FBufferIndex >= FBufferFill) {
        const qint64 got = FStream.read(FBuffer.data(), kBufferSize);
        FBufferFill = got > 0 ? int(got) : 0;
        FBufferIndex = 0;
        if (FBufferFill == 0)
            return -1;
    }
    ++FPosition;
    return static_cast<unsigned char>(FBuffer[FBufferIndex++]);
}

// Reads the next tag (comments skipped). False at the end of the stream outside a tag
// or inside a comment.
bool TfsXMLReader::readTag(QString& name, QString& text)
{
    name.clear();
    text.clear();
    for (;;) {
        int c;
        do {
            c = readByte();
            if (c < 0)
                return false;
        } while (c != '<');

        FTag.clear();
        bool comment = false;
        for (;;) {
            c = readByte();
            if (c < 0 || c == '<')
                RaiseException();
            if (c == '>')
                break;
            FTag.append(char(c));
            if (FTag.size() == 3 && FTag == "!--") {
                comment = true;
                break;
            }
        }
        if (!comment)
            break;
        // A comment ends at a '>' behind exactly two '-'; a third '-' starts counting anew.
        int dashes = 0;
        for (;;) {
            c = readByte();
            if (c < 0)
                return false;
            if (c == '-')
                dashes = dashes == 2 ? 0 : dashes + 1;
            else if (c == '>' && dashes == 2)
                break;
            else
                dashes = 0;
        }
    }

    if (FTag.endsWith(' '))
        FTag.chop(1);
    const qsizetype blank = FTag.indexOf(' ');
    if (blank < 0) {
        name = orv::platform::cp1252::decode(FTag);
        text.clear();
    } else {
        name = orv::platform::cp1252::decode(FTag.constData(), blank);
        text = QString::fromUtf8(FTag.constData() + blank + 1, FTag.size() - blank - 1);
    }
    return true;
}

void TfsXMLReader::ReadHeader()
{
    QString name, text;
    if (!readTag(name, text) || !name.startsWith(u"?xml"))
        RaiseException();
}

// Reads one tag into `target`; true when the element is complete (empty element,
// closing tag, end of the stream), false when its children follow. A closing tag leaves
// a name beginning with '/', the end of the stream an empty name.
bool TfsXMLReader::readElement(TfsXMLItem* target)
{
    QString name, text;
    readTag(name, text);
    bool complete = name.isEmpty() || name.startsWith(u'/');
    if (!complete && name.endsWith(u'/')) {
        name.chop(1);
        complete = true;
    } else if (!complete && text.endsWith(u'/')) {
        text.chop(1);
        complete = true;
    }
    target->SetName(name);
    target->SetText(text);
    return complete;
}

void TfsXMLReader::ReadRootItem(TfsXMLItem* item)
{
    if (readElement(item))
        return;
    std::vector<TfsXMLItem*> open{item};
    while (!open.empty()) {
        TfsXMLItem* parent = open.back();
        TfsXMLItem* child = parent->Add();
        const bool complete = readElement(child);
        const QString closing = child->Name();
        if (closing.isEmpty()) { // the stream ended: keep what was read
            TfsXMLItem::Destroy(child);
            return;
        }
        if (closing.startsWith(u'/')) {
            TfsXMLItem::Destroy(child);
            if (QStringView(closing).mid(1).compare(parent->Name(), Qt::CaseInsensitive) != 0)
                RaiseException();
            open.pop_back();
            continue;
        }
        if (int(open.size()) > fsXMLMaxDepth)
            RaiseException();
        if (!complete)
            open.push_back(child);
    }
}

// ---------------------------------------------------------------------------------------
// TfsXMLWriter

TfsXMLWriter::TfsXMLWriter(QIODevice& stream) : FStream(stream) {}

void TfsXMLWriter::flush()
{
    if (!FBuffer.isEmpty()) {
        FStream.write(FBuffer);
        FBuffer.clear();
    }
}

void TfsXMLWriter::writeLine(const QByteArray& line, int depth)
{
    if (FAutoIndent)
        FBuffer.append(QByteArray(2 * depth, ' '));
    FBuffer.append(line);
    if (FAutoIndent)
        FBuffer.append("\r\n");
    if (FBuffer.size() > kBufferSize)
        flush();
}

void TfsXMLWriter::WriteHeader()
{
    writeLine("<?xml version=\"1.0\"?>", 0);
}

void TfsXMLWriter::WriteRootItem(const TfsXMLItem* rootItem)
{
    // Each entry is an element still to open, or (closing) one whose children are done.
    struct Step {
        const TfsXMLItem* item;
        int depth;
        bool closing;
    };
    std::vector<Step> work{{rootItem, 0, false}};
    QByteArray line;
    while (!work.empty()) {
        const Step step = work.back();
        work.pop_back();
        const QByteArray name = orv::platform::cp1252::encode(step.item->Name());
        line.clear();
        if (step.closing) {
            line.append("</").append(name).append('>');
            writeLine(line, step.depth);
            continue;
        }
        line.append('<').append(name);
        const QString& text = step.item->Text();
        if (!text.isEmpty()) {
            if (!text.startsWith(u' '))
                line.append(' ');
            line.append(text.toUtf8());
        }
        const int count = step.item->Count();
        line.append(count == 0 ? "/>" : ">");
        writeLine(line, step.depth);
        if (count > 0) {
            work.push_back({step.item, step.depth, true});
            for (int i = count - 1; i >= 0; --i)
                work.push_back({step.item->Items(i), step.depth + 1, false});
        }
    }
    flush();
}

// ---------------------------------------------------------------------------------------
// TfsXMLDocument

TfsXMLDocument::TfsXMLDocument() : FRoot(new TfsXMLItem) {}

TfsXMLDocument::~TfsXMLDocument()
{
    delete FRoot;
}

void TfsXMLDocument::Clear()
{
    FRoot->Clear();
    if (FPool)
        FPool->Reset();
}

void TfsXMLDocument::UsePool()
{
    if (FPool)
        return;
    FPool = std::make_unique<TfsXMLPool>();
    FRoot->SetPool(FPool.get());
}

void TfsXMLDocument::LoadFromStream(QIODevice& stream)
{
    Clear();
    TfsXMLReader reader(stream);
    reader.ReadHeader();
    reader.ReadRootItem(FRoot);
}

void TfsXMLDocument::SaveToStream(QIODevice& stream) const
{
    TfsXMLWriter writer(stream);
    writer.SetAutoIndent(FAutoIndent);
    writer.WriteHeader();
    writer.WriteRootItem(FRoot);
}

void TfsXMLDocument::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw orv::platform::EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    LoadFromStream(file);
}

void TfsXMLDocument::SaveToFile(const QString& fileName) const
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw orv::platform::EFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
    SaveToStream(file);
}

void TfsXMLDocument::LoadFromBytes(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    LoadFromStream(buffer);
}

QByteArray TfsXMLDocument::SaveToBytes() const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveToStream(buffer);
    return buffer.data();
}

} // namespace orv::script
