#pragma once
// Window tests of the application shell: the start windows exist as at program start,
// the program folder holds the delivered password store.
#include "gui/doubles.h"

#include "shell/avvio.h"
#include "shell/cambiapassword.h"
#include "shell/password.h"
#include "kit/windowtable.h"
#include "shell/startup.h"
#include "platform/ui/application.h"

#include <QFile>

namespace orv::test {

class AppTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        QFile delivered(QStringLiteral(ORV_SOURCE_DIR "/assets/install/unins000.dll"));
        ASSERT_TRUE(delivered.open(QIODevice::ReadOnly));
        writeFile("unins000.dll", delivered.readAll());
        shell::createStartWindows();
    }
    void TearDown() override
    {
        shell::destroyStartWindows();
        GuiTest::TearDown();
    }
    // The login window as the message loop first shows it.
    void startAtLogin() { showAndActivate(*shell::frmPassword); }
};

} // namespace orv::test
