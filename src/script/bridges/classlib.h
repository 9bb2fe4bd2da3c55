#pragma once
// The library classes scripts create and use: lists of objects, string lists, streams,
// collections. Objects inside lists are kept as the handles scripts hold, so a list
// never points at an object that has gone.
#include "script/bridges/common.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <functional>
#include <vector>

namespace orv::script::bridges {

// "List index out of bounds (n)"
[[noreturn]] void raiseListIndex(qint64 index);

class List : public platform::rtti::Object {
    ORV_RTTI_CLASS(List)
public:
    int Count() const { return int(m_items.size()); }
    int Add(const Value& item);
    void Clear() { m_items.clear(); }
    void Delete(int index);
    int IndexOf(const Value& item) const;
    void Insert(int index, const Value& item);
    int Remove(const Value& item);
    Value Item(int index) const;
    void SetItem(int index, const Value& item);

private:
    std::vector<Value> m_items;
};

class Stream;

enum class Duplicates { dupIgnore, dupAccept, dupError };

// TStrings and TStringList are one class here: every string list a script meets is a
// full string list.
class Strings : public platform::Persistent {
    ORV_RTTI_CLASS(Strings)
public:
    int Count() const { return int(m_lines.size()); }
    const QStringList& lines() const { return m_lines; }
    void setLines(const QStringList& lines);

    int Add(const QString& s) { return AddObject(s, Value(0)); }
    int AddObject(const QString& s, const Value& object);
    void Clear();
    void Delete(int index);
    int IndexOf(const QString& s) const;
    int IndexOfName(const QString& name) const;
    int IndexOfObject(const Value& object) const;
    void Insert(int index, const QString& s) { InsertObject(index, s, Value(0)); }
    void InsertObject(int index, const QString& s, const Value& object);
    void Move(int curIndex, int newIndex);
    QString Get(int index) const;
    void Put(int index, const QString& s);
    Value Object(int index) const;
    void PutObject(int index, const Value& object);
    QString Name(int index) const;
    QString ValueOf(const QString& name) const;
    void SetValueOf(const QString& name, const QString& value);

    QString Text() const;
    void SetText(const QString& text);
    QString CommaText() const;
    void SetCommaText(const QString& text);

    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    void LoadFromStream(Stream& stream);
    void SaveToStream(Stream& stream) const;

    // Sorted search; true when found, index of the line or of where it would go.
    bool Find(const QString& s, int& index) const;
    void Sort();
    bool Sorted() const { return m_sorted; }
    void SetSorted(bool sorted);
    Duplicates Dupes() const { return m_duplicates; }
    void SetDupes(Duplicates d) { m_duplicates = d; }

    void Assign(const platform::Persistent* Source) override;

    // Lines compare ignoring case, as the library's lists do by default.
    static int compare(const QString& a, const QString& b);

protected:
    // After every change of the lines.
    virtual void changed() {}

private:
    void check(int index) const;
    QStringList m_lines;
    std::vector<Value> m_objects;
    bool m_sorted = false;
    Duplicates m_duplicates = Duplicates::dupIgnore;
};

class StringList : public Strings {
    ORV_RTTI_CLASS(StringList)
};

// The lines a control shows: each change reaches the control.
class ShownStrings : public StringList {
public:
    explicit ShownStrings(std::function<void()> onChange) : m_onChange(std::move(onChange)) {}

protected:
    void changed() override
    {
        if (m_onChange)
            m_onChange();
    }

private:
    std::function<void()> m_onChange;
};

// A stream of bytes with a position.
class Stream : public platform::rtti::Object {
    ORV_RTTI_CLASS(Stream)
public:
    virtual qint64 Read(char* buffer, qint64 count) = 0;
    virtual qint64 Write(const char* buffer, qint64 count) = 0;
    // Origin 0 beginning, 1 current, 2 end; the new position.
    virtual qint64 Seek(qint64 offset, int origin) = 0;
    virtual qint64 Size() const = 0;
    qint64 Position() { return Seek(0, 1); }
    void SetPosition(qint64 p) { Seek(p, 0); }
    qint64 CopyFrom(Stream& source, qint64 count);
    // The bytes from the position to the end.
    QByteArray ReadRest();
};

class MemoryStream : public Stream {
    ORV_RTTI_CLASS(MemoryStream)
public:
    qint64 Read(char* buffer, qint64 count) override;
    qint64 Write(const char* buffer, qint64 count) override;
    qint64 Seek(qint64 offset, int origin) override;
    qint64 Size() const override { return m_data.size(); }
    void Clear();
    void LoadFromStream(Stream& s);
    void LoadFromFile(const QString& fileName);
    void SaveToStream(Stream& s) const;
    void SaveToFile(const QString& fileName) const;
    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

class FileStream : public Stream {
    ORV_RTTI_CLASS(FileStream)
public:
    // Mode: fmCreate (65280) or fmOpenRead / fmOpenWrite / fmOpenReadWrite (0..2), plus
    // share flags, which have no meaning here. Raises EFOpenError's text when it fails.
    void Open(const QString& fileName, int mode);
    qint64 Read(char* buffer, qint64 count) override;
    qint64 Write(const char* buffer, qint64 count) override;
    qint64 Seek(qint64 offset, int origin) override;
    qint64 Size() const override;

private:
    void check() const;
    QFile m_file;
};

class CollectionItem : public platform::Persistent {
    ORV_RTTI_CLASS(CollectionItem)
};

class Collection : public platform::Persistent {
    ORV_RTTI_CLASS(Collection)
public:
    ~Collection() override;
    int Count() const { return int(m_items.size()); }
    CollectionItem* Item(int index) const;
    CollectionItem* Add();
    void Clear();

private:
    std::vector<CollectionItem*> m_items;
};

// Objects the host lends a script (a form's canvas, a list box's lines, the application):
// a script's Free leaves them alone, since their owner frees them.
void lendToScripts(const platform::rtti::Object* object);
void takeBackFromScripts(const platform::rtti::Object* object);
bool isLent(const platform::rtti::Object* object);

} // namespace orv::script::bridges
