#pragma once
// Little-endian fields, as zip archives and Windows' file formats store them: appended
// to the bytes being built, or read from bytes at an offset.

#include <QByteArray>
#include <QtEndian>

namespace littleendian {

inline void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

inline void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

inline quint16 get16(const QByteArray &in, qsizetype at)
{
    return qFromLittleEndian<quint16>(in.constData() + at);
}

} // namespace littleendian
