#include "UserLocale.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

#include <string>

namespace quorvin {

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
    // The locale the environment names, read without setlocale: the program's own number
    // formatting (and the libraries', which print JSON and numbers) stays in the C locale.
    const locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0))
        return {};
    const char* radix = nl_langinfo_l(RADIXCHAR, user);
    std::string separator = radix != nullptr ? radix : "";
    freelocale(user);
    return separator;
}
#endif

} // namespace

NumberFormat userNumberFormat() {
    std::string separator = userDecimalSeparator();
    return NumberFormat{separator.empty() ? std::string(".") : std::move(separator)};
}

} // namespace quorvin
