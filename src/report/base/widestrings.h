#pragma once
// The line list of every report text (a memo's Memo). Lines carry an optional object
// that the list does not own.
#include "platform/core/reflection.h"
#include "report/base/propstream.h"

#include <QIODevice>
#include <QString>

#include <vector>

namespace orv::report {

class TfrxWideStrings : public orv::platform::Persistent, public orv::report::DefinesProperties {
    ORV_RTTI_CLASS(TfrxWideStrings)
public:
    TfrxWideStrings() = default;

    int Count() const { return int(m_lines.size()); }
    // An empty text outside the list.
    QString Get(int Index) const;
    // nullptr outside the list.
    orv::platform::rtti::Object* GetObject(int Index) const;
    // Nothing outside the list.
    void PutObject(int Index, orv::platform::rtti::Object* Value);
    void Put(int Index, const QString& S) { Insert(Index, S); }

    int Add(const QString& S);
    int AddObject(const QString& S, orv::platform::rtti::Object* AObject);
    void AddStrings(const TfrxWideStrings& Strings);
    // Inside the list the line's text is replaced (it keeps its object); at Count the
    // text is appended; anywhere else "Wide String Out of Bounds" is raised.
    void Insert(int Index, const QString& S);
    void InsertObject(int Index, const QString& S, orv::platform::rtti::Object* AObject);
    // Raises "List index out of bounds (n)" outside the list.
    void Delete(int Index);
    void Clear() { m_lines.clear(); }
    // The first line equal to S code unit by code unit, or -1.
    int IndexOf(const QString& S) const;

    // Every line followed by CR LF.
    QString Text() const;
    // Lines end at CR, LF, U+2028 and NUL; CR LF, CR U+2028, LF U+2028 and CR LF U+2028
    // each end one line; a final break adds no empty line.
    void SetText(const QString& Value);

    // A UTF-16LE stream behind the byte-order mark FF FE, else Windows-1252 text.
    void LoadFromStream(QIODevice& Stream);
    // UTF-16LE without looking for a mark.
    void LoadFromWStream(QIODevice& Stream);
    // UTF-16LE, without a mark.
    void SaveToStream(QIODevice& Stream) const;
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName) const;

    void Assign(const orv::platform::Persistent* Source) override;
    // "Strings" and "UTF8" are read, "UTF8W" is read and written.
    void DefineProperties(orv::report::Filer& filer) override;

protected:
    void AssignTo(orv::platform::Persistent* Dest) const override;

private:
    struct Line {
        QString text;
        orv::platform::rtti::Object* obj = nullptr;
    };
    std::vector<Line> m_lines;
};

} // namespace orv::report
