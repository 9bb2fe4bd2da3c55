// Settings files where writes used to go astray: large files, several keys at once, a
// full disk, a lock held elsewhere, leftovers of an interrupted write, and names that are
// not regular files.
#include "platform/core/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <new>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using orv::platform::IniFile;
using orv::platform::IniFileError;

// Counts the allocations made through operator new while counting is on: the parse of a
// large file must not build something per section.
namespace {
std::atomic<bool> countingNew {false};
std::atomic<long> newCalls {0};
} // namespace

void* operator new(std::size_t size)
{
    if (countingNew.load(std::memory_order_relaxed)) newCalls.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

const QString kIssuerSection = QStringLiteral("Ditta Emittente");

class IniFileFaults : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Orvanta.ini")); }
    void put(const QByteArray& bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QByteArray bytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }
    void TearDown() override
    {
        orv::platform::setIniWriteCalls(nullptr);
        IniFile::setLockWaitMs(10000);
    }
};

// Exactly `size` bytes of comment lines.
QByteArray filler(qsizetype size)
{
    QByteArray f;
    while (f.size() + 100 <= size) f += "; " + QByteArray(96, 'x') + "\r\n";
    const qsizetype rest = size - f.size();
    if (rest == 1) f += "\n";
    else if (rest >= 2) f += QByteArray(rest - 2, ';') + "\r\n";
    return f;
}

QList<std::pair<QString, QString>> issuerKeys(const QString& tag)
{
    QList<std::pair<QString, QString>> keys;
    for (int i = 0; i < 13; ++i) keys.append({QStringLiteral("Campo%1").arg(i), tag + QString::number(i)});
    return keys;
}

// Wherever the section lies, a value written is the value read back, and writing it
// again changes that one line: no copy of the section is added, nothing else moves.
TEST_F(IniFileFaults, AValueWrittenReadsBackWhateverTheFileSizeAndWhereverItsSection)
{
    const qsizetype mb = 1 << 20;
    for (qsizetype before : {qsizetype(0), qsizetype(700), mb - 40, mb - 3, mb, mb + 9, 3 * mb + 5}) {
        for (bool sectionThere : {true, false}) {
            SCOPED_TRACE(testing::Message() << "filler " << before << (sectionThere ? ", section there" : ", no section"));
            const QByteArray head = filler(before);
            const QByteArray section = sectionThere ? QByteArray("[Ditta Emittente]\r\nNome=Vecchia\r\nCAP=47100\r\n") : QByteArray();
            const QByteArray tail = filler(before / 3);
            put(head + section + tail);
            IniFile ini(path());
            for (const char* value : {"Prima", "Seconda srl"}) {
                ini.writeString(kIssuerSection, "Nome", value);
                EXPECT_EQ(ini.readString(kIssuerSection, "Nome", "dflt"), value);
                EXPECT_EQ(IniFile(path()).readString(kIssuerSection, "Nome", "dflt"), value);
            }
            const QByteArray after = bytes();
            EXPECT_EQ(after.count("[Ditta Emittente]"), 1);
            if (sectionThere) {
                EXPECT_EQ(after, head + "[Ditta Emittente]\r\nNome=Seconda srl\r\nCAP=47100\r\n" + tail);
                EXPECT_EQ(ini.readString(kIssuerSection, "CAP", ""), "47100");
            } else {
                EXPECT_EQ(after, head + section + tail + "[Ditta Emittente]\r\nNome=Seconda srl\r\n");
            }
        }
    }
}

// The thirteen keys an editor writes on closing go in as one replacement of the file,
// however many of them are new or already there.
TEST_F(IniFileFaults, AnEditorsKeysAreOneReplacementOfTheFile)
{
    static int syncs = 0;
    static const orv::platform::IniWriteCalls counting {
        [](int fd, const void* d, size_t n, off_t at) { return ::pwrite(fd, d, n, at); },
        [](int fd) { ++syncs; return ::fsync(fd); },
    };
    orv::platform::setIniWriteCalls(&counting);
    put("[Altro]\r\nx=1\r\n[Ditta Emittente]\r\nCampo3=vecchio\r\n\r\n[Dopo]\r\ny=2\r\n");
    IniFile ini(path());
    struct stat first {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &first), 0);
    syncs = 0;
    ini.writeStrings(kIssuerSection, issuerKeys("a"));
    EXPECT_EQ(syncs, 1);
    QStringList keys;
    for (const auto& kv : issuerKeys("a")) keys << kv.first;
    QStringList expected;
    for (const auto& kv : issuerKeys("a")) expected << kv.second;
    EXPECT_EQ(ini.readStrings(kIssuerSection, keys, "?"), expected);
    // The key already there keeps its place; the new ones follow the section's last line.
    const QByteArray after = bytes();
    EXPECT_TRUE(after.startsWith("[Altro]\r\nx=1\r\n[Ditta Emittente]\r\nCampo3=a3\r\nCampo0=a0\r\nCampo1=a1\r\nCampo2=a2\r\nCampo4=a4\r\n"));
    EXPECT_TRUE(after.endsWith("Campo12=a12\r\n\r\n[Dopo]\r\ny=2\r\n"));
    syncs = 0;
    ini.writeStrings(kIssuerSection, issuerKeys("b"));
    EXPECT_EQ(syncs, 1);
    EXPECT_EQ(bytes().size(), after.size());
    // A key named twice in one write keeps the last value, on one line.
    ini.writeStrings("Nuova", {{"k", "1"}, {"K", "2"}});
    EXPECT_TRUE(bytes().endsWith("[Nuova]\r\nk=2\r\n"));
}

