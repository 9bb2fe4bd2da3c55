#include "report/base/variables.h"

#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/utils.h"
#include "report/base/serializer.h"
#include "report/base/xml.h"

#include <QFile>

namespace orv::report {

using namespace orv::report;

namespace {

bool isMarkerOrEmpty(const QString& name) { return name.isEmpty() || name.startsWith(u' '); }

QString keyText(const QVariant& key)
{
    switch (key.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return orv::platform::floatToStr(key.toDouble());
    case QMetaType::Bool:
        return key.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return key.toString();
    }
}

} // namespace

ORV_RTTI_DEFINE(TfrxVariable, CollectionItem)
{
    c.prop("Name", &TfrxVariable::Name, &TfrxVariable::SetName);
    c.prop("Value", &TfrxVariable::Value, &TfrxVariable::SetValue);
}

void TfrxVariable::Assign(const orv::platform::Persistent* Source)
{
    if (const auto* v = dynamic_cast<const TfrxVariable*>(Source)) {
        m_name = v->m_name;
        m_value = v->m_value;
    }
}

ORV_RTTI_DEFINE(TfrxVariables, CollectionBase) {}

int TfrxVariables::IndexOf(const QString& Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (orv::platform::sameTextAZ(Items(i)->Name(), Name))
            return i;
    return -1;
}

QVariant TfrxVariables::GetVariable(const QString& Name) const
{
    const int i = IndexOf(Name);
    return i >= 0 ? Items(i)->Value() : QVariant::fromValue(nullptr);
}

void TfrxVariables::SetVariable(const QString& Name, const QVariant& Value)
{
    int i = IndexOf(Name);
    if (i < 0) {
        TfrxVariable* v = Add();
        v->SetName(Name);
        v->SetValue(Value);
        return;
    }
    Items(i)->SetValue(Value);
}

bool TfrxVariables::LookupValue(const QString& Name, const std::function<QVariant(const QString& Expr)>& Calc,
                                QVariant& Value) const
{
    const int i = IndexOf(Name);
    if (i < 0)
        return false;
    const TfrxVariable* v = Items(i);
    const QVariant& stored = v->Value();
    if (stored.typeId() != QMetaType::QString || stored.toString().contains(QStringLiteral("\r\n"))) {
        Value = stored;
        return true;
    }
    if (m_evaluating.contains(v))
        throw Error(QStringLiteral("The report variable \"%1\" refers to itself").arg(v->Name()));
    m_evaluating << v;
    struct Done {
        QList<const TfrxVariable*>& list;
        ~Done() { list.removeLast(); }
    } done{m_evaluating};
    Value = Calc(stored.toString());
    return true;
}

int TfrxVariables::markerIndex(const QString& Category) const
{
    return IndexOf(QStringLiteral(" ") + Category);
}

void TfrxVariables::AddVariable(const QString& ACategory, const QString& AName, const QVariant& AValue)
{
    int i = markerIndex(ACategory);
    if (i < 0)
        return;
    ++i;
    while (i < Count() && !isMarkerOrEmpty(Items(i)->Name()))
        ++i;
    if (const int existing = IndexOf(AName); existing >= 0) {
        Items(existing)->SetValue(AValue);
        return;
    }
    TfrxVariable* v = i >= Count() ? Add() : Insert(i);
    v->SetName(AName);
    v->SetValue(AValue);
}

void TfrxVariables::DeleteCategory(const QString& Name)
{
    const int i = markerIndex(Name);
    if (i < 0)
        return;
    Delete(i);
    while (i < Count() && !isMarkerOrEmpty(Items(i)->Name()))
        Delete(i);
}

void TfrxVariables::DeleteVariable(const QString& Name)
{
    const int i = IndexOf(Name);
    if (i >= 0)
        Delete(i);
}

void TfrxVariables::GetCategoriesList(QStringList& List, bool ClearList) const
{
    if (ClearList)
        List.clear();
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Name().startsWith(u' '))
            List << Items(i)->Name().mid(1, 255);
}

void TfrxVariables::GetVariablesList(const QString& Category, QStringList& List) const
{
    List.clear();
    int i = 0;
    if (!Category.isEmpty()) {
        i = markerIndex(Category);
        if (i < 0)
            return;
        ++i;
    }
    for (; i < Count() && !isMarkerOrEmpty(Items(i)->Name()); ++i)
        List << Items(i)->Name();
}

void TfrxVariables::SaveToXMLItem(TfrxXMLItem* Item)
{
    TfrxXMLSerializer serializer(nullptr);
    for (int i = 0; i < Count(); ++i)
        Item->Add(QStringLiteral("item"))->Text = serializer.ObjToXML(Items(i));
}

void TfrxVariables::LoadFromXMLItem(TfrxXMLItem* Item, bool OldXMLFormat)
{
    Clear();
    TfrxXMLSerializer serializer(nullptr);
    serializer.OldFormat = OldXMLFormat;
    for (int i = 0; i < Item->Count(); ++i)
        if (Item->Items(i)->Name.compare(QStringLiteral("item"), Qt::CaseInsensitive) == 0)
            serializer.XMLToObj(Item->Items(i)->Text, Add());
}

void TfrxVariables::SaveToStream(QIODevice& Stream)
{
    TfrxXMLDocument doc;
    doc.AutoIndent = true;
    doc.Root()->Name = QStringLiteral("variables");
    SaveToXMLItem(doc.Root());
    doc.SaveToStream(Stream);
}

void TfrxVariables::LoadFromStream(QIODevice& Stream)
{
    Clear();
    TfrxXMLDocument doc;
    doc.LoadFromStream(Stream);
    if (doc.Root()->Name.compare(QStringLiteral("variables"), Qt::CaseInsensitive) == 0)
        LoadFromXMLItem(doc.Root(), doc.OldVersion());
}

void TfrxVariables::SaveToFile(const QString& FileName)
{
    saveFile(FileName, [this](QIODevice& f) { SaveToStream(f); });
}

void TfrxVariables::LoadFromFile(const QString& FileName)
{
    loadFile(FileName, [this](QIODevice& f) { LoadFromStream(f); });
}

ORV_RTTI_DEFINE(TfrxArray, CollectionBase) {}

int TfrxArray::IndexOf(const QVariant& Key) const
{
    const QString name = keyText(Key);
    for (int i = 0; i < Count(); ++i)
        if (orv::platform::sameTextAZ(Items(i)->Name(), name))
            return i;
    return -1;
}

QVariant TfrxArray::GetVariable(const QVariant& Key) const
{
    const int i = IndexOf(Key);
    return i >= 0 ? Items(i)->Value() : QVariant::fromValue(nullptr);
}

void TfrxArray::SetVariable(const QVariant& Key, const QVariant& Value)
{
    const int i = IndexOf(Key);
    if (i >= 0) {
        Items(i)->SetValue(Value);
        return;
    }
    TfrxVariable* v = Add();
    v->SetName(keyText(Key));
    v->SetValue(Value);
}

TfrxVariables& frxGlobalVariables()
{
    static TfrxVariables variables;
    return variables;
}

} // namespace orv::report
