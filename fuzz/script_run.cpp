// Compiles arbitrary script text with the built-in functions, in VoriroVoreva or in the
// language its "#language" line names, and runs what compiles,
// twice: through the compiled form of its statement lists and through the statement
// objects. Both runs must end the same way with the same values. Runs are bounded: a
// budget of executed lines and of text and array sizes ends them, numbers have at most
// three digits, and nothing reads the clock or the random generator. A loop that reports no
// line (an empty body) spends no budget: a watch in another thread terminates a run that
// has not ended within a second, and such a run is not compared.
#include <QDateTime>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/core/exceptions.h"
#include "platform/core/services.h"
#include "script/core/script.h"
#include "script/core/vm.h"

using namespace orv::script;

namespace {

using orv::script::Value;

class FixedClock : public orv::platform::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 2, 29), QTime(14, 30, 15)); }
};

qint64 sizeOf(const Value& v, int depth = 0)
{
    if (v.isText())
        return v.text().size();
    if (!v.isArray() || depth > 8)
        return 1;
    qint64 n = 0;
    for (const Value& e : v.elements())
        n += sizeOf(e, depth + 1);
    return n;
}

qint64 sizeOf(const TfsScript& s, int depth = 0)
{
    qint64 n = 0;
    for (int i = 0; i < s.Count(); ++i) {
        TfsCustomVariable* item = s.Items(i);
        if (!item)
            continue;
        if (auto* proc = dynamic_cast<TfsProcVariable*>(item); proc && depth < 8)
            n += sizeOf(*proc->Prog(), depth + 1);
        else if (item->Storage())
            n += sizeOf(*item->Storage());
    }
    return n;
}

QString describe(const Value& v, int depth = 0)
{
    if (v.isArray()) {
        QString s = QStringLiteral("[");
        int shown = 0;
        for (const Value& e : v.elements()) {
            if (++shown > 20 || depth > 3)
                break;
            s += describe(e, depth + 1) + u',';
        }
        return s + u']';
    }
    try {
        return QString::number(v.type()) + u':' + v.toString();
    } catch (const orv::platform::Exception&) {
        return QString::number(v.type());
    }
}

// The lines reported and the end: the error and the values. Without a line handler the
// run has no budget: only programs that ended within it before run that way.
struct Outcome {
    QString lines;
    QString end;
    bool budgetSpent = false;
    bool overtime = false; // terminated by the watch: where it stopped is chance
};

// Terminates the script from another thread when it runs longer than the watch allows.
class Watch {
public:
    explicit Watch(TfsScript& script)
        : FThread([this, &script] {
              std::unique_lock lock(FMutex);
              if (!FDone.wait_for(lock, std::chrono::seconds(1), [this] { return FEnded; })) {
                  FFired = true;
                  script.Terminate();
              }
          })
    {
    }
    ~Watch() { stop(); }
    // Ends the watch; true when it had to terminate the run.
    bool stop()
    {
        {
            std::lock_guard lock(FMutex);
            FEnded = true;
        }
        FDone.notify_all();
        if (FThread.joinable())
            FThread.join();
        return FFired;
    }

private:
    std::mutex FMutex;
    std::condition_variable FDone;
    bool FEnded = false;
    bool FFired = false;
    std::thread FThread;
};

Outcome run(const QString& source, bool compiled, bool watched = true)
{
    orv::script::vm::setEnabled(compiled);
    TfsScript script;
    script.AddRTTI();
    script.SetLines(fsTextToLines(source));
    try {
        if (!script.Compile())
            return {QString(), QStringLiteral("compile: ") + script.ErrorMsg() + u'@' + script.ErrorPos()};
    } catch (const orv::platform::Exception& e) {
        return {QString(), QStringLiteral("compile raised: ") + e.message()};
    }
    Outcome outcome;
    int lines = 0;
    if (watched)
        script.SetOnRunLine([&](TfsScript*, const QString&, const QString& pos) {
            outcome.lines += pos + u' ';
            if (++lines > 3000 || sizeOf(script) > 200000) {
                outcome.budgetSpent = true;
                script.Terminate();
            }
        });
    Watch watch(script);
    try {
        script.Execute();
    } catch (const orv::platform::Exception& e) {
        outcome.end += QStringLiteral("raised: ") + e.message();
    }
    outcome.overtime = watch.stop();
    for (int i = 0; i < script.Count(); ++i)
        if (TfsCustomVariable* item = script.Items(i); item && item->Storage())
            outcome.end += u'\n' + item->Name() + u'=' + describe(*item->Storage());
    return outcome;
}

bool acceptable(const QString& source)
{
    const QString lower = source.toLower();
    // "#language" on the first line runs the program in one of the other grammars; any
    // other language name is a compile error like any other.
    if (lower.contains(u"random") || lower.contains(u"uses"))
        return false;
    int digits = 0;
    for (QChar c : source) {
        digits = c.isDigit() ? digits + 1 : 0;
        if (digits > 3)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 2048)
        return 0;
    const QString source = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!acceptable(source))
        return 0;
    static FixedClock clock;
    orv::platform::setClock(&clock);
    const Outcome fast = run(source, true);
    const Outcome plain = run(source, false);
    // The two ways use the stack differently: endless recursion stops at another depth.
    const QString overflow = QStringLiteral("raised: Stack overflow");
    if (fast.end.contains(overflow) || plain.end.contains(overflow) || fast.overtime || plain.overtime)
        return 0;
    if (fast.lines != plain.lines || fast.end != plain.end) {
        std::fprintf(stderr, "compiled and plain running differ\n--- compiled\n%s%s\n--- plain\n%s%s\n",
                     qPrintable(fast.lines), qPrintable(fast.end), qPrintable(plain.lines), qPrintable(plain.end));
        std::abort();
    }
    // Without a line handler, calls of script routines go straight into their frames;
    // the program ended within the budget, so it ends this way too.
    if (plain.budgetSpent)
        return 0;
    const Outcome unwatched = run(source, true, false);
    if (unwatched.end != plain.end && !unwatched.end.contains(overflow) && !unwatched.overtime) {
        std::fprintf(stderr, "compiled without a line handler differs\n--- compiled\n%s\n--- plain\n%s\n",
                     qPrintable(unwatched.end), qPrintable(plain.end));
        std::abort();
    }
    return 0;
}
