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
