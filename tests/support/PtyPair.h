#pragma once
// A pseudo-terminal pair for tests of serial code: the test plays the far end
// on the master side, the code under test opens SlavePath() as its port. The
// pair keeps a slave descriptor of its own, in raw mode, so the master never
// sees a hang-up while the code under test closes and reopens the port.
#include <QString>

#include <chrono>
#include <cstdint>
#include <vector>

namespace QuorvelTest {

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    QString SlavePath() const { return slavePath_; }
    int Master() const { return master_; }

    // Writes every byte to the master side (the port reads them).
    void Send(const std::vector<uint8_t>& bytes);
    // Reads from the master side until `count` bytes have come or `within`
    // has passed; returns what came.
    std::vector<uint8_t> Receive(std::size_t count,
                                 std::chrono::milliseconds within = std::chrono::seconds(5));
    // Waits until `count` bytes sent from the master side wait unread in the
    // port's input queue; false if they do not within `within`.
    bool WaitUntilQueuedAtPort(std::size_t count,
                               std::chrono::milliseconds within = std::chrono::seconds(5));
    // Ends the far side: the port then sees a hang-up.
    void CloseMaster();

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};

} // namespace QuorvelTest
