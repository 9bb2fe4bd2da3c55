// The windows' file filters on the real Qt file dialog: what the list of filters shows and
// which files the dialog offers.
#include "platform/ui/services.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace orv::platform::ui;

using namespace orv::platform::ui;

namespace {

TEST(FileFilter, WindowFiltersBecomeQtNameFilters)
{
    const struct {
        const char* windows;
        const char* qt;
    } cases[] = {
        {"Tutti i file (*.*)|*.*", "Tutti i file (*.*) (*)"},
        {"Immagini|*.bmp;*.jpg|Tutti i file|*.*", "Immagini (*.bmp *.jpg);;Tutti i file (*)"},
        {"Immagine JPEG (*.jpg; *.jpeg)|*.jpg;*.jpeg|Immagine Bitmap (*.bmp)|*.bmp",
         "Immagine JPEG (*.jpg; *.jpeg) (*.jpg *.jpeg);;Immagine Bitmap (*.bmp) (*.bmp)"},
        {"File PDF|*.pdf", "File PDF (*.pdf)"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qtFileFilter(QString::fromUtf8(c.windows)), QString::fromUtf8(c.qt)) << c.windows;
}

// The names the dialog's file list holds once it has read the folder.
QStringList shownNames(QFileDialog& d, int expected)
{
    auto* view = d.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    if (!view) return {u"<no list>"_qs};
    QStringList names;
    // The folder is read in the background; the bound only guards against a hang.
    (void)QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= expected; }, 60000);
    for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
        names << view->model()->index(r, 0, view->rootIndex()).data().toString();
    names.sort();
    return names;
}

TEST(FileFilter, AllFilesShowsNamesWithoutADotAndTheCaptionOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"LEGGIMI", "lettera.txt", "archivio.tar.gz"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFileDialog d(nullptr, u"Selezionare il file da allegare:"_qs, dir.path());
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setFileMode(QFileDialog::ExistingFile);
    applyFileFilter(d, u"Tutti i file (*.*)|*.*"_qs);
    d.show();
    EXPECT_EQ(shownNames(d, 3), QStringList({u"LEGGIMI"_qs, u"archivio.tar.gz"_qs, u"lettera.txt"_qs}));
    auto* types = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 1);
    EXPECT_EQ(types->itemText(0), u"Tutti i file (*.*)"_qs);
    d.hide();
}

TEST(FileFilter, APatternFilterStillNarrowsTheList)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"LEGGIMI", "foto.jpg", "logo.bmp", "nota.txt"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFileDialog d(nullptr, QString(), dir.path());
    d.setOption(QFileDialog::DontUseNativeDialog);
    applyFileFilter(d, u"Immagini|*.bmp;*.jpg|Tutti i file|*.*"_qs);
    d.show();
    EXPECT_EQ(shownNames(d, 2), QStringList({u"foto.jpg"_qs, u"logo.bmp"_qs}));
    auto* types = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(types->itemText(0), u"Immagini"_qs);
    EXPECT_EQ(types->itemText(1), u"Tutti i file"_qs);
    d.hide();
}

} // namespace
