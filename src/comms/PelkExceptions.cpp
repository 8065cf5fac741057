#include "comms/PelkExceptions.h"

#include "comms/PelkTrace.h"

namespace Pelk {

EPelkException::EPelkException(const QString& message) : Quorvel1::Exception(message)
{
    TraceLine(message);
}

} // namespace Pelk
