#include "report/pages/picturecache.h"

#include "report/base/errors.h"
#include "report/base/utils.h"
#include "report/base/xml.h"
#include "report/model/views.h"

#include <QBuffer>
#include <QFile>

namespace orv::report {

using namespace orv::report;

TfrxPictureCache::TfrxPictureCache() = default;

TfrxPictureCache::~TfrxPictureCache() { Clear(); }

void TfrxPictureCache::SetTempDir(const QString& v)
{
    if (m_segments.empty())
        m_tempDir = v;
}

void TfrxPictureCache::SetUseFileCache(bool v)
{
    if (m_segments.empty())
        m_useFileCache = v;
}

void TfrxPictureCache::Clear()
{
    m_segments.clear();
    for (const QString& f : m_tempFiles)
        QFile::remove(f);
    m_tempFiles.clear();
    m_items.clear();
    m_decoded.clear();
}

void TfrxPictureCache::AddSegment()
{
    if (m_useFileCache) {
        const QString name = frxTempFileNameIn(m_tempDir);
        auto file = std::make_unique<QFile>(name);
        m_tempFiles << name;
        if (!file->open(QIODevice::ReadWrite))
            throw orv::platform::EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(name, file->errorString()));
        m_segments.push_back(std::move(file));
        return;
    }
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::ReadWrite);
    m_segments.push_back(std::move(buffer));
}

TfrxCacheItem& TfrxPictureCache::newItem()
{
    if (m_segments.empty() || m_segments.back()->size() >= SegmentLimit)
        AddSegment();
    QIODevice& segment = *m_segments.back();
    TfrxCacheItem item;
    item.Segment = qint32(m_segments.size() - 1);
    item.Offset = qint32(segment.size());
    segment.seek(segment.size());
    m_items.push_back(item);
    return m_items.back();
}

void TfrxPictureCache::AddPicture(TfrxPictureView* Picture)
{
    if (!Picture->Picture()) {
        Picture->SetImageIndex(0);
        return;
    }
    Picture->SetImageIndex(Count() + 1);
    newItem();
    m_segments.back()->write(Picture->Picture()->ToPNG());
}

QByteArray TfrxPictureCache::PictureBytes(int ImageIndex)
{
    if (ImageIndex <= 0 || ImageIndex > Count() || m_segments.empty())
        return {};
    const TfrxCacheItem& item = m_items[size_t(ImageIndex - 1)];
    if (item.Segment < 0 || size_t(item.Segment) >= m_segments.size())
        return {};
    QIODevice& segment = *m_segments[size_t(item.Segment)];
    qint64 end = segment.size();
    if (size_t(ImageIndex) < m_items.size() && m_items[size_t(ImageIndex)].Segment == item.Segment)
        end = m_items[size_t(ImageIndex)].Offset;
    segment.seek(item.Offset);
    return segment.read(std::max<qint64>(0, end - item.Offset));
}

void TfrxPictureCache::GetPicture(TfrxPictureView* Picture)
{
    const int index = Picture->ImageIndex();
    if (index <= 0 || index > Count()) {
        Picture->Picture()->Clear();
        return;
    }
    if (m_segments.empty())
        return;
    if (const QImage* known = m_decoded.object(index)) {
        Picture->Picture()->SetImage(*known);
        return;
    }
    QImage image;
    image.loadFromData(PictureBytes(index));
    Picture->Picture()->SetImage(image);
    if (!image.isNull())
        m_decoded.insert(index, new QImage(image), qsizetype(image.sizeInBytes() / 1024 + 1));
}

void TfrxPictureCache::SaveToXML(TfrxXMLItem* Item)
{
    Item->Clear();
    for (int i = 1; i <= Count(); ++i)
        Item->Add(QStringLiteral("item"))->Text = QStringLiteral("stream=\"") + frxBytesToHex(PictureBytes(i)) + u'"';
}

void TfrxPictureCache::LoadFromXML(TfrxXMLItem* Item)
{
    Clear();
    for (int i = 0; i < Item->Count(); ++i) {
        newItem();
        m_segments.back()->write(frxHexToBytes(Item->Items(i)->Prop(QStringLiteral("stream"))));
    }
}

} // namespace orv::report
