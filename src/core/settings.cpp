#include "core/settings.h"

#include <string>
#include <utility>

#include "core/int_conversion.h"
#include "core/path.h"

namespace lw {
namespace {

constexpr std::string_view kInternal = "ProgrammIntern";
constexpr std::string_view kFirstRun = "Firstrun";
constexpr std::string_view kGame = "AnarchyOnline";
constexpr std::string_view kGameDir = "Verzeichnis";
// One key: names match without regard to case, the two spellings are kept as they always were.
constexpr std::string_view kOrgTaxRead = "OrgSteuer";
constexpr std::string_view kOrgTaxWritten = "Orgsteuer";
constexpr std::string_view kCount = "Charcount";
constexpr std::string_view kChars = "Chars";  // the count in kCount, the line in "Char<N>"

std::string charSection(std::int32_t n) {
    return "Char" + std::to_string(n);
}

}  // namespace

std::string settingsPath(std::string_view exeFolder) {
    std::string path(exeFolder);
    if (!path.ends_with(kSep)) {
        path += kSep;
    }
    return path.append(kSettingsFileName);
}

std::string charLine(const TCharacter& character) {
    return character.CharDir + "," + character.AccountDir + "," + character.Name;
}

std::optional<TCharacter> parseCharLine(std::string_view line) {
    TCharacter character;
    const std::size_t first = line.find(',');
    character.CharDir = line.substr(0, first);
    if (first != std::string_view::npos) {
        const std::size_t second = line.find(',', first + 1);
        character.AccountDir = line.substr(first + 1, second - (first + 1));
        if (second != std::string_view::npos) {
            // The name is written unescaped, so every comma after the second is its own.
            character.Name = line.substr(second + 1);
        }
    }
    if (character.CharDir.empty()) {
        return std::nullopt;
    }
    return character;
}

bool readFirstRun(const TIniFile& ini) {
    return ini.ReadBool(kInternal, kFirstRun, true);
}

std::string readGameDir(const TIniFile& ini) {
    return ini.ReadString(kGame, kGameDir, "");
}

void writeGameDir(TIniFile& ini, std::string_view aoDir) {
    ini.WriteString(kGame, kGameDir, aoDir);
}

void loadRoster(const TIniFile& ini, std::vector<TCharacter>& characters, std::int32_t& charCount) {
    charCount = 0;
    const std::int32_t stored = strToInt(ini.ReadString(kCount, kChars, "0"));
    if (stored <= 0) {
        return;
    }
    std::vector<TCharacter> kept;
    for (std::int32_t n = 1; n <= stored; ++n) {
        if (auto character = parseCharLine(ini.ReadString(charSection(n), kChars, ""))) {
            kept.push_back(std::move(*character));
        }
    }
    characters = std::move(kept);
    charCount = static_cast<std::int32_t>(characters.size());
}

std::int32_t readOrgTax(const TIniFile& ini) {
    return strToInt(ini.ReadString(kGame, kOrgTaxRead, "0"));
}

void saveSettings(TIniFile& ini, const std::vector<TCharacter>& characters, std::int32_t charCount,
                  std::int32_t orgTaxPercent, std::string_view aoDir) {
    ini.WriteBool(kInternal, kFirstRun, false);
    ini.WriteString(kCount, kChars, std::to_string(charCount));
    for (std::int32_t n = 1; n <= charCount; ++n) {
        ini.WriteString(charSection(n), kChars, charLine(characters.at(n - 1)));
    }
    ini.WriteString(kGame, kOrgTaxWritten, std::to_string(orgTaxPercent));
    writeGameDir(ini, aoDir);
}

}  // namespace lw
