#include "SimMemory.h"

#include <gtest/gtest.h>

#include <memory>

using SiteSim::SimMemory;

TEST(SimMemory, WordsAreLittleEndianAndWrapAtTheTopOfTheSpace)
{
    auto memory = std::make_unique<SimMemory>();
    memory->SetWord(SimMemory::Space::Ee, 0xFFFF, 0x1234);
    EXPECT_EQ(memory->Byte(SimMemory::Space::Ee, 0xFFFF), 0x34);
    EXPECT_EQ(memory->Byte(SimMemory::Space::Ee, 0x0000), 0x12);
    EXPECT_EQ(memory->Word(SimMemory::Space::Ee, 0xFFFF), 0x1234);
    EXPECT_EQ(memory->Word(SimMemory::Space::Ram, 0xFFFF), 0);
}

TEST(SimMemory, AWriteCoversTheAddressesItReachesAcrossTheTopOfTheSpace)
{
    const struct {
        uint16_t Address;
        std::size_t Length;
        uint16_t Target;
        bool Covered;
    } rows[] = {
        {0x3000, 2, 0x3000, true},  {0x3000, 2, 0x3001, true},  {0x3000, 2, 0x3002, false},
        {0x3000, 2, 0x2FFF, false}, {0x3000, 0, 0x3000, false}, {0xFFFF, 2, 0x0000, true},
        {0xFFFF, 2, 0xFFFE, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SimMemory::Covers(row.Address, row.Length, row.Target), row.Covered)
            << std::hex << row.Address << '+' << row.Length << " @" << row.Target;
}
