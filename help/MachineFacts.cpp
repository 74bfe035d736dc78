#include "help/MachineFacts.h"

#include "help/VersionNames.h"
#include "help/hh.h"
#include "platform/UserFolders.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTime>

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <sys/utsname.h>

namespace tablor {

namespace {

struct LocaleId {
    const char* name;
    std::uint32_t id;
};

// Locales and their Windows identifiers; a language alone gives its neutral identifier.
constexpr LocaleId LocaleIds[] = {
    {"fr_FR", 0x040C}, {"fr_BE", 0x080C},  {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_LU", 0x140C},
    {"fr_MC", 0x180C}, {"fr", 0x000C},     {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09},
    {"en_CA", 0x1009}, {"en_NZ", 0x1409},  {"en_IE", 0x1809}, {"en", 0x0009},    {"de_DE", 0x0407},
    {"de_CH", 0x0807}, {"de_AT", 0x0C07},  {"de_LU", 0x1007}, {"de", 0x0007},    {"it_IT", 0x0410},
    {"it_CH", 0x0810}, {"it", 0x0010},     {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"es", 0x000A},
    {"pt_BR", 0x0416}, {"pt_PT", 0x0816},  {"pt", 0x0016},    {"nl_NL", 0x0413}, {"nl_BE", 0x0813},
    {"nl", 0x0013},    {"ca_ES", 0x0403},  {"ca", 0x0003},    {"eu_ES", 0x042D}, {"eu", 0x002D},
    {"br_FR", 0x047E}, {"br", 0x007E},     {"oc_FR", 0x0482}, {"oc", 0x0082},    {"co_FR", 0x0483},
    {"co", 0x0083},    {"gsw_FR", 0x0484}, {"gsw", 0x0084},
};
constexpr std::uint32_t InvariantLocale = 0x007F;
constexpr std::uint32_t LocaleWithoutId = 0x1000;

// The leading numbers of a kernel release ("6.1.0-18-amd64" gives 6, 1, 0).
void readKernelVersion(const QString& release, MachineFacts& facts) {
    int* numbers[] = {&facts.osMajor, &facts.osMinor, &facts.osBuild};
    qsizetype at = 0;
    for (int* number : numbers) {
        qsizetype end = at;
        while (end < release.size() && release[end].isDigit())
            ++end;
        if (end == at) return;
        *number = release.mid(at, end - at).toInt();
        if (end >= release.size() || release[end] != QLatin1Char('.')) return;
        at = end + 1;
    }
}

QString nowInLocaleFormats() {
    const QLocale locale = QLocale::system();
    // The long time format without the time zone Qt adds to it, as the status bar shows it.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(QDate::currentDate(), QLocale::ShortFormat) + QLatin1Char(' ') +
           QTime::currentTime().toString(timeFormat.trimmed());
}

} // namespace

std::uint32_t WindowsLocaleId(const QString& localeName) {
    QString name = localeName.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return InvariantLocale;
    const QString language = name.section(QLatin1Char('_'), 0, 0);
    for (const QString& wanted : {name, language})
        for (const LocaleId& known : LocaleIds)
            if (wanted == QLatin1String(known.name)) return known.id;
    return LocaleWithoutId;
}

QString BrowserLibraryPath() {
    // Asks the dynamic loader where the library it already loaded for us lives.
    const QByteArray major = QByteArray::number(QT_VERSION_MAJOR);
    const QByteArray soname = "libQt" + major + "Widgets.so." + major;
    void* handle = dlopen(soname.constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (!handle) return {};
    QString path;
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name)
        path = QFileInfo(QFile::decodeName(map->l_name)).absoluteFilePath();
    dlclose(handle);
    return path;
}

FileVersion ReadBrowserVersion() {
    return AdjustBrowserVersion(ReadFileVersion(BrowserLibraryPath()));
}

MachineFacts ReadMachineFacts() {
    MachineFacts facts;
    facts.dateTime = nowInLocaleFormats();
    utsname system{};
    if (uname(&system) == 0) {
        facts.osName = QString::fromLocal8Bit(system.sysname);
        readKernelVersion(QString::fromLocal8Bit(system.release), facts);
    }
    const QLocale locale = QLocale::system();
    facts.localeId = WindowsLocaleId(locale.name());
    facts.decimalSeparator = locale.decimalPoint();
    std::string privateDir = runtimeFolder();
    struct stat st {};
    if (privateDir.empty() || ::stat(privateDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        privateDir = cacheFolder();
    facts.privateDir = QFile::decodeName(QByteArray::fromStdString(privateDir));
    facts.viewer = ReadFileVersion(GetHelpControlPath());
    facts.browser = ReadBrowserVersion();
    return facts;
}

} // namespace tablor
