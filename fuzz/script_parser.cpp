// Runs the VoriroVoreva grammar over arbitrary source text. Units named in uses clauses
// get the input itself as their text. Checks that a failed parse always says what and
// where; that a parsed program reads back and writes out to the same bytes; and that
// deciding grammar items from the next character gives what running them in full gives.
#include <cstdint>
#include <cstdlib>

#include "platform/core/exceptions.h"
#include "script/core/script.h"
#include "script/front/ilparser.h"
#include "script/front/messages.h"

using namespace orv::script;

namespace {

struct Result {
    bool ok = false;
    bool raised = false;
    QByteArray il;
    QString msg, pos;
};

Result parse(const QString& source, bool lookahead)
{
    TfsILParser::SetLookahead(lookahead);
    Result r;
    TfsScript script;
    script.SetOnGetUnit([&](TfsScript&, const QString&, QString& text) { text = source; });
    TfsILParser parser(&script);
    parser.SelectLanguage(QStringLiteral("VoriroVoreva"));
    try {
        r.ok = parser.MakeILScript(source);
    } catch (const orv::platform::Exception&) {
        r.raised = true; // an unknown language on a "#language" line
    }
    r.il = parser.ILScript()->SaveToBytes();
    r.msg = script.ErrorMsg();
    r.pos = script.ErrorPos();
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString source = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const Result fast = parse(source, true);
    if (fast.raised)
        return 0;
    if (fast.ok) {
        TfsXMLDocument back;
        back.LoadFromBytes(fast.il);
        if (back.SaveToBytes() != fast.il)
            std::abort();
    } else if (fast.msg.isEmpty() || fast.pos.isEmpty()) {
        std::abort();
    }
    const Result full = parse(source, false);
    const QString deep = orv::script::nestingTooDeepText();
    if (fast.msg != deep && full.msg != deep
        && (fast.ok != full.ok || fast.il != full.il || fast.msg != full.msg || fast.pos != full.pos))
        std::abort();
    return 0;
}
