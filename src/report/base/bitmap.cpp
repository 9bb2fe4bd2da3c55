#include "report/base/bitmap.h"

#include "report/base/errors.h"

#include <QBuffer>

namespace orv::report {

using namespace orv::report;

ORV_RTTI_DEFINE_NAMED(TfrxBitmap, orv::platform::Persistent, "TBitmap") {}

void TfrxBitmap::SetImage(const QImage& image)
{
    m_image = image;
    if (OnChange)
        OnChange();
}

QByteArray TfrxBitmap::ToPNG() const
{
    if (IsEmpty())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    m_image.save(&buffer, "PNG");
    return bytes;
}

bool TfrxBitmap::LoadFromData(const QByteArray& bytes)
{
    QImage image;
    const bool ok = image.loadFromData(bytes);
    SetImage(ok ? image : QImage());
    return ok;
}

void TfrxBitmap::Assign(const orv::platform::Persistent* Source)
{
    if (const auto* b = dynamic_cast<const TfrxBitmap*>(Source)) {
        if (b != this)
            SetImage(b->m_image);
        return;
    }
    if (!Source) {
        Clear();
        return;
    }
    orv::platform::Persistent::Assign(Source);
}

void TfrxBitmap::DefineProperties(Filer& filer)
{
    filer.defineProperty(
        QStringLiteral("PNG"),
        [this](PropertyReader& r) {
            if (!LoadFromData(r.readBinary()))
                throw orv::report::Error(QStringLiteral("Invalid picture data"));
        },
        [this](PropertyWriter& w) { w.writeBinary(ToPNG()); }, !IsEmpty());
}

} // namespace orv::report
