#include "base/DataDir.h"
#include "base/Parameters.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

using namespace etibarix;
using base::Parameters;

namespace {

class ParameterFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::setDataDirOverride(m_dir.path());
        base::Parameters.Clear();
    }
    void TearDown() override
    {
        base::setDataDirOverride(QString());
        base::Parameters.Clear();
    }
    QString path() const { return m_dir.file(QStringLiteral("ETIBARIX.PAR")); }

    // A record as an earlier run may have written it.
    static QByteArray record(qint32 language, qint32 codeSet, qint32 index, const QByteArray &printer)
    {
        QByteArray r(120, '\0');
        r[0] = 3;
        r.replace(1, 3, "EBP");
        auto put = [&r](int at, qint32 v) {
            for (int i = 0; i < 4; ++i)
                r[at + i] = static_cast<char>((static_cast<quint32>(v) >> (8 * i)) & 0xFF);
        };
        put(4, language);
        put(8, codeSet);
        put(12, index);
        r[16] = static_cast<char>(printer.size());
        r.replace(17, printer.size(), printer);
        return r;
    }

    test::DataDir m_dir;
};

} // namespace

TEST_F(ParameterFile, FirstRunUsesDefaultsAndWritesTheRecord)
{
    EXPECT_FALSE(base::LoadParameters());
    EXPECT_EQ(base::Parameters.Language, 1);
    EXPECT_EQ(base::Parameters.CodeSet, 1);
    EXPECT_EQ(base::Parameters.LabelFormatIndex, 0);
    EXPECT_EQ(base::Parameters.PrinterName(), "");
    EXPECT_FALSE(QFileInfo::exists(path()));

    ASSERT_TRUE(base::SaveParameters(-1, QString()));
    const QByteArray written = test::readFile(path());
    ASSERT_EQ(written.size(), 120);
    EXPECT_EQ(written, record(1, 1, -1, ""));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("ETIBARIX.PAR")});
}

TEST_F(ParameterFile, RoundTrip)
{
    test::writeFile(path(), record(3, 2, 7, "Laser \xE9tage 2"));
    EXPECT_TRUE(base::LoadParameters());
    EXPECT_EQ(base::Parameters.Language, 3);
    EXPECT_EQ(base::Parameters.CodeSet, 2);
    EXPECT_EQ(base::Parameters.LabelFormatIndex, 7);
    EXPECT_EQ(base::Parameters.PrinterName(), "Laser \xE9tage 2");
    EXPECT_EQ(base::Parameters.PrinterNameText(), QStringLiteral("Laser \u00e9tage 2"));

    base::Parameters.CodeSet = 3;
    ASSERT_TRUE(base::SaveParameters(4, u"PDF"));
    QByteArray expected = record(3, 3, 4, "PDF");
    // The bytes after the shorter name keep what the longer one left.
    expected.replace(20, 10, QByteArray("er \xE9tage 2"));
    EXPECT_EQ(test::readFile(path()), expected);

    base::Parameters.Clear();
    EXPECT_TRUE(base::LoadParameters());
    EXPECT_EQ(base::Parameters.CodeSet, 3);
    EXPECT_EQ(base::Parameters.LabelFormatIndex, 4);
    EXPECT_EQ(base::Parameters.PrinterNameText(), QStringLiteral("PDF"));
}

TEST_F(ParameterFile, UnsetBytesSurviveByteForByte)
{
    QByteArray r = record(2, 1, 0, "P");
    for (int i = 18; i < 120; ++i)
        r[i] = static_cast<char>(i);
    r[0] = 9;   // the tag is never checked on reading
    r.replace(1, 3, "XYZ");
    test::writeFile(path(), r + "trailing bytes are ignored");
    EXPECT_TRUE(base::LoadParameters());
    EXPECT_EQ(base::Parameters.Language, 2);
    ASSERT_TRUE(base::SaveParameters(0, u"P"));
    r[0] = 3;
    r.replace(1, 3, "EBP");
    EXPECT_EQ(test::readFile(path()), r);
}

