// The picture cache of prepared pages.
#include "report/base/xml.h"
#include "report/model/report.h"
#include "report/model/views.h"
#include "report/pages/picturecache.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace orv::report;

namespace {

QImage solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

} // namespace

TEST(PictureCacheTest, PicturesAreStoredOnceAndReadBackExactly)
{
    TfrxPictureCache cache;
    TfrxPictureView a(nullptr), b(nullptr), c(nullptr);
    a.Picture()->SetImage(solid(3, 2, 0xFF112233));
    b.Picture()->SetImage(solid(5, 5, 0xFFABCDEF));
    cache.AddPicture(&a);
    cache.AddPicture(&b);
    cache.AddPicture(&c); // an empty picture still takes its index
    EXPECT_EQ(a.ImageIndex(), 1);
    EXPECT_EQ(b.ImageIndex(), 2);
    EXPECT_EQ(c.ImageIndex(), 3);
    EXPECT_EQ(cache.Count(), 3);
    EXPECT_EQ(cache.PictureBytes(1), a.Picture()->ToPNG()) << "up to the next item's offset";
    EXPECT_EQ(cache.PictureBytes(2), b.Picture()->ToPNG());
    EXPECT_TRUE(cache.PictureBytes(3).isEmpty()) << "the last item runs to the segment's end";

    TfrxPictureView shown(nullptr);
    shown.SetImageIndex(2);
    cache.GetPicture(&shown);
    EXPECT_EQ(shown.Picture()->Image().size(), QSize(5, 5));
    EXPECT_EQ(shown.Picture()->Image().pixel(4, 4), 0xFFABCDEFu);
    for (int bad : {0, -1, 4}) {
        shown.SetImageIndex(bad);
        cache.GetPicture(&shown);
        EXPECT_TRUE(shown.Picture()->IsEmpty()) << bad;
    }
}

TEST(PictureCacheTest, XmlSection)
{
    TfrxPictureCache cache;
    std::vector<std::unique_ptr<TfrxPictureView>> views;
    for (QRgb colour : {0xFF000000u, 0xFFFF0000u, 0xFF00FF00u}) {
        views.push_back(std::make_unique<TfrxPictureView>(nullptr));
        views.back()->Picture()->SetImage(solid(2, 2, colour));
        cache.AddPicture(views.back().get());
    }
    TfrxXMLItem section(QStringLiteral("picturecache"));
    cache.SaveToXML(&section);
    ASSERT_EQ(section.Count(), 3);
    EXPECT_TRUE(section.Items(0)->Text.startsWith(QStringLiteral("stream=\"89504E47")));

    TfrxPictureCache back;
    back.LoadFromXML(&section);
    ASSERT_EQ(back.Count(), 3);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(back.PictureBytes(i), cache.PictureBytes(i)) << i;
    section.Items(1)->Text = section.Items(1)->Text.toLower();
    back.LoadFromXML(&section);
    EXPECT_EQ(back.PictureBytes(2), cache.PictureBytes(2)) << "either letter case";
}

TEST(PictureCacheTest, FileSegments)
{
    TfrxPictureCache cache;
    cache.SetUseFileCache(true);
    TfrxPictureView a(nullptr);
    a.Picture()->SetImage(solid(4, 4, 0xFF445566));
    cache.AddPicture(&a);
    cache.SetUseFileCache(false);
    EXPECT_TRUE(cache.UseFileCache()) << "fixed once a segment exists";
    TfrxPictureView b(nullptr);
    b.SetImageIndex(1);
    cache.GetPicture(&b);
    EXPECT_EQ(b.Picture()->Image().pixel(0, 0), 0xFF445566u);
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0);
}

namespace {

// Prepared pages that keep their pictures in a cache, as the engine's pages do.
class TCachingPages : public TfrxCustomPreviewPages {
public:
    using TfrxCustomPreviewPages::TfrxCustomPreviewPages;
    TfrxPictureCache cache;
    void AddPicture(TfrxPictureView* Picture) override { cache.AddPicture(Picture); }
};

} // namespace

TEST(PictureCacheTest, AnUnchangedPictureIsStoredOnce)
{
    TfrxReport report;
    auto pages = std::make_unique<TCachingPages>(&report);
    TCachingPages* cache = pages.get();
    report.SetEngine(nullptr, std::move(pages));
    auto* page = new TfrxReportPage(&report);
    auto* logo = new TfrxPictureView(page);
    logo->Picture()->SetImage(solid(6, 6, 0xFF0000FF));
    TfrxPictureView layout(nullptr);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(logo->Diff(&layout).contains(u" ImageIndex=\"1\"")) << i;
    EXPECT_EQ(cache->cache.Count(), 1);
    logo->Picture()->SetImage(solid(6, 6, 0xFF00FF00));
    EXPECT_TRUE(logo->Diff(&layout).contains(u" ImageIndex=\"2\"")) << "a changed picture is stored again";
}
