#pragma once

#include <QString>

// Texts the whole program shares.
namespace app_texts {
QString ApplicationTitle();
QString WindowCaptionPrefix();
} // namespace app_texts
