#pragma once

#include <QByteArray>
#include <QtEndian>
#include <QtGlobal>

#include <cstring>

// Builds binary records field by field in little-endian byte order, as the Windows
// metafile formats store every number.
class TLittleEndianBuffer
{
public:
    void U8(quint8 v) { m_bytes.append(char(v)); }
    void U16(quint16 v) { Put(qToLittleEndian(v)); }
    void I16(qint16 v) { Put(qToLittleEndian(v)); }
    void U32(quint32 v) { Put(qToLittleEndian(v)); }
    void I32(qint32 v) { Put(qToLittleEndian(v)); }
    void F32(float v)
    {
        quint32 bits;
        std::memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    void Bytes(const QByteArray &b) { m_bytes.append(b); }
    void Zeros(qsizetype n) { m_bytes.append(n, '\0'); }
    // Pads with zero bytes up to a multiple of alignment.
    void Align(int alignment)
    {
        while (m_bytes.size() % alignment)
            m_bytes.append('\0');
    }

    qsizetype Size() const { return m_bytes.size(); }
    const QByteArray &Data() const { return m_bytes; }
    // Overwrites a 32-bit field written earlier (sizes known only at the end).
    void PatchU32(qsizetype offset, quint32 v)
    {
        const quint32 le = qToLittleEndian(v);
        std::memcpy(m_bytes.data() + offset, &le, sizeof le);
    }
    void PatchU16(qsizetype offset, quint16 v)
    {
        const quint16 le = qToLittleEndian(v);
        std::memcpy(m_bytes.data() + offset, &le, sizeof le);
    }

private:
    template<typename T>
    void Put(T le)
    {
        m_bytes.append(reinterpret_cast<const char *>(&le), sizeof le);
    }

    QByteArray m_bytes;
};