TEST_F(ParameterFile, ShortFilesAreDeletedSilently)
{
    for (int size : {0, 1, 4, 5, 8, 9, 16, 119}) {
        base::Parameters.Clear();
        const QByteArray full = record(2, 3, 5, "Printer");
        test::writeFile(path(), full.left(size));
        EXPECT_TRUE(base::LoadParameters()) << size;
        EXPECT_FALSE(QFileInfo::exists(path())) << size;
        // The bytes read before the failure stand.
        EXPECT_EQ(base::Parameters.Language, size >= 5 ? 2 : 1) << size;
        EXPECT_EQ(base::Parameters.CodeSet, size >= 9 ? 3 : 1) << size;
    }
    // A partly read integer keeps its other bytes.
    base::Parameters.Clear();
    test::writeFile(path(), QByteArray("\x03" "EBP\x02\x01", 6));
    EXPECT_TRUE(base::LoadParameters());
    EXPECT_EQ(base::Parameters.Language, 0x0102);

    // The next exit writes a fresh 120-byte file.
    ASSERT_TRUE(base::SaveParameters(0, QString()));
    EXPECT_EQ(test::readFile(path()).size(), 120);
}

TEST_F(ParameterFile, PrinterNameLengths)
{
    // A stored length above 100 counts as 100.
    QByteArray r = record(1, 1, 0, QByteArray(100, 'n'));
    r[16] = static_cast<char>(0xFF);
    test::writeFile(path(), r);
    EXPECT_TRUE(base::LoadParameters());
    EXPECT_EQ(base::Parameters.PrinterName(), QByteArray(100, 'n'));

    // A longer name is cut to its first 100 characters.
    const QString longName = QString(150, u'\u00e9');
    ASSERT_TRUE(base::SaveParameters(2, longName));
    const QByteArray written = test::readFile(path());
    EXPECT_EQ(static_cast<unsigned char>(written[16]), 100);
    EXPECT_EQ(written.mid(17, 100), QByteArray(100, '\xE9'));
    EXPECT_EQ(written.mid(117), QByteArray(3, '\0'));
}

TEST_F(ParameterFile, WriteFailureKeepsTheOldFileAndReports)
{
    const QByteArray old = record(2, 2, 2, "Old");
    test::writeFile(path(), old);
    // A full disk: no file may grow beyond 60 bytes while saving.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 60;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString text;
    QString caption;
    EXPECT_FALSE(base::SaveParameters(1, u"New", [&](const QString &t, const QString &c) {
        text = t;
        caption = c;
    }));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(text, QStringLiteral("Il y a eu un probl\u00e8me"));
    EXPECT_EQ(caption, QStringLiteral("Fichier non sauvegard\u00e9 !!"));
    EXPECT_EQ(test::readFile(path()), old);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("ETIBARIX.PAR")});
}

TEST_F(ParameterFile, WriteFailureWhenThePathIsADirectory)
{
    QDir().mkpath(path());
    EXPECT_TRUE(base::LoadParameters());   // it exists; reading fails; removal fails silently
    bool called = false;
    EXPECT_FALSE(base::SaveParameters(0, QString(), [&](const QString &, const QString &) { called = true; }));
    EXPECT_TRUE(called);
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

TEST_F(ParameterFile, PeekNeverDeletes)
{
    test::writeFile(path(), QByteArray(10, '\x01'));
    base::Parameters.Language = 5;
    EXPECT_TRUE(base::PeekParameters());
    EXPECT_TRUE(QFileInfo::exists(path()));
    QFile::remove(path());
    EXPECT_FALSE(base::PeekParameters());
}

TEST_F(ParameterFile, AnyLengthAndContent)
{
    quint32 x = 99;
    for (int size = 0; size <= 300; size += 7) {
        QByteArray bytes;
        for (int i = 0; i < size; ++i) {
            x = x * 1664525u + 1013904223u;
            bytes.append(static_cast<char>(x >> 24));
        }
        test::writeFile(path(), bytes);
        EXPECT_TRUE(base::LoadParameters()) << size;
        EXPECT_EQ(QFileInfo::exists(path()), size >= 120) << size;
        EXPECT_LE(base::Parameters.PrinterName().size(), 100);
        if (size >= 120) {
            EXPECT_EQ(base::Parameters.Bytes(), bytes.left(120)) << size;
        }
        // Whatever was read, writing gives a well-formed record again.
        ASSERT_TRUE(base::SaveParameters(base::Parameters.LabelFormatIndex, base::Parameters.PrinterNameText()));
        const QByteArray written = test::readFile(path());
        ASSERT_EQ(written.size(), 120);
        EXPECT_EQ(written.left(4), QByteArray("\x03" "EBP"));
        EXPECT_LE(static_cast<unsigned char>(written[16]), 100);
    }
}
