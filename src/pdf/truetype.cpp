#include "pdf/truetype.h"

#include <algorithm>
#include <set>

#include "platform/core/cp1252.h"

namespace orv::pdf {

using namespace orv::pdf;

namespace {

constexpr TablesID kHead = tableTag("head");
constexpr TablesID kHhea = tableTag("hhea");
constexpr TablesID kHmtx = tableTag("hmtx");
constexpr TablesID kLoca = tableTag("loca");
constexpr TablesID kGlyf = tableTag("glyf");
constexpr TablesID kCmap = tableTag("cmap");
constexpr TablesID kName = tableTag("name");
constexpr TablesID kPost = tableTag("post");
constexpr TablesID kMaxp = tableTag("maxp");
constexpr TablesID kOS2 = tableTag("OS/2");

constexpr std::uint32_t kTrueTypeVersion = 0x00010000;
constexpr std::uint32_t kAppleTrueType = 0x74727565; // "true"
constexpr std::uint32_t kCollectionTag = 0x74746366; // "ttcf"

[[noreturn]] void formatError() { throw TrueTypeError("TrueType font format error"); }

// Big-endian reads from a byte range, every one checked against the range.
class Bytes {
public:
    Bytes(const QByteArray& data) : m_data(reinterpret_cast<const std::uint8_t*>(data.constData())),
                                    m_size(std::uint64_t(data.size())) {}

    bool contains(std::uint64_t offset, std::uint64_t length) const
    {
        return offset <= m_size && length <= m_size - offset;
    }
    void check(std::uint64_t offset, std::uint64_t length) const
    {
        if (!contains(offset, length))
            formatError();
    }
    std::uint8_t u8(std::uint64_t at) const
    {
        check(at, 1);
        return m_data[at];
    }
    std::uint16_t u16(std::uint64_t at) const
    {
        check(at, 2);
        return std::uint16_t(m_data[at] << 8 | m_data[at + 1]);
    }
    std::int16_t i16(std::uint64_t at) const { return std::int16_t(u16(at)); }
    std::uint32_t u32(std::uint64_t at) const
    {
        check(at, 4);
        return std::uint32_t(m_data[at]) << 24 | std::uint32_t(m_data[at + 1]) << 16 |
               std::uint32_t(m_data[at + 2]) << 8 | m_data[at + 3];
    }
    std::int32_t i32(std::uint64_t at) const { return std::int32_t(u32(at)); }

private:
    const std::uint8_t* m_data;
    std::uint64_t m_size;
};

void putU16(QByteArray& out, qsizetype at, std::uint16_t v)
{
    out[at] = char(v >> 8);
    out[at + 1] = char(v);
}

void putU32(QByteArray& out, qsizetype at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = char(v >> (24 - 8 * i));
}

void appendU16(QByteArray& out, std::uint16_t v)
{
    out.append(char(v >> 8));
    out.append(char(v));
}

void appendU32(QByteArray& out, std::uint32_t v)
{
    appendU16(out, std::uint16_t(v >> 16));
    appendU16(out, std::uint16_t(v));
}

void padTo4(QByteArray& out)
{
    while (out.size() % 4)
        out.append('\0');
}

// Composite glyph flags.
constexpr std::uint16_t ARG_1_AND_2_ARE_WORDS = 0x0001;
constexpr std::uint16_t WE_HAVE_A_SCALE = 0x0008;
constexpr std::uint16_t MORE_COMPONENTS = 0x0020;
constexpr std::uint16_t WE_HAVE_AN_X_AND_Y_SCALE = 0x0040;
constexpr std::uint16_t WE_HAVE_A_TWO_BY_TWO = 0x0080;

} // namespace

} // namespace orv::pdf

namespace orv::pdf {

QString tagLine(TablesID tag)
{
    QString s;
    for (int shift = 24; shift >= 0; shift -= 8)
        s.append(QChar(char16_t((tag >> shift) & 0xFF)));
    return s;
}

const QList<TablesID>& pdfSkippedTables()
{
    static const QList<TablesID> tags = {tableTag("EBLC"), tableTag("EBDT"), tableTag("hdmx"),
                                         tableTag("VDMX"), tableTag("DSIG")};
    return tags;
}

std::uint32_t TableChecksum(const char* data, qsizetype length)
{
    std::uint32_t sum = 0;
    for (qsizetype i = 0; i < length; i += 4) {
        std::uint32_t word = 0;
        for (qsizetype k = 0; k < 4; ++k)
            word = word << 8 | (i + k < length ? std::uint8_t(data[i + k]) : 0u);
        sum += word;
    }
    return sum;
}

} // namespace orv::pdf

