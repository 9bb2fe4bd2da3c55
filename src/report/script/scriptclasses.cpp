#include "report/script/scriptclasses.h"

#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "report/base/variables.h"
#include "report/base/widestrings.h"
#include "report/engine/engine.h"
#include "report/model/bands.h"
#include "report/model/datasets.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/model/views.h"
#include "report/pages/previewpages.h"
#include "script/bridges/classlib.h"
#include "script/core/objects.h"

#include <QBuffer>
#include <QFile>

#include <cmath>

namespace orv::report {
using namespace orv::platform;
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

using orv::script::Value;

} // namespace orv::report

namespace orv::report {

namespace {

orv::platform::rtti::Object* createWideStrings(orv::platform::rtti::Object*) { return new TfrxWideStrings(); }

template <class T>
T* as(TfsObject Instance)
{
    return dynamic_cast<T*>(Instance);
}

template <class T>
bool is(TfsClass ClassType)
{
    return ClassType == &T::staticClassInfo();
}

Value object(const orv::platform::rtti::Object* o) { return orv::script::objectValue(o); }

template <class T>
T* objectParam(TfsMethodHelper* Caller, int Index)
{
    return dynamic_cast<T*>(orv::script::valueObject(Caller->GetVParam(Index)));
}

using orv::script::bridges::Stream;

// The engine reads and writes Qt devices, scripts hand over their own streams: the rest
// of the script's stream is read from a buffer, which then tells how far the reader got.
template <class Load>
void loadFromScriptStream(Stream* stream, Load load)
{
    if (!stream)
        return;
    const qint64 start = stream->Position();
    QByteArray bytes = stream->ReadRest();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    load(buffer);
    stream->SetPosition(start + buffer.pos());
}

template <class Save>
void saveToScriptStream(Stream* stream, Save save)
{
    if (!stream)
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    save(buffer);
    if (stream->Write(bytes.constData(), bytes.size()) != bytes.size())
        throw orv::platform::Exception(QStringLiteral("Stream write error"));
}

QString textParam(TfsMethodHelper* Caller, int Index) { return Caller->GetVParam(Index).toString(); }
int intParam(TfsMethodHelper* Caller, int Index) { return Caller->GetVParam(Index).toInt(); }

// A class of the report engine as scripts see it, with the name of its ancestor there.
struct ScriptClass {
    const char16_t* name;
    const char16_t* ancestor;
    const orv::platform::rtti::ClassInfo* (*info)();
};

template <class T>
const orv::platform::rtti::ClassInfo* infoOf()
{
    return &T::staticClassInfo();
}

// Classes that other parts of the engine may bring: found by name when they are there.
template <const char16_t* Name>
const orv::platform::rtti::ClassInfo* byName()
{
    return orv::platform::rtti::findClass(QString::fromUtf16(Name));
}
constexpr char16_t DialogControl[] = u"TfrxDialogControl";
constexpr char16_t DMPMemoView[] = u"TfrxDMPMemoView";
constexpr char16_t DMPLineView[] = u"TfrxDMPLineView";
constexpr char16_t DMPCommand[] = u"TfrxDMPCommand";
constexpr char16_t DMPPage[] = u"TfrxDMPPage";

} // namespace

const orv::platform::rtti::ClassInfo& wideStringsScriptClass()
{
    static const orv::platform::rtti::ClassInfo info(QStringLiteral("TWideStrings"), &orv::platform::Persistent::staticClassInfo(),
                                           &createWideStrings, nullptr);
    return info;
}

TFunctions::TFunctions(TfsScript* AScript) : TfsRTTIModule(AScript)
{
    TfsScript* s = AScript;
    auto method = [this](TfsObject Instance, TfsClass ClassType, const QString& Name, TfsMethodHelper* Caller) {
        return InvokeMethod(Instance, ClassType, Name, Caller);
    };
    auto get = [this](TfsObject Instance, TfsClass ClassType, const QString& Name) {
        return ReadProperty(Instance, ClassType, Name);
    };
    auto set = [this](TfsObject Instance, TfsClass ClassType, const QString& Name, const Value& v) {
        WriteProperty(Instance, ClassType, Name, v);
    };

    s->AddConst(QStringLiteral("fr01cm"), QStringLiteral("Extended"), Value(3.77953));
    s->AddConst(QStringLiteral("fr1cm"), QStringLiteral("Extended"), Value(37.7953));
    s->AddConst(QStringLiteral("fr01in"), QStringLiteral("Extended"), Value(9.6));
    s->AddConst(QStringLiteral("fr1in"), QStringLiteral("Extended"), Value(96.0));
    s->AddConst(QStringLiteral("fr1CharX"), QStringLiteral("Extended"), Value(9.6));
    s->AddConst(QStringLiteral("fr1CharY"), QStringLiteral("Extended"), Value(17.0));
    s->AddConst(QStringLiteral("clTransparent"), QStringLiteral("Integer"), Value(0));

    struct Enum {
        const char16_t* type;
        const char16_t* names;
        bool set;
    };
    static constexpr Enum enums[] = {
        {u"TfrxStretchMode", u"smDontStretch, smActualHeight, smMaxHeight", false},
        {u"TfrxShiftMode", u"smDontShift, smAlways, smWhenOverlapped", false},
        {u"TfrxDuplexMode", u"dmNone, dmVertical, dmHorizontal, dmSimplex", false},
        {u"TfrxAlign", u"baNone, baLeft, baRight, baCenter, baWidth, baBottom", false},
        {u"TfrxFrameStyle", u"fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble", false},
        {u"TfrxFrameTypes", u"ftLeft, ftRight, ftTop, ftBottom", true},
        {u"TfrxHAlign", u"haLeft, haRight, haCenter, haBlock", false},
        {u"TfrxVAlign", u"vaTop, vaBottom, vaCenter", false},
        {u"TfrxRestrictions", u"rfDontModify, rfDontSize, rfDontMove, rfDontDelete", true},
        {u"TfrxShapeKind", u"skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2",
         false},
        {u"TfrxPreviewButtons",
         u"pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbTree, pbPageSetup, pbRefresh, pbTools, pbEdit, "
         u"pbNavigator, pbExportQuick",
         true},
        {u"TfrxZoomMode", u"zmDefault, zmWholePage, zmPageWidth, zmManyPages", false},
        {u"TfrxPrintPages", u"ppAll, ppOdd, ppEven", false},
        {u"TfrxDMPFontStyles",
         u"fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript, fsxCondensed, fsxWide, fsx12cpi, fsx15cpi",
         true},
        {u"TfrxRangeBegin", u"rbFirst, rbCurrent", false},
        {u"TfrxRangeEnd", u"reLast, reCurrent, reCount", false},
        {u"TfrxFieldType", u"fftNumeric, fftString, fftBoolean", false},
        {u"TfrxFormatKind", u"fkText, fkNumeric, fkDateTime, fkBoolean", false},
    };
    for (const Enum& e : enums) {
        if (e.set)
            s->AddEnumSet(QString::fromUtf16(e.type), QString::fromUtf16(e.names));
        else
            s->AddEnum(QString::fromUtf16(e.type), QString::fromUtf16(e.names));
    }

    auto addClass = [s](const orv::platform::rtti::ClassInfo* info, const QString& ancestor) -> TfsClassVariable* {
        return info ? s->AddClass(info, ancestor) : nullptr;
    };
    const QString persistent = QStringLiteral("TPersistent");
    const QString component = QStringLiteral("TComponent");

    if (s->FindClass(persistent)) {
        if (TfsClassVariable* c = addClass(&wideStringsScriptClass(), persistent)) {
            c->AddConstructor(QStringLiteral("constructor Create"), method);
            for (const char* m : {"function Add(const S: string): Integer",
                                  "function AddObject(const S: string; AObject: TObject): Integer", "procedure Clear",
                                  "procedure Delete(Index: Integer)", "function IndexOf(const S: string): Integer",
                                  "procedure Insert(Index: Integer; const S: string)",
                                  "procedure LoadFromFile(const FileName: string)",
                                  "procedure LoadFromStream(Stream: TStream)",
                                  "procedure SaveToFile(const FileName: string)",
                                  "procedure SaveToStream(Stream: TStream)"})
                c->AddMethod(QString::fromLatin1(m), method);
            c->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"), get);
            c->AddIndexProperty(QStringLiteral("Objects"), QStringLiteral("Integer"), QStringLiteral("TObject"),
                                method);
            c->AddDefaultProperty(QStringLiteral("Strings"), QStringLiteral("Integer"), QStringLiteral("string"),
                                  method);
            c->AddProperty(QStringLiteral("Text"), QStringLiteral("string"), get, set);
        }
    }

    if (TfsClassVariable* c = addClass(infoOf<TfrxDataSet>(), component)) {
        for (const char* m : {"procedure Open", "procedure Close", "procedure First", "procedure Next",
                              "procedure Prior", "function Eof: Boolean", "function FieldsCount: Integer",
                              "function HasField(const fName: String): Boolean",
                              "function IsBlobField(const fName: String): Boolean", "function RecordCount: Integer",
                              "procedure GetFieldList(List: TStrings)"})
            c->AddMethod(QString::fromLatin1(m), method);
        c->AddProperty(QStringLiteral("RecNo"), QStringLiteral("Integer"), get);
        c->AddIndexProperty(QStringLiteral("DisplayText"), QStringLiteral("String"), QStringLiteral("String"), method,
                            true);
        c->AddIndexProperty(QStringLiteral("DisplayWidth"), QStringLiteral("String"), QStringLiteral("Integer"),
                            method, true);
        c->AddIndexProperty(QStringLiteral("FieldType"), QStringLiteral("String"), QStringLiteral("TfrxFieldType"),
                            method, true);
        c->AddIndexProperty(QStringLiteral("Value"), QStringLiteral("String"), QStringLiteral("Variant"), method,
                            true);
    }
    addClass(infoOf<TfrxUserDataSet>(), QStringLiteral("TfrxDataSet"));
    addClass(infoOf<TfrxCustomDBDataSet>(), QStringLiteral("TfrxDataSet"));
    addClass(infoOf<TfrxFont>(), persistent);
    if (TfsClassVariable* c = addClass(infoOf<TfrxComponent>(), component)) {
        for (const char* m : {"procedure Clear", "function FindObject(s: String): TfrxComponent",
                              "procedure LoadFromStream(Stream: TStream)",
                              "procedure SaveToStream(Stream: TStream; SaveChildren: Boolean = True)",
                              "procedure SetBounds(ALeft, ATop, AWidth, AHeight: Double)"})
            c->AddMethod(QString::fromLatin1(m), method);
        c->AddProperty(QStringLiteral("Objects"), QStringLiteral("TList"), get);
        c->AddProperty(QStringLiteral("AllObjects"), QStringLiteral("TList"), get);
        c->AddProperty(QStringLiteral("Parent"), QStringLiteral("TfrxComponent"), get, set);
        c->AddProperty(QStringLiteral("Page"), QStringLiteral("TfrxPage"), get);
        c->AddProperty(QStringLiteral("AbsLeft"), QStringLiteral("Double"), get);
        c->AddProperty(QStringLiteral("AbsTop"), QStringLiteral("Double"), get);
    }
    addClass(infoOf<TfrxReportComponent>(), QStringLiteral("TfrxComponent"));
    addClass(infoOf<TfrxDialogComponent>(), QStringLiteral("TfrxReportComponent"));
    if (TfsClassVariable* c = addClass(byName<DialogControl>(), QStringLiteral("TfrxReportComponent")))
        c->AddMethod(QStringLiteral("procedure SetFocus"), method);
    addClass(infoOf<TfrxFrameLine>(), persistent);
    addClass(infoOf<TfrxFrame>(), persistent);
    if (TfsClassVariable* c = addClass(infoOf<TfrxView>(), QStringLiteral("TfrxReportComponent")))
        c->AddProperty(QStringLiteral("TagStr"), QStringLiteral("String"), get, set);
    addClass(infoOf<TfrxShapeView>(), QStringLiteral("TfrxView"));
    if (TfsClassVariable* c = addClass(infoOf<TfrxStretcheable>(), QStringLiteral("TfrxView")))
        c->AddMethod(QStringLiteral("function CalcHeight: Double"), method);
    addClass(infoOf<TfrxHighlight>(), persistent);
    addClass(infoOf<TfrxFormat>(), persistent);
    if (TfsClassVariable* c = addClass(infoOf<TfrxCustomMemoView>(), QStringLiteral("TfrxStretcheable"))) {
        c->AddMethod(QStringLiteral("function CalcWidth: Double"), method);
        c->AddProperty(QStringLiteral("Text"), QStringLiteral("String"), get, set);
        c->AddProperty(QStringLiteral("Lines"), QStringLiteral("TWideStrings"), get, set);
        c->AddProperty(QStringLiteral("Value"), QStringLiteral("Variant"), get);
    }
    addClass(infoOf<TfrxMemoView>(), QStringLiteral("TfrxCustomMemoView"));
    addClass(infoOf<TfrxSysMemoView>(), QStringLiteral("TfrxCustomMemoView"));
    addClass(byName<DMPMemoView>(), QStringLiteral("TfrxCustomMemoView"));
    addClass(infoOf<TfrxCustomLineView>(), QStringLiteral("TfrxStretcheable"));
    addClass(infoOf<TfrxLineView>(), QStringLiteral("TfrxCustomLineView"));
    addClass(byName<DMPLineView>(), QStringLiteral("TfrxCustomLineView"));
    addClass(byName<DMPCommand>(), QStringLiteral("TfrxView"));
    if (TfsClassVariable* c = addClass(infoOf<TfrxPictureView>(), QStringLiteral("TfrxView")))
        c->AddMethod(QStringLiteral("procedure LoadFromFile(filename: String)"), method);
    addClass(infoOf<TfrxSubreport>(), QStringLiteral("TfrxView"));
    if (TfsClassVariable* c = addClass(infoOf<TfrxBand>(), QStringLiteral("TfrxReportComponent")))
        c->AddProperty(QStringLiteral("Overflow"), QStringLiteral("Boolean"), get);
    addClass(infoOf<TfrxDataBand>(), QStringLiteral("TfrxBand"));
    addClass(infoOf<TfrxHeader>(), QStringLiteral("TfrxBand"));
    addClass(infoOf<TfrxFooter>(), QStringLiteral("TfrxBand"));
    for (const orv::platform::rtti::ClassInfo* info :
         {infoOf<TfrxMasterData>(), infoOf<TfrxDetailData>(), infoOf<TfrxSubdetailData>(), infoOf<TfrxDataBand4>(),
          infoOf<TfrxDataBand5>(), infoOf<TfrxDataBand6>()})
        addClass(info, QStringLiteral("TfrxDataBand"));
    for (const orv::platform::rtti::ClassInfo* info :
         {infoOf<TfrxPageHeader>(), infoOf<TfrxPageFooter>(), infoOf<TfrxColumnHeader>(),
          infoOf<TfrxColumnFooter>(), infoOf<TfrxGroupHeader>(), infoOf<TfrxGroupFooter>(),
          infoOf<TfrxReportTitle>(), infoOf<TfrxReportSummary>(), infoOf<TfrxChild>(), infoOf<TfrxOverlay>()})
        addClass(info, QStringLiteral("TfrxBand"));
    addClass(infoOf<TfrxPage>(), QStringLiteral("TfrxComponent"));
    addClass(infoOf<TfrxReportPage>(), QStringLiteral("TfrxPage"));
    if (TfsClassVariable* c = addClass(infoOf<TfrxDialogPage>(), QStringLiteral("TfrxPage"))) {
        c->AddMethod(QStringLiteral("function ShowModal: Integer"), method);
        c->AddProperty(QStringLiteral("ModalResult"), QStringLiteral("Integer"), get, set);
    }
    addClass(byName<DMPPage>(), QStringLiteral("TfrxReportPage"));
    addClass(infoOf<TfrxDataPage>(), QStringLiteral("TfrxPage"));
    if (TfsClassVariable* c = addClass(infoOf<TfrxEngineOptions>(), persistent))
        c->AddProperty(QStringLiteral("DestroyForms"), QStringLiteral("Boolean"), get, set);
    addClass(infoOf<TfrxPrintOptions>(), persistent);
    addClass(infoOf<TfrxPreviewOptions>(), persistent);
    addClass(infoOf<TfrxReportOptions>(), persistent);
    addClass(infoOf<TfrxVariable>(), QStringLiteral("TCollectionItem"));
    if (TfsClassVariable* c = addClass(infoOf<TfrxVariables>(), QStringLiteral("TCollection"))) {
        c->AddConstructor(QStringLiteral("constructor Create"), method);
        c->AddDefaultProperty(QStringLiteral("Variables"), QStringLiteral("String"), QStringLiteral("Variant"),
                              method);
    }
    addClass(infoOf<TfrxStyleItem>(), QStringLiteral("TCollectionItem"));
    if (TfsClassVariable* c = addClass(infoOf<TfrxStyles>(), QStringLiteral("TCollection"))) {
        c->AddConstructor(QStringLiteral("constructor Create(AReport: TfrxReport)"), method);
        c->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("TfrxStyleItem"),
                              method, true);
        for (const char* m : {"function Add: TfrxStyleItem", "function Find(const Name: String): TfrxStyleItem",
                              "procedure Apply", "procedure GetList(List: TStrings)",
                              "procedure LoadFromFile(const FileName: String)",
                              "procedure LoadFromStream(Stream: TStream)",
                              "procedure SaveToFile(const FileName: String)",
                              "procedure SaveToStream(Stream: TStream)"})
            c->AddMethod(QString::fromLatin1(m), method);
    }
    if (TfsClassVariable* c = addClass(infoOf<TfrxArray>(), QStringLiteral("TCollection"))) {
        c->AddConstructor(QStringLiteral("constructor Create"), method);
        c->AddDefaultProperty(QStringLiteral("Variables"), QStringLiteral("Variant"), QStringLiteral("Variant"),
                              method);
    }
    s->AddObject(QStringLiteral("frxGlobalVariables"), &frxGlobalVariables());
    if (TfsClassVariable* c = addClass(infoOf<TfrxReport>(), QStringLiteral("TfrxComponent"))) {
        for (const char* m : {"function Calc(const Expr: String): Variant",
                              "function GetDataset(const Alias: String): TfrxDataset",
                              "function LoadFromFile(const FileName: String): Boolean",
                              "procedure SaveToFile(const FileName: String)", "procedure ShowReport"})
            c->AddMethod(QString::fromLatin1(m), method);
        c->AddProperty(QStringLiteral("Terminated"), QStringLiteral("Boolean"), get, set);
        c->AddProperty(QStringLiteral("Variables"), QStringLiteral("TfrxVariables"), get);
        c->AddProperty(QStringLiteral("Styles"), QStringLiteral("TfrxStyles"), get);
    }
    if (TfsClassVariable* c = addClass(infoOf<TfrxCustomEngine>(), persistent)) {
        for (const char* m : {"procedure AddAnchor(const Text: String)", "procedure NewPage", "procedure NewColumn",
                              "procedure ShowBand(Band: TfrxBand)", "procedure StopReport",
                              "function FreeSpace: Double", "function GetAnchorPage(const Text: String): Integer"})
            c->AddMethod(QString::fromLatin1(m), method);
    }
    addClass(infoOf<TfrxEngine>(), QStringLiteral("TfrxCustomEngine"));
    if (TfsClassVariable* c = addClass(infoOf<TfrxCustomOutline>(), persistent)) {
        for (const char* m : {"procedure AddItem(const Text: String)", "procedure LevelRoot", "procedure LevelUp"})
            c->AddMethod(QString::fromLatin1(m), method);
    }
    addClass(infoOf<TfrxOutline>(), QStringLiteral("TfrxCustomOutline"));

