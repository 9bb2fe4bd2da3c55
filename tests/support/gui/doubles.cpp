#include "doubles.h"

#include "platform/core/formats.h"
#include "platform/ui/application.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>

using namespace orv::platform;

namespace orv::test {

int FakeMessages::messageDlg(const QString& text, platform::ui::MsgType type, platform::ui::MsgButtons buttons)
{
    static const MessageCall::Kind kinds[] = {MessageCall::Warning, MessageCall::Error,
                                              MessageCall::Information, MessageCall::Confirmation};
    calls.push_back({kinds[int(type)], text, buttons});
    if (onBox) onBox(calls.back());
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    if (buttons & platform::ui::mbYes) return platform::ui::mrYes;
    if (buttons & platform::ui::mbOk) return platform::ui::mrOk;
    return platform::ui::mrCancel;
}

void FakeMessages::showMessage(const QString& text)
{
    calls.push_back({MessageCall::Plain, text, platform::ui::mbOk});
    if (onBox) onBox(calls.back());
}

QString FakeMessages::inputBox(const QString& caption, const QString& prompt, const QString& defaultText)
{
    QString v = defaultText;
    return inputQuery(caption, prompt, v) ? v : defaultText;
}

bool FakeMessages::inputQuery(const QString&, const QString& prompt, QString& value)
{
    calls.push_back({MessageCall::Plain, prompt, platform::ui::mbOk | platform::ui::mbCancel});
    if (inputs.empty()) return false;
    const auto a = inputs.front();
    inputs.pop_front();
    if (!a) return false;
    value = *a;
    return true;
}

QStringList FakeMessages::texts() const
{
    QStringList out;
    for (const auto& c : calls) out << c.text;
    return out;
}

std::optional<QString> FakeFileDialog::openFile(const platform::ui::OpenFileRequest& r)
{
    requests.push_back(r);
    if (answers.empty()) return std::nullopt;
    const auto a = answers.front();
    answers.pop_front();
    return a;
}

int FakeModal::showModal(platform::ui::Form& form)
{
    shown << form.objectName();
    const auto it = scripts.find(form.objectName());
    return form.execModal([&] {
        QCoreApplication::processEvents();
        if (it != scripts.end()) it->second(form);
    });
}

bool FakeSound::play(const QString& path)
{
    stop();
    if (!QFileInfo(path).isFile() || unloadable.contains(path)) return false;
    played << path;
    loaded_ = true;
    return true;
}

void FakeSound::stop()
{
    if (!loaded_) return;
    ++stops;
    loaded_ = false;
}

void GuiTest::SetUp()
{
    ASSERT_TRUE(folder.isValid());
    platform::ui::setMessages(&messages);
    platform::ui::setFileDialog(&files);
    platform::ui::setShell(&shell);
    platform::ui::setModal(&modal);
    platform::ui::setSound(&sound);
    setClock(&clock);
    setProgramFolder(folder.path());
    applyProgramFormats();
    platform::ui::clearTerminateRequest();
}

void GuiTest::TearDown()
{
    QCoreApplication::processEvents();
    platform::ui::setMessages(nullptr);
    platform::ui::setFileDialog(nullptr);
    platform::ui::setShell(nullptr);
    platform::ui::setModal(nullptr);
    platform::ui::setSound(nullptr);
    setClock(nullptr);
    setProgramFolder(QString());
    platform::ui::clearTerminateRequest();
}

QString GuiTest::programFolder() const { return orv::platform::programFolder(); }

void GuiTest::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile f(programFile(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray GuiTest::readFile(const QString& name) const
{
    QFile f(programFile(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

namespace {
QWidget* focusTarget(platform::ui::Form& form)
{
    platform::ui::Control* c = form.focusedControl();
    return c ? c->widget() : static_cast<QWidget*>(&form);
}
// Each character as one key press and release carrying it as text, as a keyboard sends it.
void typeInto(QWidget* w, const QString& text)
{
    for (QChar ch : text) {
        const int code = ch.unicode() < 128 ? ch.toUpper().unicode() : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
}
} // namespace

void GuiTest::keys(platform::ui::Form& form, const QString& text) { typeInto(focusTarget(form), text); }

void GuiTest::key(platform::ui::Form& form, Qt::Key k, Qt::KeyboardModifiers m) { QTest::keyClick(focusTarget(form), k, m); }

void GuiTest::type(platform::ui::Control& c, const QString& text) { typeInto(c.widget(), text); }

void GuiTest::press(platform::ui::Control& c, Qt::Key k, Qt::KeyboardModifiers m) { QTest::keyClick(c.widget(), k, m); }

namespace {
QWidget* mouseTarget(platform::ui::Control& c)
{
    if (auto* area = qobject_cast<QAbstractScrollArea*>(c.widget())) return area->viewport();
    return c.widget();
}
} // namespace

void GuiTest::click(platform::ui::Control& c)
{
    QWidget* w = mouseTarget(c);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
}

void GuiTest::doubleClick(platform::ui::Control& c)
{
    QWidget* w = mouseTarget(c);
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

void GuiTest::hover(platform::ui::Control& c)
{
    QWidget* w = mouseTarget(c);
    QMouseEvent move(QEvent::MouseMove, QPointF(w->rect().center()), w->mapToGlobal(QPointF(w->rect().center())),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void GuiTest::hover(platform::ui::Form& f, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), f.mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&f, &move);
}

void GuiTest::showAndActivate(platform::ui::Form& f)
{
    f.show();
    f.activateWindow();
    QApplication::setActiveWindow(&f);
    (void)QTest::qWaitForWindowActive(&f, 1000);
}

int firstLetterHeight(const QImage& picture)
{
    const QImage img = picture.convertToFormat(QImage::Format_RGB32);
    const auto white = [&](int x, int y) {
        const QRgb c = img.pixel(x, y);
        return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200;
    };
    // The picture's own ground outside its rounded frame is white too.
    const int inset = 6, left = inset, right = img.width() - inset, top = inset, bottom = img.height() - inset;
    const auto rowHasWhite = [&](int y) {
        for (int x = left; x < right; ++x)
            if (white(x, y)) return true;
        return false;
    };
    // The first line of words: the first run of rows holding white pixels.
    int lineTop = top;
    while (lineTop < bottom && !rowHasWhite(lineTop)) ++lineTop;
    int lineEnd = lineTop;
    while (lineEnd < bottom && rowHasWhite(lineEnd)) ++lineEnd;
    // Its first letter: the first run of columns holding white pixels within that line.
    int high = lineEnd, low = -1;
    bool inLetter = false;
    for (int x = left; x < right; ++x) {
        bool any = false;
        for (int y = lineTop; y < lineEnd; ++y)
            if (white(x, y)) {
                any = true;
                high = std::min(high, y);
                low = std::max(low, y);
            }
        if (any) inLetter = true;
        else if (inLetter) break;
    }
    return low < 0 ? 0 : low - high + 1;
}

} // namespace orv::test
