#pragma once
// The memory viewer's work on the link, without its window: the unit it
// addresses, reads of single bytes or words of RAM or EE memory and the log
// line of each read, and writing a value back where the last read was. The
// numbers the user types are parsed here too, each checked against what the
// link can carry (a 16-bit address, an 8- or 16-bit value).
#include <QString>

#include <cstdint>

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TDbgMemory {
public:
    static constexpr int HighestUnit = 30;
    static constexpr const char* UnitText = "Unit %u, Application %03u-%03u";
    static constexpr const char* UnknownUnitText = "Unit %u, Application unknown";
    static constexpr const char* LogLineFormat = "U%02d %c%c %04X %05u:\t%04X \t%6d";

    explicit TDbgMemory(Pelk::TMestraIF& link) : link_(link) {}

    // "x" or "X" first: the rest in hexadecimal; otherwise strict decimal.
    // Leading and trailing blanks are ignored, anything else that is not part
    // of the number fails with "Invalid value: " and the text (upper case,
    // without the x).
    static std::int64_t ParseNumber(const QString& text);
    // An address: 0..0xFFFF, else "Address out of range: <text>".
    static std::uint16_t ParseAddress(const QString& text);
    // A value for a byte (-128..255) or a word (-32768..65535), negative
    // values standing for their two's complement; else "Value out of range:
    // <text>".
    static std::uint16_t ParseValue(const QString& text, bool word);
    static QString LogLine(int unit, bool ee, bool word, std::uint16_t address, std::uint32_t value);

    // Addresses unit `unit` (0..30) with identification and returns the text
    // for the caption. A unit that does not answer, or any link error on the
    // way, still leaves `unit` addressed (without identification), so that
    // the reads go where the unit box says; `selected` tells which it was.
    QString SelectUnit(int unit, bool& selected);

    // Reads at `address` (a RAM word at the even address below an odd one)
    // and returns the log line. Link errors go to the caller.
    QString Read(std::uint16_t address, bool word, bool ee);
    // Writes `value` where the last read was, in its size and memory, then
    // reads it again; the new log line. Fails with "Read an address first"
    // before any read of the unit addressed now.
    QString Write(std::uint16_t value);

    // The link was used by others: SetVal waits for a new read.
    void Forget() { hasRead_ = false; }
    bool HasRead() const { return hasRead_; }
    std::uint16_t Address() const { return address_; }
    std::uint32_t Value() const { return value_; }
    bool Word() const { return word_; }
    bool Ee() const { return ee_; }

private:
    Pelk::TMestraIF& link_;
    std::uint16_t address_ = 0;
    std::uint32_t value_ = 0;
    bool word_ = true;
    bool ee_ = false;
    bool hasRead_ = false;
};

} // namespace Quorvel1