// ---- TrueTypeFont ---------------------------------------------------------------------

namespace orv::pdf {

TrueTypeFont::TrueTypeFont(QByteArray file, std::uint32_t faceOffset, ChecksumFaultAction action)
    : m_file(std::move(file)), m_faceOffset(faceOffset), m_checksumAction(action)
{
}

const TableEntry* TrueTypeFont::find(TablesID tag) const
{
    for (const TableEntry& e : m_tables)
        if (e.tag == tag)
            return &e;
    return nullptr;
}

const TableEntry& TrueTypeFont::require(TablesID tag, const char* message) const
{
    const TableEntry* e = find(tag);
    if (!e)
        throw TrueTypeError(message);
    return *e;
}

QByteArray TrueTypeFont::tableBytes(const TableEntry& entry) const
{
    return m_file.mid(entry.offset, entry.length);
}

void TrueTypeFont::PrepareFont(const QList<TablesID>& skip)
{
    if (FIsLoaded)
        return;
    readDirectory(skip);
    loadTables();
    checkChecksums();
    FIsLoaded = true;
}

void TrueTypeFont::readDirectory(const QList<TablesID>& skip)
{
    const Bytes b(m_file);
    m_tables.clear();
    m_sfntVersion = b.u32(m_faceOffset);
    const std::uint16_t numTables = b.u16(m_faceOffset + 4);
    b.check(m_faceOffset, 12 + 16ull * numTables);
    for (std::uint16_t i = 0; i < numTables; ++i) {
        const std::uint64_t at = m_faceOffset + 12ull + 16ull * i;
        TableEntry e{b.u32(at), b.u32(at + 4), b.u32(at + 8), b.u32(at + 12)};
        if (skip.contains(e.tag) || find(e.tag))
            continue;
        b.check(e.offset, e.length);
        m_tables.push_back(e);
    }
}

void TrueTypeFont::loadTables()
{
    const Bytes b(m_file);

    const TableEntry& head = require(kHead, "FontHeader not found.");
    if (head.length < 54)
        formatError();
    m_unitsPerEm = b.u16(head.offset + 18);
    m_indexToLocFormat = b.i16(head.offset + 50);
    if (m_unitsPerEm == 0)
        formatError();

    const TableEntry& maxp = require(kMaxp, "MaximuProfile not found.");
    if (maxp.length < 6)
        formatError();
    m_numGlyphs = b.u16(maxp.offset + 4);

    const TableEntry& hhea = require(kHhea, "HorizontalHeader not found.");
    if (hhea.length < 36)
        formatError();
    m_ascender = b.i16(hhea.offset + 4);
    m_descender = b.i16(hhea.offset + 6);
    m_lineGap = b.i16(hhea.offset + 8);
    m_advanceWidthMax = b.u16(hhea.offset + 10);
    const std::uint16_t numberOfHMetrics = b.u16(hhea.offset + 34);

    for (int k = 0; k < 4; ++k)
        m_fontBox[k] = b.i16(head.offset + 36 + 2 * k);

    m_italicAngle = 0;
    m_fixedPitch = false;
    if (const TableEntry* post = find(kPost)) {
        if (post->length < 32)
            formatError();
        m_italicAngle = b.i32(post->offset + 4);
        m_fixedPitch = b.u32(post->offset + 12) != 0;
    }

    m_os2 = tableBytes(require(kOS2, "OS2WindowsMetrics table not found."));

    const TableEntry& loca = require(kLoca, "IndexToLocation not found.");
    if (m_indexToLocFormat != 0 && m_indexToLocFormat != 1)
        throw TrueTypeError("Unsupported Index to Location format");
    const std::uint32_t entrySize = m_indexToLocFormat == 0 ? 2 : 4;
    m_loca.resize(loca.length / entrySize);
    for (std::size_t i = 0; i < m_loca.size(); ++i)
        m_loca[i] = entrySize == 2 ? 2u * b.u16(loca.offset + 2 * i) : b.u32(loca.offset + 4 * i);

    loadCmap(require(kCmap, "CMAP not found."));
    m_name = require(kName, "Name not found.");
    if (m_name.length < 6)
        formatError();
    m_glyf = require(kGlyf, "Glyphs not found.");

    m_advances.clear();
    if (const TableEntry* hmtx = find(kHmtx)) {
        if (4ull * numberOfHMetrics > hmtx->length)
            formatError();
        m_advances.resize(numberOfHMetrics);
        for (std::uint16_t i = 0; i < numberOfHMetrics; ++i)
            m_advances[i] = b.u16(hmtx->offset + 4ull * i);
    }
}

void TrueTypeFont::loadCmap(const TableEntry& cmap)
{
    const Bytes b(m_file);
    m_segments.clear();
    m_glyphIdArray.clear();
    m_groups.clear();
    const std::uint16_t count = b.u16(cmap.offset + 2);
    if (4ull + 8ull * count > cmap.length)
        formatError();
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint64_t rec = cmap.offset + 4ull + 8ull * i;
        const std::uint16_t platform = b.u16(rec), encoding = b.u16(rec + 2);
        const bool bmp = platform == 3 && encoding == 1;
        if (!bmp && !(platform == 3 && encoding == 10) && platform != 0)
            continue;
        const std::uint32_t relative = b.u32(rec + 4);
        if (std::uint64_t(relative) + 2 > cmap.length)
            formatError();
        const std::uint64_t sub = cmap.offset + std::uint64_t(relative);
        const std::uint64_t available = cmap.length - relative; // bytes up to the table end
        const std::uint16_t format = b.u16(sub);
        if (format == 12) {
            // The full Unicode map: it reaches past U+FFFF, so it is used before any BMP map.
            if (available < 16)
                formatError();
            const std::uint32_t groups = b.u32(sub + 12);
            if (16ull + 12ull * groups > available)
                formatError();
            std::vector<CmapGroup> read(groups);
            for (std::uint32_t k = 0; k < groups; ++k) {
                const std::uint64_t at = sub + 16 + 12ull * k;
                read[k] = {b.u32(at), b.u32(at + 4), b.u32(at + 8)};
            }
            std::sort(read.begin(), read.end(),
                      [](const CmapGroup& x, const CmapGroup& y) { return x.startCode < y.startCode; });
            if (!read.empty())
                m_groups = std::move(read);
            continue;
        }
        if (!bmp)
            continue;
        switch (format) {
        case 0: throw TrueTypeError("TO DO: ByteEncoding cmap format not implemented");
        case 2: throw TrueTypeError("TO DO: HighByteMapping cmap format not implemented");
        case 6: throw TrueTypeError("TO DO: TrimmedTable cmap format not implemented");
        case 4: break;
        default: continue;
        }
        const std::uint16_t length = b.u16(sub + 2);
        const std::uint16_t segCount = b.u16(sub + 6) / 2;
        const std::uint64_t arrays = 16ull + 8ull * segCount;
        if (arrays > available)
            formatError();
        // Some fonts state a length past their table; the glyph array ends where both end.
        const std::uint64_t end = std::min<std::uint64_t>(std::max<std::uint64_t>(length, arrays), available);
        std::vector<CmapSegment> segments(segCount);
        for (std::uint16_t s = 0; s < segCount; ++s) {
            segments[s].endCount = b.u16(sub + 14 + 2ull * s);
            segments[s].startCount = b.u16(sub + 16 + 2ull * segCount + 2ull * s);
            segments[s].idDelta = b.i16(sub + 16 + 4ull * segCount + 2ull * s);
            segments[s].idRangeOffset = b.u16(sub + 16 + 6ull * segCount + 2ull * s);
        }
        std::vector<std::uint16_t> glyphIds(std::size_t((end - arrays) / 2));
        for (std::size_t k = 0; k < glyphIds.size(); ++k)
            glyphIds[k] = b.u16(sub + arrays + 2 * k);
        m_segments = std::move(segments); // the last Unicode subtable wins
        m_glyphIdArray = std::move(glyphIds);
    }
}

