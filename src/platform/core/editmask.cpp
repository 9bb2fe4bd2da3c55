#include "platform/core/editmask.h"

#include <vector>

namespace orv::platform {

namespace {

struct MaskPosition {
    bool input = false;
    QChar literal;
    int caseMode = 0; // 1 upper, -1 lower
};

// The mask part ends at the first ';' that no '\' makes literal; the field after it says
// whether literals are saved with the value ("0": they are not).
void splitMask(const QString& editMask, QString& mask, bool& saveLiterals)
{
    qsizetype end = editMask.size();
    for (qsizetype i = 0; i < editMask.size(); ++i) {
        if (editMask[i] == u'\\') {
            ++i;
            continue;
        }
        if (editMask[i] == u';') {
            end = i;
            break;
        }
    }
    mask = editMask.left(end);
    saveLiterals = true;
    if (end + 1 < editMask.size() && editMask[end + 1] == u'0')
        saveLiterals = false;
}

std::vector<MaskPosition> positions(const QString& mask, const FormatSettings& fs)
{
    std::vector<MaskPosition> out;
    int caseMode = 0;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        MaskPosition p;
        switch (c.unicode()) {
        case u'\\':
            if (++i < mask.size()) {
                p.literal = mask[i];
                out.push_back(p);
            }
            continue;
        case u'>':
            caseMode = 1;
            continue;
        case u'<':
            if (i + 1 < mask.size() && mask[i + 1] == u'>') {
                caseMode = 0;
                ++i;
            } else {
                caseMode = -1;
            }
            continue;
        case u'!':
            continue;
        case u'L': case u'l': case u'A': case u'a': case u'C': case u'c': case u'0': case u'9': case u'#':
            p.input = true;
            p.caseMode = caseMode;
            break;
        case u':':
            p.literal = fs.timeSeparator;
            break;
        case u'/':
            p.literal = fs.dateSeparator;
            break;
        case u'_':
            p.literal = u' ';
            break;
        default:
            p.literal = c;
            break;
        }
        out.push_back(p);
    }
    return out;
}

QChar applyCase(QChar c, int mode)
{
    return mode > 0 ? c.toUpper() : (mode < 0 ? c.toLower() : c);
}

} // namespace

QString formatMaskText(const QString& editMask, const QString& value, const FormatSettings& fs)
{
    QString mask;
    bool saveLiterals;
    splitMask(editMask, mask, saveLiterals);
    QString out;
    qsizetype j = 0;
    for (const MaskPosition& p : positions(mask, fs)) {
        if (!p.input) {
            out += p.literal;
            if (saveLiterals && j < value.size() && value[j] == p.literal)
                ++j;
            continue;
        }
        out += j < value.size() ? applyCase(value[j++], p.caseMode) : QChar(u' ');
    }
    return out;
}

} // namespace orv::platform
