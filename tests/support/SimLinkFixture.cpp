#include "support/SimLinkFixture.h"

#include <stdexcept>
#include <utility>

namespace QuorvelTest {

SimLinkFixture::SimLinkFixture(std::unique_ptr<Pelk::TLinkClock> clock)
    : clock_(clock ? std::move(clock) : std::make_unique<Pelk::TSystemClock>()), link(*clock_)
{
}

// The link closes before the simulator stops, so it never sees the port
// hang up under it.
SimLinkFixture::~SimLinkFixture()
{
    link.Close();
}

void SimLinkFixture::Connect(const QStringList& arguments, const QString& scenario)
{
    StartSim(arguments, scenario);
    ConnectLink();
}

void SimLinkFixture::StartSim(const QStringList& arguments, const QString& scenario)
{
    sim = std::make_unique<SimProcess>(arguments, scenario);
}

void SimLinkFixture::OpenLink(int handle)
{
    link.SetTimeouts(timeouts);
    link.Open(handle, handle == -1 ? sim->PortPath() : QString());
}

void SimLinkFixture::ConnectLink(int handle)
{
    OpenLink(handle);
    if (!link.Connect())
        throw std::runtime_error("SimLinkFixture: the link did not connect: " + link.GetStatus().toStdString());
}

void SimLinkFixture::StopSim()
{
    link.Close();
    sim.reset();
}

uint64_t SimLinkFixture::Count(const char* key)
{
    return sim->GetCounts()[key];
}

} // namespace QuorvelTest