void TrueTypeFont::checkChecksums() const
{
    if (m_checksumAction != ChecksumFaultAction::ThrowException)
        return; // a mismatch under Warn is dropped, so there is nothing to do
    for (const TableEntry& e : m_tables) {
        QByteArray bytes = tableBytes(e);
        if (e.tag == kHead)
            putU32(bytes, 8, 0); // checkSumAdjustment counts as 0
        const std::uint32_t sum = TableChecksum(bytes.constData(), bytes.size());
        if (sum != e.checkSum)
            throw TrueTypeError(QStringLiteral("Table ID \"%1\" checksum error.%2 %3")
                                    .arg(tagLine(e.tag))
                                    .arg(std::int32_t(sum))
                                    .arg(std::int32_t(e.checkSum))
                                    .toStdString());
    }
}

QString TrueTypeFont::Name(int id) const
{
    const Bytes b(m_file);
    const std::uint64_t table = m_name.offset;
    const std::uint16_t count = b.u16(table + 2);
    const std::uint64_t storage = table + b.u16(table + 4);
    if (6ull + 12ull * count > m_name.length)
        formatError();
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint64_t rec = table + 6 + 12ull * i;
        const std::uint16_t platform = b.u16(rec), encoding = b.u16(rec + 2);
        if (b.u16(rec + 6) != id || !((platform == 3 && encoding == 1) || platform == 0))
            continue;
        const std::uint16_t length = b.u16(rec + 8);
        const std::uint64_t at = storage + b.u16(rec + 10);
        if (at + length > table + m_name.length)
            formatError();
        QString text;
        for (std::uint16_t k = 0; k + 1 < length; k += 2)
            text.append(QChar(char16_t(b.u16(at + k))));
        // Names pass through the program's code page, as every font name does.
        return orv::platform::cp1252::decode(orv::platform::cp1252::encode(text));
    }
    return {};
}

