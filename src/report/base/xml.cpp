#include "report/base/xml.h"

#include "platform/core/cp1252.h"
#include "platform/core/formats.h"
#include "report/base/errors.h"
#include "report/base/utils.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>

namespace orv::report {

using namespace orv::report;

namespace {

// No layout or prepared report nests deeper than a handful of levels; a deeper text is
// not one of ours and is refused before it can exhaust the stack.
constexpr int kMaxDepth = 256;

QString upper1to1(const QString& s)
{
    QString out = s;
    for (QChar& c : out)
        c = c.toUpper();
    return out;
}

} // namespace

// ---------------------------------------------------------------- escaping

namespace {

bool needsEscape(char16_t c) { return c == u'&' || c == 10 || c == 13 || c == u'"' || c == u'<' || c == u'>'; }

} // namespace

QString frxEscapeXMLText(const QString& s)
{
    // Texts are saved for every object of every page: the runs between the characters
    // that need an entity are copied whole, and a text without any is shared as it is.
    const char16_t* d = reinterpret_cast<const char16_t*>(s.constData());
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n && !needsEscape(d[i]))
        ++i;
    if (i == n)
        return s;
    QString out;
    out.reserve(n + n / 8 + 16);
    qsizetype from = 0;
    for (; i < n; ++i) {
        const char16_t c = d[i];
        if (!needsEscape(c))
            continue;
        out.append(QStringView(d + from, i - from));
        switch (c) {
        case u'&':
            if (QStringView(s).mid(i + 1, 5) == u"quot;") {
                out += u"&#34;";
                i += 5;
            } else {
                out += u"&#38;";
            }
            break;
        case 10:
            out += u"&#10;";
            break;
        case 13:
            out += u"&#13;";
            break;
        case u'"':
            out += u"&#34;";
            break;
        case u'<':
            out += u"&#60;";
            break;
        default:
            out += u"&#62;";
            break;
        }
        from = i + 1;
    }
    out.append(QStringView(d + from, n - from));
    return out;
}

QString frxUnescapeXMLText(const QString& s)
{
    qsizetype amp = s.indexOf(u'&');
    if (amp < 0)
        return s;
    QString out;
    out.reserve(s.size());
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        // The run up to the next '&' goes over whole.
        if (amp < 0)
            amp = n;
        if (amp > i) {
            out.append(QStringView(s).mid(i, amp - i));
            i = amp;
            if (i >= n)
                break;
        }
        const QChar c = s[i];
        if (i == n - 1) {
            out += c;
            ++i;
        } else if (s[i + 1] == u'#' && i + 3 < n) {
            const qsizetype semi = s.indexOf(u';', i + 2);
            if (semi < 0) {
                out += c;
                ++i;
            } else {
                const QStringView digits = QStringView(s).mid(i + 2, semi - i - 2);
                int code = 0;
                bool plain = !digits.isEmpty() && digits.size() <= 7;
                for (const QChar d : digits)
                    if (d < u'0' || d > u'9') {
                        plain = false;
                        break;
                    } else {
                        code = code * 10 + (d.unicode() - u'0');
                    }
                if (!plain) {
                    const QString number = digits.toString();
                    if (!orv::platform::tryStrToInt(number, code))
                        code = -1;
                    if (code < 0 || code > 0x10FFFF)
                        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(number));
                } else if (code > 0x10FFFF) {
                    throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(digits.toString()));
                }
                if (code > 0xFFFF)
                    out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
                else
                    out += QChar(char16_t(code));
                i = semi + 1;
            }
        } else {
            const QStringView rest = QStringView(s).mid(i);
            if (rest.startsWith(u"&quot;")) {
                out += u'"';
                i += 6;
            } else if (rest.startsWith(u"&amp;")) {
                out += u'&';
                i += 5;
            } else if (rest.startsWith(u"&lt;")) {
                out += u'<';
                i += 4;
            } else if (rest.startsWith(u"&gt;")) {
                out += u'>';
                i += 4;
            } else {
                out += c;
                ++i;
            }
        }
        amp = i < n ? s.indexOf(u'&', i) : -1;
    }
    return out;
}

