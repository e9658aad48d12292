// The language of the user's Windows interface, for a program that was told none.
#pragma once

#include "text/language.h"

namespace platform {

// German when the user's Windows interface language is German, else English; English
// where there is no such setting (the POSIX build, whose language comes from the
// locale variables alone).
Language InterfaceLanguage();

} // namespace platform
