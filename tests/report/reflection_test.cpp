// Published properties, classes by name and component ownership.
#include "report/model/bands.h"
#include "report/model/datasets.h"
#include "report/model/report.h"
#include "report/model/startup.h"
#include "report/model/views.h"

#include <gtest/gtest.h>

using namespace orv::report;
using namespace orv::script;

using orv::platform::rtti::Kind;

enum TTestShade : int { tsLight, tsMedium, tsDark };
ORV_RTTI_ENUM(TTestShade, "tsLight, tsMedium, tsDark")
ORV_RTTI_SET(TTestShades, TTestShade)

namespace {

class TTestBase : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TTestBase)
public:
    int Count() const { return m_count; }
    void SetCount(int v) { m_count = v; }
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& v) { m_caption = v; }
    int ReadOnly() const { return 7; }

private:
    int m_count = 0;
    QString m_caption;
};

class TTestDerived : public TTestBase {
    ORV_RTTI_CLASS(TTestDerived)
public:
    TTestShade Shade() const { return m_shade; }
    void SetShade(TTestShade v) { m_shade = v; }
    TTestShades Shades() const { return m_shades; }
    void SetShades(TTestShades v) { m_shades = v; }
    bool Flag() const { return m_flag; }
    void SetFlag(bool v) { m_flag = v; }
    double Ratio() const { return m_ratio; }
    void SetRatio(double v) { m_ratio = v; }
    quint32 Colour() const { return m_colour; }
    void SetColour(quint32 v) { m_colour = v; }
    QVariant Value() const { return m_value; }
    void SetValue(const QVariant& v) { m_value = v; }
    TfrxFont* Font() const { return m_font.get(); }
    void SetFont(TfrxFont* v) { m_font->Assign(v); }
    bool IsRatioStored() const { return m_ratio != 1; }

private:
    TTestShade m_shade = tsMedium;
    TTestShades m_shades;
    bool m_flag = false;
    double m_ratio = 1;
    quint32 m_colour = 0xFF000000;
    QVariant m_value;
    std::unique_ptr<TfrxFont> m_font = std::make_unique<TfrxFont>();
};

} // namespace

ORV_RTTI_DEFINE(TTestBase, orv::platform::Persistent)
{
    c.prop("Count", &TTestBase::Count, &TTestBase::SetCount).def(0);
    c.prop("Caption", &TTestBase::Caption, &TTestBase::SetCaption);
    c.prop("ReadOnly", &TTestBase::ReadOnly);
}

ORV_RTTI_DEFINE(TTestDerived, TTestBase)
{
    using D = TTestDerived;
    c.prop("Shade", &D::Shade, &D::SetShade).def(tsMedium);
    c.prop("Shades", &D::Shades, &D::SetShades);
    c.prop("Flag", &D::Flag, &D::SetFlag).def(false);
    c.prop("Ratio", &D::Ratio, &D::SetRatio).stored(&D::IsRatioStored);
    c.prop("Colour", &D::Colour, &D::SetColour).type(QStringLiteral("TAlphaColor"));
    c.prop("Value", &D::Value, &D::SetValue);
    c.prop("Font", &D::Font, &D::SetFont);
    c.prop("Count", &D::Count, &D::SetCount).def(5); // published again with its own default
}

namespace {

QStringList names(const orv::platform::rtti::ClassInfo& cls)
{
    QStringList out;
    for (const orv::platform::rtti::PropInfo* p : cls.properties())
        out << p->name;
    return out;
}

} // namespace

