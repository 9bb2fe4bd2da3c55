#pragma once
// The plain string list of the report's options and error lists (a script's source, a
// report's description, column positions, guide lines, error lines), with an object per
// line. Sorted lists keep their lines in order and may drop duplicates.
#include "platform/core/reflection.h"

#include <QString>
#include <QStringList>

namespace orv::report {

class StringList : public orv::platform::Persistent {
    ORV_RTTI_CLASS(StringList)
public:
    enum class Dup { Accept, Ignore, Error };

    StringList() = default;
    // A sorted list; letters A-Z compare without case unless caseSensitive.
    StringList(Dup duplicates, bool caseSensitive = false);

    bool Sorted() const { return m_sorted; }
    int Count() const { return int(m_lines.size()); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    // Raises ListError "List index out of bounds (n)" outside the list.
    const QString& Get(int index) const;
    const QString& operator[](int index) const { return Get(index); }
    void Put(int index, const QString& s);
    platform::rtti::Object* Objects(int index) const;
    void PutObject(int index, platform::rtti::Object* obj);

    // In a sorted list the line goes to its place (and a duplicate may be dropped:
    // the result is then the index of the line already there).
    int Add(const QString& s);
    int AddObject(const QString& s, platform::rtti::Object* obj);
    void AddStrings(const StringList& other);
    void Insert(int index, const QString& s);
    void Delete(int index);
    void Clear();
    int IndexOf(const QString& s) const;

    // Every line followed by CR LF.
    QString Text() const;
    // Lines split at CR LF, CR and LF; a final break adds no empty line.
    void SetText(const QString& text);
    QStringList lines() const;

    void Assign(const platform::Persistent* Source) override;

private:
    void checkIndex(int index) const;
    int compare(const QString& a, const QString& b) const;
    bool find(const QString& s, int& index) const;
    struct Line {
        QString text;
        platform::rtti::Object* obj = nullptr;
    };
    QList<Line> m_lines;
    bool m_sorted = false;
    bool m_caseSensitive = false;
    Dup m_duplicates = Dup::Accept;
};

// The lines of a text split at CR LF, CR and LF, without an empty line after a final
// break.
QStringList splitLines(const QString& text);

} // namespace orv::report
