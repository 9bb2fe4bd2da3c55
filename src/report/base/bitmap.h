#pragma once
// The picture of a picture view or a page background: an image that stores itself as
// PNG bytes in a template's extra data.
#include "platform/core/reflection.h"
#include "report/base/propstream.h"

#include <QByteArray>
#include <QImage>

#include <functional>

namespace orv::report {

class TfrxBitmap : public orv::platform::Persistent, public orv::report::DefinesProperties {
    ORV_RTTI_CLASS(TfrxBitmap)
public:
    TfrxBitmap() = default;

    const QImage& Image() const { return m_image; }
    void SetImage(const QImage& image);
    bool IsEmpty() const { return m_image.isNull() || m_image.width() <= 0 || m_image.height() <= 0; }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    void Clear() { SetImage(QImage()); }

    // The image as a PNG file; empty for an empty image.
    QByteArray ToPNG() const;
    // Loads an image file's bytes (any format the platform decodes); false when they
    // cannot be decoded, which leaves the image empty.
    bool LoadFromData(const QByteArray& bytes);

    // Raised whenever the image changes.
    std::function<void()> OnChange;

    void Assign(const orv::platform::Persistent* Source) override;
    // "PNG": the image as binary data, written when it is not empty.
    void DefineProperties(orv::report::Filer& filer) override;

private:
    QImage m_image;
};

} // namespace orv::report