std::uint16_t TrueTypeFont::GetGlyphIndex(char32_t c) const
{
    if (!m_groups.empty()) {
        // The groups are sorted by their first character and do not overlap.
        auto it = std::upper_bound(m_groups.begin(), m_groups.end(), c,
                                   [](char32_t v, const CmapGroup& g) { return v < g.startCode; });
        if (it == m_groups.begin())
            return 0;
        --it;
        if (c > it->endCode)
            return 0;
        const std::uint64_t g = std::uint64_t(it->startGlyph) + (c - it->startCode);
        return g > 0xFFFF ? 0 : std::uint16_t(g);
    }
    if (c > 0xFFFF)
        return 0;
    const std::size_t segCount = m_segments.size();
    for (std::size_t i = 0; i < segCount; ++i) {
        const CmapSegment& s = m_segments[i];
        if (s.endCount < c)
            continue;
        if (s.startCount > c)
            return 0;
        if (s.idRangeOffset == 0)
            return std::uint16_t(c + s.idDelta);
        const std::int64_t index =
            std::int64_t(s.idRangeOffset / 2) + (c - s.startCount) - std::int64_t(segCount - i);
        if (index < 0 || std::size_t(index) >= m_glyphIdArray.size())
            return 0;
        const std::uint16_t g = m_glyphIdArray[std::size_t(index)];
        return g == 0 ? 0 : std::uint16_t(g + s.idDelta);
    }
    return 0;
}

TrueTypeFont::GlyphLocation TrueTypeFont::glyphLocation(std::uint16_t glyph) const
{
    if (std::size_t(glyph) + 1 >= m_loca.size() || glyph >= m_numGlyphs)
        return {};
    const std::uint32_t start = m_loca[glyph], end = m_loca[glyph + 1];
    if (end < start || end > m_glyf.length)
        formatError();
    return {start, end - start};
}

int TrueTypeFont::advanceWidth(std::uint16_t glyph) const
{
    if (m_advances.empty())
        return 0;
    // Glyphs past the last metric share its advance (monospaced tails).
    return m_advances[std::min<std::size_t>(glyph, m_advances.size() - 1)];
}

int TrueTypeFont::width(std::uint16_t glyph) const
{
    return (advanceWidth(glyph) * 1000 + m_unitsPerEm / 2) / m_unitsPerEm;
}

std::vector<std::uint16_t> TrueTypeFont::CheckGlyph(std::uint16_t glyph) const
{
    const GlyphLocation loc = glyphLocation(glyph);
    std::vector<std::uint16_t> components;
    if (loc.length == 0)
        return components;
    const Bytes b(m_file);
    const std::uint64_t start = std::uint64_t(m_glyf.offset) + loc.offset;
    const std::uint64_t end = start + loc.length;
    auto need = [&](std::uint64_t at, std::uint64_t n) {
        if (at + n > end)
            formatError();
    };
    need(start, 10);
    if (b.i16(start) >= 0)
        return components;
    std::uint64_t at = start + 10;
    std::uint16_t flags;
    do {
        need(at, 4);
        flags = b.u16(at);
        components.push_back(b.u16(at + 2));
        at += 4;
        at += (flags & ARG_1_AND_2_ARE_WORDS) ? 4 : 2;
        if (flags & WE_HAVE_A_SCALE)
            at += 2;
        else if (flags & WE_HAVE_AN_X_AND_Y_SCALE)
            at += 4;
        else if (flags & WE_HAVE_A_TWO_BY_TWO)
            at += 8;
        need(start, at - start);
    } while (flags & MORE_COMPONENTS);
    return components;
}

