#include "site/ADFList.h"

#include "base/CommaText.h"
#include "base/Exception.h"
#include "base/TextLines.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"

#include <exception>
#include <functional>
#include <map>

namespace Quorvel1 {

namespace {

using SettingMaker = std::function<std::unique_ptr<TADFBase>(TADFList&, TADFFields&)>;

template <class Setting>
SettingMaker Maker()
{
    return [](TADFList& owner, TADFFields& fields) { return std::make_unique<Setting>(owner, fields); };
}

const std::map<QString, SettingMaker>& SettingClasses()
{
    static const std::map<QString, SettingMaker> classes{
        {QStringLiteral("STBYTESET"), Maker<TADFStByteSet>()},
        {QStringLiteral("STWORDSET"), Maker<TADFStWordSet>()},
        {QStringLiteral("STBYTEPICK"), Maker<TADFStBytePick>()},
        {QStringLiteral("STBYTEMASK"), Maker<TADFStByteMask>()},
    };
    return classes;
}

// Spaces and control characters off both ends.
QString TrimmedLine(const QString& line)
{
    qsizetype first = 0;
    qsizetype last = line.size();
    while (first < last && line[first].unicode() <= ' ')
        ++first;
    while (last > first && line[last - 1].unicode() <= ' ')
        --last;
    return line.mid(first, last - first);
}

std::unique_ptr<TADFBase> MakeSetting(TADFList& list, const QStringList& fields)
{
    const auto maker = SettingClasses().find(fields.first().trimmed().toUpper());
    if (maker == SettingClasses().end())
        throw Exception(QStringLiteral("Unknown ADF class"));
    TADFFields rest(fields.mid(1));
    return maker->second(list, rest);
}

} // namespace

TADFList::TADFList(const TConfigBlock* configBlock, TEEBlock* eeBlock)
    : configBlock_(configBlock), eeBlock_(eeBlock)
{
}

int TADFList::AddressOf(const QString& configItem) const
{
    return configBlock_ ? configBlock_->AddressByName(configItem) : -1;
}

std::uint8_t TADFList::GetByte(int address) const
{
    return eeBlock_ ? eeBlock_->GetByte(address) : 0;
}

void TADFList::SetByte(int address, std::uint8_t value)
{
    if (eeBlock_)
        eeBlock_->SetByte(address, value);
}

std::uint8_t TADFList::ByteState(int address) const
{
    return eeBlock_ ? eeBlock_->GetState(address) : 0;
}

TADFLoad ParseADF(const QStringList& lines, const QString& path, const TConfigBlock* configBlock,
                  TEEBlock* eeBlock)
{
    TADFLoad load{std::make_unique<TADFList>(configBlock, eeBlock), {}};
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QString line = TrimmedLine(lines[index]);
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        const QStringList fields = SplitCommaText(line);
        if (fields.isEmpty())
            continue;
        try {
            load.List->Add(MakeSetting(*load.List, fields));
        } catch (const Exception& error) {
            load.Errors << QStringLiteral("%1, Line %2: %3").arg(path).arg(index).arg(error.Message());
        } catch (const std::exception& error) {
            load.Errors << QStringLiteral("%1, Line %2: %3").arg(path).arg(index).arg(QString::fromLocal8Bit(error.what()));
        }
    }
    return load;
}

TADFLoad LoadADF(const QString& path, const TConfigBlock* configBlock, TEEBlock* eeBlock)
{
    const std::optional<QStringList> lines = ReadTextLines(path);
    if (!lines)
        return TADFLoad{std::make_unique<TADFList>(configBlock, eeBlock), {}};
    return ParseADF(*lines, path, configBlock, eeBlock);
}

QStringList ADFErrorsToShow(const QStringList& errors, int shown)
{
    if (errors.size() <= shown)
        return errors;
    QStringList first = errors.mid(0, shown);
    first << QStringLiteral("%1 more bad lines in the definition file were skipped").arg(errors.size() - shown);
    return first;
}

bool IsSafeDefinitionName(const QString& name)
{
    return !name.trimmed().isEmpty() && !name.contains('/') && !name.contains('\\') && !name.contains(QStringLiteral(".."));
}

} // namespace Quorvel1
