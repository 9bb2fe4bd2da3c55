#pragma once
// Process-wide registries through which parts of the report engine announce themselves:
// report object classes that can be placed in a layout, the export filters that exist,
// and the editors a layout designer would use for properties.
#include "report/base/types.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace orv::report {

class TfrxCustomExportFilter;

// ---------------------------------------------------------------- objects

struct TfrxObjectItem {
    const orv::platform::rtti::ClassInfo* ClassRef = nullptr; // nullptr for a category entry
    const QImage* ButtonBmp = nullptr;              // not owned
    int ButtonImageIndex = -1;
    QString ButtonHint;
    QString CategoryName;
    int Flags = 0;
    TfrxObjectCategories Category;
};

class TfrxObjectCollection {
public:
    // Adds an entry unless the class is there with the same flags; registers the class
    // for creation by name. Without a category the class decides: datasets [ctData],
    // dialog objects [ctDialog], anything else [ctReport].
    void RegisterObject1(const orv::platform::rtti::ClassInfo* ClassRef, const QImage* ButtonBmp,
                         const QString& ButtonHint = QString(), const QString& CategoryName = QString(), int Flags = 0,
                         int ImageIndex = -1, TfrxObjectCategories Category = {});
    void RegisterObject(const orv::platform::rtti::ClassInfo* ClassRef, const QImage* ButtonBmp,
                        const QString& CategoryName = QString());
    void RegisterCategory(const QString& CategoryName, const QImage* ButtonBmp, const QString& ButtonHint,
                          int ImageIndex = -1);
    void Unregister(const orv::platform::rtti::ClassInfo* ClassRef);
    int Count() const { return int(m_items.size()); }
    const TfrxObjectItem& GetObjectItem(int Index) const { return m_items.at(size_t(Index)); }

private:
    std::vector<TfrxObjectItem> m_items;
};

// ---------------------------------------------------------------- export filters

class TfrxExportFilterCollection {
public:
    // nullptr and a filter already present are ignored.
    void Register(TfrxCustomExportFilter* Filter);
    void Unregister(TfrxCustomExportFilter* Filter);
    int Count() const { return int(m_filters.size()); }
    // In the order of creation.
    TfrxCustomExportFilter* GetExportFilterItem(int Index) const { return m_filters.at(Index); }

private:
    QList<TfrxCustomExportFilter*> m_filters;
};

// ---------------------------------------------------------------- property editors

enum TfrxPropertyAttribute : int { paValueList, paSortList, paDialog, paMultiSelect, paSubProperties, paReadOnly, paOwnerDraw };
ORV_RTTI_ENUM(TfrxPropertyAttribute, "paValueList, paSortList, paDialog, paMultiSelect, paSubProperties, paReadOnly, paOwnerDraw")
ORV_RTTI_SET(TfrxPropertyAttributes, TfrxPropertyAttribute)

// Edits one property of the objects selected in a designer: values are read from the
// first object and written to every object whose property can be written.
class TfrxPropertyEditor {
public:
    TfrxPropertyEditor() = default;
    virtual ~TfrxPropertyEditor() = default;

    struct Target {
        orv::platform::rtti::Object* Obj;
        const orv::platform::rtti::PropInfo* Prop;
    };
    void AddTarget(orv::platform::rtti::Object* Obj, const orv::platform::rtti::PropInfo* Prop) { m_targets.push_back({Obj, Prop}); }

    // Steps to the value after the current one in Values (the first after the last);
    // false when there are no values.
    virtual bool Edit();
    virtual TfrxPropertyAttributes GetAttributes() const { return {paMultiSelect}; }
    virtual QString GetName() const;
    virtual int GetExtraLBSize() const { return m_itemHeight + 2; }
    virtual QString GetValue() const { return QStringLiteral("(Unknown)"); }
    // Empties Values (sorted exactly with paSortList); editors with a list fill it.
    virtual void GetValues();
    virtual void SetValue(const QString& Value) {}
    const QStringList& Values() const { return m_values; }
    int ItemHeight() const { return m_itemHeight; }

protected:
    qint64 ordinalValue() const;
    void setOrdinalValue(qint64 v);
    QString stringValue() const;
    void setStringValue(const QString& v);
    double floatValue() const;
    void setFloatValue(double v);
    QStringList m_values;
    int m_itemHeight = 16;

private:
    template <class F>
    void forEachWritable(F f);
    std::vector<Target> m_targets;
};