    struct Global {
        const char* declaration;
        const char* category;
    };
    static constexpr Global globals[] = {
        {"function DayOf(Date: TDateTime): Integer", "ctDate"},
        {"function MonthOf(Date: TDateTime): Integer", "ctDate"},
        {"function YearOf(Date: TDateTime): Integer", "ctDate"},
        {"function IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant", "ctOther"},
        {"function SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", "ctAggregate"},
        {"function AVG(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", "ctAggregate"},
        {"function MIN(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", "ctAggregate"},
        {"function MAX(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", "ctAggregate"},
        {"function COUNT(Band: Variant = 0; Flags: Integer = 0): Variant", "ctAggregate"},
    };
    for (const Global& g : globals)
        s->AddMethod(QString::fromLatin1(g.declaration), method, QString::fromLatin1(g.category));
}

Value TFunctions::InvokeMethod(TfsObject Instance, TfsClass ClassType, const QString& MethodName,
                               TfsMethodHelper* Caller)
{
    const QString& m = MethodName;
    auto p = [Caller](int i) { return Caller->GetVParam(i); };

    if (ClassType == &wideStringsScriptClass()) {
        if (m == u"CREATE")
            return object(new TfrxWideStrings());
        auto* list = as<TfrxWideStrings>(Instance);
        if (!list)
            return Value(0);
        if (m == u"ADD")
            return Value(list->Add(textParam(Caller, 0)));
        if (m == u"ADDOBJECT")
            return Value(list->AddObject(textParam(Caller, 0), orv::script::valueObject(p(1))));
        if (m == u"CLEAR")
            list->Clear();
        else if (m == u"DELETE")
            list->Delete(intParam(Caller, 0));
        else if (m == u"INDEXOF")
            return Value(list->IndexOf(textParam(Caller, 0)));
        else if (m == u"INSERT")
            list->Insert(intParam(Caller, 0), textParam(Caller, 1));
        else if (m == u"LOADFROMFILE")
            list->LoadFromFile(textParam(Caller, 0));
        else if (m == u"SAVETOFILE")
            list->SaveToFile(textParam(Caller, 0));
        else if (m == u"LOADFROMSTREAM")
            loadFromScriptStream(objectParam<Stream>(Caller, 0), [list](QIODevice& d) { list->LoadFromStream(d); });
        else if (m == u"SAVETOSTREAM")
            saveToScriptStream(objectParam<Stream>(Caller, 0), [list](QIODevice& d) { list->SaveToStream(d); });
        else if (m == u"OBJECTS.GET")
            return object(list->GetObject(intParam(Caller, 0)));
        else if (m == u"OBJECTS.SET")
            list->PutObject(intParam(Caller, 0), orv::script::valueObject(p(1)));
        else if (m == u"STRINGS.GET")
            return Value(list->Get(intParam(Caller, 0)));
        else if (m == u"STRINGS.SET")
            list->Put(intParam(Caller, 0), textParam(Caller, 1));
        return Value(0);
    }
    if (is<TfrxDataSet>(ClassType)) {
        auto* ds = as<TfrxDataSet>(Instance);
        if (!ds)
            return Value(0);
        if (m == u"OPEN")
            ds->Open();
        else if (m == u"CLOSE")
            ds->Close();
        else if (m == u"FIRST")
            ds->First();
        else if (m == u"NEXT")
            ds->Next();
        else if (m == u"PRIOR")
            ds->Prior();
        else if (m == u"EOF")
            return Value(ds->Eof());
        else if (m == u"FIELDSCOUNT")
            return Value(ds->FieldsCount());
        else if (m == u"RECORDCOUNT")
            return Value(ds->RecordCount());
        else if (m == u"HASFIELD")
            return Value(ds->HasField(textParam(Caller, 0)));
        else if (m == u"ISBLOBFIELD")
            return Value(ds->IsBlobField(textParam(Caller, 0)));
        else if (m == u"GETFIELDLIST") {
            if (auto* list = objectParam<TfrxWideStrings>(Caller, 0)) {
                orv::report::StringList fields;
                ds->GetFieldList(fields);
                list->Clear();
                for (int i = 0; i < fields.Count(); ++i)
                    list->Add(fields.Get(i));
            }
        } else if (m == u"DISPLAYTEXT.GET")
            return Value(ds->GetDisplayText(textParam(Caller, 0)));
        else if (m == u"DISPLAYWIDTH.GET")
            return Value(ds->GetDisplayWidth(textParam(Caller, 0)));
        else if (m == u"FIELDTYPE.GET")
            return Value(int(ds->GetFieldType(textParam(Caller, 0))));
        else if (m == u"VALUE.GET")
            return toValue(ds->GetValue(textParam(Caller, 0)));
        return Value(0);
    }
    if (is<TfrxComponent>(ClassType)) {
        auto* c = as<TfrxComponent>(Instance);
        if (!c)
            return Value(0);
        if (m == u"CLEAR")
            c->Clear();
        else if (m == u"FINDOBJECT")
            return object(c->FindObject(textParam(Caller, 0)));
        else if (m == u"SETBOUNDS")
            c->SetBounds(p(0).toDouble(), p(1).toDouble(), p(2).toDouble(), p(3).toDouble());
        else if (m == u"LOADFROMSTREAM")
            loadFromScriptStream(objectParam<Stream>(Caller, 0), [c](QIODevice& d) { c->LoadFromStream(d); });
        else if (m == u"SAVETOSTREAM") {
            const bool children = Caller->GetVParam(1).isEmpty() || p(1).toBool();
            saveToScriptStream(objectParam<Stream>(Caller, 0),
                               [c, children](QIODevice& d) { c->SaveToStream(d, children, false, false); });
        }
        return Value(0);
    }
    if (is<TfrxStretcheable>(ClassType)) {
        if (auto* v = as<TfrxStretcheable>(Instance); v && m == u"CALCHEIGHT")
            return Value(v->CalcHeight());
        return Value(0);
    }
    if (is<TfrxCustomMemoView>(ClassType)) {
        if (auto* v = as<TfrxCustomMemoView>(Instance); v && m == u"CALCWIDTH")
            return Value(v->CalcWidth());
        return Value(0);
    }
    if (is<TfrxPictureView>(ClassType)) {
        if (auto* v = as<TfrxPictureView>(Instance); v && m == u"LOADFROMFILE") {
            QFile file(textParam(Caller, 0));
            if (!file.open(QIODevice::ReadOnly))
                throw orv::platform::EFileError(
                    QStringLiteral("Cannot open file \"%1\". %2").arg(file.fileName(), file.errorString()));
            v->Picture()->LoadFromData(file.readAll());
            v->PictureChanged = true;
        }
        return Value(0);
    }
    if (is<TfrxDialogPage>(ClassType)) {
        // Dialog pages are shown through the engine's dialog hook, which sets the result.
        if (auto* page = as<TfrxDialogPage>(Instance); page && m == u"SHOWMODAL") {
            if (TfrxReport* report = page->Report(); report && report->Engine()->OnRunDialog)
                report->Engine()->OnRunDialog(page);
            return Value(page->ModalResult());
        }
        return Value(0);
    }
    if (is<TfrxVariables>(ClassType)) {
        if (m == u"CREATE")
            return object(new TfrxVariables());
        auto* vars = as<TfrxVariables>(Instance);
        if (vars && m == u"VARIABLES.GET")
            return toValue(vars->GetVariable(textParam(Caller, 0)));
        if (vars && m == u"VARIABLES.SET")
            vars->SetVariable(textParam(Caller, 0), toVariant(p(1)));
        return Value(0);
    }
    if (is<TfrxArray>(ClassType)) {
        if (m == u"CREATE")
            return object(new TfrxArray());
        auto* array = as<TfrxArray>(Instance);
        if (array && m == u"VARIABLES.GET")
            return toValue(array->GetVariable(toVariant(p(0))));
        if (array && m == u"VARIABLES.SET")
            array->SetVariable(toVariant(p(0)), toVariant(p(1)));
        return Value(0);
    }
    if (is<TfrxReport>(ClassType)) {
        auto* report = as<TfrxReport>(Instance);
        if (!report)
            return Value(0);
        if (m == u"CALC")
            return report->Calc(textParam(Caller, 0), report->Script(), true);
        if (m == u"GETDATASET") {
            for (int i = 0; i < report->DataSets()->Count(); ++i)
                if (TfrxDataSet* ds = report->DataSets()->Items(i)->DataSet();
                    ds && orv::platform::sameTextAZ(ds->UserName(), textParam(Caller, 0)))
                    return object(ds);
            return object(nullptr);
        }
        if (m == u"LOADFROMFILE")
            return Value(report->LoadFromFile(textParam(Caller, 0), false));
        if (m == u"SAVETOFILE")
            report->SaveToFile(textParam(Caller, 0));
        else if (m == u"SHOWREPORT")
            report->ShowReport(true);
        return Value(0);
    }
    if (is<TfrxCustomEngine>(ClassType)) {
        auto* engine = as<TfrxCustomEngine>(Instance);
        if (!engine)
            return Value(0);
        auto* pages = dynamic_cast<TfrxPreviewPages*>(engine->PreviewPages);
        if (m == u"ADDANCHOR") {
            if (pages)
                pages->AddAnchor(textParam(Caller, 0));
        } else if (m == u"GETANCHORPAGE")
            return Value(pages ? pages->GetAnchorPage(textParam(Caller, 0)) : 0);
        else if (m == u"NEWPAGE")
            engine->NewPage();
        else if (m == u"NEWCOLUMN")
            engine->NewColumn();
        else if (m == u"SHOWBAND") {
            if (auto* band = objectParam<TfrxBand>(Caller, 0))
                engine->ShowBand(band);
        } else if (m == u"STOPREPORT")
            engine->StopReport();
        else if (m == u"FREESPACE")
            return Value(engine->FreeSpace());
        return Value(0);
    }
    if (is<TfrxCustomOutline>(ClassType)) {
        auto* outline = as<TfrxCustomOutline>(Instance);
        if (!outline)
            return Value(0);
        if (m == u"ADDITEM") {
            const TfrxCustomEngine* engine = outline->Engine();
            outline->AddItem(textParam(Caller, 0), engine ? int(std::nearbyint(engine->CurY)) : 0);
        } else if (m == u"LEVELROOT")
            outline->LevelRoot();
        else if (m == u"LEVELUP")
            outline->LevelUp();
        return Value(0);
    }
    if (is<TfrxStyles>(ClassType)) {
        if (m == u"CREATE")
            return object(new TfrxStyles(objectParam<TfrxReport>(Caller, 0)));
        auto* styles = as<TfrxStyles>(Instance);
        if (!styles)
            return Value(0);
        if (m == u"ITEMS.GET") {
            const int i = intParam(Caller, 0);
            return object(i >= 0 && i < styles->Count() ? styles->Items(i) : nullptr);
        }
        if (m == u"ADD")
            return object(styles->Add());
        if (m == u"FIND")
            return object(styles->Find(textParam(Caller, 0)));
        if (m == u"APPLY")
            styles->Apply();
        else if (m == u"GETLIST") {
            if (auto* list = objectParam<TfrxWideStrings>(Caller, 0)) {
                orv::report::StringList names;
                styles->GetList(names);
                list->Clear();
                for (int i = 0; i < names.Count(); ++i)
                    list->Add(names.Get(i));
            }
        } else if (m == u"LOADFROMFILE")
            styles->LoadFromFile(textParam(Caller, 0));
        else if (m == u"LOADFROMSTREAM")
            loadFromScriptStream(objectParam<Stream>(Caller, 0), [styles](QIODevice& d) { styles->LoadFromStream(d); });
        else if (m == u"SAVETOSTREAM")
            saveToScriptStream(objectParam<Stream>(Caller, 0), [styles](QIODevice& d) { styles->SaveToStream(d); });
        else if (m == u"SAVETOFILE")
            styles->SaveToFile(textParam(Caller, 0));
        return Value(0);
    }
    if (m == u"DAYOF" || m == u"MONTHOF" || m == u"YEAROF") {
        int year = 0, month = 0, day = 0;
        orv::platform::decodeDate(p(0).toDouble(), year, month, day);
        return Value(m == u"DAYOF" ? day : m == u"MONTHOF" ? month : year);
    }
    return Value(0);
}

