#pragma once
// The pictures of a prepared report, kept apart from the pages in append-only segments:
// a picture view on a prepared page carries only its 1-based ImageIndex, and a picture
// that does not change between pages is stored once. A picture read back is decoded once
// and shared by every page that shows it, so a printer meets the very same image again
// and spools it once.
#include <QByteArray>
#include <QCache>
#include <QImage>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace orv::report {

class TfrxPictureView;
class TfrxXMLItem;

struct TfrxCacheItem {
    qint32 Segment = 0;
    qint32 Offset = 0; // the picture runs to the next item's offset or the segment's end
};

class TfrxPictureCache {
public:
    TfrxPictureCache();
    ~TfrxPictureCache();
    TfrxPictureCache(const TfrxPictureCache&) = delete;
    TfrxPictureCache& operator=(const TfrxPictureCache&) = delete;

    // A segment grows up to this many bytes before the next one starts.
    static constexpr qint64 SegmentLimit = 1789569706;

    const QString& TempDir() const { return m_tempDir; }
    bool UseFileCache() const { return m_useFileCache; }
    // Both can change only while the cache has no segment.
    void SetTempDir(const QString& v);
    void SetUseFileCache(bool v);

    // Frees the segments (deleting their files) and forgets every picture.
    void Clear();
    int Count() const { return int(m_items.size()); }
    const TfrxCacheItem& Item(int Index) const { return m_items.at(size_t(Index)); }
    // Stores the view's picture as PNG and sets its ImageIndex.
    void AddPicture(TfrxPictureView* Picture);
    // The view's picture from its ImageIndex; out of range gives an empty picture.
    void GetPicture(TfrxPictureView* Picture);
    // The stored bytes of a picture (1-based index), empty when out of range.
    QByteArray PictureBytes(int ImageIndex);
    // One child "item" with a "stream" attribute of hexadecimal bytes per picture.
    void SaveToXML(TfrxXMLItem* Item);
    void LoadFromXML(TfrxXMLItem* Item);
    void AddSegment();

private:
    TfrxCacheItem& newItem();
    std::vector<TfrxCacheItem> m_items;
    // Decoded pictures by ImageIndex; the cost is in kilobytes.
    QCache<int, QImage> m_decoded{64 * 1024};
    std::vector<std::unique_ptr<QIODevice>> m_segments;
    QStringList m_tempFiles;
    QString m_tempDir;
    bool m_useFileCache = false;
};

} // namespace orv::report
