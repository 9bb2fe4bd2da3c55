// A password store that is missing, cannot be read or holds no password is told apart
// from a wrong password, at the login and in the password change: the message names
// the file and what to do.
#include "shell_fixture.h"

#include "shell/crypt.h"
#include "shell/passwordstore.h"

#include <QDir>

using namespace orv::shell;

using orv::test::AppTest;

namespace {

QString storeName() { return QDir::toNativeSeparators(orv::shell::passwordStorePath()); }

void putStore(const QByteArray& bytes)
{
    QFile f(orv::shell::passwordStorePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

struct BrokenStore {
    const char* name;
    std::function<void()> breakIt;
    QString message;  // with %1 for the file
};

std::vector<BrokenStore> brokenStores()
{
    return {
        {"missing", [] { QFile::remove(orv::shell::passwordStorePath()); },
         QStringLiteral("Attenzione: il file delle password \"%1\" non \u00e8 stato trovato. "
                        "Si consiglia di reinstallare il software.")},
        // A folder in its place cannot be read, not even by root.
        {"unreadable", [] {
             QFile::remove(orv::shell::passwordStorePath());
             QDir().mkdir(orv::shell::passwordStorePath());
         },
         QStringLiteral("Attenzione: il file delle password \"%1\" non pu\u00f2 essere letto. Verificare che il file sia "
                        "accessibile in lettura; se il problema persiste, si consiglia di reinstallare il software.")},
        {"without a password", [] { putStore("[Accesso]\r\nAltro=1\r\n"); },
         QStringLiteral("Attenzione: il file delle password \"%1\" non contiene alcuna password. "
                        "Si consiglia di reinstallare il software.")},
        {"with an empty password", [] { putStore("[Accesso]\r\nValore=  \r\n"); },
         QStringLiteral("Attenzione: il file delle password \"%1\" non contiene alcuna password. "
                        "Si consiglia di reinstallare il software.")},
    };
}

class BrokenStoreTest : public AppTest, public ::testing::WithParamInterface<int> {
protected:
    const BrokenStore& store() const
    {
        static const std::vector<BrokenStore> all = brokenStores();
        return all[GetParam()];
    }
};

TEST_P(BrokenStoreTest, TheLoginNamesTheStoreAndWhatToDoInsteadOfAWrongPassword)
{
    store().breakIt();
    startAtLogin();
    keys(*frmPassword, "lanternamobile");
    key(*frmPassword, Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList({store().message.arg(storeName())}));
    EXPECT_EQ(frmPassword->txtPassword.text(), "lanternamobile");  // nothing to retype
    EXPECT_TRUE(frmPassword->isVisible());
    EXPECT_FALSE(frmAvvio->isVisible());
    click(frmPassword->cmdOK);
    EXPECT_EQ(messages.texts(), QStringList(2, store().message.arg(storeName())));
}

TEST_P(BrokenStoreTest, ThePasswordChangeNamesTheStoreAndChangesNothing)
{
    store().breakIt();
    startAtLogin();
    click(frmPassword->btnCambiaPassword);
    showAndActivate(*frmCambiaPassword);
    type(frmCambiaPassword->txtPasswordOld, "lanternamobile");
    type(frmCambiaPassword->txtPasswordNew, "nuova");
    type(frmCambiaPassword->txtConferma, "nuova");
    click(frmCambiaPassword->cmdOK);
    EXPECT_EQ(messages.texts(), QStringList({store().message.arg(storeName())}));
    EXPECT_TRUE(frmCambiaPassword->isVisible());
    EXPECT_EQ(frmCambiaPassword->txtPasswordOld.text(), "lanternamobile");
    EXPECT_EQ(frmCambiaPassword->txtPasswordNew.text(), "nuova");
    // The program never makes a store of its own.
    EXPECT_FALSE(readFile("unins000.dll").contains(Cifra("NUOVA").toLatin1()));
}

INSTANTIATE_TEST_SUITE_P(Stores, BrokenStoreTest, ::testing::Range(0, 4),
                         [](const ::testing::TestParamInfo<int>& info) {
                             QString name = QString::fromLatin1(brokenStores()[info.param].name);
                             name.remove(u' ');
                             return name.toStdString();
                         });

} // namespace
