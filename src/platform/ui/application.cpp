#include "platform/ui/application.h"

#include "platform/ui/dispatch.h"
#include "platform/ui/services.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <exception>

namespace orv::ui {

namespace {
bool terminateAsked = false;

QString currentExceptionText()
{
    try {
        throw;
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Si \u00e8 verificato un errore imprevisto.");
    }
}
} // namespace

void reportCurrentException() noexcept
{
    try {
        const QString text = currentExceptionText();
        messages().messageDlg(text, MsgType::Error, mbOk);
    } catch (...) {
        // Nothing sensible is left to do when the error box itself fails.
    }
}

void useSoftwareDrawing()
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setupApplication();
}

bool Application::notify(QObject* receiver, QEvent* e)
{
    try {
        return QApplication::notify(receiver, e);
    } catch (...) {
        // Not shown here: the exception may come out of a paint, where no modal box may
        // open. The box follows as soon as the loop is back.
        QString text;
        try {
            text = currentExceptionText();
        } catch (...) {
        }
        QTimer::singleShot(0, qApp, [text] {
            try {
                messages().messageDlg(text, MsgType::Error, mbOk);
            } catch (...) {
            }
        });
        return false;
    }
}

void setupApplication()
{
    QApplication::setQuitOnLastWindowClosed(false);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Segoe UI"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont f(QStringLiteral("Segoe UI"));
    f.setPixelSize(12);
    QApplication::setFont(f);
    loadQtTranslations();
}

bool loadQtTranslations()
{
    // Once per application object: the test mains and the program both come through here.
    static QTranslator* installed = nullptr;
    if (installed && installed->parent() == qApp) return true;
    auto* t = new QTranslator(qApp);
    if (!t->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        // The program still works in English dialogs; the setup script installs the file.
        qWarning("Traduzioni di Qt non trovate: le finestre standard restano in inglese.");
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    installed = t;
    return true;
}

void terminateApplication()
{
    terminateAsked = true;
    QCoreApplication::quit();
}

bool terminateRequested() { return terminateAsked; }
void clearTerminateRequest() { terminateAsked = false; }

} // namespace orv::ui
