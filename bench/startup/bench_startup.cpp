// Time from process start to the login window shown, against a bare Qt Widgets window of
// the same size shown by a process of the same binary, in the same run. Each sample is a
// fresh process; the rounds interleave the contenders and the ratios are printed with
// their goals (login: at most 1.5; every start window built: at most 3).
// A second peer, a plain Qt window with a label, an edit and three buttons, shows how much
// of the difference is the font database every window with text loads first.
#include "common/figures.h"
#include "shell/startup.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Tells the parent that the window is on screen, and ends at once.
void announceShown()
{
    static const char line[] = "shown\n";
    (void)!write(STDOUT_FILENO, line, sizeof line - 1);
    std::_Exit(0);
}

class FirstPaint : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) QMetaObject::invokeMethod(this, [] { announceShown(); }, Qt::QueuedConnection);
        return false;
    }
};

int bareWindow(int argc, char** argv, bool withText)
{
    QApplication app(argc, argv);
    QWidget w;
    w.resize(388, 405);
    if (withText) {
        auto* prompt = new QLabel(QStringLiteral("Immetti la password e premi OK."), &w);
        prompt->setGeometry(20, 172, 348, 24);
        auto* edit = new QLineEdit(&w);
        edit->setGeometry(44, 210, 300, 34);
        edit->setEchoMode(QLineEdit::Password);
        int x = 44;
        for (const char* caption : {"OK", "Esci", "Cambia password"}) {
            auto* b = new QPushButton(QString::fromLatin1(caption), &w);
            b->setGeometry(x, 276, 100, 36);
            x += 110;
        }
        edit->setFocus();
    }
    w.installEventFilter(new FirstPaint(&w));
    w.show();
    return QApplication::exec();
}

// Milliseconds from spawning `self mode` to its "shown" line.
double sample(const char* self, const char* mode)
{
    int out[2];
    if (pipe(out) != 0) std::exit(2);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* args[] = {const_cast<char*>(self), const_cast<char*>(mode), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, &actions, nullptr, args, environ) != 0) std::exit(2);
    close(out[1]);
    char buf[16] = {};
    const ssize_t n = read(out[0], buf, sizeof buf - 1);
    const auto end = std::chrono::steady_clock::now();
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (n <= 0 || std::strncmp(buf, "shown", 5) != 0) {
        std::fprintf(stderr, "bench_startup: %s did not show its window\n", mode);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--login") == 0) return orv::shell::runProgram(argc, argv, announceShown);
    if (argc > 1 && std::strcmp(argv[1], "--ready") == 0) return orv::shell::runProgram(argc, argv, {}, announceShown);
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0) return bareWindow(argc, argv, false);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) return bareWindow(argc, argv, true);

    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    sample(argv[0], "--login");  // warm the file cache for both
    sample(argv[0], "--bare");
    sample(argv[0], "--text");
    const auto samples = orv::bench::interleave(rounds, {[&] { return sample(argv[0], "--login"); },
                                                         [&] { return sample(argv[0], "--ready"); },
                                                         [&] { return sample(argv[0], "--bare"); },
                                                         [&] { return sample(argv[0], "--text"); }});
    const auto& login = samples[0];
    const auto& ready = samples[1];
    const auto& bare = samples[2];
    const auto& text = samples[3];
    using orv::bench::spreadOf;
    // The display matters: on the offscreen platform a bare window costs far less than on
    // an X server, while fonts cost the same, so every ratio reads higher there.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("startup on %s: login window shown in %.1f ms, bare Qt window in %.1f ms, "
                "Qt window with text in %.1f ms (medians of %d)\n",
                platform && *platform ? platform : "the default platform", spreadOf(login).median,
                spreadOf(bare).median, spreadOf(text).median, rounds);
    const auto loginRatio = orv::bench::ratioOf(login, bare);
    orv::bench::figure("startup", "login shown / bare window", loginRatio, "<= 1.50", loginRatio.median <= 1.5);
    std::printf("startup: login against the window with text %.2f\n", orv::bench::ratioOf(login, text).median);
    // What the user cannot see: the other start windows are built right after the login's
    // first paint, before any input is handled.
    const auto readyRatio = orv::bench::ratioOf(ready, bare);
    orv::bench::figure("startup", "every start window built / bare window", readyRatio, "<= 3.00",
                       readyRatio.median <= 3.0);
    return 0;
}
