// Reading, mapping and subsetting of arbitrary bytes as a TrueType font or collection.
// A damaged font may be refused with TrueTypeError, never read outside its bytes; and a
// face that loads must give a subset that loads, with checksums, and maps the same.
#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "pdf/truetype.h"

using namespace orv::pdf;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString text = QStringLiteral("Totale à è € 1.234,00 \t\u00A0\u200B\u4E00Ωﬁ");
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TrueTypeCollection collection;
    try {
        collection.Initialize(bytes);
    } catch (const TrueTypeError&) {
        return 0;
    }
    for (qsizetype i = 0; i < collection.Count() && i < 4; ++i) {
        TrueTypeFont& face = collection.Face(i);
        std::vector<MappedGlyph> mapped;
        QByteArray subset;
        try {
            face.PrepareFont();
            (void)face.FullName();
            (void)face.Name(1);
            (void)face.GetOutlineTextMetrics();
            QList<std::uint16_t> components, glyphs;
            mapped = face.GetGlyphIndices(text, &components);
            for (const MappedGlyph& g : mapped)
                glyphs << g.glyph;
            // A few glyph ids straight from the input's tail.
            for (std::size_t k = size >= 16 ? size - 16 : 0; k + 1 < size; k += 2)
                glyphs << std::uint16_t(data[k] << 8 | data[k + 1]);
            subset = face.PackFont(glyphs + components);
        } catch (const TrueTypeError&) {
            continue;
        }
        try {
            TrueTypeFont again(subset, 0, ChecksumFaultAction::ThrowException);
            again.PrepareFont();
            const std::vector<MappedGlyph> remapped = again.GetGlyphIndices(text, nullptr);
            if (remapped.size() != mapped.size())
                std::abort();
            for (std::size_t k = 0; k < mapped.size(); ++k)
                if (remapped[k].glyph != mapped[k].glyph || remapped[k].width != mapped[k].width)
                    std::abort();
        } catch (const TrueTypeError&) {
            std::abort(); // the subset of a readable face must be readable
        }
    }
    return 0;
}
