// Locale facts of the error-log header.
#include <QLocale>

#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"

namespace ZVK_ErrorLog {
namespace {

// The system's locale; the bare "C" locale reads as US English, which is
// what a system without a configured language speaks.
QLocale SystemLocale() {
  QLocale locale = QLocale::system();
  if (locale.language() == QLocale::C) locale = QLocale(QLocale::English, QLocale::UnitedStates);
  return locale;
}

}  // namespace

int16_t SysLanguageID() {
  // Language identifiers as other programs record them: primary language in
  // the low ten bits, sub-language above.
  static const struct {
    QLocale::Language language;
    QLocale::Territory territory;  // AnyTerritory: the language's usual one
    int16_t id;
  } kIds[] = {
      {QLocale::English, QLocale::UnitedStates, 0x0409}, {QLocale::English, QLocale::UnitedKingdom, 0x0809},
      {QLocale::English, QLocale::AnyTerritory, 0x0409}, {QLocale::German, QLocale::Austria, 0x0C07},
      {QLocale::German, QLocale::Switzerland, 0x0807},   {QLocale::German, QLocale::AnyTerritory, 0x0407},
      {QLocale::French, QLocale::AnyTerritory, 0x040C},  {QLocale::Spanish, QLocale::AnyTerritory, 0x0C0A},
      {QLocale::Italian, QLocale::AnyTerritory, 0x0410}, {QLocale::Dutch, QLocale::AnyTerritory, 0x0413},
      {QLocale::Portuguese, QLocale::Brazil, 0x0416},    {QLocale::Portuguese, QLocale::AnyTerritory, 0x0816},
      {QLocale::Russian, QLocale::AnyTerritory, 0x0419}, {QLocale::Polish, QLocale::AnyTerritory, 0x0415},
      {QLocale::Japanese, QLocale::AnyTerritory, 0x0411}, {QLocale::Chinese, QLocale::AnyTerritory, 0x0804},
  };
  int16_t result = 0;
  Guarded("SysLanguageID of Modul ZVK_ErrorLog", [&] {
    const QLocale locale = SystemLocale();
    for (const auto& row : kIds) {
      if (row.language != locale.language()) continue;
      if (row.territory != QLocale::AnyTerritory && row.territory != locale.territory()) continue;
      result = row.id;
      return;
    }
  }, false);
  return result;
}

std::string SysLanguageName() {
  std::string result;
  Guarded("SysLanguageName of Modul ZVK_ErrorLog", [&] {
    const QLocale locale = SystemLocale();
    result = (QLocale::languageToString(locale.language()) + " (" +
              QLocale::territoryToString(locale.territory()) + ")")
                 .toStdString();
  }, false);
  return result;
}

std::string GetLocaleString(int32_t lcType) {
  std::string result;
  Guarded("GetLocaleString of Modul ZVK_ErrorLog", [&] {
    const QLocale locale = SystemLocale();
    switch (lcType) {
      case 0x1002: result = QLocale::territoryToString(locale.territory()).toStdString(); break;
      case 4: result = locale.nativeLanguageName().toStdString(); break;
      case 8: result = locale.nativeTerritoryName().toStdString(); break;
      default: break;
    }
  }, false);
  return result;
}

std::string Country() { return GetLocaleString(0x1002); }
std::string LanguageName() { return GetLocaleString(4); }
std::string NativeCountryName() { return GetLocaleString(8); }

}  // namespace ZVK_ErrorLog
