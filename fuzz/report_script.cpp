// Reads arbitrary bytes as a report template whose parent template is the input itself,
// then gives its script the layout's objects and compiles it, and compiles the bracketed
// texts of its memos.
#include "report/base/utils.h"
#include "report/model/report.h"
#include "report/model/views.h"
#include "report/script/expressioncache.h"
#include "script/core/script.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

using namespace orv::report;
using namespace orv::script;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    frxSetErrorBoxHandler([](const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TfrxReport report;
    report.OnLoadTemplate = [&bytes](TfrxReport* r, const QString&) {
        QBuffer parent;
        parent.setData(bytes);
        parent.open(QIODevice::ReadOnly);
        r->LoadFromStream(parent);
    };
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    report.LoadFromStream(in);
    report.PrepareScript();

    // Expressions are compiled, never run: a generated function may call script routines
    // that loop for ever.
    TfsScript expressions;
    expressions.SetParent(report.Script());
    int n = 0;
    for (TfrxComponent* c : report.AllObjects()) {
        auto* memo = dynamic_cast<TfrxCustomMemoView*>(c);
        if (!memo)
            continue;
        const QString text = memo->Text();
        for (qsizetype open = text.indexOf(u'['); open >= 0 && n < 16; open = text.indexOf(u'[', open + 1)) {
            const qsizetype close = text.indexOf(u']', open);
            if (close < 0)
                break;
            expressions.SetLines(fsTextToLines(
                TfrxExpressionCache::functionSource(report.ScriptLanguage(), n++, text.mid(open + 1, close - open - 1))));
            orv::report::compileScript(expressions);
        }
    }
    return 0;
}