// A full disk says so and leaves the file and the folder as they were.
TEST_F(IniFileFaults, AFullDiskIsToldApartAndChangesNothing)
{
    static int failWith = 0, failAt = 0;  // failAt: 0 fails the write, 1 the flush
    static const orv::platform::IniWriteCalls full {
        [](int fd, const void* d, size_t n, off_t at) -> ssize_t {
            if (failWith && failAt == 0) { errno = failWith; return -1; }
            return ::pwrite(fd, d, n, at);
        },
        [](int fd) {
            if (failWith && failAt == 1) { errno = failWith; return -1; }
            return ::fsync(fd);
        },
    };
    orv::platform::setIniWriteCalls(&full);
    const QByteArray original = "[Ditta Emittente]\r\nNome=Rossi\r\n";
    const struct {
        int error, at;
        IniFileError::Cause cause;
    } cases[] = {
        {ENOSPC, 0, IniFileError::Cause::DiskFull}, {ENOSPC, 1, IniFileError::Cause::DiskFull},
        {EDQUOT, 0, IniFileError::Cause::DiskFull}, {EIO, 0, IniFileError::Cause::Other},
        {EIO, 1, IniFileError::Cause::Other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "errno " << c.error << " at " << c.at);
        put(original);
        failWith = c.error;
        failAt = c.at;
        try {
            IniFile(path()).writeStrings(kIssuerSection, issuerKeys("x"));
            ADD_FAILURE() << "the write was said to succeed";
        } catch (const IniFileError& e) {
            EXPECT_EQ(e.cause(), c.cause);
        }
        failWith = 0;
        EXPECT_EQ(bytes(), original);
        EXPECT_EQ(files(), QStringList({"Orvanta.ini"}));
    }
}

// A lock that another program keeps past the wait: the write gives up, says the file is in
// use, and writes nothing; once the lock is gone the same write goes in.
TEST_F(IniFileFaults, ALockHeldElsewhereMakesTheWriteGiveUpWithNothingWritten)
{
    put("[Ditta Emittente]\r\nNome=Rossi\r\n");
    const int holder = ::open(QFile::encodeName(path()).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(holder, F_OFD_SETLK, &fl), 0);
    IniFile::setLockWaitMs(200);
    try {
        IniFile(path()).writeStrings(kIssuerSection, issuerKeys("x"));
        ADD_FAILURE() << "the write was said to succeed";
    } catch (const IniFileError& e) {
        EXPECT_EQ(e.cause(), IniFileError::Cause::InUse);
    }
    EXPECT_EQ(bytes(), "[Ditta Emittente]\r\nNome=Rossi\r\n");
    ::close(holder);
    IniFile(path()).writeStrings(kIssuerSection, issuerKeys("x"));
    EXPECT_EQ(IniFile(path()).readString(kIssuerSection, "Campo12", ""), "x12");
}

// The temporary files an interrupted write of ours left beside the file go with the next
// write; files that only look alike stay.
TEST_F(IniFileFaults, LeftoversOfAnInterruptedWriteGoWithTheNextWrite)
{
    put("[A]\r\nk=1\r\n");
    const QStringList ours = {"Orvanta.ini.~Ab3xZ9", "Orvanta.ini.~000000"};
    const QStringList others = {"Orvanta.ini.backup", "Orvanta.ini.~Ab3xZ", "Orvanta.ini.~Ab3xZ9x", "Altro.ini.~Ab3xZ9",
                                "Orvanta.ini.~Ab-xZ9"};
    for (const QString& name : ours + others) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[A]\r\nk=");
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("Orvanta.ini.~Dir123"));  // not a file: stays
    IniFile(path()).writeString("A", "k", "2");
    QStringList expected = others;
    expected << "Orvanta.ini";
    expected.sort();
    EXPECT_EQ(files(), expected);
    EXPECT_TRUE(QDir(dir.filePath("Orvanta.ini.~Dir123")).exists());
    EXPECT_EQ(bytes(), "[A]\r\nk=2\r\n");
}

