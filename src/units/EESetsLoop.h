#pragma once
// The EE settings editor's loop over the unit: one link operation a pass,
// each pass started by a timer once the one before it has returned, so the
// user interface runs between them without a nested event loop. A pass
// writes the first byte (or word) of the image still changed on the PC, or
// else reads the next EE word of the reading range into the image. Every
// changed byte is written in turn; a byte read from the unit never replaces
// one changed on the PC.
#include <QObject>
#include <QTimer>

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TEESetsModel;

class TEESetsLoop : public QObject {
    Q_OBJECT
public:
    TEESetsLoop(Pelk::TMestraIF& link, TEESetsModel& model, QObject* parent = nullptr);

    // The first pass comes at the next turn of the event loop.
    void Start();
    // Breaks off the link operation in progress (if any); the loop ends at
    // the end of its pass and emits Finished.
    void Stop();
    bool IsRunning() const { return running_; }
    // The next read goes to `address` (wrapped into the reading range).
    void Track(int address) { track_ = address; }
    int CurrentAddress() const { return current_; }

signals:
    void Status(const QString& text);
    void Finished();

private:
    void Pass();
    void Write(int address);
    void Read();
    // The first changed byte of the image, or -1.
    int FirstChanged() const;
    void Finish();

    Pelk::TMestraIF& link_;
    TEESetsModel& model_;
    QTimer timer_;
    int current_ = 0;
    int track_ = -1;
    bool running_ = false;
    bool stopRequested_ = false;
};

} // namespace Quorvel1
