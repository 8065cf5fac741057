// The log commands of the built program, with no display: the CSV export's
// file, standard output and exit statuses.
#include "support/AppFixture.h"

#include "logger/HandLog.h"

using AppTest::AppFixture;

namespace {

class LogExportRunTest : public AppFixture {
protected:
    // A log of one ASM with three entries, in the test's folder.
    QString WriteLog()
    {
        LogTest::THandLog hand;
        hand.Keys = {{LogTest::AsmTypeByte, 0x0021}};
        hand.Values = {{5}, {uint16_t(-7)}, {0x7FFF}};
        const std::vector<uint8_t> bytes = LogTest::LogBytes(hand);
        const QString path = Path("4660A00.LOG");
        WriteFile(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
        return path;
    }
};

const QByteArray ExpectedCsv = "Local time,UTC time,ASM1/1/0\r\n"
                               "2026-05-28T22:00:00+02:00,2026-05-28T20:00:00Z,5\r\n"
                               "2026-05-28T22:15:00+02:00,2026-05-28T20:15:00Z,-7\r\n"
                               "2026-05-28T22:30:00+02:00,2026-05-28T20:30:00Z,-----\r\n";

} // namespace

TEST_F(LogExportRunTest, ExportWritesTheCsvBesideTheLogOrWhereAsked)
{
    const QString log = WriteLog();
    const AppTest::TProgramRun beside = RunProgram({"--export-csv", log});
    ASSERT_TRUE(beside.Finished);
    EXPECT_EQ(beside.ExitCode, 0) << beside.Errors.toStdString();
    EXPECT_EQ(ReadFile(Path("4660A00.csv")), ExpectedCsv);

    const AppTest::TProgramRun asked = RunProgram({"--export-csv", log, "--output", Path("out.csv"), "--semicolon"});
    EXPECT_EQ(asked.ExitCode, 0);
    EXPECT_EQ(ReadFile(Path("out.csv")), QByteArray(ExpectedCsv).replace(',', ';'));

    const AppTest::TProgramRun piped = RunProgram({"--export-csv", log, "--output", "-"});
    EXPECT_EQ(piped.ExitCode, 0);
    EXPECT_EQ(piped.Output, ExpectedCsv);
    EXPECT_TRUE(piped.Errors.isEmpty());
}

TEST_F(LogExportRunTest, FailuresSayWhatIsWrongOnStderr)
{
    const QString log = WriteLog();
    QByteArray cut = ReadFile(log);
    cut.chop(1);
    WriteFile(Path("4660A01.LOG"), cut);
    struct Case {
        QStringList Arguments;
        int ExitCode;
        const char* Says;
    };
    const Case cases[] = {
        {{"--export-csv", Path("missing.LOG")}, 1, "missing.LOG: cannot be opened"},
        {{"--export-csv", Path("4660A01.LOG")}, 1, "4660A01.LOG: the file is cut off"},
        {{"--export-csv"}, 2, "--export-csv needs a value"},
        {{"--export-csv", log, "--bogus"}, 2, "--bogus is not an option of the log commands"},
    };
    for (const Case& c : cases) {
        const AppTest::TProgramRun run = RunProgram(c.Arguments);
        ASSERT_TRUE(run.Finished);
        EXPECT_EQ(run.ExitCode, c.ExitCode) << c.Says;
        EXPECT_TRUE(run.Errors.contains(c.Says)) << run.Errors.toStdString();
        EXPECT_TRUE(run.Output.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(Path("missing.csv")));
}

TEST_F(LogExportRunTest, ReportIsAPdfWithTheSitesName)
{
    const QString log = WriteLog();
    WriteFile(Path("north.ste"), AppTest::EmptySiteFile("North store"));
    const AppTest::TProgramRun run =
        RunProgram({"--report-pdf", log, "--output", Path("report.pdf"), "--from", "2026-05-28", "--to", "2026-05-28"});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QByteArray pdf = ReadFile(Path("report.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    // The document's title names the site; PDF text strings beyond ASCII's
    // reach are UTF-16 (big-endian), which the writer may use for any title.
    QByteArray utf16;
    for (const char c : QByteArray("Log report North store"))
        utf16.append('\0').append(c);
    EXPECT_TRUE(pdf.contains("Log report North store") || pdf.contains(utf16));

    const AppTest::TProgramRun badDate = RunProgram({"--report-pdf", log, "--from", "28.05.2026"});
    EXPECT_EQ(badDate.ExitCode, 2);
    EXPECT_TRUE(badDate.Errors.contains("take dates as YYYY-MM-DD"));
}
