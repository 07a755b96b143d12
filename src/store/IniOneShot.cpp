// The main window's one-shot reads and writes: a fresh engine per call, so each sees the file as
// it is on disk now.
#include "store/TIniFile32.h"

namespace lv {

void WriteToIniS(const std::string& file, std::string_view section, std::string_view key,
                 std::string_view value) {
    TIniFile32(file).WriteString(section, key, value);
}

void WriteToIniI(const std::string& file, std::string_view section, std::string_view key,
                 std::int32_t value) {
    TIniFile32(file).WriteInteger(section, key, value);
}

std::string ReadFromIniS(const std::string& file, std::string_view section, std::string_view key,
                         std::string_view defaultValue) {
    return TIniFile32(file).ReadString(section, key, defaultValue);
}

std::int32_t ReadFromIniI(const std::string& file, std::string_view section, std::string_view key,
                          std::int32_t defaultValue) {
    return TIniFile32(file).ReadInteger(section, key, defaultValue);
}

void WriteToIniSLVD(const std::string& dataFile, std::string_view section, std::string_view key,
                    std::string_view value) {
    WriteToIniS(dataFile, section, key, value);
}

void WriteToIniILVD(const std::string& dataFile, std::string_view section, std::string_view key,
                    std::int32_t value) {
    WriteToIniI(dataFile, section, key, value);
}

std::string ReadFromIniSLVD(const std::string& dataFile, std::string_view section,
                            std::string_view key, std::string_view defaultValue) {
    return ReadFromIniS(dataFile, section, key, defaultValue);
}

std::int32_t ReadFromIniILVD(const std::string& dataFile, std::string_view section,
                             std::string_view key, std::int32_t defaultValue) {
    return ReadFromIniI(dataFile, section, key, defaultValue);
}

} // namespace lv
