#include "platform/ui/application.h"

#include "platform/ui/dispatch.h"
#include "platform/ui/services.h"

#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <exception>

namespace orv::platform::ui {

namespace {
bool terminateAsked = false;

// The style reads every size of a standard icon from its picture files as soon as a widget
// asks for the icon, and a calendar asks for its two month arrows while it is being built.
// With every window of the program built at start, that reading cost more than the rest of
// the calendars. These icons read their pictures when they are first drawn or measured.
class DeferredStandardIcon final : public QIconEngine {
public:
    DeferredStandardIcon(QStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}
    void paint(QPainter* p, const QRect& r, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(p, r, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QIconEngine* clone() const override { return new DeferredStandardIcon(*this); }

private:
    const QIcon& icon()
    {
        if (!loaded_) {
            loaded_ = true;
            if (style_) real_ = style_->standardIcon(which_);
        }
        return real_;
    }
    QPointer<QStyle> style_;
    QStyle::StandardPixmap which_;
    bool loaded_ = false;
    QIcon real_;
};

class ProgramStyle final : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        // The month arrows depend on nothing but the layout direction, which is fixed.
        if ((which == SP_ArrowLeft || which == SP_ArrowRight) && !option)
            return QIcon(new DeferredStandardIcon(baseStyle(), which));
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

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
    // Once per application object, which deletes its style with itself.
    static QPointer<QStyle> style;
    if (!style) {
        style = new ProgramStyle;
        QApplication::setStyle(style);
    }
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

} // namespace orv::platform::ui
