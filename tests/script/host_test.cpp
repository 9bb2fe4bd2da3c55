// Host classes in scripts: published properties, methods, indexed and default properties,
// constructors through the class factory, components, events, and objects as handles.
#include "engine.h"

#include "platform/core/reflection.h"
#include "script/core/items.h"
#include "script/core/objects.h"
#include "script/core/typerules.h"

using namespace orv::script;

using namespace scripttest;

namespace {

enum class TestKind { tkNone, tkBox, tkCircle };
ORV_RTTI_ENUM(TestKind, "tkNone, tkBox, tkCircle")

class TTestShape : public orv::platform::Component {
    ORV_RTTI_CLASS(TTestShape)
public:
    explicit TTestShape(orv::platform::Component* AOwner = nullptr) : orv::platform::Component(AOwner) { ++alive; }
    ~TTestShape() override { --alive; }

    int Width() const { return m_width; }
    void SetWidth(int v) { m_width = v; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool v) { m_visible = v; }
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& v) { m_caption = v; }
    double Ratio() const { return m_ratio; }
    void SetRatio(double v) { m_ratio = v; }
    TestKind Kind() const { return m_kind; }
    void SetKind(TestKind v) { m_kind = v; }
    TTestShape* Child() const { return m_child; }
    void SetChild(TTestShape* v) { m_child = v; }

    static inline int alive = 0;

private:
    int m_width = 0;
    bool m_visible = false;
    QString m_caption;
    double m_ratio = 0;
    TestKind m_kind = TestKind::tkNone;
    TTestShape* m_child = nullptr;
};

ORV_RTTI_DEFINE(TTestShape, orv::platform::Component)
{
    c.prop("Width", &TTestShape::Width, &TTestShape::SetWidth);
    c.prop("Visible", &TTestShape::Visible, &TTestShape::SetVisible);
    c.prop("Caption", &TTestShape::Caption, &TTestShape::SetCaption);
    c.prop("Ratio", &TTestShape::Ratio, &TTestShape::SetRatio);
    c.prop("Kind", &TTestShape::Kind, &TTestShape::SetKind);
    c.prop("Child", &TTestShape::Child, &TTestShape::SetChild);
}

class TTestBox : public TTestShape {
    ORV_RTTI_CLASS(TTestBox)
public:
    using TTestShape::TTestShape;
};
ORV_RTTI_DEFINE(TTestBox, TTestShape) {}

// A form, as the scripts' forms bridge would register it.
class TTestFormBase : public orv::platform::Component {
    ORV_RTTI_CLASS(TTestFormBase)
public:
    using orv::platform::Component::Component;
};
ORV_RTTI_DEFINE_NAMED(TTestFormBase, orv::platform::Component, "TForm") {}

class TTestForm : public TTestFormBase {
    ORV_RTTI_CLASS(TTestForm)
public:
    using TTestFormBase::TTestFormBase;
};
ORV_RTTI_DEFINE(TTestForm, TTestFormBase) {}

// The adapter that binds a script procedure to OnClick: the event property holds the
// adapter's address, and firing the event calls the handler.
class TTestClickEvent : public TfsCustomEvent {
public:
    using TfsCustomEvent::TfsCustomEvent;
    QVariant GetMethod() override { return QVariant::fromValue(static_cast<void*>(this)); }
    void Fire(int x)
    {
        TfsVarRec rec;
        rec.VInteger = x;
        CallHandler({rec});
    }
};

TfsCustomEvent* makeClickEvent(TfsObject instance, TfsProcVariable* handler)
{
    return new TTestClickEvent(instance, handler);
}

struct Host {
    TTestShape shape;
    TTestBox box;
    QStringList calls; // member names the callbacks received

