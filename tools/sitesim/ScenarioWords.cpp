#include "ScenarioWords.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace SiteSim {

ScenarioError::ScenarioError(int line, const std::string& message)
    : std::runtime_error("scenario line " + std::to_string(line) + ": " + message), line_(line)
{
}

ScenarioWords SplitWords(std::string_view line)
{
    line = line.substr(0, line.find('#'));
    constexpr std::string_view Blanks = " \t\r\n\f\v";
    ScenarioWords words;
    for (std::size_t start = line.find_first_not_of(Blanks); start != std::string_view::npos;) {
        const std::size_t end = std::min(line.find_first_of(Blanks, start), line.size());
        words.emplace_back(line.substr(start, end - start));
        start = line.find_first_not_of(Blanks, end);
    }
    return words;
}

ScenarioWords SplitAt(std::string_view text, char separator)
{
    ScenarioWords parts;
    for (;;) {
        const std::size_t end = text.find(separator);
        parts.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return parts;
        text.remove_prefix(end + 1);
    }
}

std::optional<int64_t> ParseWholeNumber(std::string_view word)
{
    const bool negative = !word.empty() && word[0] == '-';
    if (negative)
        word.remove_prefix(1);
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        word.remove_prefix(2);
        base = 16;
    }
    // from_chars would take a second sign.
    if (word.empty() || word[0] == '-' || word[0] == '+')
        return std::nullopt;
    uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), magnitude, base);
    if (error != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    constexpr auto Largest = uint64_t(std::numeric_limits<int64_t>::max());
    if (magnitude > Largest + (negative ? 1 : 0))
        return std::nullopt;
    if (!negative)
        return int64_t(magnitude);
    return magnitude == Largest + 1 ? std::numeric_limits<int64_t>::min() : -int64_t(magnitude);
}

int64_t ScenarioNumber(const std::string& word, int64_t least, int64_t most, int line)
{
    const std::optional<int64_t> value = ParseWholeNumber(word);
    if (!value)
        throw ScenarioError(line, "not a number: " + word);
    if (*value < least || *value > most)
        throw ScenarioError(line, word + " is not in " + std::to_string(least) + ".." + std::to_string(most));
    return *value;
}

} // namespace SiteSim
