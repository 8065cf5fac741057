#include "logger/LogReader.h"

#include "logger/Log1.h"
#include "logger/LogFile.h"
#include "site/FixedPoint.h"
#include "site/SiteExt.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace Quorvel1 {

namespace {

constexpr std::size_t ReaderConfigStartAt = 41 + 2; // in the logger header
constexpr std::size_t ReaderConfigEndAt = 41 + 4;
constexpr std::size_t ReaderCountsAt = 53 + 22;      // status bytes 22..26
constexpr std::size_t ReaderBufferSizeAt = 84 + 2;   // in the control block
constexpr int ReaderZoneStep = 900;                  // zone offsets are whole quarter hours
const QString NotSetText = QStringLiteral("-----");

std::uint16_t WordAt(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return std::uint16_t(bytes[at] | bytes[at + 1] << 8);
}

// The size of the image that begins `bytes`, from its own header, status and
// control block; nothing when even those are cut off. A configuration that
// ends before it starts counts as empty (the parser refuses it).
std::optional<std::size_t> ImageSize(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < LogFileFixedSize)
        return std::nullopt;
    const int config = int(WordAt(bytes, ReaderConfigEndAt)) - int(WordAt(bytes, ReaderConfigStartAt)) + 1;
    std::size_t devices = 0;
    for (std::size_t i = 0; i < TLogStatus::GroupCount; ++i)
        devices += bytes[ReaderCountsAt + i];
    return LogFileFixedSize + std::size_t(std::max(config, 0)) + 2 * devices + WordAt(bytes, ReaderBufferSizeAt);
}

struct TImageRow {
    TLogRow Row;
    std::uint16_t Interval = 0;
    std::size_t Image = 0;
};

QString DownloadAt(std::size_t offset, std::size_t images)
{
    return images == 0 && offset == 0 ? QStringLiteral("the log")
                                       : QStringLiteral("the download at byte %1").arg(offset);
}

// Why a whole image is not a valid log, in words.
QString InvalidImageReason(const TLog1& log)
{
    if (!log.Header.FormatAccepted())
        return QStringLiteral("its format word is 0x%1, not 0x01xx").arg(log.Header.FormatWord, 4, 16, QChar('0'));
    if (log.Header.ConfigSize() < 0 || log.Header.ConfigSize() > int(LogConfigCapacity))
        return QStringLiteral("its configuration size %1 is outside 0..%2").arg(log.Header.ConfigSize()).arg(LogConfigCapacity);
    if (log.LoggedDevices == 0)
        return QStringLiteral("it logs no devices");
    return QStringLiteral("its buffer or positions do not fit the logger image");
}

// Decodes one image's entries into rows of raw values, in the order of
// `columns` (extended by this image's devices). Empty text when all entries
// were decoded, else what is wrong.
QString DecodeImage(TLog1& log, std::vector<std::size_t>& columnOf, std::size_t image,
                    std::vector<TImageRow>& rows, std::vector<TDeviceKey>& keys)
{
    log.BuildDeviceList(true);
    const int devices = log.LoggedDeviceCount();
    columnOf.assign(std::size_t(devices), 0);
    for (int i = 0; i < devices; ++i) {
        const TDeviceKey key = log.GetDevice(i);
        const auto found = std::find(keys.begin(), keys.end(), key);
        columnOf[std::size_t(i)] = std::size_t(found - keys.begin());
        if (found == keys.end())
            keys.push_back(key);
    }
    std::vector<std::uint16_t> values(std::size_t(devices), 0);
    if (!log.CheckLog(values)) {
        // Find the first entry that cannot be decoded, for the message.
        std::vector<std::uint16_t> scratch(std::size_t(devices), 0);
        for (unsigned entry = 0; entry < log.Status.Entries; ++entry) {
            if (!log.DecodeEntry(scratch))
                return QStringLiteral("entry %1 of %2 holds a code no logger writes").arg(entry + 1).arg(log.Status.Entries);
        }
        return QStringLiteral("its %1 entries do not end at the end position the logger gave (byte %2, bit %3)")
            .arg(log.Status.Entries)
            .arg(log.Control.EndPosition)
            .arg(log.Control.EndBit);
    }
    const unsigned entries = log.Status.Entries;
    const std::uint32_t interval = log.Status.Interval;
    rows.reserve(rows.size() + entries);
    for (unsigned entry = 0; entry < entries; ++entry) {
        log.DecodeEntry(values);
        const std::uint32_t back = interval * (entries - 1 - entry);
        TImageRow row;
        row.Row.Local = log.NewestEntryLoggerTime - back;
        row.Row.Utc = log.NewestEntryPCTime - back;
        row.Row.Raw.resize(keys.size());
        for (int i = 0; i < devices; ++i)
            row.Row.Raw[columnOf[std::size_t(i)]] = values[std::size_t(i)];
        row.Interval = log.Status.Interval;
        row.Image = image;
        rows.push_back(std::move(row));
    }
    return {};
}

