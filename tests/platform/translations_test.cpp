// The standard dialogs Qt draws for us (files, printing, the buttons of its boxes) speak
// Italian like the rest of the program.
#include "platform/ui/application.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

TEST(QtTranslations, StandardDialogTextsAreItalianAfterStartUp)
{
    // The test main made the application object the same way the program does.
    struct Case { const char* context; const char* source; const char* italian; };
    const Case cases[] = {
        {"QFileDialog", "Open", "Apri"},
        {"QFileDialog", "Look in:", "Cerca in:"},
        {"QPlatformTheme", "Cancel", "Annulla"},
        {"QPrintDialog", "Print", "Stampa"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QCoreApplication::translate(c.context, c.source), QString::fromUtf8(c.italian))
            << c.context << " / " << c.source;
}

TEST(QtTranslations, LoadingTwiceInstallsOneTranslator)
{
    EXPECT_TRUE(orv::platform::ui::loadQtTranslations());
    EXPECT_TRUE(orv::platform::ui::loadQtTranslations());
    EXPECT_EQ(qApp->findChildren<QTranslator*>().size(), 1);
}

TEST(QtTranslations, QtFileDialogShowsItalianCaptions)
{
    QFileDialog d(nullptr, QString(), QDir::tempPath());
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setFileMode(QFileDialog::ExistingFile);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    QStringList labels;
    for (auto* l : d.findChildren<QLabel*>()) labels << l->text();
    QStringList buttons;
    for (auto* b : d.findChildren<QPushButton*>()) buttons << b->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Cerca in:"))) << labels.join('|').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("&Apri")) || buttons.contains(QStringLiteral("Apri")))
        << buttons.join('|').toStdString();
}

} // namespace