std::vector<MappedGlyph> TrueTypeFont::GetGlyphIndices(const QString& text,
                                                       QList<std::uint16_t>* components) const
{
    std::vector<MappedGlyph> glyphs;
    glyphs.reserve(std::size_t(text.size()));
    for (qsizetype next = 0; next < text.size();) {
        const qsizetype i = next;
        char32_t c = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            next += 2;
        } else {
            ++next;
        }
        // The layout leaves a blank's room for a tab, so it is drawn as a blank.
        if (c == U'\t')
            c = U' ';
        std::uint16_t g = GetGlyphIndex(c);
        if (g >= m_numGlyphs)
            g = 0;
        if (g == 0 && c < U' ')
            continue; // any other control character the font lacks is layout, not a box
        if (glyphLocation(g).length != 0) {
            glyphs.push_back({g, width(g), i});
            if (components)
                for (std::uint16_t part : CheckGlyph(g))
                    if (!components->contains(part))
                        components->append(part);
        } else if (c == U' ' || advanceWidth(g) != 0) {
            // Blanks have no outline but take their room (space, no-break space).
            glyphs.push_back({g, width(g), i});
        }
    }
    return glyphs;
}

OutlineTextMetric TrueTypeFont::GetOutlineTextMetrics() const
{
    const Bytes os2(m_os2);
    auto u16 = [&](qsizetype at) -> std::uint16_t {
        return os2.contains(std::uint64_t(at), 2) ? os2.u16(std::uint64_t(at)) : 0;
    };
    OutlineTextMetric m;
    m.otmSize = 212;
    m.tmAscent = u16(74);
    m.tmDescent = u16(76);
    m.tmHeight = m.tmAscent + m.tmDescent;
    m.tmAveCharWidth = std::int16_t(u16(2));
    m.tmMaxCharWidth = m_advanceWidthMax;
    m.tmFirstChar = u16(64);
    m.tmLastChar = u16(66);
    m.tmDefaultChar = u16(90);
    m.tmBreakChar = u16(92);
    for (int i = 0; i < 10; ++i)
        if (i != 6 && os2.contains(std::uint64_t(32 + i), 1))
            m.otmPanoseNumber[i] = os2.u8(std::uint64_t(32 + i));
    m.otmItalicAngle = (m_italicAngle >> 16) * 10;
    m.otmEMSquare = std::uint32_t(m_unitsPerEm);
    m.otmAscent = m_ascender;
    m.otmDescent = m_descender;
    m.otmLineGap = m_lineGap > 0 ? std::uint32_t(m_lineGap) : 0;
    m.otmrcFontBox = {m_fontBox[0], m_fontBox[3], m_fontBox[2], m_fontBox[1]};
    m.fixedPitch = m_fixedPitch;
    // The cap height from OS/2 (version 2 on); older tables leave it to the top of "H".
    if (u16(0) >= 2)
        m.otmsCapEmHeight = std::int16_t(u16(88));
    if (m.otmsCapEmHeight <= 0) {
        m.otmsCapEmHeight = 0;
        const std::uint16_t h = GetGlyphIndex(U'H');
        const GlyphLocation loc = h != 0 && h < m_numGlyphs ? glyphLocation(h) : GlyphLocation{};
        if (loc.length >= 10)
            m.otmsCapEmHeight = std::max<std::int32_t>(0, Bytes(m_file).i16(std::uint64_t(m_glyf.offset) + loc.offset + 8));
    }
    return m;
}

