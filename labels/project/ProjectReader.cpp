#include "labels/project/ProjectReader.h"

#include "base/Error.h"
#include "labels/project/Lzw.h"

#include <cmath>
#include <cstring>

namespace etibarix::labels {

QString ProjectReader::streamReadError()
{
    return QStringLiteral("Stream read error");
}

void ProjectReader::checkDepth(int depth)
{
    if (depth > MaxDepth)
        throw base::Error(streamReadError());
}

quint8 ProjectReader::readByte()
{
    if (m_pos >= m_data.size())
        throw base::Error(streamReadError());
    return static_cast<quint8>(m_data[m_pos++]);
}

QByteArray ProjectReader::readBytes(qsizetype count)
{
    if (count < 0 || count > remaining())
        throw base::Error(streamReadError());
    QByteArray bytes(m_data.data() + m_pos, count);
    m_pos += count;
    return bytes;
}

quint32 ProjectReader::readCint()
{
    const quint32 b0 = readByte();
    if (b0 < 0x80)
        return b0;
    if (b0 < 0xC0)
        return ((b0 - 0x80) << 8) | readByte();
    if (b0 < 0xE0) {
        quint32 v = (b0 - 0xC0) << 16;
        v |= quint32(readByte()) << 8;
        return v | readByte();
    }
    quint32 v = (b0 - 0xE0) << 24;
    v |= quint32(readByte()) << 16;
    v |= quint32(readByte()) << 8;
    return v | readByte();
}

qint32 ProjectReader::readInt32()
{
    quint32 v = 0;
    for (int i = 0; i < 4; ++i)
        v |= quint32(readByte()) << (8 * i);
    return static_cast<qint32>(v);
}

double ProjectReader::readDouble()
{
    const QByteArray b = readBytes(8);
    quint64 bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | static_cast<quint8>(b[i]);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

double ProjectReader::readExtended()
{
    const QByteArray b = readBytes(10);
    return extendedToDouble(reinterpret_cast<const unsigned char *>(b.constData()));
}

double ProjectReader::extendedToDouble(const unsigned char bytes[10])
{
    quint64 mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | bytes[i];
    const int signExp = bytes[8] | (bytes[9] << 8);
    const bool negative = signExp & 0x8000;
    const int exponent = signExp & 0x7FFF;
    double value;
    if (exponent == 0x7FFF) {
        // Infinity when the fraction below the explicit bit is zero.
        value = (mantissa << 1) == 0 ? HUGE_VAL : std::nan("");
    } else if (mantissa == 0) {
        value = 0.0;
    } else {
        // The conversion of the 64-bit integer rounds to nearest once; the
        // scaling by a power of two is exact for every normal result.
        const int e = (exponent == 0 ? 1 : exponent) - 16383 - 63;
        value = std::ldexp(static_cast<double>(mantissa), e);
    }
    return negative ? -value : value;
}

QByteArray ProjectReader::readString()
{
    return readBytes(readCint());
}

QByteArray ProjectReader::readBlock()
{
    const quint8 method = readByte();
    const quint32 length = static_cast<quint32>(readInt32());
    if (method != 0 && method != 2)
        throw base::Error(QStringLiteral("Unknown compression method %1").arg(method));
    if (length > quint32(remaining()))
        throw base::Error(streamReadError());
    const QByteArrayView bytes = m_data.sliced(m_pos, length);
    m_pos += length;
    if (method == 0)
        return bytes.toByteArray();
    return Lzw::decode(bytes);
}

ProjectValue ProjectReader::readValue(int depth)
{
    checkDepth(depth);
    ProjectValue v;
    const quint8 type = readByte();
    switch (type) {
    case 0:
    case 6:
        v.type = static_cast<ProjectValue::Type>(type);
        v.text = readString();
        break;
    case 1:
        v.type = ProjectValue::Type::Integer;
        v.integer = readCint();
        break;
    case 2:
        v.type = ProjectValue::Type::NegativeInteger;
        v.integer = -qint64(readCint());
        break;
    case 3:
        v.type = ProjectValue::Type::Int32;
        v.integer = readInt32();
        break;
    case 4:
        v.type = ProjectValue::Type::Char;
        v.text = readBytes(1);
        break;
    case 5:
        v.type = ProjectValue::Type::Extended;
        v.real = readExtended();
        break;
    case 7:
    case 9:
        v.type = static_cast<ProjectValue::Type>(type);
        for (QByteArray name = readString(); !name.isEmpty(); name = readString())
            v.names.append(name);
        break;
    case 8:
        v.type = ProjectValue::Type::List;
        v.list = readPropertyList(depth + 1);
        break;
    case 10:
        v.type = ProjectValue::Type::Objects;
        for (QByteArray cls = readString(); !cls.isEmpty(); cls = readString()) {
            readByte(); // marker
            v.objects.push_back({cls, readPropertyList(depth + 1)});
        }
        break;
    default:
        // A value of unknown type cannot be read past.
        throw base::Error(streamReadError());
    }
    return v;
}

std::vector<ProjectProperty> ProjectReader::readPropertyList(int depth)
{
    checkDepth(depth);
    std::vector<ProjectProperty> list;
    for (QByteArray name = readString(); !name.isEmpty(); name = readString())
        list.push_back({name, readValue(depth)});
    return list;
}

} // namespace etibarix::labels
