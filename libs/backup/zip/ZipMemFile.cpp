#include "ZipMemFile.h"

#include "ZipException.h"

#include <cstring>

CZipMemFile::CZipMemFile(const void* data, size_t size)
    : m_data(static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + size)
{
}

uint32_t CZipMemFile::Read(void* buffer, uint32_t len)
{
    if (m_uPos >= m_data.size()) return 0;
    uint64_t left = m_data.size() - m_uPos;
    uint32_t n = left < len ? static_cast<uint32_t>(left) : len;
    std::memcpy(buffer, m_data.data() + m_uPos, n);
    m_uPos += n;
    return n;
}

void CZipMemFile::Write(const void* buffer, uint32_t len)
{
    if (m_uPos + len > m_data.size()) m_data.resize(static_cast<size_t>(m_uPos + len));
    if (len) std::memcpy(m_data.data() + m_uPos, buffer, len);
    m_uPos += len;
}

uint64_t CZipMemFile::Seek(int64_t offset, int from)
{
    int64_t base = from == begin     ? 0
                   : from == current ? static_cast<int64_t>(m_uPos)
                                     : static_cast<int64_t>(m_data.size());
    int64_t pos = base + offset;
    if (pos < 0) throw CZipException(CZipException::fileError, std::wstring(), "seek before the start");
    m_uPos = static_cast<uint64_t>(pos);
    return m_uPos;
}

void CZipMemFile::SetLength(uint64_t length)
{
    m_data.resize(static_cast<size_t>(length));
    if (m_uPos > length) m_uPos = length;
}
