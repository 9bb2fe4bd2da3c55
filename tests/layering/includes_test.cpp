// The source folders depend on one another one way only. The table below is the rule:
// each folder and the folders it builds on directly; a folder may include its own
// headers and those of every folder below it (the table's closure). A new folder under
// src/ has to be placed in the table before anything in it builds.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <map>
#include <set>

#include "tree.h"

namespace {

using Rules = std::map<QString, QStringList>;

const Rules& rules()
{
    static const Rules r = {
        // The platform: services, files and texts; the window toolkit over it.
        {u"platform/core"_qs, {}},
        {u"platform/ui"_qs, {u"platform/core"_qs}},
        // The engine side: scripts, the report engine, its PDF export.
        {u"script"_qs, {u"platform/ui"_qs}},
        {u"report"_qs, {u"script"_qs}},
        {u"pdf"_qs, {u"report"_qs}},
        // The window side: records, the shared windows, the document editor, the modules.
        {u"archive"_qs, {u"platform/core"_qs}},
        {u"kit"_qs, {u"archive"_qs, u"platform/ui"_qs}},
        {u"documents"_qs, {u"kit"_qs}},
        {u"customers"_qs, {u"documents"_qs}},
        // The finders of customers and of the warehouse serve the other modules' editors.
        {u"warehouse"_qs, {u"documents"_qs, u"customers"_qs}},
        {u"jobs"_qs, {u"documents"_qs, u"customers"_qs}},
        {u"schedule"_qs, {u"documents"_qs, u"customers"_qs, u"warehouse"_qs}},
        {u"quotes"_qs, {u"documents"_qs, u"customers"_qs, u"warehouse"_qs}},
        {u"ddt"_qs, {u"documents"_qs, u"customers"_qs, u"warehouse"_qs}},
        // The document and list prints join the two sides.
        {u"printing"_qs, {u"kit"_qs, u"pdf"_qs}},
        // The program's top: the start table, the login and the main menu.
        {u"shell"_qs,
         {u"customers"_qs, u"warehouse"_qs, u"jobs"_qs, u"schedule"_qs, u"quotes"_qs, u"ddt"_qs, u"printing"_qs}},
        {u"main.cpp"_qs, {u"shell"_qs}},
    };
    return r;
}

// The folder a path below src/ belongs to: its first directory, the platform's two
// halves apart; a file directly in src/ is its own entry.
QString folderOf(const QString& path)
{
    const QStringList parts = path.split(u'/');
    if (parts.size() == 1) return parts[0];
    if (parts[0] == u"platform" && parts.size() > 2) return parts[0] + u'/' + parts[1];
    return parts[0];
}

std::set<QString> reachable(const Rules& r, const QString& folder)
{
    std::set<QString> out{folder};
    QStringList todo{folder};
    while (!todo.isEmpty()) {
        const auto it = r.find(todo.takeLast());
        if (it == r.end()) continue;
        for (const QString& below : it->second) {
            if (out.insert(below).second) todo << below;
        }
    }
    return out;
}

// Every include of a source folder that runs against the rules, and every folder the
// rules do not place, as "file: reason" lines.
QStringList violations(const QString& srcDir, const Rules& r)
{
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*"([^"]+)")re"),
                                            QRegularExpression::MultilineOption);
    const QDir src(srcDir);
    QStringList out;
    std::set<QString> unplaced;
    QDirIterator it(srcDir, {u"*.h"_qs, u"*.cpp"_qs}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = src.relativeFilePath(it.next());
        const QString from = folderOf(rel);
        if (!r.count(from)) {
            if (unplaced.insert(from).second) out << rel + u": the folder "_qs + from + u" has no rule"_qs;
            continue;
        }
        const std::set<QString> allowed = reachable(r, from);
        QFile f(it.filePath());
        if (!f.open(QIODevice::ReadOnly)) {
            out << rel + u": unreadable"_qs;
            continue;
        }
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = include.globalMatch(text); m.hasNext();) {
            const QString target = m.next().captured(1);
            // Same-folder and generated headers name no folder.
            if (!target.contains(u'/')) continue;
            if (!src.exists(target.section(u'/', 0, 0))) continue;
            const QString to = folderOf(target);
            if (!allowed.count(to)) out << rel + u": "_qs + from + u" includes "_qs + target;
        }
    }
    return out;
}

TEST(Layering, EveryIncludeInTheSourcesRunsDown)
{
    const QStringList found = violations(QStringLiteral(ORV_SOURCE_DIR "/src"), rules());
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

TEST(Layering, UpwardIncludesAndUnplacedFoldersAreReported)
{
    const orv::test::SourceTree tree;
    ASSERT_TRUE(tree.isValid());
    tree.write(u"shell/startup.h"_qs, "");
    tree.write(u"customers/clienti.h"_qs, "");
    tree.write(u"archive/record.h"_qs, "");
    tree.write(u"platform/core/text.h"_qs, "");
    tree.write(u"platform/ui/form.h"_qs, "#include \"platform/core/text.h\"\n");
    // Below it, two levels down, its own folder, a same-folder and a system header pass;
    // the shell and a module above do not, nor the toolkit from the platform's core.
    tree.write(u"kit/listwindow.cpp"_qs, "#include \"kit/listwindow.h\"\n#include \"listwindow.h\"\n"
                                         "#include \"archive/record.h\"\n#include \"platform/core/text.h\"\n"
                                         "#include <QString>\n#include \"QtCore/qglobal.h\"\n"
                                         "#include \"shell/startup.h\"\n  #  include \"customers/clienti.h\"\n");
    tree.write(u"platform/core/text.cpp"_qs, "#include \"platform/ui/form.h\"\n");
    tree.write(u"newfolder/thing.cpp"_qs, "#include \"shell/startup.h\"\n");
    tree.write(u"main.cpp"_qs, "#include \"shell/startup.h\"\n");

    QStringList found = violations(tree.path(), rules());
    found.sort();
    EXPECT_EQ(found, QStringList({
                         u"kit/listwindow.cpp: kit includes customers/clienti.h"_qs,
                         u"kit/listwindow.cpp: kit includes shell/startup.h"_qs,
                         u"newfolder/thing.cpp: the folder newfolder has no rule"_qs,
                         u"platform/core/text.cpp: platform/core includes platform/ui/form.h"_qs,
                     }));
}

} // namespace
