// Without LittleCMS no profile can be made.
#include "icc_fixtures.h"

namespace colour::testing {

bool IccAvailable() { return false; }
bool WriteSRGBProfile(const std::string&) { return false; }
bool WriteGammaRGBProfile(const std::string&) { return false; }
bool WriteLabProfile(const std::string&) { return false; }
bool WriteCMYKPrinterProfile(const std::string&) { return false; }
bool WriteHexachromeLink(const std::string&) { return false; }

}  // namespace colour::testing
