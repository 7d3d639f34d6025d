#include "tests/backup/BackupTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace etibarix::test {

backup::BackupCallbacks Recorder::callbacks()
{
    backup::BackupCallbacks c;
    c.askDisk = [this](const backup::DiskPrompt &p) {
        prompts << p.text;
        return answers.isEmpty() ? true : answers.takeFirst();
    };
    c.showError = [this](const QString &text) { errors << text; };
    c.processEvents = [this] { ++events; };
    return c;
}

QByteArray randomBytes(qsizetype size, std::uint32_t seed)
{
    QRandomGenerator gen(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(gen.bounded(256));
    return bytes;
}

QByteArray repetitiveBytes(qsizetype size)
{
    QByteArray bytes;
    while (bytes.size() < size)
        bytes += "ABCDEFGH        ";
    bytes.truncate(size);
    return bytes;
}

QByteArray tableLikeBytes(qsizetype size, std::uint32_t seed)
{
    static const char *const words[] = {"Vis", "Ecrou", "Rondelle", "Boulon", "inox", "zingue", "M6", "M8",
                                        "Cheville", "Charniere", "Caisse", "Palette", "lot de 100", "acier"};
    QRandomGenerator gen(seed);
    QByteArray bytes;
    while (bytes.size() < size) {
        QByteArray record(261, ' ');
        const QByteArray num = QByteArray::number(gen.bounded(99999)).rightJustified(5, ' ');
        record.replace(1, 5, num);
        const QByteArray code = QByteArray::number(qulonglong(gen.bounded(quint64(1) << 40)) + 3000000000000ULL);
        record.replace(6, code.size(), code);
        QByteArray text;
        for (int w = 0; w < 4; ++w)
            text += QByteArray(words[gen.bounded(14)]) + ' ';
        record.replace(56, text.size(), text);
        record.replace(259, 1, gen.bounded(2) ? "O" : "N");
        bytes += record;
    }
    bytes.truncate(size);
    return bytes;
}

QDateTime fixedTime()
{
    return QDateTime(QDate(2024, 5, 17), QTime(13, 45, 30));
}

bool setModified(const QString &path, const QDateTime &time)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.setFileTime(time, QFileDevice::FileModificationTime);
}

QDateTime modified(const QString &path)
{
    return QFileInfo(path).lastModified();
}

} // namespace etibarix::test
