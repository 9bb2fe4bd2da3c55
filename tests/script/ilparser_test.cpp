#include <gtest/gtest.h>

#include "script/core/script.h"
#include "script/front/ilparser.h"

namespace {

struct Parsed {
    bool ok;
    QString il;
    QString msg;
    QString pos;
};

Parsed parse(const QString& source)
{
    TfsScript script;
    TfsILParser parser(&script);
    parser.SelectLanguage(QStringLiteral("VoriroVoreva"));
    const bool ok = parser.MakeILScript(source);
    return {ok, QString::fromUtf8(parser.ILScript()->SaveToBytes()), script.ErrorMsg(), script.ErrorPos()};
}

} // namespace

TEST(ILParser, Smoke)
{
    Parsed p = parse(QStringLiteral("begin x := a + 1; end."));
    EXPECT_TRUE(p.ok) << p.msg.toStdString() << p.pos.toStdString();
    std::cout << p.il.toStdString() << "\n";
    p = parse(QStringLiteral("function fr3f1: Variant; begin Result := <Customer.Name> end; begin end."));
    std::cout << p.il.toStdString() << "\n";
}