TEST(ReflectionTest, PropertiesComeAncestorsFirstInDeclaredOrder)
{
    const auto& cls = TTestDerived::staticClassInfo();
    EXPECT_EQ(names(cls), (QStringList{"Count", "Caption", "ReadOnly", "Shade", "Shades", "Flag", "Ratio", "Colour",
                                       "Value", "Font"}));
    EXPECT_EQ(cls.findProperty(QStringLiteral("COUNT"))->defaultValue, 5) << "the descendant's declaration";
    EXPECT_EQ(TTestBase::staticClassInfo().findProperty(QStringLiteral("count"))->defaultValue, 0);
    EXPECT_EQ(cls.findProperty(QStringLiteral("Missing")), nullptr);
    EXPECT_EQ(cls.name(), QStringLiteral("TTestDerived"));
    EXPECT_EQ(cls.parent()->name(), QStringLiteral("TTestBase"));
    EXPECT_TRUE(cls.inheritsFrom(QStringLiteral("tpersistent")));
    EXPECT_FALSE(TTestBase::staticClassInfo().inheritsFrom(cls));
}

TEST(ReflectionTest, KindsTypeNamesAndValues)
{
    TTestDerived obj;
    const auto& cls = obj.classInfo();
    struct Case {
        const char* name;
        Kind kind;
        const char* typeName;
    } cases[] = {
        {"Count", Kind::Integer, "Integer"},     {"Caption", Kind::String, "String"},
        {"Shade", Kind::Enumeration, "TTestShade"}, {"Shades", Kind::Set, "TTestShades"},
        {"Flag", Kind::Enumeration, "Boolean"},  {"Ratio", Kind::Float, "Double"},
        {"Colour", Kind::Integer, "TAlphaColor"}, {"Value", Kind::Variant, "Variant"},
        {"Font", Kind::Class, "TfrxFont"},
    };
    for (const Case& c : cases) {
        const orv::platform::rtti::PropInfo* p = cls.findProperty(QString::fromLatin1(c.name));
        ASSERT_NE(p, nullptr) << c.name;
        EXPECT_EQ(p->kind, c.kind) << c.name;
        EXPECT_EQ(p->typeName, QString::fromLatin1(c.typeName)) << c.name;
    }
    EXPECT_EQ(cls.findProperty(QStringLiteral("Font"))->propertyClass(), &TfrxFont::staticClassInfo());
    EXPECT_EQ(cls.findProperty(QStringLiteral("Flag"))->enumType->identifiers(), (QStringList{"False", "True"}));

    cls.findProperty(QStringLiteral("Shades"))->write(obj, qint64(5));
    EXPECT_TRUE(obj.Shades().contains(tsLight) && obj.Shades().contains(tsDark) && !obj.Shades().contains(tsMedium));
    EXPECT_EQ(cls.findProperty(QStringLiteral("Colour"))->readOrdinal(obj), -16777216) << "signed 32-bit";
    cls.findProperty(QStringLiteral("Colour"))->write(obj, qint64(-1));
    EXPECT_EQ(obj.Colour(), 0xFFFFFFFFu);
    EXPECT_EQ(cls.findProperty(QStringLiteral("Font"))->readObject(obj), obj.Font());
    EXPECT_EQ(cls.findProperty(QStringLiteral("ReadOnly"))->readOrdinal(obj), 7);
    EXPECT_FALSE(cls.findProperty(QStringLiteral("ReadOnly"))->isWritable());
    EXPECT_THROW(cls.findProperty(QStringLiteral("ReadOnly"))->write(obj, qint64(1)), orv::platform::rtti::Error);

    const orv::platform::rtti::PropInfo* ratio = cls.findProperty(QStringLiteral("Ratio"));
    EXPECT_FALSE(ratio->isStored(obj));
    obj.SetRatio(2);
    EXPECT_TRUE(ratio->isStored(obj));
}

TEST(ReflectionTest, EnumerationsByIdentifier)
{
    const orv::platform::rtti::EnumType& t = orv::platform::rtti::enumType<TTestShade>();
    EXPECT_EQ(t.count(), 3);
    EXPECT_EQ(t.identifier(2), QStringLiteral("tsDark"));
    EXPECT_EQ(t.identifier(3), QString());
    EXPECT_EQ(t.identifier(-1), QString());
    EXPECT_EQ(t.ordinal(QStringLiteral("TSMEDIUM")), 1);
    EXPECT_FALSE(t.ordinal(QStringLiteral("tsNone")).has_value());
}

