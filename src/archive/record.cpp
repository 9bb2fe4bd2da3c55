#include "archive/record.h"

#include <cstring>

#include "platform/core/cp1252.h"
#include "platform/core/text.h"

namespace orv::archive {
using namespace orv::platform;
} // namespace orv::archive

namespace orv::archive {

RecordLayout::RecordLayout(std::initializer_list<FieldDef> fields)
    : RecordLayout(std::vector<FieldDef>(fields))
{
}

RecordLayout::RecordLayout(std::vector<FieldDef> fields) : fields_(std::move(fields))
{
    offsets_.reserve(fields_.size());
    for (const FieldDef& f : fields_) {
        Q_ASSERT(f.width > 0 && f.width <= 255);
        offsets_.push_back(int(size_));
        size_ += f.width + 1;
    }
}

int RecordLayout::indexOf(const QString& name) const
{
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].name == name)
            return int(i);
    return -1;
}

QByteArray RecordLayout::encode(const QStringList& values) const
{
    QByteArray record(size_, '\0');
    for (int i = 0; i < fieldCount(); ++i)
        storeText(record.data() + offsets_[size_t(i)], fields_[size_t(i)].width,
                  i < values.size() ? values[i] : QString());
    return record;
}

QStringList RecordLayout::decode(const QByteArray& record) const
{
    QStringList values;
    values.reserve(fieldCount());
    for (int i = 0; i < fieldCount(); ++i)
        values.append(fieldText(record, i));
    return values;
}

QString RecordLayout::fieldText(const QByteArray& record, int i) const
{
    Q_ASSERT(record.size() == size_);
    // A short record (a damaged file's last one) reads its missing fields as empty
    // instead of reading past its end.
    const int at = offsets_[size_t(i)];
    if (record.size() <= at)
        return QString();
    return loadText(record.constData() + at, qMin(fields_[size_t(i)].width, int(record.size()) - at - 1));
}

int RecordLayout::firstOverlongNumber(const QStringList& values) const
{
    for (int i = 0; i < fieldCount() && i < values.size(); ++i)
        if (fields_[size_t(i)].kind == FieldKind::Number && !fitsWidth(values[i], fields_[size_t(i)].width))
            return i;
    return -1;
}

bool fitsWidth(const QString& text, int width) { return platform::cp1252::encode(trimmed(text)).size() <= width; }

void storeText(char* dst, int width, const QString& text)
{
    QByteArray bytes = platform::cp1252::encode(trimmed(text));
    if (bytes.size() > width)
        bytes.truncate(width);
    dst[0] = char(bytes.size());
    std::memcpy(dst + 1, bytes.constData(), size_t(bytes.size()));
}

QString loadText(const char* src, int width)
{
    const int length = qMin(int(static_cast<unsigned char>(src[0])), width);
    return trimmed(platform::cp1252::decode(src + 1, length));
}

} // namespace orv::archive
