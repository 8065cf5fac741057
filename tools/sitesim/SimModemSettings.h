#pragma once
// How the simulated Hayes modem in front of the interface unit answers
// (the --modem option puts it there). Scenario lines:
//
//   modem answer CONNECT|BUSY|NO CARRIER|NO ANSWER   the dial's result
//   modem delay MS       from the dial command to its result (default 200)
//   modem guard MS       the silence around "+++" (default 1000)
//   modem drop MS        the far end hangs up MS after CONNECT (0: never)
#include <chrono>
#include <string>
#include <vector>

namespace SiteSim {

struct SimModemSettings {
    std::string Answer = "CONNECT";
    std::chrono::milliseconds Delay{200};
    std::chrono::milliseconds Guard{1000};
    std::chrono::milliseconds DropAfter{0};
};

// One "modem" scenario line (words[0] == "modem"); raises ScenarioError.
void ParseModemDirective(SimModemSettings& settings, const std::vector<std::string>& words, int line);

} // namespace SiteSim
