#pragma once
// The words of a scenario line and the numbers in them, read the same way
// by every directive: words are separated by blanks, '#' starts a comment,
// and numbers are whole, decimal or hexadecimal with a 0x prefix.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace SiteSim {

// A scenario line that cannot be used; what() names the line number.
class ScenarioError : public std::runtime_error {
public:
    ScenarioError(int line, const std::string& message);
    int Line() const { return line_; }

private:
    int line_;
};

using ScenarioWords = std::vector<std::string>;

// The blank-separated words of `line`, up to a '#'.
ScenarioWords SplitWords(std::string_view line);
// The parts of `text` between the `separator`s, empty ones kept
// ("sensor::5" -> "sensor", "", "5").
ScenarioWords SplitAt(std::string_view text, char separator);

// A whole number: decimal or 0x-prefixed hexadecimal, with an optional
// leading '-', and nothing else. Empty when the word is not one or its
// value does not fit in 64 signed bits.
std::optional<int64_t> ParseWholeNumber(std::string_view word);

// The number in `word` of a scenario line, which must lie in least..most;
// raises ScenarioError naming `line` when it is not a number or not in range.
int64_t ScenarioNumber(const std::string& word, int64_t least, int64_t most, int line);
inline uint16_t ScenarioWord(const std::string& word, int line)
{
    return uint16_t(ScenarioNumber(word, 0, 0xFFFF, line));
}
inline uint8_t ScenarioByte(const std::string& word, int line)
{
    return uint8_t(ScenarioNumber(word, 0, 0xFF, line));
}

} // namespace SiteSim
