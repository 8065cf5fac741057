// The EE settings editor's loop against the simulator: its reads cycle over
// the named range, and every byte changed on the PC reaches the unit, two
// edits between passes included.
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"
#include "support/SimLinkFixture.h"
#include "units/EESetsLoop.h"
#include "units/EESetsModel.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

using namespace Quorvel1;

namespace {

class EESetsLoopTest : public ::testing::Test, public QuorvelTest::SimLinkFixture {
protected:
    void SetUp() override
    {
        Connect({}, "unit 5 app 0x0C05\n"
                    "unit 5 ee 16 words 0x0102 0x0304\n");
        link.SelectUnit(5, false);
        QObject::connect(&loop, &TEESetsLoop::Status, [this](const QString& text) { statuses << text; });
        QObject::connect(&loop, &TEESetsLoop::Finished, [this] { finished = true; });
    }
    static bool WaitFor(const std::function<bool()>& done)
    {
        QDeadlineTimer deadline(20000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
    void StopLoop()
    {
        loop.Stop();
        ASSERT_TRUE(WaitFor([this] { return finished; }));
    }

    const TConfigBlock block{0x0C05, {"012-005,FRIDGE5", "16,FIRST", "24,END"}};
    TEEBlock image{block.HighestAddress(), TEEBlock::ImageName(5, 0x0C05)};
    TEESetsModel model{image, &block};
    TEESetsLoop loop{link, model};
    QStringList statuses;
    bool finished = false;
};

TEST_F(EESetsLoopTest, ReadsCycleOverTheNamedRange)
{
    loop.Start();
    ASSERT_TRUE(WaitFor([this] { return statuses.size() >= 6; }));
    StopLoop();
    EXPECT_EQ(statuses.mid(0, 6), QStringList({"Reading address: 16", "Reading address: 18", "Reading address: 20",
                                               "Reading address: 22", "Reading address: 24",
                                               "Reading address: 16"}));
    EXPECT_EQ(model.CellText(16, TEESetsModel::Word), "258");
    EXPECT_EQ(image.GetState(19), EEState::Read);
}

TEST_F(EESetsLoopTest, EveryChangedByteReachesTheUnit)
{
    loop.Start();
    ASSERT_TRUE(WaitFor([this] { return image.GetState(18) == EEState::Read; }));
    // Two edits before the next pass: both go out.
    model.Edit(16, TEESetsModel::Byte, "7");
    model.Edit(18, TEESetsModel::Word, "4660");
    ASSERT_TRUE(WaitFor([this] {
        return statuses.contains("Writing address: 16") && statuses.contains("Writing address: 18")
               && image.GetState(16) == EEState::Read && image.GetState(19) == EEState::Read;
    }));
    StopLoop();
    EXPECT_EQ(link.ReadByte(16, Pelk::TMestraIF::Ee), 7);
    EXPECT_EQ(link.ReadWord(18, Pelk::TMestraIF::Ee), 4660);
    EXPECT_EQ(model.CellText(18, TEESetsModel::Word), "4660");
}

} // namespace
