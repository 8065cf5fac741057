#include "SimOptions.h"

#include "ScenarioWords.h"

#include <cstdlib>
#include <map>
#include <optional>

namespace SiteSim {

namespace {

constexpr uint64_t MaxBaud = 4'000'000;

// Counts are read as the scenario's numbers are, and may not be negative.
uint64_t parseCount(const std::string& name, const std::string& value)
{
    const std::optional<int64_t> number = ParseWholeNumber(value);
    if (!number || *number < 0)
        throw SimUsageError(name + ": not a whole number: " + value);
    return uint64_t(*number);
}

double parseRate(const std::string& name, const std::string& value)
{
    char* end = nullptr;
    const double rate = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(rate >= 0 && rate <= 1))
        throw SimUsageError(name + ": a probability from 0 to 1 is needed: " + value);
    return rate;
}

uint32_t parseBaud(const std::string& name, const std::string& value)
{
    const uint64_t baud = parseCount(name, value);
    if (baud > MaxBaud)
        throw SimUsageError(name + ": at most " + std::to_string(MaxBaud) + ": " + value);
    return uint32_t(baud);
}

} // namespace

std::string SimOptions::Usage()
{
    return "Usage: quorvel-sim [options]\n"
           "Serves a simulated site's interface unit on a pseudo-terminal; prints the\n"
           "port's path on the first line, then serves until SIGTERM or SIGINT.\n"
           "\n"
           "  --scenario FILE     site contents (see README, \"Simulator\"); default site if none\n"
           "  --link PATH         make a symlink PATH to the port (removed at exit)\n"
           "  --baud N            pace bytes both ways at N baud (10 bits a byte)\n"
           "  --counts FILE       write counts as key=value lines at exit and on SIGUSR1\n"
           "  --dump-logger FILE  write the data logger's state at exit and on SIGUSR1\n"
           "  --modem             answer as a Hayes modem; the site is reached by dialling\n"
           "  --seed N            seed of the fault generator (default 1)\n"
           "  --corrupt RATE      probability that a sent byte is corrupted\n"
           "  --drop RATE         probability that a sent byte is lost\n"
           "  --nak RATE          probability that an ACK becomes a NAK\n"
           "  --stall-after N     send nothing after N bytes (a pulled cable)\n"
           "  --lan-silent RATE   probability that a LAN request is taken and never answered\n"
           "  --lan-wrong-code RATE  probability that a LAN reply carries the wrong code\n"
           "  --lan-slow-take RATE   probability that a LAN message is taken late\n"
           "  --help              this text\n";
}

SimOptions SimOptions::Parse(const std::vector<std::string>& arguments)
{
    using Flag = void (*)(SimOptions&);
    using Setter = void (*)(SimOptions&, const std::string& name, const std::string& value);
    static const std::map<std::string, Flag> flags{
        {"--modem", [](SimOptions& o) { o.Modem = true; }},
        {"--help", [](SimOptions& o) { o.Help = true; }},
        {"-h", [](SimOptions& o) { o.Help = true; }},
    };
    static const std::map<std::string, Setter> valued{
        {"--scenario", [](SimOptions& o, const std::string&, const std::string& v) { o.ScenarioPath = v; }},
        {"--link", [](SimOptions& o, const std::string&, const std::string& v) { o.LinkPath = v; }},
        {"--counts", [](SimOptions& o, const std::string&, const std::string& v) { o.CountsPath = v; }},
        {"--dump-logger", [](SimOptions& o, const std::string&, const std::string& v) { o.LoggerDumpPath = v; }},
        {"--baud", [](SimOptions& o, const std::string& n, const std::string& v) { o.Baud = parseBaud(n, v); }},
        {"--seed", [](SimOptions& o, const std::string& n, const std::string& v) { o.Faults.Seed = parseCount(n, v); }},
        {"--corrupt",
         [](SimOptions& o, const std::string& n, const std::string& v) { o.Faults.CorruptRate = parseRate(n, v); }},
        {"--drop",
         [](SimOptions& o, const std::string& n, const std::string& v) { o.Faults.DropRate = parseRate(n, v); }},
        {"--nak",
         [](SimOptions& o, const std::string& n, const std::string& v) { o.Faults.NakRate = parseRate(n, v); }},
        {"--stall-after",
         [](SimOptions& o, const std::string& n, const std::string& v) { o.Faults.StallAfter = parseCount(n, v); }},
        {"--lan-silent",
         [](SimOptions& o, const std::string& n, const std::string& v) { o.LanFaults.SilentRate = parseRate(n, v); }},
        {"--lan-wrong-code", [](SimOptions& o, const std::string& n, const std::string& v) {
             o.LanFaults.WrongCodeRate = parseRate(n, v);
         }},
        {"--lan-slow-take",
         [](SimOptions& o, const std::string& n, const std::string& v) { o.LanFaults.SlowTakeRate = parseRate(n, v); }},
    };

    SimOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (const auto flag = flags.find(name); flag != flags.end() && !value) {
            flag->second(options);
            continue;
        }
        const auto setter = valued.find(name);
        if (setter == valued.end())
            throw SimUsageError("unknown option: " + name);
        if (!value) {
            if (i + 1 >= arguments.size())
                throw SimUsageError(name + ": value missing");
            value = arguments[++i];
        }
        setter->second(options, name, *value);
    }
    return options;
}

} // namespace SiteSim
