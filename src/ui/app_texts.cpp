#include "ui/app_texts.h"

namespace app_texts {
QString ApplicationTitle() {
    return QStringLiteral("Kardeon");
}
QString WindowCaptionPrefix() {
    return QStringLiteral("Kardeon - ");
}
} // namespace app_texts
