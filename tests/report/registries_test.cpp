// Object, export-filter and property-editor registries.
#include "report/base/errors.h"
#include "report/base/registries.h"
#include "report/model/report.h"
#include "report/model/startup.h"

#include <gtest/gtest.h>

using namespace orv::report;

TEST(RegistriesTest, Objects)
{
    TfrxObjectCollection r;
    r.RegisterObject1(&TfrxMemoView::staticClassInfo(), nullptr, QString(), QString(), 0, 2);
    r.RegisterObject1(&TfrxMemoView::staticClassInfo(), nullptr, QString(), QString(), 0, 3);
    EXPECT_EQ(r.Count(), 1);
    r.RegisterObject1(&TfrxMemoView::staticClassInfo(), nullptr, QString(), QString(), 1, 3);
    EXPECT_EQ(r.Count(), 2);
    r.RegisterObject(&TfrxUserDataSet::staticClassInfo(), nullptr);
    r.RegisterCategory(QStringLiteral("Altri"), nullptr, QStringLiteral("Oggetti"), 4);
    EXPECT_TRUE(r.GetObjectItem(0).Category.contains(ctReport));
    EXPECT_TRUE(r.GetObjectItem(2).Category.contains(ctData));
    EXPECT_EQ(r.GetObjectItem(3).ClassRef, nullptr);
    EXPECT_EQ(r.GetObjectItem(3).ButtonImageIndex, 4);
    r.Unregister(&TfrxMemoView::staticClassInfo());
    EXPECT_EQ(r.Count(), 2);
}

TEST(RegistriesTest, ExportFiltersRegisterThemselves)
{
    class TTestFilter : public TfrxCustomExportFilter {
    public:
        using TfrxCustomExportFilter::TfrxCustomExportFilter;
        void ExportObject(TfrxComponent*) override {}
    };
    TfrxExportFilterCollection& r = frxExportFilterRegistry();
    const int before = r.Count();
    std::vector<std::unique_ptr<TTestFilter>> filters;
    for (int i = 0; i < 5; ++i)
        filters.push_back(std::make_unique<TTestFilter>(nullptr));
    EXPECT_EQ(r.Count(), before + 5);
    EXPECT_EQ(r.GetExportFilterItem(before + 2), filters[2].get()) << "in order of creation";
    r.Register(filters[0].get());
    EXPECT_EQ(r.Count(), before + 5);
    filters[1].reset();
    EXPECT_EQ(r.Count(), before + 4);
    TTestFilter hidden(TfrxCustomExportFilter::NoRegister{});
    EXPECT_EQ(r.Count(), before + 4);
    EXPECT_EQ(hidden.ShowModal(), 1);
    EXPECT_TRUE(hidden.Start());
}

TEST(RegistriesTest, PropertyEditorLookup)
{
    frxInitializeReportEngine();
    const TfrxPropertyEditorCollection& r = frxPropertyEditorRegistry();
    TfrxMemoView memo(nullptr);
    auto editorOf = [&](const QString& type, const orv::platform::rtti::Object* obj, const QString& prop) {
        const int i = r.GetPropertyEditor(type, obj, prop);
        return i < 0 ? nullptr : r.GetPropertyEditorItem(i).EditorClass;
    };
    EXPECT_EQ(editorOf(QStringLiteral("TAlphaColor"), &memo, QStringLiteral("Color")),
              &frxMakePropertyEditor<TfrxColorProperty>);
    EXPECT_EQ(editorOf(QStringLiteral("String"), memo.Font(), QStringLiteral("Name")),
              &frxMakePropertyEditor<TfrxFontNameProperty>);
    EXPECT_EQ(editorOf(QStringLiteral("TComponentName"), &memo, QStringLiteral("Name")),
              &frxMakePropertyEditor<TfrxNameProperty>);
    EXPECT_EQ(r.GetPropertyEditor(QStringLiteral("TfrxNotifyEvent"), &memo, QStringLiteral("OnBeforePrint")), -1);
    EXPECT_EQ(r.GetPropertyEditor(QStringLiteral("Double"), &memo, QStringLiteral("Left")), -1);
}

namespace {

class TWindow : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TWindow)
public:
    int ModalResult() const { return m_result; }
    void SetModalResult(int v) { m_result = v; }
    TAlphaColor Color() const { return m_color; }
    void SetColor(TAlphaColor v) { m_color = v; }

private:
    int m_result = 2;
    TAlphaColor m_color = claRed;
};

} // namespace

ORV_RTTI_DEFINE(TWindow, orv::platform::Persistent)
{
    c.prop("ModalResult", &TWindow::ModalResult, &TWindow::SetModalResult).type(QStringLiteral("TModalResult"));
    c.prop("Color", &TWindow::Color, &TWindow::SetColor).type(QStringLiteral("TAlphaColor"));
}

TEST(RegistriesTest, PropertyEditors)
{
    TWindow w;
    const orv::platform::rtti::ClassInfo& info = w.classInfo();

    TfrxModalResultProperty m;
    m.AddTarget(&w, info.findProperty(QStringLiteral("ModalResult")));
    EXPECT_EQ(m.GetValue(), QStringLiteral("mrCancel"));
    w.SetModalResult(20);
    EXPECT_EQ(m.GetValue(), QStringLiteral("20"));
    m.SetValue(QStringLiteral("MRYES"));
    EXPECT_EQ(w.ModalResult(), 6);
    m.SetValue(QString());
    EXPECT_EQ(w.ModalResult(), 0);
    w.SetModalResult(14);
    EXPECT_TRUE(m.Edit());
    EXPECT_EQ(w.ModalResult(), 0) << "after the last value comes the first";
    EXPECT_THROW(m.SetValue(QStringLiteral("presto")), orv::report::ConvertError);

    TfrxColorProperty c;
    c.AddTarget(&w, info.findProperty(QStringLiteral("Color")));
    EXPECT_EQ(c.GetValue(), QStringLiteral("Red"));
    c.SetValue(QStringLiteral("claLavender"));
    EXPECT_EQ(w.Color(), 0xFFE6E6FAu);
    c.SetValue(QStringLiteral("#80123456"));
    EXPECT_EQ(w.Color(), 0x80123456u);
    EXPECT_EQ(c.GetValue(), QStringLiteral("#80123456"));

    TfrxFontNameProperty f;
    f.GetValues();
    EXPECT_FALSE(f.Values().isEmpty()) << "the installed font families";
}
