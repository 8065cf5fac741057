// The link's errors: their fixed messages, their family, and their line in
// the trace file.
#include "comms/PelkExceptions.h"
#include "comms/PelkTrace.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Pelk;

namespace {

// Throws the error of one row; the test catches it as the link's family and
// as the program's general error, which is how the callers catch them.
template <typename E>
void Throw()
{
    throw E();
}

} // namespace

TEST(PelkExceptionsTest, EachLinkErrorCarriesItsFixedMessageAndIsCaughtAsItsFamily)
{
    const struct {
        void (*Raise)();
        const char* Message;
    } rows[] = {
        {Throw<EPelkUserAbort>, "Mestra link: User abort"},
        {Throw<EPelkTimeout>, "Mestra link: Read/Write timeout"},
        {Throw<EPelkResetFail>, "Mestra link: Link reset failure"},
        {Throw<EPelkUserBreak>, "Mestra link: User break"},
        {Throw<EPelkChkSum>, "Mestra link: Message checksum error"},
        {Throw<EPelkOpFailure>, "Mestra link: Read/write op failure"},
        {Throw<EPelkLANTimeout>, "Mestra link: LAN op timeout"},
        {Throw<EPelkLANMsg>, "Mestra link: LAN message failure"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Message);
        try {
            row.Raise();
            ADD_FAILURE() << "nothing thrown";
        } catch (const EPelkException& error) {
            EXPECT_EQ(error.Message(), QString(row.Message));
        } catch (...) {
            ADD_FAILURE() << "not caught as a link error";
        }
        try {
            row.Raise();
        } catch (const Quorvel1::Exception& error) {
            EXPECT_STREQ(error.what(), row.Message);
        } catch (...) {
            ADD_FAILURE() << "not caught as the program's error";
        }
    }
}

TEST(PelkExceptionsTest, CreatingALinkErrorWritesItsMessageToTheTrace)
{
    QuorvelTest::TempFolder folder;
    const QString path = folder.file("QW1Pelk.txt");
    OpenTrace(path);

    { EPelkTimeout unused; }
    { EPelkException custom("Mestra link: something else"); }
    CloseTrace();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[2].endsWith(" Mestra link: Read/Write timeout")) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].endsWith(" Mestra link: something else")) << lines[3].toStdString();
}

TEST(PelkExceptionsTest, WithNoTraceLinkErrorsStillCarryTheirMessages)
{
    CloseTrace();

    EXPECT_THROW(throw EPelkLANMsg(), EPelkException);
    EXPECT_EQ(EPelkLANMsg().Message(), "Mestra link: LAN message failure");
}
