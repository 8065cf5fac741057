#include "site/EEBlock.h"

#include "base/AtomicFile.h"
#include "base/CommaText.h"
#include "base/TextLines.h"

#include <algorithm>

namespace Quorvel1 {

namespace {

std::size_t Index(int address)
{
    return static_cast<std::size_t>(address);
}

} // namespace

TEEBlock::TEEBlock(int highestConfigAddress, QString name)
    : topAddress_(highestConfigAddress <= SmallTopAddress ? SmallTopAddress : LargeTopAddress),
      name_(std::move(name)),
      data_(Index(topAddress_ + 1), 0),
      states_(Index(topAddress_ + 1), EEState::NoValue)
{
}

TEEBlock::~TEEBlock()
{
    if (!modified_)
        return;
    try {
        (void)Save();
    } catch (...) {
        // Nothing may leave a destructor; the file keeps its previous state.
    }
}

QString TEEBlock::ImageName(int unitNumber, std::uint16_t appId)
{
    return QString::asprintf("U%d,%03u-%03u", unitNumber, unsigned{appId} >> 8,
                             unsigned{appId} & 0xFFu);
}

std::uint8_t TEEBlock::GetByte(int address) const
{
    const std::lock_guard lock(mutex_);
    return Contains(address) ? data_[Index(address)] : std::uint8_t{0};
}

void TEEBlock::SetByte(int address, std::uint8_t value)
{
    const std::lock_guard lock(mutex_);
    if (!Contains(address))
        return;
    data_[Index(address)] = value;
    states_[Index(address)] = EEState::Changed;
    modified_ = true;
}

std::uint8_t TEEBlock::GetState(int address) const
{
    const std::lock_guard lock(mutex_);
    return Contains(address) ? states_[Index(address)] : EEState::NoValue;
}

void TEEBlock::SetState(int address, std::uint8_t state)
{
    const std::lock_guard lock(mutex_);
    if (Contains(address))
        states_[Index(address)] = state;
}

bool TEEBlock::StoreRead(int address, std::uint8_t value)
{
    const std::lock_guard lock(mutex_);
    if (!Contains(address) || states_[Index(address)] == EEState::Changed)
        return false;
    data_[Index(address)] = value;
    states_[Index(address)] = EEState::Read;
    modified_ = true;
    return true;
}

bool TEEBlock::MarkWritten(int address, std::uint8_t value)
{
    const std::lock_guard lock(mutex_);
    if (!Contains(address) || states_[Index(address)] != EEState::Changed || data_[Index(address)] != value)
        return false;
    states_[Index(address)] = EEState::Written;
    return true;
}

void TEEBlock::Clear()
{
    const std::lock_guard lock(mutex_);
    std::fill(data_.begin(), data_.end(), std::uint8_t{0});
    std::fill(states_.begin(), states_.end(), EEState::NoValue);
}

void TEEBlock::Load(const QString& path)
{
    filePath_ = path;
    const std::optional<QStringList> lines = ReadTextLines(path);
    if (lines && TakeImageLines(*lines))
        modified_ = false;
}

bool TEEBlock::Save(const QString& path)
{
    if (!ReplaceFileAtomically(path, JoinTextLines(ImageLines())))
        return false;
    modified_ = false;
    return true;
}

bool TEEBlock::Save()
{
    return Save(filePath_);
}

QStringList TEEBlock::ImageLines() const
{
    const std::lock_guard lock(mutex_);
    QStringList lines{name_};
    for (int address = 0; address <= topAddress_; ++address) {
        const std::uint8_t state = states_[Index(address)];
        if (state == EEState::FromFile || state == EEState::Read)
            lines.append(QString::asprintf("%u,%u", unsigned(address),
                                           unsigned{data_[Index(address)]}));
    }
    return lines;
}

bool TEEBlock::TakeImageLines(const QStringList& lines)
{
    // The name line keeps an image from being applied to another unit number
    // or application.
    if (lines.size() < 2 || lines.first() != name_)
        return false;
    const std::lock_guard lock(mutex_);
    for (qsizetype i = 1; i < lines.size(); ++i)
        TakeImageLine(lines.at(i));
    return true;
}

void TEEBlock::TakeImageLine(const QString& line)
{
    const QStringList values = SplitCommaText(line);
    if (values.size() < 2)
        return;
    bool addressOk = false;
    bool valueOk = false;
    const int address = values.at(0).toInt(&addressOk, 10);
    const int value = values.at(1).toInt(&valueOk, 10);
    if (!addressOk || !valueOk || !Contains(address) || value < 0 || value > 0xFF)
        return;
    data_[Index(address)] = static_cast<std::uint8_t>(value);
    states_[Index(address)] = EEState::FromFile;
}

} // namespace Quorvel1