// A FIFO, a folder or a device at the file's name reads as no file at once, and a write
// to it fails at once.
TEST_F(IniFileFaults, OnlyRegularFilesAreRead)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
    auto read = std::async(std::launch::async, [this] { return IniFile(path()).readString("A", "k", "dflt"); });
    // A guard against a read that would never end: a writer set free releases it.
    if (read.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        ADD_FAILURE() << "reading a FIFO blocked";
        const int w = ::open(QFile::encodeName(path()).constData(), O_WRONLY | O_NONBLOCK);
        if (w >= 0) ::close(w);
    }
    EXPECT_EQ(read.get(), "dflt");
    EXPECT_FALSE(IniFile(path()).sectionExists("A"));
    EXPECT_THROW(IniFile(path()).writeString("A", "k", "v"), IniFileError);
    for (const char* other : {"/dev/null", "/dev/zero"}) {
        EXPECT_EQ(IniFile(other).readString("A", "k", "dflt"), "dflt");
        EXPECT_TRUE(IniFile(other).sections().isEmpty());
    }
}

// The first parse of a file of many small sections is one pass: the allocations it makes
// do not grow with the number of sections (one key table per section used to).
TEST_F(IniFileFaults, TheFirstParseDoesNotAllocatePerSection)
{
    for (int sections : {1000, 7001, 40000}) {
        SCOPED_TRACE(sections);
        QByteArray all = "[Numerazione Preventivi]\r\nInizio=42\r\n";
        for (int i = 0; i < sections; ++i) all += "[S" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n";
        put(all);
        IniFile ini(path());
        newCalls = 0;
        countingNew = true;
        const QString value = ini.readString(QStringLiteral("S%1").arg(sections - 1), "k", "");
        countingNew = false;
        EXPECT_EQ(value, QString::number(sections - 1));
        EXPECT_LT(newCalls.load(), 100);
        EXPECT_EQ(ini.readString("Numerazione Preventivi", "Inizio", ""), "42");
        EXPECT_EQ(ini.sections().size(), sections + 1);
    }
}

} // namespace

namespace {

// Names are looked along until looking has cost about what a table costs, then found
// through tables; small sections are always looked through. Every way finds every key
// ignoring the case of A-Z, the first of a repeated name, and nothing of another section
// or of a repeated section: the same answers in every round, before and after the
// tables are there.
TEST_F(IniFileFaults, KeysAreFoundAlikeInSectionsOfEverySize)
{
    for (int n : {0, 1, 7, 8, 9, 10, 17, 64}) {
        SCOPED_TRACE(n);
        QByteArray all = "[Prima]\r\nk0=altra\r\n";
        for (int section = 0; section < 3; ++section) {
            all += "[Sezione" + QByteArray::number(section) + "]\r\n";
            for (int i = 0; i < n; ++i) all += "k" + QByteArray::number(i) + "=" + QByteArray::number(section * 1000 + i) + "\r\n";
            if (n > 0) all += "K0=ripetuta\r\n";
        }
        all += "[sezione1]\r\nk0=sezione ripetuta\r\nnuova=x\r\n";
        put(all);
        IniFile ini(path());
        for (int round = 0; round < 40; ++round) {
            SCOPED_TRACE(round);
            for (int section = 0; section < 3; ++section) {
                const QString name = QStringLiteral("SEZIONE%1").arg(section);
                for (int i = 0; i < n; ++i)
                    ASSERT_EQ(ini.readString(name, QStringLiteral("K%1").arg(i), "?"), QString::number(section * 1000 + i));
                ASSERT_EQ(ini.readString(name, QStringLiteral("k%1").arg(n), "?"), "?");
                ASSERT_EQ(ini.readString(name, "nuova", "?"), "?");
                ASSERT_EQ(ini.sectionValues(name).size(), n > 0 ? n + 1 : 0);
            }
            ASSERT_EQ(ini.readString("Prima", "k0", "?"), "altra");
            ASSERT_EQ(ini.sections(), QStringList({"Prima", "Sezione0", "Sezione1", "Sezione2"}));
        }
    }
}

// One parsed file serves every reader: readers on several threads at once, while the
// looking along fills the tables under them, all find the right values.
TEST_F(IniFileFaults, ReadersOnSeveralThreadsFindTheSameKeys)
{
    QByteArray all;
    for (int section = 0; section < 50; ++section) {
        all += "[S" + QByteArray::number(section) + "]\r\n";
        for (int i = 0; i < 40; ++i) all += "k" + QByteArray::number(i) + "=" + QByteArray::number(section * 100 + i) + "\r\n";
    }
    put(all);
    std::atomic<int> wrong {0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t)
        readers.emplace_back([&, t] {
            const IniFile ini(path());
            for (int round = 0; round < 3; ++round)
                for (int section = 0; section < 50; ++section)
                    for (int i = 0; i < 40; ++i) {
                        const int s = (section + t * 13) % 50;
                        if (ini.readString(QStringLiteral("s%1").arg(s), QStringLiteral("K%1").arg(i), "?") != QString::number(s * 100 + i))
                            ++wrong;
                    }
        });
    for (std::thread& r : readers) r.join();
    EXPECT_EQ(wrong.load(), 0);
}

} // namespace