TFunctions::~TFunctions() = default;

orv::script::bridges::List* TFunctions::objectList(const orv::platform::rtti::Object* Component, bool All)
{
    auto* c = dynamic_cast<const TfrxComponent*>(Component);
    auto& list = m_lists[{Component, All}];
    if (!list)
        list = std::make_unique<orv::script::bridges::List>();
    list->Clear();
    if (c)
        for (const TfrxComponent* o : All ? c->AllObjects() : c->Objects())
            list->Add(object(o));
    return list.get();
}

Value TFunctions::ReadProperty(TfsObject Instance, TfsClass ClassType, const QString& PropName)
{
    const QString& n = PropName;
    if (ClassType == &wideStringsScriptClass()) {
        if (auto* list = as<TfrxWideStrings>(Instance)) {
            if (n == u"COUNT")
                return Value(list->Count());
            if (n == u"TEXT")
                return Value(list->Text());
        }
    } else if (is<TfrxDataSet>(ClassType)) {
        if (auto* ds = as<TfrxDataSet>(Instance); ds && n == u"RECNO")
            return Value(ds->RecNo());
    } else if (is<TfrxComponent>(ClassType)) {
        if (auto* c = as<TfrxComponent>(Instance)) {
            if (n == u"OBJECTS" || n == u"ALLOBJECTS")
                return object(objectList(c, n == u"ALLOBJECTS"));
            if (n == u"PARENT")
                return object(c->Parent());
            if (n == u"PAGE")
                return object(c->Page());
            if (n == u"ABSLEFT")
                return Value(c->AbsLeft());
            if (n == u"ABSTOP")
                return Value(c->AbsTop());
        }
    } else if (is<TfrxView>(ClassType)) {
        if (auto* v = as<TfrxView>(Instance); v && n == u"TAGSTR")
            return Value(v->TagStr());
    } else if (is<TfrxCustomMemoView>(ClassType)) {
        if (auto* memo = as<TfrxCustomMemoView>(Instance)) {
            if (n == u"TEXT")
                return Value(memo->Text());
            if (n == u"LINES")
                return object(memo->Memo());
            if (n == u"VALUE")
                return memo->Value;
        }
    } else if (is<TfrxBand>(ClassType)) {
        if (auto* band = as<TfrxBand>(Instance); band && n == u"OVERFLOW")
            return Value(band->Overflow());
    } else if (is<TfrxDialogPage>(ClassType)) {
        if (auto* page = as<TfrxDialogPage>(Instance); page && n == u"MODALRESULT")
            return Value(page->ModalResult());
    } else if (is<TfrxReport>(ClassType)) {
        if (auto* report = as<TfrxReport>(Instance)) {
            if (n == u"TERMINATED")
                return Value(report->Terminated());
            if (n == u"VARIABLES")
                return object(report->Variables());
            if (n == u"STYLES")
                return object(report->Styles());
        }
    } else if (is<TfrxEngineOptions>(ClassType)) {
        if (auto* options = as<TfrxEngineOptions>(Instance); options && n == u"DESTROYFORMS")
            return Value(options->DestroyForms());
    }
    return Value(0);
}

