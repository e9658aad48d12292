// No debugger channel on POSIX systems: trace lines go nowhere unless mirrored.
namespace platform {
void DebugOutputToPlatform(const char*) {}
} // namespace platform
