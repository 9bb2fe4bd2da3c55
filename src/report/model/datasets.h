#pragma once
// Datasets (records with named fields, walked from the first to the end), the report's
// list of the datasets it uses, the process-wide dataset list, and named styles.
#include "report/base/collection.h"
#include "report/base/propstream.h"
#include "report/base/stringlist.h"
#include "report/model/views.h"

#include <QRecursiveMutex>
#include <QVariant>

#include <functional>

namespace orv::report {

class TfrxXMLItem;

// An object that wraps a non-visual component on a dialog page; not kept in prepared
// pages. It stores its position as "pLeft" and "pTop" whenever it belongs to a report.
class TfrxDialogComponent : public TfrxReportComponent, public orv::report::DefinesProperties {
    ORV_RTTI_CLASS(TfrxDialogComponent)
public:
    explicit TfrxDialogComponent(orv::platform::Component* AOwner);
    void DefineProperties(orv::report::Filer& filer) override;
};

class TfrxDataSet : public TfrxDialogComponent {
    ORV_RTTI_CLASS(TfrxDataSet)
public:
    explicit TfrxDataSet(orv::platform::Component* AOwner);
    ~TfrxDataSet() override;

    // A first name also becomes the user name.
    void SetName(const QString& Value) override;
    const QString& UserName() const { return m_userName; }
    // Raises "prInvProp" for an empty or blank name.
    virtual void SetUserName(const QString& Value);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool v) { m_enabled = v; }
    TfrxRangeBegin RangeBegin() const { return m_rangeBegin; }
    void SetRangeBegin(TfrxRangeBegin v) { m_rangeBegin = v; }
    TfrxRangeEnd RangeEnd() const { return m_rangeEnd; }
    void SetRangeEnd(TfrxRangeEnd v) { m_rangeEnd = v; }
    int RangeEndCount() const { return m_rangeEndCount; }
    void SetRangeEndCount(int v) { m_rangeEndCount = v; }
    int RecNo() const { return m_recNo; }
    bool OpenDataSource() const { return m_openDataSource; }
    void SetOpenDataSource(bool v) { m_openDataSource = v; }
    bool CloseDataSource() const { return m_closeDataSource; }
    void SetCloseDataSource(bool v) { m_closeDataSource = v; }
    TfrxReport* ReportRef = nullptr;

    std::function<void(TfrxDataSet*)> OnFirst, OnNext, OnPrior, OnOpen, OnClose;
    std::function<void(TfrxDataSet*, bool& Eof)> OnCheckEOF;

    virtual QString GetDisplayText(const QString& Index);
    virtual int GetDisplayWidth(const QString& Index) { return 10; }
    virtual TfrxFieldType GetFieldType(const QString& Index) { return fftNumeric; }
    virtual QVariant GetValue(const QString& Index);
    virtual void Initialize() {}
    virtual void Finalize() {}
    virtual void Open();
    virtual void Close();
    virtual void First();
    virtual void Next();
    virtual void Prior();
    virtual bool Eof();
    virtual int FieldsCount() { return 0; }
    virtual bool IsBlobField(const QString& fName) { return false; }
    virtual int RecordCount();
    virtual void AssignBlobTo(const QString& fName, orv::platform::rtti::Object* Obj) {}
    virtual void GetFieldList(orv::report::StringList& List) { List.Clear(); }
    bool HasField(const QString& fName);

protected:
    int m_recNo = 0;
    bool m_endReached = false;

private:
    QString m_userName;
    bool m_enabled = true;
    TfrxRangeBegin m_rangeBegin = rbFirst;
    TfrxRangeEnd m_rangeEnd = reLast;
    int m_rangeEndCount = 0;
    bool m_openDataSource = true, m_closeDataSource = false;
};

// A dataset whose values come from program events.
class TfrxUserDataSet : public TfrxDataSet {
    ORV_RTTI_CLASS(TfrxUserDataSet)
public:
    explicit TfrxUserDataSet(orv::platform::Component* AOwner);
    orv::report::StringList* Fields() const { return m_fields.get(); }
    void SetFields(orv::report::StringList* v) { m_fields->Assign(v); }
    std::function<void(const QString& VarName, QVariant& Value)> OnGetValue;
    std::function<void(orv::platform::rtti::Object* Sender, const QString& VarName, QVariant& Value)> OnNewGetValue;

    QString GetDisplayText(const QString& Index) override;
    QVariant GetValue(const QString& Index) override;
    int FieldsCount() override { return m_fields->Count(); }
    void GetFieldList(orv::report::StringList& List) override;

private:
    std::unique_ptr<orv::report::StringList> m_fields;
};

// The base of datasets bound to a database, with field aliases ("Field=Alias" lines).
class TfrxCustomDBDataSet : public TfrxDataSet {
    ORV_RTTI_CLASS(TfrxCustomDBDataSet)
public:
    explicit TfrxCustomDBDataSet(orv::platform::Component* AOwner);
    orv::report::StringList* FieldAliases() const { return m_fieldAliases.get(); }
    void SetFieldAliases(orv::report::StringList* v) { m_fieldAliases->Assign(v); }
    // The alias of a field name, or the name itself.
    QString GetAlias(const QString& fName) const;
    // The field name of an alias, or the alias itself.
    QString ConvertAlias(const QString& fName) const;
    int FieldsCount() override;

protected:
    orv::report::StringList m_fieldNames{orv::report::StringList::Dup::Ignore};

private:
    std::unique_ptr<orv::report::StringList> m_fieldAliases;
};