QString frxVariantToXMLText(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::SChar:
        return v.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return orv::platform::floatToStr(v.toDouble());
    case QMetaType::QDate:
        return orv::platform::dateToStr(QDate(1899, 12, 30).daysTo(v.toDate()));
    case QMetaType::QDateTime:
        return orv::platform::dateToStr(QDate(1899, 12, 30).daysTo(v.toDateTime().date()));
    case QMetaType::QString:
        return frxEscapeXMLText(v.toString());
    default:
        return {};
    }
}

// ---------------------------------------------------------------- items

TfrxXMLItem::~TfrxXMLItem()
{
    Clear();
    detach();
}

void TfrxXMLItem::detach()
{
    if (!m_parent)
        return;
    auto& siblings = m_parent->m_items;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    m_parent = nullptr;
}

void TfrxXMLItem::Clear()
{
    while (!m_items.empty()) {
        TfrxXMLItem* child = m_items.back();
        m_items.pop_back();
        child->m_parent = nullptr;
        delete child;
    }
    if (Unloadable)
        Loaded = false;
}

int TfrxXMLItem::IndexOf(const TfrxXMLItem* Item) const
{
    auto it = std::find(m_items.begin(), m_items.end(), Item);
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

TfrxXMLItem* TfrxXMLItem::Add()
{
    auto* item = new TfrxXMLItem;
    AddItem(item);
    return item;
}

TfrxXMLItem* TfrxXMLItem::Add(const QString& AName)
{
    TfrxXMLItem* item = Add();
    item->Name = AName;
    return item;
}

void TfrxXMLItem::AddItem(TfrxXMLItem* Item) { InsertItem(Count(), Item); }

void TfrxXMLItem::InsertItem(int Index, TfrxXMLItem* Item)
{
    Item->detach();
    Index = std::clamp(Index, 0, Count());
    m_items.insert(m_items.begin() + Index, Item);
    Item->m_parent = this;
}

int TfrxXMLItem::Find(const QString& AName) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_items[size_t(i)]->Name.compare(AName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TfrxXMLItem* TfrxXMLItem::FindItem(const QString& AName)
{
    const int i = Find(AName);
    return i >= 0 ? m_items[size_t(i)] : Add(AName);
}

TfrxXMLItem* TfrxXMLItem::Root()
{
    TfrxXMLItem* r = this;
    while (r->m_parent)
        r = r->m_parent;
    return r;
}

namespace {

// Where the attribute of that name starts in the attribute text, or -1: the name must
// stand at the start of the text or after a space, followed by ="
qsizetype findAttribute(const QString& text, const QString& name)
{
    const QString hay = upper1to1(QStringLiteral(" ") + text);
    const QString needle = upper1to1(QStringLiteral(" ") + name + QStringLiteral("=\""));
    return hay.indexOf(needle); // index in hay = index of the name in text
}

// The end (index of the closing quote, or the text's end) of the value that starts at v.
qsizetype valueEnd(const QString& text, qsizetype v)
{
    const qsizetype q = text.indexOf(u'"', v);
    return q < 0 ? text.size() : q;
}

} // namespace

QString TfrxXMLItem::Prop(const QString& AName) const
{
    const qsizetype p = findAttribute(Text, AName);
    if (p < 0)
        return {};
    const qsizetype v = p + AName.size() + 2;
    return frxUnescapeXMLText(Text.mid(v, valueEnd(Text, v) - v));
}

bool TfrxXMLItem::PropExists(const QString& AName) const { return findAttribute(Text, AName) >= 0; }

void TfrxXMLItem::SetProp(const QString& AName, const QString& AValue)
{
    const QString attr = AName + QStringLiteral("=\"") + frxEscapeXMLText(AValue) + u'"';
    const qsizetype p = findAttribute(Text, AName);
    if (p >= 0) {
        const qsizetype end = valueEnd(Text, p + AName.size() + 2);
        Text.replace(p, std::min(end + 1, Text.size()) - p, attr);
        return;
    }
    if (!Text.isEmpty() && !Text.endsWith(u' '))
        Text += u' ';
    Text += attr;
}

void TfrxXMLItem::DeleteProp(const QString& AName)
{
    const qsizetype p = findAttribute(Text, AName);
    if (p < 0)
        return;
    const qsizetype end = std::min(valueEnd(Text, p + AName.size() + 2) + 1, Text.size());
    const qsizetype start = (p > 0 && Text[p - 1] == u' ') ? p - 1 : p;
    Text.remove(start, end - start);
}

// ---------------------------------------------------------------- reader

TfrxXMLReader::TfrxXMLReader(QIODevice& Stream) : m_stream(Stream), m_size(Stream.size()), m_position(Stream.pos())
{
    m_bufferStart = m_position;
}

TfrxXMLReader::~TfrxXMLReader() { m_stream.seek(m_position); }

void TfrxXMLReader::RaiseException() { throw TfrxInvalidXMLException(); }

void TfrxXMLReader::SetPosition(qint64 Value) { m_position = Value; }

int TfrxXMLReader::readByte()
{
    if (m_position >= m_size || m_position < 0)
        return -1;
    if (m_position < m_bufferStart || m_position >= m_bufferStart + m_buffer.size()) {
        if (!m_stream.seek(m_position))
            return -1;
        m_buffer = m_stream.read(4096);
        m_bufferStart = m_position;
        if (m_buffer.isEmpty())
            return -1;
    }
    return quint8(m_buffer[m_position++ - m_bufferStart]);
}

// False at the end of the stream outside a tag.
bool TfrxXMLReader::readTag(QString& name, QString& text)
{
    for (;;) {
        int b;
        do {
            b = readByte();
            if (b < 0) {
                name.clear();
                text.clear();
                return false;
            }
        } while (b != '<');

        QByteArray tag;
        tag.reserve(256);
        bool comment = false;
        for (;;) {
            // Past its first bytes (where a comment shows) a tag is taken from the
            // buffer a run at a time, up to its end.
            if (tag.size() >= 3 && m_position >= m_bufferStart && m_position < m_bufferStart + m_buffer.size()) {
                const char* from = m_buffer.constData() + (m_position - m_bufferStart);
                const char* end = m_buffer.constData() + m_buffer.size();
                const char* at = from;
                while (at < end && *at != '>' && *at != '<')
                    ++at;
                tag.append(from, at - from);
                m_position += at - from;
                if (at == end)
                    continue;
            }
            b = readByte();
            if (b < 0 || b == '<')
                RaiseException();
            if (b == '>')
                break;
            tag.append(char(b));
            if (tag.size() == 3 && tag == "!--") {
                comment = true;
                break;
            }
        }
        if (comment) {
            int dashes = 0;
            for (;;) {
                b = readByte();
                if (b < 0)
                    RaiseException();
                if (b == '-') {
                    dashes = dashes == 2 ? 1 : dashes + 1;
                } else if (b == '>') {
                    if (dashes == 2)
                        break;
                    dashes = 0;
                } else {
                    dashes = 0;
                }
            }
            continue;
        }

        if (tag.endsWith(' '))
            tag.chop(1);
        const qsizetype space = tag.indexOf(' ');
        const QByteArray n = space < 0 ? tag : tag.left(space);
        const QByteArray t = space < 0 ? QByteArray() : tag.mid(space + 1);
        name = orv::platform::cp1252::decode(n);
        text = m_oldVersion ? orv::platform::cp1252::decode(t) : QString::fromUtf8(t);
        return true;
    }
}

void TfrxXMLReader::ReadHeader()
{
    QString name, text;
    readTag(name, text);
    if (!name.startsWith(QStringLiteral("?xml")))
        RaiseException();
    const qsizetype v = text.indexOf(QStringLiteral("version=\""));
    m_oldVersion = v >= 0 && text.mid(v + 9, 3) == QStringLiteral("1.0") && !text.contains(QStringLiteral("standalone="));
}

void TfrxXMLReader::ReadRootItem(TfrxXMLItem* Item, bool ReadChildren)
{
    QString closing;
    readItem(Item, ReadChildren, closing);
}

TfrxXMLReader::TagResult TfrxXMLReader::readItem(TfrxXMLItem* item, bool readChildren, QString& closingName)
{
    // Iterative descent: `open` holds the elements whose children are being read.
    struct Open {
        TfrxXMLItem* item;
        qint64 start;
    };
    std::vector<Open> open;

    // Reads one tag into `target`; returns false for a closing tag (name in closingName).
    auto readOne = [&](TfrxXMLItem* target, qint64& start) {
        start = m_position;
        QString name, text;
        readTag(name, text);
        if (name.isEmpty() || name.startsWith(u'/')) {
            closingName = name;
            return false;
        }
        target->Name = name;
        target->Text = text;
        return true;
    };
    // Finishes an element: a trailing "/" makes it empty; ld="0" marks an unloadable one.
    auto isEmptyElement = [](TfrxXMLItem* it) {
        if (it->Name.endsWith(u'/')) {
            it->Name.chop(1);
            return true;
        }
        if (it->Text.endsWith(u'/')) {
            it->Text.chop(1);
            return true;
        }
        return false;
    };
    auto complete = [&](TfrxXMLItem* it, qint64 start) {
        QString t = QStringLiteral(" ") + it->Text;
        const qsizetype m = t.indexOf(QStringLiteral(" ld=\"0\""), 0, Qt::CaseInsensitive);
        if (m < 0)
            return;
        t.remove(m, 7);
        it->Text = t.mid(1);
        if (!readChildren) {
            it->Clear();
            it->Unloadable = true;
            it->Loaded = false;
            it->Offset = start;
        }
    };

    qint64 start = 0;
    if (!readOne(item, start))
        return TagResult::Closing;
    if (isEmptyElement(item)) {
        complete(item, start);
        return TagResult::Element;
    }
    open.push_back({item, start});
    while (!open.empty()) {
        auto child = std::make_unique<TfrxXMLItem>();
        qint64 childStart = 0;
        if (!readOne(child.get(), childStart)) {
            Open top = open.back();
            if (!closingName.isEmpty() && closingName.mid(1).compare(top.item->Name, Qt::CaseInsensitive) != 0)
                RaiseException();
            open.pop_back();
            complete(top.item, top.start);
            continue;
        }
        TfrxXMLItem* c = child.release();
        open.back().item->AddItem(c);
        if (isEmptyElement(c)) {
            complete(c, childStart);
        } else {
            if (int(open.size()) >= kMaxDepth)
                RaiseException();
            open.push_back({c, childStart});
        }
    }
    return TagResult::Element;
}

// ---------------------------------------------------------------- writer

TfrxXMLWriter::~TfrxXMLWriter() { flush(); }

void TfrxXMLWriter::put(const QByteArray& bytes)
{
    m_out += bytes;
    if (m_out.size() > 65536)
        flush();
}

void TfrxXMLWriter::flush()
{
    if (m_out.isEmpty())
        return;
    m_stream.write(m_out);
    m_out.resize(0); // keeps its room for the next items
}

void TfrxXMLWriter::WriteHeader()
{
    put(QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"));
    if (AutoIndent)
        put(QByteArrayLiteral("\r\n"));
}

void TfrxXMLWriter::WriteRootItem(TfrxXMLItem* RootItem)
{
    writeItem(RootItem, 0);
    flush();
}

void TfrxXMLWriter::writeItem(TfrxXMLItem* item, int level)
{
    const bool readBack = item->Unloadable && !item->Loaded && Document;
    if (readBack)
        Document->readChildrenInto(item);

    // Written straight into the output buffer: an item is saved for every object of
    // every prepared page.
    const auto indent = [&] {
        if (AutoIndent)
            m_out.append(2 * level, ' ');
    };
    const auto eol = [&] {
        if (AutoIndent)
            m_out.append("\r\n", 2);
    };
    const QByteArray name = orv::platform::cp1252::encode(item->Name);
    indent();
    m_out += '<';
    m_out += name;
    if (!item->Text.isEmpty()) {
        if (!item->Text.startsWith(u' '))
            m_out += ' ';
        m_out += item->Text.toUtf8();
    }
    if (item->Unloadable)
        m_out += QByteArrayLiteral(" ld=\"0\"");
    if (item->Count() == 0 && item->Value.isEmpty()) {
        m_out += "/>";
        eol();
    } else if (item->Count() == 0) {
        m_out += '>';
        m_out += item->Value.toUtf8();
        m_out += "</";
        m_out += name;
        m_out += '>';
        eol();
    } else {
        m_out += '>';
        eol();
        put(QByteArray());
        for (int i = 0; i < item->Count(); ++i)
            writeItem(item->Items(i), level + 1);
        indent();
        m_out += "</";
        m_out += name;
        m_out += '>';
        eol();
    }
    put(QByteArray());

    if (readBack)
        item->Clear();
}

// ---------------------------------------------------------------- document

TfrxXMLDocument::TfrxXMLDocument() : m_root(std::make_unique<TfrxXMLItem>()) {}

TfrxXMLDocument::~TfrxXMLDocument()
{
    m_root.reset();
    dropTempFile();
}

void TfrxXMLDocument::dropTempFile()
{
    m_temp.reset(); // a temporary file removes itself
    m_source.reset();
}

void TfrxXMLDocument::Clear()
{
    dropTempFile();
    m_root->Clear();
}

void TfrxXMLDocument::LoadFromStream(QIODevice& Stream)
{
    dropTempFile();
    m_root->Clear();
    TfrxXMLReader reader(Stream);
    reader.ReadHeader();
    m_oldVersion = reader.OldVersion();
    reader.ReadRootItem(m_root.get(), true);
}

void TfrxXMLDocument::LoadFromStream(std::unique_ptr<QIODevice> Stream, bool AllowPartialLoading)
{
    dropTempFile();
    m_root->Clear();
    {
        TfrxXMLReader reader(*Stream);
        reader.ReadHeader();
        m_oldVersion = reader.OldVersion();
        reader.ReadRootItem(m_root.get(), !AllowPartialLoading);
    }
    if (AllowPartialLoading)
        m_source = std::move(Stream);
}

void TfrxXMLDocument::SaveToStream(QIODevice& Stream)
{
    TfrxXMLWriter writer(Stream);
    writer.AutoIndent = AutoIndent;
    writer.Document = this;
    writer.WriteHeader();
    writer.WriteRootItem(m_root.get());
}

void TfrxXMLDocument::LoadFromFile(const QString& FileName)
{
    auto file = std::make_unique<QFile>(FileName);
    if (!file->open(QIODevice::ReadOnly))
        throw orv::platform::EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file->errorString()));
    LoadFromStream(std::move(file), true);
}

void TfrxXMLDocument::SaveToFile(const QString& FileName)
{
    orv::report::saveFile(FileName, [this](QIODevice& f) { SaveToStream(f); });
    dropTempFile();
    LoadFromFile(FileName);
}

QIODevice* TfrxXMLDocument::streamOf(const TfrxXMLItem* item) const
{
    return item->m_inTempFile ? m_temp.get() : m_source.get();
}

void TfrxXMLDocument::readChildrenInto(TfrxXMLItem* item)
{
    QIODevice* stream = streamOf(item);
    if (!stream)
        return;
    TfrxXMLItem copy;
    {
        TfrxXMLReader reader(*stream);
        reader.SetOldVersion(item->m_inTempFile ? false : m_oldVersion);
        reader.SetPosition(item->Offset);
        reader.ReadRootItem(&copy, true);
    }
    while (copy.Count() > 0)
        item->AddItem(copy.Items(0));
}

void TfrxXMLDocument::LoadItem(TfrxXMLItem* Item)
{
    if (!Item || !Item->Unloadable || Item->Loaded || !streamOf(Item))
        return;
    readChildrenInto(Item);
    Item->Loaded = true;
}

void TfrxXMLDocument::UnloadItem(TfrxXMLItem* Item)
{
    if (!Item || !Item->Loaded || !Item->Unloadable)
        return;
    if (!m_temp) {
        auto temp = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/tmpXXXXXX"));
        if (!temp->open())
            throw orv::platform::EFileError(QStringLiteral("Cannot create a temporary file. %1").arg(temp->errorString()));
        m_temp = std::move(temp);
    }
    m_temp->seek(m_temp->size());
    Item->Offset = m_temp->size();
    {
        TfrxXMLWriter writer(*m_temp);
        writer.Document = this;
        writer.WriteRootItem(Item);
    }
    Item->Clear();
    Item->Loaded = false;
    Item->m_inTempFile = true;
}

} // namespace orv::report