void TFunctions::WriteProperty(TfsObject Instance, TfsClass ClassType, const QString& PropName, const Value& Value)
{
    const QString& n = PropName;
    if (ClassType == &wideStringsScriptClass()) {
        if (auto* list = as<TfrxWideStrings>(Instance); list && n == u"TEXT")
            list->SetText(Value.toString());
    } else if (is<TfrxComponent>(ClassType)) {
        if (auto* c = as<TfrxComponent>(Instance); c && n == u"PARENT")
            c->SetParent(dynamic_cast<TfrxComponent*>(orv::script::valueObject(Value)));
    } else if (is<TfrxView>(ClassType)) {
        if (auto* v = as<TfrxView>(Instance); v && n == u"TAGSTR")
            v->SetTagStr(Value.toString());
    } else if (is<TfrxCustomMemoView>(ClassType)) {
        if (auto* memo = as<TfrxCustomMemoView>(Instance)) {
            if (n == u"TEXT")
                memo->SetText(Value.toString());
            else if (n == u"LINES") {
                if (auto* lines = dynamic_cast<TfrxWideStrings*>(orv::script::valueObject(Value)))
                    memo->Memo()->Assign(lines);
            }
        }
    } else if (is<TfrxDialogPage>(ClassType)) {
        if (auto* page = as<TfrxDialogPage>(Instance); page && n == u"MODALRESULT")
            page->SetModalResult(Value.toInt());
    } else if (is<TfrxReport>(ClassType)) {
        if (auto* report = as<TfrxReport>(Instance); report && n == u"TERMINATED")
            report->SetTerminated(Value.toBool());
    } else if (is<TfrxEngineOptions>(ClassType)) {
        if (auto* options = as<TfrxEngineOptions>(Instance); options && n == u"DESTROYFORMS")
            options->SetDestroyForms(Value.toBool());
    }
}

} // namespace orv::report
