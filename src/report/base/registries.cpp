#include "report/base/registries.h"

#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/model/datasets.h"
#include "report/model/engine.h"

#include <QColor>

#include <fontconfig/fontconfig.h>

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

using namespace orv::report;

// ---------------------------------------------------------------- objects

void TfrxObjectCollection::RegisterObject1(const orv::platform::rtti::ClassInfo* ClassRef, const QImage* ButtonBmp,
                                           const QString& ButtonHint, const QString& CategoryName, int Flags,
                                           int ImageIndex, TfrxObjectCategories Category)
{
    if (ClassRef)
        for (const TfrxObjectItem& item : m_items)
            if (item.ClassRef == ClassRef && item.Flags == Flags)
                return;
    if (ClassRef)
        orv::platform::rtti::registerClass(*ClassRef);
    TfrxObjectItem item;
    item.ClassRef = ClassRef;
    item.ButtonBmp = ButtonBmp;
    item.ButtonImageIndex = ImageIndex;
    item.ButtonHint = ButtonHint;
    item.CategoryName = CategoryName;
    item.Flags = Flags;
    item.Category = Category;
    if (ClassRef && Category.isEmpty()) {
        if (ClassRef->inheritsFrom(TfrxDataSet::staticClassInfo()) ||
            ClassRef->inheritsFrom(TfrxCustomDatabase::staticClassInfo()))
            item.Category = {ctData};
        else if (ClassRef->inheritsFrom(TfrxDialogComponent::staticClassInfo()))
            item.Category = {ctDialog};
        else
            item.Category = {ctReport};
    }
    m_items.push_back(item);
}

void TfrxObjectCollection::RegisterObject(const orv::platform::rtti::ClassInfo* ClassRef, const QImage* ButtonBmp,
                                          const QString& CategoryName)
{
    RegisterObject1(ClassRef, ButtonBmp, QString(), CategoryName, 0, -1, {});
}

void TfrxObjectCollection::RegisterCategory(const QString& CategoryName, const QImage* ButtonBmp,
                                            const QString& ButtonHint, int ImageIndex)
{
    RegisterObject1(nullptr, ButtonBmp, ButtonHint, CategoryName, 0, ImageIndex, {});
}

void TfrxObjectCollection::Unregister(const orv::platform::rtti::ClassInfo* ClassRef)
{
    std::erase_if(m_items, [&](const TfrxObjectItem& item) { return item.ClassRef == ClassRef; });
}

// ---------------------------------------------------------------- export filters

void TfrxExportFilterCollection::Register(TfrxCustomExportFilter* Filter)
{
    if (Filter && !m_filters.contains(Filter))
        m_filters << Filter;
}

void TfrxExportFilterCollection::Unregister(TfrxCustomExportFilter* Filter) { m_filters.removeAll(Filter); }

// ---------------------------------------------------------------- property editors

template <class F>
void TfrxPropertyEditor::forEachWritable(F f)
{
    for (const Target& t : m_targets)
        if (t.Prop->isWritable())
            f(t);
}

QString TfrxPropertyEditor::GetName() const { return m_targets.empty() ? QString() : m_targets.front().Prop->name; }

qint64 TfrxPropertyEditor::ordinalValue() const
{
    return m_targets.empty() ? 0 : m_targets.front().Prop->readOrdinal(*m_targets.front().Obj);
}

void TfrxPropertyEditor::setOrdinalValue(qint64 v)
{
    forEachWritable([&](const Target& t) { t.Prop->write(*t.Obj, QVariant(v)); });
}

QString TfrxPropertyEditor::stringValue() const
{
    return m_targets.empty() ? QString() : m_targets.front().Prop->readString(*m_targets.front().Obj);
}

void TfrxPropertyEditor::setStringValue(const QString& v)
{
    forEachWritable([&](const Target& t) { t.Prop->write(*t.Obj, QVariant(v)); });
}

double TfrxPropertyEditor::floatValue() const
{
    return m_targets.empty() ? 0 : m_targets.front().Prop->readFloat(*m_targets.front().Obj);
}

void TfrxPropertyEditor::setFloatValue(double v)
{
    forEachWritable([&](const Target& t) { t.Prop->write(*t.Obj, QVariant(v)); });
}