class TfrxIntegerProperty : public TfrxPropertyEditor {
public:
    QString GetValue() const override;
    // Raises ConvertError for text that is not a number.
    void SetValue(const QString& Value) override;
};

class TfrxStringProperty : public TfrxPropertyEditor {
public:
    QString GetValue() const override { return stringValue(); }
    void SetValue(const QString& Value) override { setStringValue(Value); }
};

class TfrxNameProperty : public TfrxStringProperty {
public:
    TfrxPropertyAttributes GetAttributes() const override { return {}; }
};

class TfrxColorProperty : public TfrxIntegerProperty {
public:
    TfrxPropertyAttributes GetAttributes() const override { return {paValueList, paMultiSelect, paOwnerDraw}; }
    // A named colour by its name, any other colour as "#AARRGGBB".
    QString GetValue() const override;
    void SetValue(const QString& Value) override;
    void GetValues() override;
};

class TfrxFontNameProperty : public TfrxStringProperty {
public:
    TfrxPropertyAttributes GetAttributes() const override { return {paValueList, paSortList, paMultiSelect}; }
    void GetValues() override;
};

class TfrxModalResultProperty : public TfrxIntegerProperty {
public:
    TfrxPropertyAttributes GetAttributes() const override { return {paValueList, paMultiSelect}; }
    QString GetValue() const override;
    void SetValue(const QString& Value) override;
    void GetValues() override;
};

class TfrxCursorProperty : public TfrxIntegerProperty {
public:
    TfrxPropertyAttributes GetAttributes() const override { return {paValueList, paSortList, paMultiSelect}; }
    QString GetValue() const override;
    void SetValue(const QString& Value) override;
    void GetValues() override;
};

class TfrxDateTimeProperty : public TfrxPropertyEditor {
public:
    QString GetValue() const override;
    void SetValue(const QString& Value) override;
};

class TfrxDateProperty : public TfrxPropertyEditor {
public:
    QString GetValue() const override;
    void SetValue(const QString& Value) override;
};

class TfrxTimeProperty : public TfrxPropertyEditor {
public:
    QString GetValue() const override;
    void SetValue(const QString& Value) override;
};

// Creates an editor of one class.
using TfrxPropertyEditorClass = std::unique_ptr<TfrxPropertyEditor> (*)();

template <class E>
std::unique_ptr<TfrxPropertyEditor> frxMakePropertyEditor()
{
    return std::make_unique<E>();
}

struct TfrxPropertyEditorItem {
    QString PropertyType;                                 // the type name, empty for none
    const orv::platform::rtti::ClassInfo* ComponentClass = nullptr; // nullptr for any class
    QString PropertyName;                                 // empty for any property
    TfrxPropertyEditorClass EditorClass = nullptr;
};

class TfrxPropertyEditorCollection {
public:
    void Register(const QString& PropertyType, const orv::platform::rtti::ClassInfo* ComponentClass,
                  const QString& PropertyName, TfrxPropertyEditorClass EditorClass);
    void RegisterEventEditor(TfrxPropertyEditorClass EditorClass);
    void UnRegister(TfrxPropertyEditorClass EditorClass);
    // The entry to use for a property of an object, or -1: entries naming the property
    // win over type-only entries, and among them the one registered last.
    int GetPropertyEditor(const QString& PropertyType, const orv::platform::rtti::Object* Component,
                          const QString& PropertyName) const;
    int Count() const { return int(m_items.size()); }
    const TfrxPropertyEditorItem& GetPropertyEditorItem(int Index) const { return m_items.at(size_t(Index)); }

private:
    std::vector<TfrxPropertyEditorItem> m_items;
    int m_eventEditorItem = -1;
};

TfrxObjectCollection& frxObjectRegistry();
TfrxExportFilterCollection& frxExportFilterRegistry();
TfrxPropertyEditorCollection& frxPropertyEditorRegistry();
// The eight editors of the designer's property types.
void frxRegisterStandardPropertyEditors();

} // namespace orv::report