QByteArray TrueTypeFont::PackFont(const QList<std::uint16_t>& glyphs) const
{
    if (!FIsLoaded)
        throw std::logic_error("A face is subset after it was prepared");

    // The glyphs to keep: those asked for, glyph 0 and, at any depth, their components.
    std::set<std::uint16_t> keep;
    std::vector<std::uint16_t> pending(glyphs.begin(), glyphs.end());
    pending.push_back(0);
    while (!pending.empty()) {
        const std::uint16_t g = pending.back();
        pending.pop_back();
        if (g >= m_numGlyphs || !keep.insert(g).second)
            continue;
        for (std::uint16_t part : CheckGlyph(g))
            pending.push_back(part);
    }

    // New glyf and loca: kept outlines in id order, every other glyph empty.
    const bool shortLoca = m_indexToLocFormat == 0;
    const TableEntry& locaEntry = *find(kLoca);
    QByteArray glyf;
    QByteArray loca;
    auto appendOffset = [&](std::uint32_t offset) {
        if (shortLoca)
            appendU16(loca, std::uint16_t(offset / 2));
        else
            appendU32(loca, offset);
    };
    for (std::size_t g = 0; g + 1 < m_loca.size(); ++g) {
        appendOffset(std::uint32_t(glyf.size()));
        if (!keep.count(std::uint16_t(g)))
            continue;
        const GlyphLocation loc = glyphLocation(std::uint16_t(g));
        glyf.append(m_file.constData() + m_glyf.offset + loc.offset, loc.length);
        if (shortLoca && glyf.size() % 2)
            glyf.append('\0');
    }
    while (loca.size() + (shortLoca ? 2 : 4) <= qsizetype(locaEntry.length))
        appendOffset(std::uint32_t(glyf.size()));

    // The tables in their source order, each at a 4-byte boundary after the directory.
    std::vector<TableEntry> order = m_tables;
    std::stable_sort(order.begin(), order.end(),
                     [](const TableEntry& a, const TableEntry& b) { return a.offset < b.offset; });
    const qsizetype numTables = qsizetype(order.size());
    QByteArray out(12 + 16 * numTables, '\0');
    std::vector<TableEntry> directory;
    qsizetype headAt = -1;
    for (const TableEntry& source : order) {
        QByteArray bytes;
        if (source.tag == kGlyf)
            bytes = glyf;
        else if (source.tag == kLoca)
            bytes = loca;
        else if (source.tag == kPost) {
            // Glyph names are dropped: a version 3.0 header only.
            bytes = tableBytes(source).left(32);
            putU32(bytes, 0, 0x00030000);
        } else
            bytes = tableBytes(source);
        if (source.tag == kHead) {
            putU32(bytes, 8, 0);
            headAt = out.size();
        }
        const TableEntry entry{source.tag, TableChecksum(bytes.constData(), bytes.size()),
                               std::uint32_t(out.size()), std::uint32_t(bytes.size())};
        directory.push_back(entry);
        out.append(bytes);
        padTo4(out);
    }

    std::sort(directory.begin(), directory.end(),
              [](const TableEntry& a, const TableEntry& b) { return a.tag < b.tag; });
    int entrySelector = 0;
    while ((2 << entrySelector) <= numTables)
        ++entrySelector;
    const int searchRange = numTables ? 16 << entrySelector : 0;
    putU32(out, 0, m_sfntVersion);
    putU16(out, 4, std::uint16_t(numTables));
    putU16(out, 6, std::uint16_t(searchRange));
    putU16(out, 8, std::uint16_t(numTables ? entrySelector : 0));
    putU16(out, 10, std::uint16_t(16 * numTables - searchRange));
    for (qsizetype i = 0; i < numTables; ++i) {
        const TableEntry& e = directory[std::size_t(i)];
        putU32(out, 12 + 16 * i, e.tag);
        putU32(out, 16 + 16 * i, e.checkSum);
        putU32(out, 20 + 16 * i, e.offset);
        putU32(out, 24 + 16 * i, e.length);
    }
    const std::uint32_t whole = TableChecksum(out.constData(), out.size());
    putU32(out, headAt + 8, 0xB1B0AFBA - whole);
    return out;
}

// ---- TrueTypeCollection ---------------------------------------------------------------

void TrueTypeCollection::Initialize(const QByteArray& data)
{
    fonts_collection.clear();
    const Bytes b(data);
    if (!b.contains(0, 4))
        formatError();
    const std::uint32_t version = b.u32(0);
    if (version == kTrueTypeVersion || version == kAppleTrueType) {
        fonts_collection.push_back(std::make_unique<TrueTypeFont>(data, 0, ChecksumFaultAction::Warn));
        return;
    }
    if (version != kCollectionTag)
        formatError();
    const std::uint32_t collectionVersion = b.u32(4);
    if (collectionVersion != 0x00010000 && collectionVersion != 0x00020000)
        throw TrueTypeError("Unknown font collection version");
    const std::uint32_t count = b.u32(8);
    b.check(12, 4ull * count);
    for (std::uint32_t i = 0; i < count; ++i)
        fonts_collection.push_back(
            std::make_unique<TrueTypeFont>(data, b.u32(12 + 4ull * i), ChecksumFaultAction::Warn));
}

} // namespace orv::pdf
