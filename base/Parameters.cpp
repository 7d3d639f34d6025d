#include "base/Parameters.h"

#include "base/DataDir.h"
#include "base/Cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace etibarix::base {
namespace {

constexpr int LanguageOffset = 4;
constexpr int CodeSetOffset = 8;
constexpr int LabelFormatIndexOffset = 12;
constexpr int PrinterNameOffset = 16;

std::int32_t readInt(const char *at)
{
    return qFromLittleEndian<std::int32_t>(at);
}

void writeInt(char *at, std::int32_t value)
{
    qToLittleEndian<std::int32_t>(value, at);
}

enum class ReadOutcome { Missing, Read, Failed };

// Reads the file into Parameters; a read that stops early leaves the bytes it
// got in the record.
ReadOutcome readParameterFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return ReadOutcome::Missing;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadOutcome::Failed;
    QByteArray bytes(ParameterRecord::Size, '\0');
    qint64 total = 0;
    while (total < ParameterRecord::Size) {
        const qint64 got = file.read(bytes.data() + total, ParameterRecord::Size - total);
        if (got <= 0)
            break;
        total += got;
    }
    Parameters.Assign(QByteArrayView(bytes.constData(), total));
    return total == ParameterRecord::Size ? ReadOutcome::Read : ReadOutcome::Failed;
}


// Writes bytes to a new file beside path and renames it over path, so the old
// file stays whole until the new one is known to be complete. The new file
// is read back before the rename: a short write on a full disk is not always
// reported by the write itself.
bool replaceFile(const QString &path, const QByteArray &bytes)
{
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return false;
    const QFileInfo old(path);
    file.setPermissions(old.exists() ? old.permissions()
                                     : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                         | QFileDevice::ReadOther);
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0)
        return false;
    if (!file.seek(0) || file.readAll() != bytes)
        return false;
    file.close();
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}

} // namespace

ParameterRecord Parameters;

QByteArray ParameterRecord::PrinterName() const
{
    const int length = std::min<int>(static_cast<unsigned char>(m_raw[PrinterNameOffset]), PrinterNameCapacity);
    return QByteArray(m_raw.data() + PrinterNameOffset + 1, length);
}

void ParameterRecord::SetPrinterName(QByteArrayView name)
{
    const auto length = std::min<qsizetype>(name.size(), PrinterNameCapacity);
    m_raw[PrinterNameOffset] = static_cast<char>(length);
    if (length > 0)
        std::memcpy(m_raw.data() + PrinterNameOffset + 1, name.data(), static_cast<size_t>(length));
}

QString ParameterRecord::PrinterNameText() const
{
    return fromCp1252(PrinterName());
}

void ParameterRecord::SetPrinterNameText(QStringView name)
{
    SetPrinterName(toCp1252Lossy(name.left(PrinterNameCapacity)));
}

std::array<char, ParameterRecord::Size> ParameterRecord::wholeRecord() const
{
    std::array<char, Size> whole = m_raw;
    writeInt(whole.data() + LanguageOffset, Language);
    writeInt(whole.data() + CodeSetOffset, CodeSet);
    writeInt(whole.data() + LabelFormatIndexOffset, LabelFormatIndex);
    return whole;
}

QByteArray ParameterRecord::Bytes() const
{
    const std::array<char, Size> whole = wholeRecord();
    return QByteArray(whole.data(), Size);
}

void ParameterRecord::Assign(QByteArrayView bytes)
{
    std::array<char, Size> whole = wholeRecord();
    const auto count = std::min<qsizetype>(bytes.size(), Size);
    if (count > 0)
        std::memcpy(whole.data(), bytes.data(), static_cast<size_t>(count));
    m_raw = whole;
    Language = readInt(whole.data() + LanguageOffset);
    CodeSet = readInt(whole.data() + CodeSetOffset);
    LabelFormatIndex = readInt(whole.data() + LabelFormatIndexOffset);
}

void ParameterRecord::Clear()
{
    m_raw.fill('\0');
    Language = 0;
    CodeSet = 0;
    LabelFormatIndex = 0;
}

QString ParameterFilePath()
{
    return DataDir() + QStringLiteral("ETIBARIX.PAR");
}

bool LoadParameters()
{
    Parameters.Language = 1;
    Parameters.CodeSet = 1;
    const QString path = ParameterFilePath();
    switch (readParameterFile(path)) {
    case ReadOutcome::Missing:
        return false;
    case ReadOutcome::Read:
        return true;
    case ReadOutcome::Failed:
        // A damaged file goes silently; the next exit writes a fresh one.
        QFile::remove(path);
        return true;
    }
    return true;
}

bool PeekParameters()
{
    return readParameterFile(ParameterFilePath()) != ReadOutcome::Missing;
}

bool SaveParameters(int labelFormatIndex, QStringView printerName, const SaveFailedHandler &onFailure)
{
    Parameters.Assign(QByteArrayView("\x03" "EBP", 4));
    Parameters.LabelFormatIndex = labelFormatIndex < 0 ? -1 : labelFormatIndex;
    Parameters.SetPrinterNameText(printerName);
    const QByteArray bytes = Parameters.Bytes();

    const bool ok = replaceFile(ParameterFilePath(), bytes);
    if (!ok && onFailure)
        onFailure(SaveFailedText.toString(), SaveFailedCaption.toString());
    return ok;
}

} // namespace etibarix::base
