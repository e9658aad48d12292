// File-system services of the platform: directory search by pattern, shared read-only
// files, a text line reader, full paths and the program's own path. The mail client
// keeps writing its folders while we read them, so every open shares reading and
// writing and none ever writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

struct DirectoryEntry {
    std::string name;  // plain name, without directory, in the case the file system has
    uint64_t size = 0; // bytes; 0 for directories
    bool isDirectory = false;
    // The last write, in seconds since 1970-01-01 UTC; 0 where the listing does not say.
    int64_t lastWrite = 0;
};

// Receives the entries of a search one after the other; returning false ends the search.
using DirectoryVisitor = bool (*)(const DirectoryEntry& entry, void* context);

// True when `name` matches `pattern`, where '*' stands for any run of characters and '?'
// for one, and ASCII letters match without regard to case. "*.PMM" matches "a.pmm" but
// not "a.PMMX": names are matched as they are, never through short 8.3 aliases.
bool MatchesPattern(const char* name, const char* pattern);

// The entries a directory search visits: every name that matches `pattern`, but never
// "." and "..", which a listing may report whatever the pattern.
bool IsSearchHit(const char* name, const char* pattern);

// Visits every entry of `directory` (which ends with a separator, or is empty for the
// current directory) whose name matches `pattern` by MatchesPattern, directories
// included, "." and ".." excluded. Returns false when the directory cannot be read.
// The order of the entries is the file system's.
bool SearchDirectory(const std::string& directory, const char* pattern, DirectoryVisitor visit,
                     void* context);

// True when `directory` (ending with a separator) can be listed, whatever it holds.
bool IsReadableDirectory(const std::string& directory);

// As SearchDirectory, for callers that need only the names because they open each
// file anyway: size, isDirectory and lastWrite may be left at 0 and false, which spares
// a call per entry where the listing itself does not carry them (POSIX). Windows'
// listing carries them all.
bool SearchDirectoryNames(const std::string& directory, const char* pattern, DirectoryVisitor visit,
                          void* context);

// While one lives, an open whose name differs only in letter case from the entry on
// disk (POSIX) looks the entry up in a listing of its directory taken once, instead of
// reading the directory again for every such open: a scan opens thousands of
// companions in one directory. As with the scan's own listing, an entry that appears
// meanwhile may be missed; the listings are dropped when the last scope ends. Opens on
// other threads while the scope lives (the scan's helpers) share its listings; the scope
// itself is made and ended by one thread while none of them runs. Windows matches names
// without regard to case anyway.
class CaseFoldingScope {
public:
    CaseFoldingScope();
    ~CaseFoldingScope();
    CaseFoldingScope(const CaseFoldingScope&) = delete;
    CaseFoldingScope& operator=(const CaseFoldingScope&) = delete;
};

// Whether `directory` lies on a file server (a network drive, a UNC path, an NFS or SMB
// mount), where every open waits for a round trip: a scan then reads with more threads.
// False when unknown.
bool IsOnNetworkShare(const std::string& directory);

// A file opened for reading only, shared with writers. Closed by the destructor.
class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    ~ReadOnlyFile() { Close(); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Fails for anything that is not a regular file: a directory (as on Windows), a
    // device, a pipe, or a link to one, which could block an open or a read or never end.
    // The last path component is matched without regard to ASCII case on every
    // platform: where the file system tells case apart, an entry that differs from it
    // only in case is opened when none has the exact name.
    bool Open(const std::string& path);
    bool IsOpen() const;
    // Reads up to `count` bytes from the start of the file; returns how many arrived.
    size_t ReadFromStart(void* buffer, size_t count) { return ReadAt(0, buffer, count); }
    // Reads up to `count` bytes from `offset`; returns how many arrived (0 at the end).
    size_t ReadAt(uint64_t offset, void* buffer, size_t count);
    // The file's length in bytes, found without reading it; 0 when unknown. On POSIX
    // systems it is the length at opening, taken with the check that made it a file.
    uint64_t Length() const;
    // The last write (seconds since 1970-01-01 UTC) as far as the open learnt it without
    // asking again: on POSIX from the check that made it a file. Windows learns it only
    // from a directory listing, which a scan makes anyway, so here it is 0 there.
    int64_t OpenedLastWrite() const;
    void Close();

private:
    // Opens the files of its folder itself, relative to the open folder.
    friend class OwnFolder;

#ifdef _WIN32
    void* m_hFile = reinterpret_cast<void*>(static_cast<intptr_t>(-1));
#else
    int m_fd = -1;
    uint64_t m_nLength = 0;
    int64_t m_nLastWrite = 0;
#endif
};

// Reads a file from its start in pieces, up to a bound: the rule of every reader of a
// file another program writes, where a longer file is no such file and reading it
// whole could exhaust the memory. Only a regular file opens; one known longer than the
// bound at opening delivers nothing, one that grows past it while being read (or has
// no length, as a device) stops there; TooLong then says so. Closed by the destructor.
class BoundedFileReader {
public:
    BoundedFileReader() = default;
    BoundedFileReader(const BoundedFileReader&) = delete;
    BoundedFileReader& operator=(const BoundedFileReader&) = delete;

    bool Open(const std::string& path, uint64_t maxBytes);
    bool IsOpen() const { return m_file.IsOpen(); }
    // Up to `capacity` (at least 1) next bytes; 0 at the end and once past the bound.
    size_t Read(char* buffer, size_t capacity);
    bool TooLong() const { return m_bTooLong; }
    void Close() { m_file.Close(); }

private:
    ReadOnlyFile m_file;
    uint64_t m_offset = 0;
    uint64_t m_nMax = 0;
    bool m_bTooLong = false;
};

// Reads a text file line by line, shared with writers. A line ends at LF, at CR LF, or
// at the end of the file; the line end is not part of the line. A lone CR inside a line
// stays part of it. Closed by the destructor.
class TextLineReader {
public:
    TextLineReader() = default;
    ~TextLineReader() = default;
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    // Bounds for the files opened after it; without a call, lines and files of any
    // length. The file is read by a BoundedFileReader of `maxFileBytes`; a line longer
    // than `maxLineBytes` (its line end not counted) stops the reading too: the reader
    // then reports TooLong. Memory stays within the line bound whatever the file.
    void SetLimits(size_t maxLineBytes, uint64_t maxFileBytes);

    // Only regular files open (never a device, a pipe or a directory, nor a link to one).
    bool Open(const std::string& path);
    // False at the end of the file (a last line without line end is still delivered),
    // and where a bound was passed.
    bool ReadLine(std::string& line);
    // Whether reading stopped at a bound of SetLimits rather than at the file's end.
    bool TooLong() const { return m_bTooLong; }
    void Close() { m_file.Close(); }

private:
    bool Fill();
    // Marks the bound passed and empties `line`; false, for ReadLine to return.
    bool Overlong(std::string& line);

    BoundedFileReader m_file;
    size_t m_nMaxLine = static_cast<size_t>(-1);
    uint64_t m_nMaxFile = static_cast<uint64_t>(-1);
    bool m_bTooLong = false;
    char m_buffer[64 * 1024];
    size_t m_length = 0;
    size_t m_position = 0;
    bool m_eof = false;
};

// The path made absolute against the current directory, with "." and ".." resolved as
// GetFullPathNameA does; empty when it cannot be formed.
std::string FullPath(const std::string& path);

// Full path of the running program file; empty when the platform cannot say.
std::string ModuleFilePath();

} // namespace platform
