#include "app/Module1.h"

namespace Module1 {

// "Dialog" is what a start without a settings file gives.
QString StartupOption = QStringLiteral("Dialog");

} // namespace Module1
