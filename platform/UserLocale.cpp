#include "UserLocale.h"

#include <QLocale>

namespace quorvin {

NumberFormat userNumberFormat() {
    const QString separator = QLocale::system().decimalPoint();
    return NumberFormat{separator.isEmpty() ? std::string(".") : separator.toStdString()};
}

} // namespace quorvin
