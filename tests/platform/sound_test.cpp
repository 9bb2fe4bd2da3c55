// The real sound player: a file that is not there plays nothing and leaves nothing loaded.
#include "platform/ui/services.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

TEST(SoundService, AMissingOrUnreadableFileIsNotLoaded)
{
    orv::ui::setSound(nullptr);
    QTemporaryDir dir;
    orv::ui::SoundService& s = orv::ui::sound();
    EXPECT_FALSE(s.play(dir.filePath(QStringLiteral("Avviso.mp3"))));
    EXPECT_FALSE(s.loaded());
    EXPECT_FALSE(s.play(dir.path())); // a folder is no sound file
    EXPECT_FALSE(s.loaded());
    s.stop(); // nothing loaded: nothing happens
    EXPECT_FALSE(s.loaded());
}