void TfrxPropertyEditor::GetValues() { m_values.clear(); }

bool TfrxPropertyEditor::Edit()
{
    GetValues();
    if (GetAttributes().contains(paSortList))
        m_values.sort(Qt::CaseInsensitive);
    if (m_values.isEmpty())
        return false;
    const qsizetype i = m_values.indexOf(GetValue());
    SetValue(i < 0 || i == m_values.size() - 1 ? m_values.first() : m_values[i + 1]);
    return true;
}

namespace {

qint64 parseInteger(const QString& text)
{
    qint64 v = 0;
    if (!orv::platform::tryStrToInt64(text, v))
        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

// The named colours: "Null" and the web colour names, each with its first letter in
// capitals.
const QList<QPair<QString, TAlphaColor>>& colourNames()
{
    static const QList<QPair<QString, TAlphaColor>> names = [] {
        QList<QPair<QString, TAlphaColor>> out{{QStringLiteral("Null"), claNull}};
        for (const QString& n : QColor::colorNames()) {
            if (n == QStringLiteral("transparent"))
                continue;
            QString name = n;
            name[0] = name[0].toUpper();
            out.append({name, TAlphaColor(QColor::fromString(n).rgba())});
        }
        return out;
    }();
    return names;
}

const QStringList& modalResultNames()
{
    static const QStringList names = {
        QStringLiteral("mrNone"),     QStringLiteral("mrOk"),       QStringLiteral("mrCancel"),
        QStringLiteral("mrAbort"),    QStringLiteral("mrRetry"),    QStringLiteral("mrIgnore"),
        QStringLiteral("mrYes"),      QStringLiteral("mrNo"),       QStringLiteral("mrClose"),
        QStringLiteral("mrHelp"),     QStringLiteral("mrTryAgain"), QStringLiteral("mrContinue"),
        QStringLiteral("mrAll"),      QStringLiteral("mrNoToAll"),  QStringLiteral("mrYesToAll"),
    };
    return names;
}

const QList<QPair<QString, int>>& cursorNames()
{
    static const QList<QPair<QString, int>> names = {
        {QStringLiteral("crDefault"), 0},     {QStringLiteral("crNone"), -1},
        {QStringLiteral("crArrow"), -2},      {QStringLiteral("crCross"), -3},
        {QStringLiteral("crIBeam"), -4},      {QStringLiteral("crSizeNESW"), -6},
        {QStringLiteral("crSizeNS"), -7},     {QStringLiteral("crSizeNWSE"), -8},
        {QStringLiteral("crSizeWE"), -9},     {QStringLiteral("crUpArrow"), -10},
        {QStringLiteral("crHourGlass"), -11}, {QStringLiteral("crDrag"), -12},
        {QStringLiteral("crNoDrop"), -13},    {QStringLiteral("crHSplit"), -14},
        {QStringLiteral("crVSplit"), -15},    {QStringLiteral("crMultiDrag"), -16},
        {QStringLiteral("crSQLWait"), -17},   {QStringLiteral("crNo"), -18},
        {QStringLiteral("crAppStart"), -19},  {QStringLiteral("crHelp"), -20},
        {QStringLiteral("crHandPoint"), -21}, {QStringLiteral("crSizeAll"), -22},
    };
    return names;
}

} // namespace

QString TfrxIntegerProperty::GetValue() const { return QString::number(ordinalValue()); }

void TfrxIntegerProperty::SetValue(const QString& Value) { setOrdinalValue(parseInteger(Value)); }

QString TfrxColorProperty::GetValue() const
{
    const auto c = TAlphaColor(ordinalValue());
    for (const auto& [name, value] : colourNames())
        if (value == c)
            return name;
    return QStringLiteral("#") + QStringLiteral("%1").arg(c, 8, 16, QChar(u'0')).toUpper();
}

void TfrxColorProperty::SetValue(const QString& Value)
{
    QString name = orv::platform::trimmed(Value);
    if (name.startsWith(QStringLiteral("cla"), Qt::CaseInsensitive))
        name = name.mid(3);
    for (const auto& [n, value] : colourNames())
        if (orv::platform::sameTextAZ(n, name)) {
            setOrdinalValue(qint32(value));
            return;
        }
    if (name.startsWith(u'#'))
        name = u'$' + name.mid(1);
    setOrdinalValue(qint32(quint32(parseInteger(name))));
}

void TfrxColorProperty::GetValues()
{
    TfrxPropertyEditor::GetValues();
    for (const auto& entry : colourNames())
        m_values << entry.first;
}

void TfrxFontNameProperty::GetValues()
{
    TfrxPropertyEditor::GetValues();
    FcConfig* config = FcInitLoadConfigAndFonts();
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = config ? FcFontList(config, pattern, os) : nullptr;
    QStringList families;
    for (int i = 0; set && i < set->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch)
            families << QString::fromUtf8(reinterpret_cast<const char*>(family));
    }
    if (set)
        FcFontSetDestroy(set);
    FcObjectSetDestroy(os);
    FcPatternDestroy(pattern);
    if (config)
        FcConfigDestroy(config);
    families.removeDuplicates();
    families.sort(Qt::CaseInsensitive);
    m_values = families;
}

