#pragma once
// Reader of the building blocks of report project streams: compact
// integers, strings, blocks (stored or LZW-compressed) and typed property
// values. All integers are little-endian, texts single-byte Windows-1252.
//
// Every read checks what is left: a stream that ends early, a length that
// points past the end or a nesting deeper than MaxDepth fails with the
// stream read error, never with a read outside the data. Counts are never
// trusted for allocation: every element read consumes input.

#include "labels/project/ProjectValue.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace etibarix::labels {

class ProjectReader {
public:
    // Nested property lists and component records together.
    static constexpr int MaxDepth = 64;

    // The reader keeps a view: the data must outlive it.
    explicit ProjectReader(QByteArrayView data) : m_data(data) {}
    explicit ProjectReader(QByteArray &&) = delete;

    static QString streamReadError();

    bool atEnd() const { return m_pos >= m_data.size(); }
    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return m_data.size() - m_pos; }

    quint8 readByte();
    QByteArray readBytes(qsizetype count);
    quint32 readCint();
    qint32 readInt32();
    double readDouble();
    double readExtended();
    QByteArray readString();
    // A block's data: stored (method 0) or decompressed (method 2).
    // Other methods fail with "Unknown compression method %s".
    QByteArray readBlock();

    ProjectValue readValue(int depth = 0);
    // Pairs of a name and a value up to the empty name.
    std::vector<ProjectProperty> readPropertyList(int depth = 0);

    // 80-bit extended float (64-bit mantissa with explicit leading bit,
    // 15-bit exponent biased by 16383, sign), rounded to the nearest double.
    static double extendedToDouble(const unsigned char bytes[10]);

    // Throws the stream read error when depth exceeds MaxDepth.
    static void checkDepth(int depth);

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

} // namespace etibarix::labels
