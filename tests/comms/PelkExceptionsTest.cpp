// The link's errors: their fixed messages, their family, and their line in
// the trace file.
#include "comms/PelkExceptions.h"
#include "comms/PelkTrace.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Pelk;

namespace {

template <typename E>
void ExpectLinkError(const char* message)
{
    const E error;
    EXPECT_EQ(error.Message(), QString(message));
    EXPECT_STREQ(error.what(), message);
    const EPelkException* asLinkError = &error;
    const Quorvel1::Exception* asGeneral = &error;
    EXPECT_NE(asLinkError, nullptr);
    EXPECT_NE(asGeneral, nullptr);
}

} // namespace

TEST(PelkExceptionsTest, EachLinkErrorCarriesItsFixedMessage)
{
    ExpectLinkError<EPelkUserAbort>("Mestra link: User abort");
    ExpectLinkError<EPelkTimeout>("Mestra link: Read/Write timeout");
    ExpectLinkError<EPelkResetFail>("Mestra link: Link reset failure");
    ExpectLinkError<EPelkUserBreak>("Mestra link: User break");
    ExpectLinkError<EPelkChkSum>("Mestra link: Message checksum error");
    ExpectLinkError<EPelkOpFailure>("Mestra link: Read/write op failure");
    ExpectLinkError<EPelkLANTimeout>("Mestra link: LAN op timeout");
    ExpectLinkError<EPelkLANMsg>("Mestra link: LAN message failure");
}

TEST(PelkExceptionsTest, LinkErrorsAreCaughtAsTheirFamily)
{
    try {
        throw EPelkChkSum();
    } catch (const EPelkException& error) {
        EXPECT_EQ(error.Message(), "Mestra link: Message checksum error");
        return;
    }
    FAIL() << "not caught as a link error";
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
