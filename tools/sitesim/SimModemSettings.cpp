#include "SimModemSettings.h"

#include "ScenarioWords.h"

#include <cctype>

namespace SiteSim {

namespace {

std::chrono::milliseconds parseMilliseconds(const std::vector<std::string>& words, int line)
{
    if (words.size() != 3)
        throw ScenarioError(line, "modem " + words[1] + ": wrong number of arguments");
    return std::chrono::milliseconds(ScenarioNumber(words[2], 0, 3'600'000, line));
}

std::string joinFrom(const std::vector<std::string>& words, std::size_t first)
{
    std::string text;
    for (std::size_t i = first; i < words.size(); ++i)
        text += (text.empty() ? "" : " ") + words[i];
    return text;
}

} // namespace

void ParseModemDirective(SimModemSettings& settings, const std::vector<std::string>& words, int line)
{
    if (words.size() < 2)
        throw ScenarioError(line, "modem: wrong number of arguments");
    const std::string& what = words[1];
    if (what == "answer") {
        const std::string answer = joinFrom(words, 2);
        if (answer != "CONNECT" && answer != "BUSY" && answer != "NO CARRIER" && answer != "NO ANSWER")
            throw ScenarioError(line, "modem answer: unknown result: " + answer);
        settings.Answer = answer;
    } else if (what == "delay") {
        settings.Delay = parseMilliseconds(words, line);
    } else if (what == "guard") {
        settings.Guard = parseMilliseconds(words, line);
    } else if (what == "drop") {
        settings.DropAfter = parseMilliseconds(words, line);
    } else if (what == "number") {
        if (words.size() != 3)
            throw ScenarioError(line, "modem number: wrong number of arguments");
        settings.Number.clear();
        for (char c : words[2])
            settings.Number.push_back(char(std::toupper(static_cast<unsigned char>(c))));
    } else {
        throw ScenarioError(line, "modem: unknown setting: " + what);
    }
}

} // namespace SiteSim