QString TfrxModalResultProperty::GetValue() const
{
    const qint64 v = ordinalValue();
    return v >= 0 && v < modalResultNames().size() ? modalResultNames()[qsizetype(v)] : QString::number(v);
}

void TfrxModalResultProperty::SetValue(const QString& Value)
{
    const QString text = Value.isEmpty() ? QStringLiteral("0") : Value;
    for (qsizetype i = 0; i < modalResultNames().size(); ++i)
        if (orv::platform::sameTextAZ(modalResultNames()[i], text)) {
            setOrdinalValue(i);
            return;
        }
    setOrdinalValue(parseInteger(text));
}

void TfrxModalResultProperty::GetValues()
{
    TfrxPropertyEditor::GetValues();
    m_values = modalResultNames();
}

QString TfrxCursorProperty::GetValue() const
{
    const qint64 v = ordinalValue();
    for (const auto& [name, value] : cursorNames())
        if (value == v)
            return name;
    return QString::number(v);
}

void TfrxCursorProperty::SetValue(const QString& Value)
{
    for (const auto& [name, value] : cursorNames())
        if (orv::platform::sameTextAZ(name, Value)) {
            setOrdinalValue(value);
            return;
        }
    setOrdinalValue(parseInteger(Value));
}

void TfrxCursorProperty::GetValues()
{
    TfrxPropertyEditor::GetValues();
    for (const auto& entry : cursorNames())
        m_values << entry.first;
}

namespace {

orv::platform::TDateTime parseDateTime(const QString& text, bool date, bool time)
{
    const QString t = orv::platform::trimmed(text);
    orv::platform::TDateTime d = 0, tm = 0;
    bool ok = false;
    if (date && time) {
        const qsizetype space = t.indexOf(u' ');
        ok = orv::platform::tryStrToDate(space < 0 ? t : t.left(space), d, orv::platform::currentYear()) &&
             (space < 0 || orv::platform::tryStrToTime(t.mid(space + 1), tm));
    } else if (date) {
        ok = orv::platform::tryStrToDate(t, d, orv::platform::currentYear());
    } else {
        ok = orv::platform::tryStrToTime(t, tm);
    }
    if (!ok)
        throw ConvertError(QStringLiteral("'%1' is not a valid date and time").arg(text));
    return d + tm;
}

} // namespace

QString TfrxDateTimeProperty::GetValue() const
{
    const double v = floatValue();
    return v == 0 ? QString() : orv::platform::dateTimeToStr(v);
}

void TfrxDateTimeProperty::SetValue(const QString& Value)
{
    setFloatValue(Value.isEmpty() ? 0 : parseDateTime(Value, true, true));
}

QString TfrxDateProperty::GetValue() const
{
    const double v = floatValue();
    return v == 0 ? QString() : orv::platform::dateToStr(v);
}

void TfrxDateProperty::SetValue(const QString& Value)
{
    setFloatValue(Value.isEmpty() ? 0 : parseDateTime(Value, true, false));
}

QString TfrxTimeProperty::GetValue() const
{
    const double v = floatValue();
    return v == 0 ? QString() : orv::platform::timeToStr(v);
}

