#pragma once
// Report variables: named values that expressions, scripts and text macros read by
// name. An item whose name begins with a blank marks a category; the items after it, up
// to the next marker or empty name, are its members.
#include "report/base/collection.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace orv::report {

class TfrxXMLItem;

class TfrxVariable : public orv::report::CollectionItem {
    ORV_RTTI_CLASS(TfrxVariable)
public:
    TfrxVariable() : m_value(QVariant::fromValue(nullptr)) {}
    const QString& Name() const { return m_name; }
    void SetName(const QString& v) { m_name = v; }
    const QVariant& Value() const { return m_value; }
    void SetValue(const QVariant& v) { m_value = v; }
    // From another variable only.
    void Assign(const orv::platform::Persistent* Source) override;

private:
    QString m_name;
    QVariant m_value;
};

class TfrxVariables : public orv::report::Collection<TfrxVariable> {
    ORV_RTTI_CLASS(TfrxVariables)
public:
    // The first variable of that name (ignoring case), or -1.
    int IndexOf(const QString& Name) const;
    // Null for a name that is not there.
    QVariant GetVariable(const QString& Name) const;
    // Appends the variable when it is not there.
    void SetVariable(const QString& Name, const QVariant& Value);
    QVariant operator[](const QString& Name) const { return GetVariable(Name); }

    // Into the category (nothing without its marker); a name present anywhere only
    // gets the value.
    void AddVariable(const QString& ACategory, const QString& AName, const QVariant& AValue);
    void DeleteCategory(const QString& Name);
    void DeleteVariable(const QString& Name);
    void GetCategoriesList(QStringList& List, bool ClearList = true) const;
    // The members of a category; an empty category: the names before the first marker.
    void GetVariablesList(const QString& Category, QStringList& List) const;

    // The value a report's name lookup reads: a text without a CR LF pair is an
    // expression that Calc evaluates each time, any other value is returned as stored.
    // False for a name that is not there. A variable whose expression leads back to
    // itself raises orv::report::Error instead of evaluating without end.
    bool LookupValue(const QString& Name, const std::function<QVariant(const QString& Expr)>& Calc,
                     QVariant& Value) const;

    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName);
    void LoadFromStream(QIODevice& Stream);
    void SaveToStream(QIODevice& Stream);
    void LoadFromXMLItem(TfrxXMLItem* Item, bool OldXMLFormat);
    void SaveToXMLItem(TfrxXMLItem* Item);

private:
    int markerIndex(const QString& Category) const;
    mutable QList<const TfrxVariable*> m_evaluating;
};

// Variables keyed by any value, through its text.
class TfrxArray : public orv::report::Collection<TfrxVariable> {
    ORV_RTTI_CLASS(TfrxArray)
public:
    int IndexOf(const QVariant& Key) const;
    QVariant GetVariable(const QVariant& Key) const;
    void SetVariable(const QVariant& Key, const QVariant& Value);
};

// The process-wide variables that every report sees after its own.
TfrxVariables& frxGlobalVariables();

} // namespace orv::report
