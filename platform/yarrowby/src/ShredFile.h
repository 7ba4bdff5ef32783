// Overwriting and deleting one file: the shredder's work per file.
#pragma once

#include <windows.h>

#include <string>

// The random data of the passes: a buffer refilled from a fast generator seeded by the system's random source.
class ShredPattern {
public:
    explicit ShredPattern(size_t bufferBytes);
    ~ShredPattern();
    ShredPattern(const ShredPattern&) = delete;
    ShredPattern& operator=(const ShredPattern&) = delete;

    bool Valid() const { return m_buffer != nullptr; }
    size_t Size() const { return m_size; }
    // Fills the first `bytes` bytes (rounded up to 8) with new random data and returns the buffer.
    const BYTE* Next(size_t bytes);
    unsigned long long Random();

private:
    BYTE* m_buffer;
    size_t m_size;
    unsigned long long m_state[4];
};

// Told of every chunk written; asked between chunks whether to stop.
class ShredSink {
public:
    virtual ~ShredSink() = default;
    virtual void Written(unsigned long long bytes) = 0;
    virtual bool StopRequested() const = 0;
};

// The bytes a file's passes write each: its size rounded up to whole clusters of its volume, so the slack of the
// last cluster is overwritten too. 0 for a file that cannot be read.
unsigned long long ShredLength(const std::wstring& path);

// Overwrites the file's ShredLength `passes` times with random data, flushing each pass to the disk, renames it
// to a random name of the same length in its folder and deletes it. A read-only file is shredded; folders, drive
// roots and links (reparse points) are refused (YARROWBY_ERROR_NOT_A_FILE) and a file that cannot be opened for
// writing alone is left as it was. Returns 0, or the error that ended the work (ERROR_CANCELLED after a stop:
// the file is then overwritten in part and kept).
DWORD ShredFile(const std::wstring& path, int passes, ShredPattern& pattern, ShredSink& sink);
