#pragma once
// The EE image of one unit: a copy of the unit's EE memory with a state per
// byte, kept between runs in an image file next to the site file. The image
// file is comma text: its first line is the image's name, which ties it to a
// unit number and application, then one "address,byte" line in decimal per
// byte whose value is known from the unit:
//
//   U5,012-003
//   16,200
//   17,3
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace Quorvel1 {

// What is known about one image byte.
namespace EEState {
constexpr std::uint8_t NoValue = 0;  // nothing known
constexpr std::uint8_t Changed = 1;  // changed on the PC, to be written to the unit
constexpr std::uint8_t Written = 2;  // written to the unit, not yet read back
constexpr std::uint8_t FromFile = 3; // from the image file, not yet read from the unit
constexpr std::uint8_t Read = 4;     // read from the unit
} // namespace EEState

class TEEBlock {
public:
    static constexpr int SmallTopAddress = 0x1FF; // 512 bytes
    static constexpr int LargeTopAddress = 0x7FF; // 2048 bytes

    // The image is large when the unit's config block names an address above
    // the small image's top; a unit without a config block passes 0.
    TEEBlock(int highestConfigAddress, QString name);
    // Saves a modified image to the remembered path first. A failure there
    // cannot be reported and is dropped: the old file stays as it was.
    ~TEEBlock();

    TEEBlock(const TEEBlock&) = delete;
    TEEBlock& operator=(const TEEBlock&) = delete;

    // "U<unit>,<high>-<low>" of the unit number and application identifier,
    // for example "U5,012-003".
    static QString ImageName(int unitNumber, std::uint16_t appId);

    // Outside 0..top, reads give 0 and writes do nothing.
    std::uint8_t GetByte(int address) const;
    // Stores a value changed on the PC: state Changed, image modified.
    void SetByte(int address, std::uint8_t value);
    std::uint8_t GetState(int address) const;
    // Leaves the modified flag alone.
    void SetState(int address, std::uint8_t state);
    // The unit's EE jobs run on the worker while the user edits on the UI
    // thread, so what the jobs learn is stored only where it cannot undo an
    // edit. A byte read from the unit: stored with state Read (the image
    // modified) unless the byte is Changed, which it leaves for the write.
    bool StoreRead(int address, std::uint8_t value);
    // A byte written to the unit: state Written, but only while the byte is
    // still Changed to `value` (a newer edit stays Changed and is written
    // next).
    bool MarkWritten(int address, std::uint8_t value);
    // All bytes and states back to 0.
    void Clear();

    // Takes the image file's bytes when the file is this image's (see
    // TakeImageLines) and remembers the path; a missing, foreign or malformed
    // file leaves the image as it was.
    void Load(const QString& path);
    // Replaces the file at `path` atomically with the image's lines and clears
    // the modified flag. False, with the old file intact and the image still
    // modified, when the file cannot be written.
    [[nodiscard]] bool Save(const QString& path);
    // Saves to the remembered path.
    [[nodiscard]] bool Save();

    // The image file's lines: the name, then "address,byte" for every byte
    // read from the unit or taken from a file (states FromFile and Read);
    // bytes not yet confirmed by the unit are left out.
    QStringList ImageLines() const;
    // Takes the lines of an image file: nothing unless there are at least two
    // lines and the first is this image's name; then every line whose first
    // two values are an address in 0..top and a byte value in 0..255 sets that
    // byte with state FromFile. Other lines are skipped. Returns whether the
    // lines were this image's.
    bool TakeImageLines(const QStringList& lines);

    int TopAddress() const { return topAddress_; }
    int Size() const { return topAddress_ + 1; }
    const QString& Name() const { return name_; }
    const QString& FilePath() const { return filePath_; }
    bool IsModified() const { return modified_.load(); }

private:
    bool Contains(int address) const { return address >= 0 && address <= topAddress_; }
    void TakeImageLine(const QString& line);

    int topAddress_;
    QString name_;
    std::vector<std::uint8_t> data_;
    std::vector<std::uint8_t> states_;
    QString filePath_;
    std::atomic<bool> modified_{false};
    // Guards the bytes and their states: the worker's jobs and the UI thread
    // share the image.
    mutable std::mutex mutex_;
};

} // namespace Quorvel1