    void registerWith(TfsScript& s)
    {
        s.AddEnum(QStringLiteral("TestKind"), QStringLiteral("tkNone, tkBox, tkCircle"));
        TfsClassVariable* shapeClass = s.AddClass(&TTestShape::staticClassInfo(), QStringLiteral("TComponent"));
        s.AddClass(&TTestBox::staticClassInfo(), QStringLiteral("TTestShape"));
        shapeClass->AddMethod(QStringLiteral("function Area(Scale: Integer): Integer"),
                              TfsCallMethodNewEvent([this](TfsObject instance, TfsClass cls, const QString& name,
                                                           TfsMethodHelper* caller) {
                                  calls << name + u'/' + cls->name();
                                  auto* shape = static_cast<TTestShape*>(instance);
                                  return Value(shape->Width() * shape->Width() * caller->GetVParam(0).toInt());
                              }));
        shapeClass->AddConstructor(QStringLiteral("constructor Create(AWidth: Integer)"),
                                   TfsCallMethodNewEvent([this](TfsObject instance, TfsClass, const QString& name,
                                                                TfsMethodHelper* caller) {
                                       calls << name;
                                       static_cast<TTestShape*>(instance)->SetWidth(caller->GetVParam(0).toInt());
                                       return orv::script::objectValue(instance);
                                   }));
        shapeClass->AddIndexProperty(QStringLiteral("Cell"), QStringLiteral("Integer, Integer"), QStringLiteral("String"),
                                     TfsCallMethodEvent([this](TfsObject, TfsClass, const QString& name, Value& params) {
                                         QStringList args;
                                         for (const Value& v : params.elements())
                                             args << v.toString();
                                         calls << name + u'(' + args.join(u',') + u')';
                                         return Value(QStringLiteral("cell"));
                                     }));
        shapeClass->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("Integer"),
                                       TfsCallMethodNewEvent([](TfsObject, TfsClass, const QString&, TfsMethodHelper* c) {
                                           return Value(c->GetVParam(0).toInt() * 10);
                                       }),
                                       true);
        shapeClass->AddProperty(QStringLiteral("Perimeter"), QStringLiteral("Integer"),
                                TfsGetValueEvent([](TfsObject instance, TfsClass, const QString&) {
                                    return Value(4 * static_cast<TTestShape*>(instance)->Width());
                                }));
        shapeClass->AddEvent(QStringLiteral("OnClick"), &makeClickEvent);
        s.AddObject(QStringLiteral("Shape"), &shape);
        s.AddObject(QStringLiteral("Box"), &box);
        s.AddMethod(QStringLiteral("procedure Swap(var a, b: Variant)"),
                    TfsCallMethodEvent([](TfsObject, TfsClass, const QString&, Value& params) {
                        const Value a = params.element({0});
                        params.elementRef({0}) = params.element({1});
                        params.elementRef({1}) = a;
                        return Value();
                    }));
    }
};

} // namespace

TEST(HostClasses, PublishedPropertiesAreReadAndWritten)
{
    Host host;
    host.shape.SetCaption(QStringLiteral("tondo"));
    host.shape.SetChild(&host.box);
    host.box.SetWidth(3);
    const struct {
        const char* source;
        const char* result;
    } cases[] = {
        {"var r: Variant; begin Shape.Width := 5; r := Shape.Width * 2 end.", "10"},
        {"var r: Variant; begin r := Shape.Caption + '!' end.", "tondo!"},
        {"var r: Variant; begin Shape.Visible := True; r := Shape.Visible end.", "True"},
        {"var r: Variant; begin Shape.Ratio := 1.25; r := Shape.Ratio end.", "1,25"},
        {"var r: Variant; begin Shape.Kind := tkCircle; r := Shape.Kind end.", "2"},
        {"var r: Variant; begin r := Shape.Child.Width end.", "3"},
        {"var r: Variant; begin Shape.Width := 4; r := Shape.Area(2) end.", "32"},
        {"var r: Variant; begin Shape.Width := 4; r := Shape.Perimeter end.", "16"},
        {"var r: Variant; begin r := Shape[7] end.", "70"},
        {"var r: Variant; begin r := Shape.Cell[1, 2] end.", "cell"},
        {"var r: Variant; begin Shape.Cell[3, 4] := 'x'; r := 0 end.", "0"},
        {"var r, a, b: Variant; begin a := 1; b := 'due'; Swap(a, b); r := a + '/' + IntToStr(b) end.", "due/1"},
        {"var r: Variant; begin with Shape do begin Width := 6; r := Width + 1 end end.", "7"},
        {"var r: Variant; begin r := VarType(Shape) end.", "3"},
        {"var r: Variant; begin r := (Box is TTestShape) and (Shape is TTestShape) and not (Shape is TTestBox) end.",
         "True"},
        {"var r: Variant; o: TTestShape; begin r := o is TTestShape end.", "False"},
        // A type cast changes nothing.
        {"var r: Variant; begin r := TTestBox(Shape.Child).Width end.", "3"},
        // A Variant that holds nothing when the program is built resolves its members at
        // their first use.
        {"var r, v: Variant; begin v := Shape.Child; r := v.Width + 1 end.", "4"},
        {"var r, v: Variant; begin v := Box; with v do r := Width * 10 end.", "30"},
    };
    for (const auto& c : cases) {
        host.calls.clear();
        const Outcome o = run(q(c.source), QStringLiteral("r"), [&](TfsScript& s) { host.registerWith(s); });
        EXPECT_TRUE(o.compiled) << c.source << ": " << o.error.toStdString() << " at " << o.pos.toStdString();
        EXPECT_EQ(o.raised, QString()) << c.source;
        EXPECT_EQ(o.result, q(c.result)) << c.source;
    }
    // Callbacks get the member in upper case, with .GET and .SET for indexed properties,
    // and the class under which the member was registered.
    host.calls.clear();
    run(q("var r: Variant; begin r := Box.Area(1); r := Shape.Cell[1, 2]; Shape.Cell[3, 4] := 'x' end."), {},
        [&](TfsScript& s) { host.registerWith(s); });
    EXPECT_EQ(host.calls, QStringList({"AREA/TTestShape", "CELL.GET(1,2)", "CELL.SET(3,4,x)", "AREA/TTestShape",
                                       "CELL.GET(1,2)", "CELL.SET(3,4,x)"}));
}

