// The real sound player: a file that is not there plays nothing and leaves nothing loaded.
#include "platform/ui/services.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

TEST(SoundService, AMissingOrUnreadableFileIsNotLoaded)
{
    orv::platform::ui::setSound(nullptr);
    QTemporaryDir dir;
    orv::platform::ui::SoundService& s = orv::platform::ui::sound();
    EXPECT_FALSE(s.play(dir.filePath(QStringLiteral("Avviso.mp3"))));
    EXPECT_FALSE(s.loaded());
    EXPECT_FALSE(s.play(dir.path())); // a folder is no sound file
    EXPECT_FALSE(s.loaded());
    s.stop(); // nothing loaded: nothing happens
    EXPECT_FALSE(s.loaded());
}

TEST(SoundService, PlayingNeverWaitsForTheSoundToEnd)
{
    // A minute of silence: a player that waited for the end would hold the reminder window
    // (and its event loop) far past the guard below, audio device or not.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Avviso.wav"));
    {
        const quint32 rate = 8000, samples = rate * 60;
        QByteArray wav;
        QDataStream out(&wav, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out.writeRawData("RIFF", 4);
        out << quint32(36 + samples);
        out.writeRawData("WAVEfmt ", 8);
        out << quint32(16) << quint16(1) << quint16(1) << rate << rate << quint16(1) << quint16(8);
        out.writeRawData("data", 4);
        out << samples;
        wav.append(QByteArray(int(samples), char(0x80)));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(wav);
    }
    orv::platform::ui::setSound(nullptr);
    QElapsedTimer clock;
    clock.start();
    orv::platform::ui::SoundService& s = orv::platform::ui::sound();
    EXPECT_TRUE(s.play(path));
    bool ticked = false;
    QTimer::singleShot(0, [&] { ticked = true; });
    while (!ticked && clock.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_TRUE(ticked);
    s.stop();
    EXPECT_FALSE(s.loaded());
}
