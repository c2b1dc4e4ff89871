#include "UserLocale.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <clocale>
#include <langinfo.h>
#endif

namespace quorvin {

#ifdef _WIN32

std::string userDecimalSeparator() {
    wchar_t wide[LOCALE_NAME_MAX_LENGTH] = {};
    const int chars =
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, wide, LOCALE_NAME_MAX_LENGTH);
    if (chars <= 1)
        return ".";
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, wide, chars - 1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, chars - 1, utf8.data(), bytes, nullptr, nullptr);
    return utf8.empty() ? "." : utf8;
}

#else

std::string userDecimalSeparator() {
    // Take the environment's locale just long enough to ask it, then put the previous one back,
    // so that no other code's number formatting changes underneath it.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    std::string separator;
    if (std::setlocale(LC_ALL, "")) {
        const char* radix = nl_langinfo(RADIXCHAR);
        separator = radix ? radix : "";
    }
    std::setlocale(LC_ALL, saved.c_str());
    return separator.empty() ? "." : separator;
}

#endif

} // namespace quorvin