void TfrxTimeProperty::SetValue(const QString& Value)
{
    setFloatValue(Value.isEmpty() ? 0 : parseDateTime(Value, false, true));
}

void TfrxPropertyEditorCollection::Register(const QString& PropertyType, const orv::platform::rtti::ClassInfo* ComponentClass,
                                            const QString& PropertyName, TfrxPropertyEditorClass EditorClass)
{
    m_items.push_back({PropertyType, ComponentClass, PropertyName, EditorClass});
}

void TfrxPropertyEditorCollection::RegisterEventEditor(TfrxPropertyEditorClass EditorClass)
{
    m_items.push_back({QString(), nullptr, QString(), EditorClass});
    m_eventEditorItem = int(m_items.size()) - 1;
}

void TfrxPropertyEditorCollection::UnRegister(TfrxPropertyEditorClass EditorClass)
{
    for (int i = int(m_items.size()) - 1; i >= 0; --i) {
        if (m_items[size_t(i)].EditorClass != EditorClass)
            continue;
        m_items.erase(m_items.begin() + i);
        if (m_eventEditorItem == i)
            m_eventEditorItem = -1;
        else if (m_eventEditorItem > i)
            --m_eventEditorItem;
    }
}

int TfrxPropertyEditorCollection::GetPropertyEditor(const QString& PropertyType, const orv::platform::rtti::Object* Component,
                                                    const QString& PropertyName) const
{
    const QString lower = orv::platform::lowerAZ(PropertyType);
    if (lower.startsWith(QStringLiteral("tfrx")) && lower.indexOf(QStringLiteral("event")) == lower.size() - 5)
        return m_eventEditorItem;
    int result = -1;
    for (int i = int(m_items.size()) - 1; i >= 0; --i) {
        const TfrxPropertyEditorItem& item = m_items[size_t(i)];
        const bool sameType = !item.PropertyType.isEmpty() && orv::platform::sameTextAZ(item.PropertyType, PropertyType);
        const bool sameName = !item.PropertyName.isEmpty() && orv::platform::sameTextAZ(item.PropertyName, PropertyName);
        if (!item.ComponentClass && item.PropertyName.isEmpty() && sameType)
            result = i;
        else if (!item.ComponentClass && sameType && sameName)
            return i;
        else if (item.ComponentClass && Component && Component->InheritsFrom(*item.ComponentClass) && sameName)
            return i;
    }
    return result;
}

TfrxObjectCollection& frxObjectRegistry()
{
    static TfrxObjectCollection registry;
    return registry;
}

TfrxExportFilterCollection& frxExportFilterRegistry()
{
    static TfrxExportFilterCollection registry;
    return registry;
}

TfrxPropertyEditorCollection& frxPropertyEditorRegistry()
{
    static TfrxPropertyEditorCollection registry;
    return registry;
}

void frxRegisterStandardPropertyEditors()
{
    TfrxPropertyEditorCollection& r = frxPropertyEditorRegistry();
    r.Register(QStringLiteral("TComponentName"), nullptr, QStringLiteral("Name"),
               &frxMakePropertyEditor<TfrxNameProperty>);
    r.Register(QStringLiteral("TAlphaColor"), nullptr, QString(), &frxMakePropertyEditor<TfrxColorProperty>);
    r.Register(QStringLiteral("String"), &TfrxFont::staticClassInfo(), QStringLiteral("Name"),
               &frxMakePropertyEditor<TfrxFontNameProperty>);
    r.Register(QStringLiteral("TModalResult"), nullptr, QString(), &frxMakePropertyEditor<TfrxModalResultProperty>);
    r.Register(QStringLiteral("TCursor"), nullptr, QString(), &frxMakePropertyEditor<TfrxCursorProperty>);
    r.Register(QStringLiteral("TDateTime"), nullptr, QString(), &frxMakePropertyEditor<TfrxDateTimeProperty>);
    r.Register(QStringLiteral("TDate"), nullptr, QString(), &frxMakePropertyEditor<TfrxDateProperty>);
    r.Register(QStringLiteral("TTime"), nullptr, QString(), &frxMakePropertyEditor<TfrxTimeProperty>);
}

} // namespace orv::report
