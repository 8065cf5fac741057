// The site's 8-bit texts are Windows-1252: the description, the telephone
// number, device and program names keep their bytes, show the code page's
// characters and are cut at their field's size in bytes.
#include "site/Sensor.h"
#include "site/Site.h"
#include "site/Unit.h"

#include <gtest/gtest.h>

using namespace Quorvel1;

namespace {

template <std::size_t N>
QByteArray Field(const std::array<char, N>& field)
{
    return QByteArray(field.data());
}

} // namespace

TEST(SiteTexts, TextsAreStoredAsWindows1252)
{
    TSite site;
    site.SetDescription(QString::fromUtf8("K\xc3\xa4ltezentrale 5\xe2\x82\xac \xe2\x80\x93 Nord"));
    EXPECT_EQ(Field(site.Description), "K\xe4ltezentrale 5\x80 \x96 Nord");
    EXPECT_EQ(site.DescriptionText(), QString::fromUtf8("K\xc3\xa4ltezentrale 5\xe2\x82\xac \xe2\x80\x93 Nord"));

    TSensor sensor;
    sensor.SetName(QString::fromUtf8("Caf\xc3\xa9 \xe4\xb8\xad"));
    EXPECT_EQ(Field(sensor.Name), "Caf\xe9 ?");

    const TUnit unit(1, 1, 1, 0, 0, QByteArray("\x93" "COLD" "\x94"), 0);
    EXPECT_EQ(unit.ProgramNameText(), QString::fromUtf8("\xe2\x80\x9c" "COLD" "\xe2\x80\x9d"));
}

TEST(SiteTexts, FieldsAreCutAtTheirSizeInBytes)
{
    TSite site;
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    site.SetTelephone(QString(39, QLatin1Char('1')) + emoji + "99");
    EXPECT_EQ(Field(site.Telephone), QByteArray(39, '1') + "?");

    TSensor sensor;
    sensor.SetName(emoji.repeated(12));
    EXPECT_EQ(Field(sensor.Name), QByteArray(TDev::NameLength, '?'));
}
