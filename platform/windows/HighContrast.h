#pragma once

namespace quorvin::windows {

// Whether the user has turned high contrast on (SPI_GETHIGHCONTRAST, HCF_HIGHCONTRASTON).
bool highContrastOn();

} // namespace quorvin::windows