TEST(HostClasses, ConstructionGoesThroughTheFactory)
{
    Host host;
    const int before = TTestShape::alive;
    // A class named alone is nil and makes nothing.
    Outcome o = run(q("var r: Variant; o: TTestShape; begin o := TTestShape; r := VarType(o) * 100 + o end."), {},
                    [&](TfsScript& s) { host.registerWith(s); });
    EXPECT_EQ(o.raised, QString());
    EXPECT_EQ(TTestShape::alive, before);

    TfsScript script;
    script.AddRTTI();
    host.registerWith(script);
    script.SetLines({QStringLiteral("var o: TTestShape; r: Variant; begin o := TTestShape.Create(7); r := o.Width end.")});
    ASSERT_TRUE(script.Compile()) << script.ErrorMsg().toStdString();
    host.calls.clear();
    script.Execute();
    EXPECT_EQ(script.Variables(QStringLiteral("r")).toInt(), 7);
    EXPECT_EQ(host.calls, QStringList({"CREATE"}));
    EXPECT_EQ(TTestShape::alive, before + 1);
    // A descendant named in the script is what the factory makes.
    const Outcome box = run(q("var o: TTestShape; r: Variant; begin o := TTestBox.Create(2); r := o is TTestBox end."), "r",
                            [&](TfsScript& s) { host.registerWith(s); });
    EXPECT_EQ(box.result, QStringLiteral("True"));
    EXPECT_EQ(TTestShape::alive, before + 3); // one for each way of running
}

TEST(HostClasses, ObjectsAreHandlesThatDieWithTheirObject)
{
    Host host;
    auto* doomed = new TTestShape;
    doomed->SetWidth(9);
    TfsScript script;
    script.AddRTTI();
    host.registerWith(script);
    script.AddObject(QStringLiteral("Doomed"), doomed);
    script.SetLines({QStringLiteral("var o: TTestShape; v: Variant; r: Variant; "
                                    "procedure Keep; begin o := Doomed end; "
                                    "procedure Read; begin r := o.Width end; "
                                    "procedure Bogus; begin v := 12345; o := v; r := o.Width end; "
                                    "begin end.")});
    ASSERT_TRUE(script.Compile()) << script.ErrorMsg().toStdString();
    script.CallFunction(QStringLiteral("Keep"), Value());
    script.CallFunction(QStringLiteral("Read"), Value());
    EXPECT_EQ(script.Variables(QStringLiteral("r")).toInt(), 9);
    const Value handle = script.Variables(QStringLiteral("o"));
    EXPECT_EQ(handle.type(), orv::script::varInteger);
    EXPECT_NE(handle.asInt(), 0);
    delete doomed;
    try {
        script.CallFunction(QStringLiteral("Read"), Value());
        ADD_FAILURE() << "a freed object was read";
    } catch (const orv::platform::Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Invalid object reference"));
    }
    try {
        script.CallFunction(QStringLiteral("Bogus"), Value());
        ADD_FAILURE() << "an integer was read as an object";
    } catch (const orv::platform::Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Invalid object reference"));
    }
    // A new object never answers to the handle of the old one.
    auto* reborn = new TTestShape;
    orv::platform::rtti::Object* found = nullptr;
    EXPECT_FALSE(orv::script::tryValueObject(handle, found));
    EXPECT_NE(orv::script::objectValue(reborn).asInt(), handle.asInt());
    delete reborn;
}

