// The part of a thread that is the same on every platform: what Start checks and keeps
// before the platform creates the thread, and the call the new thread makes.
#include "platform/thread.h"

namespace platform {

unsigned Thread::RunForPlatform(Thread* self) {
    if (self->m_nScopeLanguage != language_detail::kNoScope) {
        const LanguageScope language(static_cast<Language>(self->m_nScopeLanguage));
        return self->m_pfnFunction(self->m_pArgument);
    }
    return self->m_pfnFunction(self->m_pArgument);
}

bool Thread::Start(ThreadFunction function, void* argument) {
    if (m_bStarted || function == nullptr) {
        return false;
    }
    m_pfnFunction = function;
    m_pArgument = argument;
    m_nScopeLanguage = language_detail::t_scopeLanguage;
    if (!CreatePlatformThread()) {
        return false;
    }
    m_bStarted = true;
    return true;
}

} // namespace platform
