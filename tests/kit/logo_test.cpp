// The company-logo window and the "Logo.bmp" it keeps.
#include "gui/doubles.h"

#include "kit/dialogs/logo.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <functional>

using namespace orv::kit;
using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::GuiTest;

namespace {

class LogoTest : public GuiTest {
protected:
    QTemporaryDir elsewhere;

    void open(const std::function<void(TfrmLogo&)>& script)
    {
        modal.scripts["frmLogo"] = [&](Form& f) { script(static_cast<TfrmLogo&>(f)); };
        orv::kit::showLogoWindow(nullptr);
    }
    // The picture as the file holds it, and the format it was written in.
    static QImage stored(const QString& path, QByteArray* format = nullptr)
    {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        if (format) *format = reader.format();
        return reader.read().convertToFormat(QImage::Format_RGB32);
    }
    static QImage rgb(const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); }
    QString logo() const { return programFolder() + "Logo.bmp"; }
    QString picture(const char* name, const char* format, QSize size, QColor colour) const
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(colour);
        const QString path = elsewhere.filePath(name);
        EXPECT_TRUE(img.save(path, format));
        return path;
    }
};

TEST_F(LogoTest, WithoutALogoTheDefaultIsShownAndApplicaStoresIt)
{
    QImage euro;
    open([&](TfrmLogo& f) {
        EXPECT_EQ(f.caption(), " Impostazione logo Ditta");
        euro = rgb(f.imgTemp.picture());
        EXPECT_EQ(euro.size(), QSize(297, 184));
        EXPECT_EQ(rgb(f.imgLogo.picture()), euro);
        click(f.btnApplica);
        EXPECT_FALSE(f.isVisible());
    });
    QByteArray format;
    EXPECT_EQ(stored(logo(), &format), euro);
    EXPECT_EQ(format, "bmp");
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(LogoTest, AJpegChosenThroughSfogliaIsStoredAsABitmapAtItsOwnSize)
{
    const QString jpeg = picture("marchio.jpg", "JPG", QSize(120, 80), QColor(0x20, 0x60, 0xA0));
    files.answers.push_back(jpeg);
    open([&](TfrmLogo& f) {
        click(f.btnSfoglia);
        EXPECT_EQ(f.imgLogo.picture().size(), QSize(120, 80));
        click(f.btnApplica);
    });
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].title, "Selezionare il logo della Ditta in formato Jpeg o Bitmap.");
    EXPECT_EQ(files.requests[0].filter, "Immagine JPEG (*.jpg; *.jpeg)|*.jpg;*.jpeg|Immagine Bitmap (*.bmp)|*.bmp");
    QByteArray format;
    const QImage saved = stored(logo(), &format);
    EXPECT_EQ(format, "bmp");
    EXPECT_EQ(saved, stored(jpeg));
    EXPECT_TRUE(readFile("Logo.bmp").startsWith("BM"));
}

TEST_F(LogoTest, TheStoredLogoIsShownAndKeptByAnnulla)
{
    picture("unused.bmp", "BMP", QSize(4, 4), Qt::red);
    const QString mine = picture("Logo.bmp", "BMP", QSize(50, 30), QColor(0x10, 0x80, 0x10));
    ASSERT_TRUE(QFile::copy(mine, logo()));
    const QByteArray before = readFile("Logo.bmp");
    files.answers.push_back(elsewhere.filePath("unused.bmp"));
    open([&](TfrmLogo& f) {
        EXPECT_EQ(rgb(f.imgLogo.picture()), stored(mine));
        click(f.btnSfoglia);
        click(f.imgEuro);
        click(f.btnCancLogo);
        click(f.btnAnnulla);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(readFile("Logo.bmp"), before);
}

TEST_F(LogoTest, CommandsOfTheLogoBox)
{
    const QString notAPicture = elsewhere.filePath("note.jpg");
    QFile text(notAPicture);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("non sono un'immagine");
    text.close();
    const QString bmp = picture("blu.bmp", "BMP", QSize(10, 10), Qt::blue);
    files.answers = {bmp, std::nullopt, notAPicture};
    open([&](TfrmLogo& f) {
        const QImage euro = rgb(f.imgTemp.picture());
        click(f.btnSfoglia);
        EXPECT_EQ(rgb(f.imgLogo.picture()), stored(bmp));
        click(f.btnSfoglia);  // cancelled: nothing changes
        EXPECT_EQ(rgb(f.imgLogo.picture()), stored(bmp));
        click(f.btnSfoglia);  // not a picture: the default takes its place
        EXPECT_EQ(rgb(f.imgLogo.picture()), euro);
        click(f.btnCancLogo);
        EXPECT_EQ(f.imgLogo.picture().size(), QSize(2, 2));
        click(f.imgEuro);
        EXPECT_EQ(rgb(f.imgLogo.picture()), euro);
        click(f.btnCancLogo);
        click(f.btnApplica);
    });
    // The blank logo: documents print nothing.
    QImage white(2, 2, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(stored(logo()), white);
}

TEST_F(LogoTest, AFailedSaveIsReportedAndWritesNothing)
{
    // A folder where the logo should be: it can be neither read nor replaced.
    ASSERT_TRUE(QDir(programFolder()).mkdir("Logo.bmp"));
    files.answers.push_back(picture("blu.bmp", "BMP", QSize(10, 10), Qt::blue));
    open([&](TfrmLogo& f) {
        EXPECT_EQ(rgb(f.imgLogo.picture()), rgb(f.imgTemp.picture()));
        click(f.btnSfoglia);
        click(f.btnApplica);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(rgb(f.imgLogo.picture()), rgb(f.imgTemp.picture()));
    });
    EXPECT_TRUE(QFileInfo(logo()).isDir());
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, orv::test::MessageCall::Error);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Attenzione: non \u00e8 stato possibile salvare il logo")));
    EXPECT_EQ(QDir(programFolder()).entryList(QDir::Files), QStringList());
}

} // namespace
