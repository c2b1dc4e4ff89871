#include "UserLocale.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <clocale>
#endif

#include <string>

namespace quorvin::locale {

namespace {

#ifdef _WIN32
std::string userDecimalSeparator() {
    // LOCALE_SDECIMAL is at most four characters with its terminator.
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1)
        return {};
    char utf8[32] = {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, separator, -1, utf8, sizeof utf8, nullptr, nullptr);
    return length > 1 ? std::string(utf8, static_cast<std::size_t>(length - 1)) : std::string();
}
#else
std::string userDecimalSeparator() {
    // The locale the environment names, loaded for LC_NUMERIC just long enough to read its
    // separator: the program's own number formatting (and the libraries', which print JSON and
    // numbers) stays in the locale it had. The program asks once, while it starts.
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = current != nullptr ? current : "C";
    std::string separator;
    if (std::setlocale(LC_NUMERIC, "") != nullptr) {
        const std::lconv* conventions = std::localeconv();
        if (conventions != nullptr && conventions->decimal_point != nullptr)
            separator = conventions->decimal_point;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    return separator;
}
#endif

} // namespace

quorvin::NumberFormat userNumberFormat() {
    std::string separator = userDecimalSeparator();
    return NumberFormat{separator.empty() ? std::string(".") : std::move(separator)};
}

} // namespace quorvin::locale