// One series in time order: an entry that an earlier image in the file
// already holds (within half an interval) is left out, and a row more than
// one and a half intervals after the one before it follows a gap.
std::vector<TLogRow> JoinSeries(std::vector<TImageRow> rows, std::size_t columns)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TImageRow& a, const TImageRow& b) { return a.Row.Utc < b.Row.Utc; });
    std::vector<TLogRow> series;
    series.reserve(rows.size());
    const TImageRow* previous = nullptr;
    for (TImageRow& row : rows) {
        row.Row.Raw.resize(columns);
        if (previous) {
            const std::uint32_t apart = row.Row.Utc - previous->Row.Utc;
            if (row.Image != previous->Image && apart * 2 < std::max<std::uint32_t>(row.Interval, 1))
                continue;
            row.Row.GapBefore = row.Interval > 0 && apart * 2 > 3u * row.Interval;
        }
        series.push_back(row.Row);
        previous = &row;
    }
    return series;
}

QString NameOf(const TDev& device)
{
    const QString name = device.NameText().trimmed();
    return name.isEmpty() ? device.MakeName() : name;
}

} // namespace

TLogTable::TLogTable() : site_(std::make_unique<TSite>()) {}
TLogTable::~TLogTable() = default;
TLogTable::TLogTable(TLogTable&&) noexcept = default;
TLogTable& TLogTable::operator=(TLogTable&&) noexcept = default;

void TLogTable::SetSite(std::unique_ptr<TSite> site)
{
    site_ = site ? std::move(site) : std::make_unique<TSite>();
}

TLogCell TLogTable::Cell(std::size_t row, std::size_t column) const
{
    TLogCell cell;
    if (row >= Rows.size() || column >= Columns.size() || column >= Rows[row].Raw.size())
        return cell;
    const std::optional<std::uint16_t> raw = Rows[row].Raw[column];
    const TDev* device = Columns[column].Device;
    if (!raw || !device)
        return cell;
    cell.Exponent = device->ValueExponent();
    if (*raw == std::uint16_t(device->NoValue())) {
        cell.State = TLogCellState::NotSet;
        cell.Text = NotSetText;
        return cell;
    }
    cell.Value = device->Convert(*raw);
    if (cell.Value == device->NoValue()) {
        cell.State = TLogCellState::NoValue;
        return cell;
    }
    cell.State = TLogCellState::Value;
    cell.Text = device->ValueText(*raw);
    return cell;
}

QString TLogTable::Heading(std::size_t column) const
{
    if (column >= Columns.size())
        return {};
    const TLogColumn& c = Columns[column];
    return c.Units.isEmpty() ? c.Name : QStringLiteral("%1 [%2]").arg(c.Name, c.Units);
}