// The base of database connections (none in this program).
class TfrxCustomDatabase : public TfrxDialogComponent {
    ORV_RTTI_CLASS(TfrxCustomDatabase)
public:
    explicit TfrxCustomDatabase(orv::platform::Component* AOwner) : TfrxDialogComponent(AOwner) {}
    virtual void SetConnected(bool Value) {}
    virtual void SetDatabaseName(const QString& Value) {}
    virtual void SetLoginPrompt(bool Value) {}
    virtual bool GetConnected() const { return false; }
    virtual QString GetDatabaseName() const { return QString(); }
    virtual bool GetLoginPrompt() const { return false; }
    virtual QString ToString() const { return QString(); }
    virtual void FromString(const QString& Connection) {}
    virtual void SetLogin(const QString& Login, const QString& Password) {}
};

class TfrxReportDataSets;

class TfrxDataSetItem : public orv::report::CollectionItem {
    ORV_RTTI_CLASS(TfrxDataSetItem)
public:
    TfrxDataSet* DataSet() const { return m_dataSet; }
    void SetDataSet(TfrxDataSet* Value);
    // The dataset's user name while one is assigned, else the stored name.
    QString DataSetName() const;
    // An empty name clears the dataset; another one looks it up through the report.
    void SetDataSetName(const QString& Value);

private:
    friend class TfrxReportDataSets;
    TfrxDataSet* m_dataSet = nullptr;
    QString m_dataSetName;
};

class TfrxReportDataSets : public orv::report::Collection<TfrxDataSetItem> {
    ORV_RTTI_CLASS(TfrxReportDataSets)
public:
    explicit TfrxReportDataSets(TfrxReport* AReport = nullptr) : m_report(AReport) {}
    TfrxReport* Report() const { return m_report; }
    // Gives every dataset the report and initialises it.
    void Initialize();
    void Finalize();
    void Add(TfrxDataSet* ds);
    using Collection::Add;
    TfrxDataSetItem* Find(TfrxDataSet* ds) const;
    TfrxDataSetItem* Find(const QString& Name) const;
    void Delete(const QString& Name);
    using Collection::Delete;
    // A freed dataset leaves the list (the report calls this from its notifications).
    void forget(const orv::platform::Component* ds);

private:
    TfrxReport* m_report;
};

// Every dataset that exists, in construction order, under its own lock.
class TfrxGlobalDataSetList {
public:
    void Lock() { m_lock.lock(); }
    void Unlock() { m_lock.unlock(); }
    QList<TfrxDataSet*> items() const;
    void add(TfrxDataSet* ds);
    void remove(TfrxDataSet* ds);

private:
    mutable QRecursiveMutex m_lock;
    QList<TfrxDataSet*> m_items;
};

TfrxGlobalDataSetList& frxGlobalDataSetList();
// The first listed dataset named Name (ignoring case) that no other report owns; DataSet
// when none matches or Report is nullptr; nullptr for an empty name.
TfrxDataSet* FindGlobalDataSet(TfrxDataSet* DataSet, const QString& Name, TfrxReport* Report);
// The user names (with the datasets as objects) of the enabled, named datasets.
void ListGlobalDataSets(orv::report::StringList& List);

// ---------------------------------------------------------------- styles

class TfrxStyleItem : public orv::report::CollectionItem {
    ORV_RTTI_CLASS(TfrxStyleItem)
public:
    TfrxStyleItem();
    const QString& Name() const { return m_name; }
    // Raises "clDupName" when another item of the collection bears the name.
    void SetName(const QString& Value);
    TAlphaColor Color() const { return m_color; }
    void SetColor(TAlphaColor v) { m_color = v; }
    TfrxFont* Font() const { return m_font.get(); }
    void SetFont(TfrxFont* v) { m_font->Assign(v); }
    TfrxFrame* Frame() const { return m_frame.get(); }
    void SetFrame(TfrxFrame* v) { m_frame->Assign(v); }
    // The first of "Style1", "Style2", ... that no item bears.
    void CreateUniqueName();
    void Assign(const orv::platform::Persistent* Source) override;

private:
    QString m_name;
    TAlphaColor m_color = claNull;
    std::unique_ptr<TfrxFont> m_font;
    std::unique_ptr<TfrxFrame> m_frame;
};

class TfrxStyles : public orv::report::Collection<TfrxStyleItem> {
    ORV_RTTI_CLASS(TfrxStyles)
public:
    explicit TfrxStyles(TfrxReport* AReport = nullptr) : m_report(AReport) {}
    const QString& Name() const { return m_name; }
    void SetName(const QString& v) { m_name = v; }
    TfrxReport* Report() const { return m_report; }
    TfrxStyleItem* Find(const QString& Name) const;
    void GetList(orv::report::StringList& List) const;
    // Every memo of the report takes its style again (or forgets a style not here).
    void Apply();
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName);
    void LoadFromStream(QIODevice& Stream);
    void SaveToStream(QIODevice& Stream);
    void LoadFromXMLItem(TfrxXMLItem* Item, bool OldXMLFormat);
    void SaveToXMLItem(TfrxXMLItem* Item);

private:
    QString m_name;
    TfrxReport* m_report;
};

} // namespace orv::report