TEST(HostClasses, PathErrors)
{
    Host host;
    const struct {
        const char* source;
        const char* error;
    } cases[] = {
        {"var r: Variant; begin r := Shape.Nope end.", "Undeclared identifier: 'Nope'"},
        // Without brackets an indexed property is a call without its arguments.
        {"var r: Variant; begin r := Shape.Cell end.", "Not enough actual parameters"},
        {"var r: Variant; begin r := Shape.Cell.Text end.", "Index required"},
        {"var r: Variant; o: TTestForm; begin r := o[1] end.", "Unknown type: 'TTestForm'"},
        {"var r: Variant; begin r := Shape.Child.Child[1] end.", ""},
        {"var i: Integer; begin with i do ; end.", "Class type required"},
        {"var r: Variant; begin Shape.Perimeter := 1 end.", "Left side cannot be assigned to"},
        {"var r: Variant; begin Shape[1] := 1 end.", "Left side cannot be assigned to"},
        {"var r: Variant; begin r := Shape.Area end.", "Not enough actual parameters"},
        {"var r: Variant; begin r := Shape.Area('x') end.", "Incompatible types: 'Integer', 'String'"},
        {"var b: TTestBox; begin b := Shape end.", "Incompatible types: 'TTestBox', 'TTestShape'"},
        {"var s: TTestShape; begin s := Box end.", ""},
    };
    for (const auto& c : cases) {
        const Outcome o = run(q(c.source), {}, [&](TfsScript& s) { host.registerWith(s); });
        EXPECT_EQ(o.error, q(c.error)) << c.source;
    }
}

TEST(HostClasses, ComponentsOfAFormAreMembers)
{
    TTestForm form;
    form.SetName(QStringLiteral("Form1"));
    auto* button = new TTestShape(&form);
    button->SetName(QStringLiteral("Button1"));
    button->SetWidth(11);
    const Outcome o = run(q("var r: Variant; begin r := Form1.Button1.Width end."), QStringLiteral("r"),
                          [&](TfsScript& s) {
                              s.AddClass(&TTestShape::staticClassInfo(), QStringLiteral("TComponent"));
                              s.AddForm(&form);
                          });
    EXPECT_EQ(o.error, QString());
    EXPECT_EQ(o.result, QStringLiteral("11"));
}

TEST(HostClasses, EventsBindScriptProcedures)
{
    Host host;
    TfsScript script;
    script.AddRTTI();
    host.registerWith(script);
    script.SetLines({QStringLiteral("var r: Integer; procedure Clicked(x: Integer); begin r := r + x end; "
                                    "procedure Bind; begin Shape.OnClick := @Clicked end; "
                                    "procedure Unbind; begin Shape.OnClick := nil end; "
                                    "procedure Wrong; begin Shape.OnClick := @r end; begin end.")});
    ASSERT_TRUE(script.Compile()) << script.ErrorMsg().toStdString();
    script.CallFunction(QStringLiteral("Bind"), Value());
    // The script of the binding statement owns the adapter it made.
    TfsScript* scope = static_cast<TfsProcVariable*>(script.FindLocal(QStringLiteral("Bind")))->Prog();
    TTestClickEvent* adapter = nullptr;
    for (int i = 0; i < scope->Count(); ++i)
        if (auto* a = dynamic_cast<TTestClickEvent*>(scope->Objects(i)))
            adapter = a;
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(adapter->Instance(), &host.shape);
    EXPECT_EQ(adapter->Handler(), script.FindLocal(QStringLiteral("Clicked")));
    adapter->Fire(5);
    adapter->Fire(2);
    EXPECT_EQ(script.Variables(QStringLiteral("r")).toInt(), 7);
    script.CallFunction(QStringLiteral("Unbind"), Value());
    try {
        script.CallFunction(QStringLiteral("Wrong"), Value());
        ADD_FAILURE() << "a variable became an event handler";
    } catch (const orv::platform::Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Event handler must be a procedure"));
    }
}
