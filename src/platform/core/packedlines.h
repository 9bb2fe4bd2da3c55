#pragma once
// Many lines of text kept in one buffer, each with a number of the caller's (the record a
// result line was built from). A list of a million lines as one QString each costs a heap
// block, a header and two bytes per character apiece; here a line that holds only
// characters below 256 takes one byte per character, and the rest two.
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

namespace orv::platform {

class PackedLines {
public:

    void append(QStringView text, qint64 tag = -1);
    void append(QLatin1StringView text, qint64 tag = -1);
    void clear();
    // Keeps the first `lines` lines.
    void truncate(qsizetype lines);

    qsizetype size() const { return qsizetype(tags_.size()); }
    bool isEmpty() const { return tags_.empty(); }
    QString text(qsizetype i) const;
    qint64 tag(qsizetype i) const { return tags_[size_t(i)]; }

    // The lists' comparison (compareTextAZ): code unit by code unit with a-z counted as
    // A-Z, a line before the longer lines it begins.
    int compare(qsizetype i, qsizetype j) const;
    int compare(qsizetype i, QStringView text) const;
    // Whether the line holds `needle`, ignoring the case of A-Z only.
    bool containsAZ(qsizetype i, QStringView needle) const;
    // The lines' indices in ascending order by compare(); equal lines in the order
    // they were appended.
    std::vector<quint32> sortedOrder() const;

    // Bytes held, for the callers that watch their memory.
    qsizetype bytes() const;

private:
    struct View {
        const char* data;
        qsizetype length; // characters
        bool wide;        // two bytes per character
    };
    View view(qsizetype i) const
    {
        const Entry& e = entries_[size_t(i)];
        return {blocks_[e.block].data.get() + e.offset, qsizetype(e.length), e.wide != 0};
    }
    struct SortKey;
    void fillKey(SortKey& k, qsizetype depth, qsizetype step) const;
    void sortKeys(SortKey* first, SortKey* last, qsizetype depth) const;

    // Lines go into blocks that are never moved once filled, so that the list grows
    // without ever holding two copies of its text.
    struct Block {
        std::unique_ptr<char[]> data;
        qsizetype size = 0, used = 0;
    };
    struct Entry {
        quint32 block, offset;
        quint32 length : 31, wide : 1;
    };
    std::vector<Block> blocks_;
    std::vector<Entry> entries_;
    std::vector<qint64> tags_;
    bool anyWide_ = false;
};

} // namespace orv::platform
