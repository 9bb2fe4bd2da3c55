#pragma once
// A record type whose fields are named members: one list of (member, field) pairs gives
// the record's field table and the conversions between the record and its values.
#include "archive/record.h"

#include <QStringList>

#include <array>
#include <cstddef>
#include <vector>

namespace orv::customers {

template <class Record>
struct MemberField {
    QString Record::*member;
    archive::FieldDef def;
};

template <class Record, std::size_t N>
class MemberTable {
public:
    explicit MemberTable(const std::array<MemberField<Record>, N>& members)
        : members_(members), layout_(definitions(members))
    {
    }

    const archive::RecordLayout& layout() const { return layout_; }

    QStringList values(const Record& r) const
    {
        QStringList v;
        v.reserve(qsizetype(N));
        for (const MemberField<Record>& m : members_) v.append(r.*m.member);
        return v;
    }

    // Missing values stay empty.
    Record fromValues(const QStringList& values) const
    {
        Record r;
        for (std::size_t i = 0; i < N && qsizetype(i) < values.size(); ++i) r.*members_[i].member = values[qsizetype(i)];
        return r;
    }

private:
    static std::vector<archive::FieldDef> definitions(const std::array<MemberField<Record>, N>& members)
    {
        std::vector<archive::FieldDef> defs;
        defs.reserve(N);
        for (const MemberField<Record>& m : members) defs.push_back(m.def);
        return defs;
    }

    std::array<MemberField<Record>, N> members_;
    archive::RecordLayout layout_;
};

} // namespace orv::customers
