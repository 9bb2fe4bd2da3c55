// Each source folder's code lives in the namespace named after the folder: orv:: and the
// folder's first directory below src/ (the platform's two halves apart), with nested
// namespaces below it and anonymous ones anywhere inside. A file may also name another
// folder's namespace to declare that folder's classes ahead (`class X;` and nothing else).
// Nothing is declared at global scope except what has to be: the list below, each entry
// with its reason.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include "tree.h"

namespace {

// The namespace of a file below src/, empty for a file directly in src/.
QString namespaceOf(const QString& path)
{
    const QStringList parts = path.split(u'/');
    if (parts.size() == 1) return QString();
    if (parts[0] == u"platform") return parts.size() > 2 && parts[1] == u"ui" ? u"orv::platform::ui"_qs : u"orv::platform"_qs;
    return u"orv::"_qs + parts[0];
}

bool isBelow(const QString& ns, const QString& base)
{
    return ns == base || ns.startsWith(base + u"::"_qs);
}

// What may stand at global scope, and why.
struct Allowed {
    QRegularExpression pattern; // matched against the statement's first tokens
    const char* reason;
};

const std::vector<Allowed>& globalExceptions()
{
    static const std::vector<Allowed> list = {
        {QRegularExpression(u"^Q_DECLARE_METATYPE \\("_qs),
         "Qt's meta-type traits are specialised in the global namespace"},
        {QRegularExpression(u"^Q_DECLARE_OPERATORS_FOR_FLAGS \\("_qs),
         "the flags' operators must be found from any namespace, as Qt declares its own"},
        {QRegularExpression(u"^(class|struct) Q[A-Z]\\w* ;$"_qs), "a Qt class declared ahead: Qt's classes are global"},
        {QRegularExpression(u"^extern \"C\""_qs), "C callbacks have C linkage and no namespace"},
    };
    return list;
}

// The text with comments, string and character literals blanked out (lines kept) and
// preprocessor lines dropped.
QString codeOnly(const QString& text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    bool lineStart = true;
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i];
        if (lineStart && c == u'#') {
            // a directive with its continuation lines
            while (i < n && !(text[i] == u'\n' && text[i - 1] != u'\\')) {
                out += text[i] == u'\n' ? u'\n' : u' ';
                ++i;
            }
            continue;
        }
        if (c == u'\n') {
            lineStart = true;
            out += c;
            ++i;
            continue;
        }
        if (!c.isSpace()) lineStart = false;
        if (c == u'/' && i + 1 < n && text[i + 1] == u'/') {
            while (i < n && text[i] != u'\n') ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            const qsizetype end = text.indexOf(u"*/"_qs, i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            for (; i < stop; ++i) out += text[i] == u'\n' ? u'\n' : u' ';
            continue;
        }
        if (c == u'R' && i + 1 < n && text[i + 1] == u'"'
            && (i == 0 || !(text[i - 1].isLetterOrNumber() || text[i - 1] == u'_') || text[i - 1] == u'u'
                || text[i - 1] == u'8' || text[i - 1] == u'L' || text[i - 1] == u'U')) {
            const qsizetype open = text.indexOf(u'(', i + 2);
            if (open > 0) {
                const QString close = QString(u')') + text.mid(i + 2, open - i - 2) + u'"';
                const qsizetype end = text.indexOf(close, open);
                const qsizetype stop = end < 0 ? n : end + close.size();
                out += u"\"\""_qs;
                for (; i < stop; ++i)
                    if (text[i] == u'\n') out += u'\n';
                continue;
            }
        }
        if (c == u'"' || (c == u'\'' && !(i > 0 && text[i - 1].isLetterOrNumber() && text[i - 1].isDigit()))) {
            const QChar quote = c;
            out += quote;
            ++i;
            while (i < n && text[i] != quote && text[i] != u'\n') i += text[i] == u'\\' ? 2 : 1;
            out += quote;
            ++i;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

QStringList tokens(const QString& code)
{
    static const QRegularExpression token(u"\"[^\"]*\"|'[^']*'|[A-Za-z_]\\w*|::|\\d[\\w.']*|\\S"_qs);
    QStringList out;
    for (auto m = token.globalMatch(code); m.hasNext();) out << m.next().captured();
    return out;
}

// The index after the block that opens at tokens[open] ("{").
qsizetype blockEnd(const QStringList& t, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i < t.size(); ++i) {
        if (t[i] == u"{") ++depth;
        else if (t[i] == u"}" && --depth == 0) return i + 1;
    }
    return t.size();
}

// Whether tokens [from, to) hold only declarations ahead (class X;) and namespaces of them.
bool onlyDeclaredAhead(const QStringList& t, qsizetype from, qsizetype to)
{
    for (qsizetype i = from; i < to;) {
        if ((t[i] == u"class" || t[i] == u"struct") && i + 2 < to && t[i + 2] == u";") {
            i += 3;
        } else if (t[i] == u"namespace") {
            qsizetype open = i;
            while (open < to && t[open] != u"{") ++open;
            const qsizetype end = blockEnd(t, open);
            if (!onlyDeclaredAhead(t, open + 1, end - 1)) return false;
            i = end;
        } else {
            return false;
        }
    }
    return true;
}

// The index after the statement starting at tokens[i] at namespace scope: its ';', the
// '}' closing its body, or the ')' of a macro that takes no ';'.
qsizetype statementEnd(const QStringList& t, qsizetype i)
{
    static const QRegularExpression macro(u"^[A-Z][A-Z0-9_]+$"_qs);
    int depth = 0;
    bool typeOrValue = false;
    for (qsizetype j = i; j < t.size(); ++j) {
        const QString& x = t[j];
        if (depth == 0 && (x == u"class" || x == u"struct" || x == u"enum" || x == u"union" || x == u"="))
            typeOrValue = true;
        if (x == u"(" || x == u"[" || x == u"{") {
            ++depth;
        } else if (x == u")" || x == u"]" || x == u"}") {
            if (--depth > 0) continue;
            if (x == u"}" && !typeOrValue) return j + 1;
            if (x == u")" && j > i && t[i + 1] == u"(" && macro.match(t[i]).hasMatch())
                return j + 1 < t.size() && t[j + 1] == u";" ? j + 2 : j + 1;
        } else if (x == u";" && depth == 0) {
            return j + 1;
        }
    }
    return t.size();
}

// Walks the namespace scope in tokens [from, to) whose name is `ns` (empty: global).
void walk(const QString& rel, const QString& folderNs, const QStringList& t, qsizetype from, qsizetype to,
          const QString& ns, QStringList& out)
{
    for (qsizetype i = from; i < to;) {
        bool isInline = t[i] == u"inline" && i + 1 < to && t[i + 1] == u"namespace";
        const qsizetype kw = isInline ? i + 1 : i;
        if (t[kw] == u"namespace") {
            QString name;
            qsizetype j = kw + 1;
            while (j < to && t[j] != u"{" && t[j] != u"=" && t[j] != u";") name += t[j++];
            if (j >= to || t[j] != u"{") { // an alias: namespace x = y;
                if (ns.isEmpty())
                    out << rel + u": namespace alias at global scope"_qs;
                while (j < to && t[j] != u";") ++j;
                i = j + 1;
                continue;
            }
            const qsizetype end = blockEnd(t, j);
            if (name.isEmpty()) {
                // anonymous: allowed inside the folder's namespace only (its contents are
                // not reported once more)
                if (ns.isEmpty()) out << rel + u": anonymous namespace at global scope"_qs;
                walk(rel, folderNs, t, j + 1, end - 1, ns.isEmpty() ? u"{anonymous}"_qs : ns, out);
            } else {
                const QString full = ns.isEmpty() ? name : ns + u"::"_qs + name;
                if (folderNs.isEmpty() || !isBelow(full, folderNs)) {
                    const bool ahead = full.startsWith(u"orv::"_qs) && onlyDeclaredAhead(t, j + 1, end - 1);
                    if (!ahead) out << rel + u": namespace "_qs + full + u" is not below "_qs + (folderNs.isEmpty() ? u"(none)"_qs : folderNs);
                } else {
                    walk(rel, folderNs, t, j + 1, end - 1, full, out);
                }
            }
            i = end;
            continue;
        }
        const qsizetype end = statementEnd(t, i);
        if (ns.isEmpty()) {
            const QString head = t.mid(i, std::min<qsizetype>(end - i, 8)).join(u' ');
            bool allowed = folderNs.isEmpty() && head.startsWith(u"int main ("_qs);
            for (const Allowed& a : globalExceptions())
                allowed = allowed || a.pattern.match(head).hasMatch();
            if (!allowed) out << rel + u": declaration at global scope: "_qs + head;
        }
        i = std::max(end, i + 1);
    }
}

QStringList namespaceViolations(const QString& srcDir)
{
    const QDir src(srcDir);
    QStringList out;
    QDirIterator it(srcDir, {u"*.h"_qs, u"*.cpp"_qs}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = src.relativeFilePath(it.next());
        QFile f(it.filePath());
        if (!f.open(QIODevice::ReadOnly)) {
            out << rel + u": unreadable"_qs;
            continue;
        }
        const QStringList t = tokens(codeOnly(QString::fromUtf8(f.readAll())));
        walk(rel, namespaceOf(rel), t, 0, t.size(), QString(), out);
    }
    return out;
}

TEST(Namespaces, EverySourceFolderIsInItsOwnNamespace)
{
    const QStringList found = namespaceViolations(QStringLiteral(ORV_SOURCE_DIR "/src"));
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

TEST(Namespaces, WrongAndGlobalDeclarationsAreReported)
{
    const orv::test::SourceTree tree;
    ASSERT_TRUE(tree.isValid());
    // Right: the folder's namespace, nested ones, anonymous inside, other folders'
    // classes declared ahead, a Qt class ahead, the metatype macro; namespaces and
    // braces inside comments, strings and macros do not count.
    tree.write(u"jobs/lavoro.h"_qs, "#pragma once\n#include <QString>\n#define WRAP(x) namespace x {\n"
                                    "class QPainter;\nnamespace orv::platform::ui {\nclass Form;\n}\n"
                                    "namespace orv::jobs {\n// namespace bad {\nclass TfrmLavoro {\n"
                                    "    const char* s = \"namespace wrong { }\";\n    char c = '{';\n};\n"
                                    "namespace detail {\nint f();\n}\nnamespace {\nint g() { return 1'000; }\n}\n"
                                    "} // namespace orv::jobs\nnamespace orv::jobs::print {\nvoid p();\n}\n"
                                    "Q_DECLARE_METATYPE(orv::jobs::TfrmLavoro*)\n");
    tree.write(u"platform/ui/form.h"_qs, "namespace orv::platform::ui {\nclass Form {};\n}\n");
    tree.write(u"platform/core/text.cpp"_qs, "namespace orv::platform {\nnamespace rtti {\nclass Object;\n}\n}\n");
    tree.write(u"main.cpp"_qs, "#include \"shell/startup.h\"\nint main(int argc, char** argv)\n{\n    return 0;\n}\n");
    // Wrong: another folder's namespace with a definition, the platform's core in the
    // toolkit's namespace, global declarations, a global anonymous namespace.
    tree.write(u"kit/provinces.h"_qs, "namespace orv::customers {\ninline int codes() { return 1; }\n}\n");
    tree.write(u"platform/ui/canvas.h"_qs, "namespace orv::platform {\nstruct Canvas {};\n}\n");
    tree.write(u"report/memo.cpp"_qs, "#include <QString>\nvoid TfrxMemoView::Draw()\n{\n}\n"
                                      "namespace {\nint h();\n}\nnamespace orv::report {\n}\n");
    tree.write(u"archive/helpers.h"_qs, "QString Sinistra(const QString& s, int n);\n");

    QStringList found = namespaceViolations(tree.path());
    found.sort();
    EXPECT_EQ(found.join(u'\n').toStdString(), QStringList({
                         u"archive/helpers.h: declaration at global scope: QString Sinistra ( const QString & s ,"_qs,
                         u"kit/provinces.h: namespace orv::customers is not below orv::kit"_qs,
                         u"platform/ui/canvas.h: namespace orv::platform is not below orv::platform::ui"_qs,
                         u"report/memo.cpp: anonymous namespace at global scope"_qs,
                         u"report/memo.cpp: declaration at global scope: void TfrxMemoView :: Draw ( ) { }"_qs,
                     }).join(u'\n').toStdString());
}

} // namespace
