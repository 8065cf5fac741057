#include "settings/Properties.h"

#include <QDir>

namespace Quorvel1 {

namespace {

QString WithTrailingSeparator(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

TProperties::TProperties(const QString& programDir, const QString& /*fileName*/)
    : store_(QString::fromLatin1(KeyPath)),
      comms_(QStringLiteral("Comms"), store_),
      paths_(QStringLiteral("Paths"), store_),
      sitesPath_(paths_, QStringLiteral("SitesPath"), QString()),
      localPort_(comms_, QStringLiteral("LocalPort"), QStringLiteral("COM1")),
      errorLog_(paths_, QStringLiteral("ErrorLog"), QString()),
      dialPrefix_(comms_, QStringLiteral("DialPrefix"), QString()),
      dialSuffix_(comms_, QStringLiteral("DialSuffix"), QString()),
      lastSite_(paths_, QStringLiteral("LastSite"), QString()),
      modemDevice_(comms_, QStringLiteral("ModemDevice"), 0),
      modemTimeout_(comms_, QStringLiteral("ModemTimeout"), 0),
      pelkLog_(comms_, QStringLiteral("PelkLog"), false),
      autoSave_(paths_, QStringLiteral("AutoSave"), true),
      ProgramDir(WithTrailingSeparator(programDir))
{
    sitesPath_.SetDefault(QDir::homePath() + QStringLiteral("/MestraData"));
    errorLog_.SetDefault(ProgramDir + QStringLiteral("QuorvelWLog.txt"));
    Load();
}

void TProperties::Load()
{
    ModemDevice = modemDevice_.Read();
    ModemTimeout = modemTimeout_.Read();
    LocalPort = localPort_.Read();
    DialPrefix = dialPrefix_.Read();
    DialSuffix = dialSuffix_.Read();
    SitesPath = sitesPath_.Read();
    LastSite = lastSite_.Read();
    ErrorLog = errorLog_.Read();
    PelkLog = pelkLog_.Read();
    AutoSave = autoSave_.Read();
}

void TProperties::Save()
{
    modemDevice_.Write(ModemDevice);
    modemTimeout_.Write(ModemTimeout);
    localPort_.Write(LocalPort);
    dialPrefix_.Write(DialPrefix);
    dialSuffix_.Write(DialSuffix);
    sitesPath_.Write(SitesPath);
    lastSite_.Write(LastSite);
    errorLog_.Write(ErrorLog);
    pelkLog_.Write(PelkLog);
    autoSave_.Write(AutoSave);
}

QByteArray TProperties::ReadWindowData(const QString& key) const
{
    const QString text = store_.ReadString(QString::fromLatin1(WindowSection), key, QString());
    return QByteArray::fromBase64(text.toLatin1());
}

void TProperties::WriteWindowData(const QString& key, const QByteArray& data)
{
    store_.WriteString(QString::fromLatin1(WindowSection), key,
                       QString::fromLatin1(data.toBase64()));
}

} // namespace Quorvel1
