#pragma once
// How the simulated Hayes modem in front of the interface unit answers
// (the --modem option puts it there). Scenario lines:
//
//   modem answer CONNECT|BUSY|NO CARRIER|NO ANSWER   the dial's result
//   modem delay MS       from the dial command to its result (default 200)
//   modem guard MS       the silence around "+++" (default 1000)
//   modem drop MS        the far end hangs up MS after CONNECT (0: never)
//   modem number DIGITS  the site's number as the modem receives it (T, P
//                        and spaces left out); a dial to any other number
//                        gets NO ANSWER. Without it every number answers.
#include <chrono>
#include <string>
#include <vector>

namespace SiteSim {

struct SimModemSettings {
    std::string Answer = "CONNECT";
    std::chrono::milliseconds Delay{200};
    std::chrono::milliseconds Guard{1000};
    std::chrono::milliseconds DropAfter{0};
    std::string Number; // upper case; empty: every number answers
};

// One "modem" scenario line (words[0] == "modem"); raises ScenarioError.
void ParseModemDirective(SimModemSettings& settings, const std::vector<std::string>& words, int line);

} // namespace SiteSim
