// Report variables and arrays.
#include "report/base/errors.h"
#include "report/base/variables.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace orv::report;

namespace {

QStringList names(const TfrxVariables& v)
{
    QStringList out;
    for (int i = 0; i < v.Count(); ++i)
        out << v.Items(i)->Name();
    return out;
}

} // namespace

TEST(VariablesTest, NamesIgnoreCase)
{
    TfrxVariables v;
    v.SetVariable(QStringLiteral("Total"), 1);
    v.SetVariable(QStringLiteral("TOTAL"), 2);
    EXPECT_EQ(v.Count(), 1);
    EXPECT_EQ(v.GetVariable(QStringLiteral("total")).toInt(), 2);
    EXPECT_TRUE(v.GetVariable(QStringLiteral("missing")).isNull());
    v.DeleteVariable(QStringLiteral("tOtAl"));
    EXPECT_EQ(v.Count(), 0);
}

TEST(VariablesTest, Categories)
{
    TfrxVariables v;
    v.SetVariable(QStringLiteral("Libera"), 0);
    v.SetVariable(QStringLiteral(" Totals"), QVariant());
    v.SetVariable(QStringLiteral("Netto"), 1);
    v.SetVariable(QStringLiteral(" Dates"), QVariant());
    v.SetVariable(QStringLiteral(" Empty"), QVariant());
    v.AddVariable(QStringLiteral("Totals"), QStringLiteral("Lordo"), 2);
    v.AddVariable(QStringLiteral("Dates"), QStringLiteral("Oggi"), 3);
    v.AddVariable(QStringLiteral("Nowhere"), QStringLiteral("X"), 4);
    v.AddVariable(QStringLiteral("Dates"), QStringLiteral("netto"), 5);
    EXPECT_EQ(names(v), (QStringList{"Libera", " Totals", "Netto", "Lordo", " Dates", "Oggi", " Empty"}));
    EXPECT_EQ(v.GetVariable(QStringLiteral("Netto")).toInt(), 5) << "only the value of a name present anywhere";

    QStringList list;
    v.GetCategoriesList(list);
    EXPECT_EQ(list, (QStringList{"Totals", "Dates", "Empty"}));
    v.GetVariablesList(QStringLiteral("totals"), list);
    EXPECT_EQ(list, (QStringList{"Netto", "Lordo"}));
    v.GetVariablesList(QStringLiteral("Empty"), list);
    EXPECT_TRUE(list.isEmpty());
    v.GetVariablesList(QString(), list);
    EXPECT_EQ(list, QStringList{"Libera"});
    v.SetVariable(QStringLiteral("Nuova"), 6);
    EXPECT_EQ(names(v).last(), QStringLiteral("Nuova"));
    v.DeleteCategory(QStringLiteral("Totals"));
    EXPECT_EQ(names(v), (QStringList{"Libera", " Dates", "Oggi", " Empty", "Nuova"}));
}

TEST(VariablesTest, XmlForm)
{
    TfrxVariables v;
    v.SetVariable(QStringLiteral("Titolo"), QStringLiteral("Riepilogo \"mensile\""));
    v.SetVariable(QStringLiteral("Righe"), 3);
    QBuffer b;
    b.open(QIODevice::ReadWrite);
    v.SaveToStream(b);
    EXPECT_TRUE(b.data().contains("<variables>\r\n  <item Name=\"Titolo\" Value=\"Riepilogo &#34;mensile&#34;\"/>"));
    b.seek(0);
    TfrxVariables back;
    back.SetVariable(QStringLiteral("old"), 1);
    back.LoadFromStream(b);
    EXPECT_EQ(names(back), (QStringList{"Titolo", "Righe"}));
    EXPECT_EQ(back.GetVariable(QStringLiteral("Titolo")).toString(), QStringLiteral("Riepilogo \"mensile\""));
    EXPECT_EQ(back.GetVariable(QStringLiteral("Righe")).toString(), QStringLiteral("3"));

    QBuffer other;
    other.setData("<?xml version=\"1.0\"?><other><item Name=\"a\"/></other>");
    other.open(QIODevice::ReadOnly);
    back.LoadFromStream(other);
    EXPECT_EQ(back.Count(), 0);
}

TEST(VariablesTest, ArrayKeysAreTexts)
{
    TfrxArray a;
    a.SetVariable(5, QStringLiteral("cinque"));
    EXPECT_EQ(a.GetVariable(QStringLiteral("5")).toString(), QStringLiteral("cinque"));
    a.SetVariable(QStringLiteral("5"), QStringLiteral("five"));
    EXPECT_EQ(a.Count(), 1);
    EXPECT_TRUE(a.GetVariable(6).isNull());
}

TEST(VariablesTest, ExpressionsAndSelfReference)
{
    TfrxVariables v;
    v.SetVariable(QStringLiteral("Righe"), 3);
    v.SetVariable(QStringLiteral("Testo"), QStringLiteral("riga 1\r\nriga 2"));
    v.SetVariable(QStringLiteral("Doppio"), QStringLiteral("Righe"));
    v.SetVariable(QStringLiteral("A"), QStringLiteral("B"));
    v.SetVariable(QStringLiteral("B"), QStringLiteral("a"));
    // An expression evaluator that reads names through the same lookup.
    std::function<QVariant(const QString&)> calc = [&](const QString& expr) {
        QVariant value;
        if (!v.LookupValue(expr, calc, value))
            throw std::runtime_error("unknown name");
        return value;
    };
    QVariant value;
    EXPECT_FALSE(v.LookupValue(QStringLiteral("Nessuna"), calc, value));
    ASSERT_TRUE(v.LookupValue(QStringLiteral("Testo"), calc, value));
    EXPECT_EQ(value.toString(), QStringLiteral("riga 1\r\nriga 2")) << "a text with a line break is the value";
    ASSERT_TRUE(v.LookupValue(QStringLiteral("doppio"), calc, value));
    EXPECT_EQ(value.toInt(), 3) << "a text without one is evaluated";
    EXPECT_THROW(v.LookupValue(QStringLiteral("A"), calc, value), orv::report::Error);
    ASSERT_TRUE(v.LookupValue(QStringLiteral("Doppio"), calc, value)) << "the guard is released after an error";
}
