#include "ZipAutoBuffer.h"

#include <cstring>

CZipAutoBuffer::CZipAutoBuffer(const CZipAutoBuffer& other) { Assign(other.m_pBuffer, other.m_iSize); }

CZipAutoBuffer& CZipAutoBuffer::operator=(const CZipAutoBuffer& other)
{
    if (this != &other) Assign(other.m_pBuffer, other.m_iSize);
    return *this;
}

char* CZipAutoBuffer::Allocate(uint32_t size, bool zero)
{
    if (size != m_iSize) {
        Release();
        if (size > 0) {
            m_pBuffer = new char[size];
            m_iSize = size;
        }
    }
    if (zero && m_pBuffer) std::memset(m_pBuffer, 0, m_iSize);
    return m_pBuffer;
}

void CZipAutoBuffer::Release()
{
    delete[] m_pBuffer;
    m_pBuffer = nullptr;
    m_iSize = 0;
}

void CZipAutoBuffer::Assign(const void* data, uint32_t size)
{
    Allocate(size);
    if (size > 0) std::memcpy(m_pBuffer, data, size);
}