TLogTable ReadLogBytes(std::span<const std::uint8_t> bytes, const QString& fileName, std::unique_ptr<TSite> site)
{
    TLogTable table;
    table.FileName = fileName;
    table.SetSite(std::move(site));
    table.SiteName = table.Site().DescriptionText();
    const QString shown = QFileInfo(fileName).fileName();

    std::vector<TImageRow> rows;
    std::vector<TDeviceKey> keys;
    std::vector<std::size_t> columnOf;
    auto log = std::make_unique<TLog1>();
    std::size_t offset = 0;
    std::size_t images = 0;
    if (bytes.empty())
        table.Error = QStringLiteral("%1: the file is empty").arg(shown);
    while (offset < bytes.size()) {
        const auto rest = bytes.subspan(offset);
        const std::optional<std::size_t> size = ImageSize(rest);
        if (!size || *size > rest.size()) {
            table.Error = QStringLiteral("%1: the file is cut off: %2 needs %3 bytes, only %4 are left")
                              .arg(shown, DownloadAt(offset, images))
                              .arg(size ? qulonglong(*size) : qulonglong(LogFileFixedSize))
                              .arg(rest.size());
            break;
        }
        log->Clear();
        if (!ParseLogFile(rest.first(*size), *log)) {
            table.Error = QStringLiteral("%1: %2 is not a valid log: %3")
                              .arg(shown, DownloadAt(offset, images), InvalidImageReason(*log));
            break;
        }
        const QString wrong = DecodeImage(*log, columnOf, images, rows, keys);
        if (!wrong.isEmpty()) {
            table.Error = QStringLiteral("%1: %2 is corrupt: %3").arg(shown, DownloadAt(offset, images), wrong);
            break;
        }
        table.Interval = log->Status.Interval;
        offset += *size;
        ++images;
    }
    table.Rows = JoinSeries(std::move(rows), keys.size());

    TSite& names = table.Site();
    for (const TDeviceKey& key : keys) {
        int index = names.FindByKey(key);
        if (index < 0) {
            std::unique_ptr<TDev> device = TSite::CreateFromKey(key);
            if (device) {
                device->DefaultName();
                names.Devices.push_back(std::move(device));
                index = int(names.Devices.size()) - 1;
            }
        }
        TLogColumn column;
        column.Key = key;
        if (index >= 0) {
            const TDev& device = *names.Devices[std::size_t(index)];
            column.Device = &device;
            column.Name = NameOf(device);
            const QChar units = QChar::fromLatin1(device.UnitsChar());
            if (units != QChar(' ') && units != QChar(0))
                column.Units = units;
        } else {
            column.Name = QStringLiteral("%1:%2").arg(key.TypeByte(), 2, 16, QChar('0')).arg(key.Address(), 4, 16, QChar('0'));
        }
        table.Columns.push_back(std::move(column));
    }
    return table;
}

namespace {

// The site file beside the log: the one whose interface unit identifier
// starts the log's name, or the only one there.
QString SiteBeside(const QString& logPath)
{
    const QFileInfo info(logPath);
    const QDir folder = info.absoluteDir();
    const QStringList sites = folder.entryList({QStringLiteral("*.ste"), QStringLiteral("*.STE")}, QDir::Files, QDir::Name);
    if (sites.size() == 1)
        return folder.filePath(sites.first());
    QString digits;
    for (const QChar c : info.fileName()) {
        if (!c.isDigit())
            break;
        digits += c;
    }
    for (const QString& name : sites) {
        auto site = std::make_unique<TSiteExt>();
        const QString current = QDir::currentPath();
        const bool loaded = site->Load(folder.filePath(name));
        QDir::setCurrent(current);
        if (loaded && !digits.isEmpty() && QString::number(site->ProcId) == digits)
            return folder.filePath(name);
    }
    return {};
}

} // namespace

TLogTable ReadLogFile(const QString& path, const QString& sitePath)
{
    std::unique_ptr<TSite> site;
    const QString siteFile = sitePath.isEmpty() ? SiteBeside(path) : sitePath;
    if (!siteFile.isEmpty()) {
        auto loaded = std::make_unique<TSiteExt>();
        // Loading a site makes its folder the current one; a reader leaves
        // the current folder as it was.
        const QString current = QDir::currentPath();
        loaded->Load(siteFile);
        QDir::setCurrent(current);
        site = std::move(loaded);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        TLogTable table;
        table.FileName = path;
        table.SetSite(std::move(site));
        table.SiteName = table.Site().DescriptionText();
        table.Error = QStringLiteral("%1: cannot be opened: %2").arg(QFileInfo(path).fileName(), file.errorString());
        return table;
    }
    const QByteArray bytes = file.readAll();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    return ReadLogBytes(std::span<const std::uint8_t>(data, std::size_t(bytes.size())), path, std::move(site));
}

QString LogUtcTimeText(std::uint32_t utc)
{
    return QDateTime::fromSecsSinceEpoch(qint64(utc), Qt::UTC).toString(Qt::ISODate);
}

QString LogLocalTimeText(std::uint32_t local, std::uint32_t utc)
{
    const qint64 apart = qint64(local) - qint64(utc);
    const qint64 steps = (apart >= 0 ? apart + ReaderZoneStep / 2 : apart - ReaderZoneStep / 2) / ReaderZoneStep;
    const int offset = int(steps * ReaderZoneStep);
    const QDateTime time = QDateTime::fromSecsSinceEpoch(qint64(local) - offset, Qt::OffsetFromUTC, offset);
    return time.toString(Qt::ISODate);
}

} // namespace Quorvel1