TEST(ReflectionTest, ClassesAreCreatedByRegisteredName)
{
    frxInitializeReportEngine();
    EXPECT_EQ(orv::platform::rtti::findClass(QStringLiteral("TTestDerived")), nullptr) << "not registered";
    orv::platform::rtti::registerClass(TTestDerived::staticClassInfo());
    const orv::platform::rtti::ClassInfo* cls = orv::platform::rtti::findClass(QStringLiteral("ttestderived"));
    ASSERT_EQ(cls, &TTestDerived::staticClassInfo());
    std::unique_ptr<orv::platform::rtti::Object> made(cls->create());
    EXPECT_NE(dynamic_cast<TTestDerived*>(made.get()), nullptr);
    orv::platform::rtti::unregisterClass(*cls);
    EXPECT_EQ(orv::platform::rtti::findClass(QStringLiteral("TTestDerived")), nullptr);

    TfrxReportPage page(nullptr);
    const orv::platform::rtti::ClassInfo* memoClass = orv::platform::rtti::findClass(QStringLiteral("TfrxMemoView"));
    ASSERT_NE(memoClass, nullptr);
    auto* memo = dynamic_cast<TfrxMemoView*>(memoClass->create(&page));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Parent(), &page) << "the owner handed to the class's constructor";
    EXPECT_THROW(TfrxCustomEngine::staticClassInfo().create(), orv::platform::rtti::Error);
}

TEST(ReflectionTest, MemoPropertiesFollowThePublishedOrder)
{
    const QStringList props = names(TfrxMemoView::staticClassInfo());
    EXPECT_EQ(props.mid(0, 10), (QStringList{"Name", "Tag", "Description", "Align", "Printable", "ShiftMode", "Left",
                                              "Top", "Width", "Height"}));
    EXPECT_EQ(props.last(), QStringLiteral("VAlign"));
    EXPECT_LT(props.indexOf(QStringLiteral("ShowHint")), props.indexOf(QStringLiteral("Color")));
    EXPECT_LT(props.indexOf(QStringLiteral("Font")), props.indexOf(QStringLiteral("HAlign")));
    EXPECT_LT(props.indexOf(QStringLiteral("HAlign")), props.indexOf(QStringLiteral("ParentFont")));
}

TEST(ComponentOwnershipTest, OwnerFreesAndNotifies)
{
    auto owner = std::make_unique<orv::platform::Component>();
    auto* a = new orv::platform::Component(owner.get());
    auto* b = new orv::platform::Component(owner.get());
    a->SetName(QStringLiteral("Alfa"));
    EXPECT_EQ(owner->FindComponent(QStringLiteral("ALFA")), a);
    EXPECT_THROW(b->SetName(QStringLiteral("alfa")), orv::platform::rtti::Error) << "unique among the owner's components";
    EXPECT_THROW(b->SetName(QStringLiteral("1abc")), orv::platform::rtti::Error) << "not an identifier";
    EXPECT_EQ(b->Name(), QString());
    delete a;
    EXPECT_EQ(owner->ComponentCount(), 1);
    owner.reset(); // frees b
}

TEST(ComponentOwnershipTest, FreedObjectsLeaveNoReferencesBehind)
{
    TfrxReport report;
    auto* page = new TfrxReportPage(&report);
    auto* band = new TfrxReportTitle(page);
    auto* child = new TfrxChild(page);
    band->SetChild(child);
    auto* memo = new TfrxMemoView(band);
    auto* other = new TfrxMemoView(band);
    memo->SetFlowTo(other);
    auto* ds = new TfrxUserDataSet(&report);
    ds->SetUserName(QStringLiteral("Clienti"));
    memo->SetDataSet(ds);
    report.DataSets()->Add(ds);

    delete child;
    EXPECT_EQ(band->Child(), nullptr);
    delete other;
    EXPECT_EQ(memo->FlowTo(), nullptr);
    delete ds;
    EXPECT_EQ(memo->DataSet(), nullptr);
    EXPECT_EQ(report.DataSets()->Count(), 0);
}
