#include "platform/core/fontlookup.h"

#include <QFile>
#include <QStringList>
#include <fontconfig/fontconfig.h>

#include "platform/core/text.h"

namespace orv::platform {

namespace {

struct Candidate {
    QString path;
    int index = 0;
    QStringList families;
    QString fullName;
};

QString patternString(FcPattern* p, const char* object, int n)
{
    FcChar8* s = nullptr;
    if (FcPatternGetString(p, object, n, &s) != FcResultMatch || !s)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(s));
}

QStringList patternStrings(FcPattern* p, const char* object)
{
    QStringList values;
    for (int n = 0;; ++n) {
        FcChar8* s = nullptr;
        if (FcPatternGetString(p, object, n, &s) != FcResultMatch || !s)
            break;
        values << QString::fromUtf8(reinterpret_cast<const char*>(s));
    }
    return values;
}

// The face's full name in English when the face has one, else its first.
QString englishFullName(FcPattern* p)
{
    const QStringList names = patternStrings(p, FC_FULLNAME);
    const QStringList langs = patternStrings(p, FC_FULLNAMELANG);
    for (int i = 0; i < names.size() && i < langs.size(); ++i)
        if (langs[i] == u"en")
            return names[i];
    return names.value(0);
}

// Fontconfig's candidates for the request, best first, reduced to faces with TrueType
// outlines that exist as files (named instances of variable fonts are left out: their
// outlines are not the file's own).
std::optional<Candidate> bestTrueType(const QString& family, const FontRequest& request)
{
    static const bool initialised = FcInit();
    if (!initialised)
        return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    const QByteArray utf8 = family.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.constData()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(request.weight));
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddString(pattern, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("TrueType"));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* set = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    std::optional<Candidate> found;
    for (int i = 0; set && i < set->nfont && !found; ++i) {
        FcPattern* font = set->fonts[i];
        int index = 0;
        if (patternString(font, FC_FONTFORMAT, 0) != u"TrueType" ||
            FcPatternGetInteger(font, FC_INDEX, 0, &index) != FcResultMatch || index >> 16)
            continue;
        Candidate c{patternString(font, FC_FILE, 0), index, patternStrings(font, FC_FAMILY),
                    englishFullName(font)};
        if (!c.path.isEmpty() && QFile::exists(c.path))
            found = c;
    }
    if (set)
        FcFontSetDestroy(set);
    FcPatternDestroy(pattern);
    return found;
}

bool hasFamily(const Candidate& c, const QString& family)
{
    for (const QString& f : c.families)
        if (sameTextAZ(f, family))
            return true;
    return false;
}

} // namespace

QString standInFamily(const QString& family)
{
    static const struct {
        const char16_t* family;
        const char16_t* standIn;
    } table[] = {
        {u"Arial", u"Liberation Sans"},
        {u"Courier New", u"Liberation Mono"},
        {u"Times New Roman", u"Liberation Serif"},
    };
    for (const auto& entry : table)
        if (sameTextAZ(family, QString::fromUtf16(entry.family)))
            return QString::fromUtf16(entry.standIn);
    return family;
}

std::optional<FontFace> findTrueTypeFace(const FontRequest& request)
{
    std::optional<Candidate> best = bestTrueType(request.family, request);
    bool substitute = !best || !hasFamily(*best, request.family);
    if (substitute) {
        const QString standIn = standInFamily(request.family);
        if (standIn != request.family) {
            std::optional<Candidate> other = bestTrueType(standIn, request);
            if (other && hasFamily(*other, standIn))
                best = other;
        }
    }
    if (!best)
        return std::nullopt;
    QFile file(best->path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    FontFace face;
    face.data = file.readAll();
    face.faceIndex = best->index;
    face.fullName = best->fullName;
    face.family = best->families.value(0);
    face.filePath = best->path;
    face.substitute = substitute;
    return face;
}

} // namespace orv::platform
